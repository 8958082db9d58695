#include "TestSupport.h"

#include <QFile>
#include <QProcess>

#include "Msgdlg.h"
#include "Translation.h"

namespace {
ScriptedDialogs* g_dialogs = nullptr;

class FreshDialogsListener : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override {
    auto dialogs = std::make_unique<ScriptedDialogs>();
    g_dialogs = dialogs.get();
    SetDialogs(std::move(dialogs));
    QLocale::setDefault(GermanLocale());
    SetInterfaceLanguage(QStringLiteral("de_DE"));
    SetSilent(false);
    SetConsoleProcessOverride(-1);
  }
};
}  // namespace

void SuiteTestEnvironment::SetUp() {
  testing::UnitTest::GetInstance()->listeners().Append(new FreshDialogsListener);
}

ScriptedDialogs& TestDialogs() { return *g_dialogs; }

ScopedLocale::ScopedLocale(const QLocale& locale) : previous_(QLocale()) { QLocale::setDefault(locale); }
ScopedLocale::~ScopedLocale() { QLocale::setDefault(previous_); }

QString ProcessLocaleNumber(const char* integral, const char* fraction) {
  const QString separator = QLocale::system().decimalPoint();
  if (qgetenv("SUITE_TEST_LOCALE").startsWith("de")) {
    EXPECT_EQ(separator, QStringLiteral(","));
  }
  return QLatin1String(integral) + separator + QLatin1String(fraction);
}

QLocale GermanLocale() { return QLocale(QLocale::German, QLocale::Germany); }
QLocale DecimalPointLocale() { return QLocale(QLocale::English, QLocale::UnitedStates); }

ProgramRun RunProgram(const QString& program, const QStringList& args, const QString& workDir,
                      const QList<QPair<QString, QString>>& environment) {
  return StartedProgram(program, args, workDir, environment).Finish();
}

StartedProgram::StartedProgram(const QString& program, const QStringList& args, const QString& workDir,
                               const QList<QPair<QString, QString>>& environment, const QString& logName)
    : process_(std::make_unique<QProcess>()), log_(workDir + QLatin1Char('/') + logName) {
  QFile::remove(log_);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("SUITE_DIALOG_LOG"), log_);
  for (const auto& [name, value] : environment) env.insert(name, value);
  process_->setProcessEnvironment(env);
  process_->start(program, args);
}

StartedProgram::~StartedProgram() {
  if (process_->state() != QProcess::NotRunning) {
    process_->kill();
    process_->waitForFinished(5000);
  }
}

ProgramRun StartedProgram::Finish(int timeoutMs) {
  // waitForFinished() is false for a program that has already ended
  if (process_->state() != QProcess::NotRunning) {
    EXPECT_TRUE(process_->waitForFinished(timeoutMs)) << process_->program().toStdString();
  }
  ProgramRun run;
  run.exitCode = process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
  const QString text = QString::fromUtf8(ReadFileBytes(log_));
  run.dialogs = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  return run;
}

QByteArray ReadFileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

QByteArray Utf16LeWithBom(const QString& text) {
  QByteArray bytes("\xFF\xFE", 2);
  for (QChar c : text) {
    bytes.append(char(c.unicode() & 0xFF));
    bytes.append(char(c.unicode() >> 8));
  }
  return bytes;
}
