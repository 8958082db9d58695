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

namespace {
QString DialogLogIn(const QString& workDir) { return workDir + QStringLiteral("/dialogs.log"); }
}  // namespace

std::unique_ptr<QProcess> StartProgram(const QString& program, const QStringList& args, const QString& workDir,
                                       const QList<QPair<QString, QString>>& environment) {
  QFile::remove(DialogLogIn(workDir));
  auto process = std::make_unique<QProcess>();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("SUITE_DIALOG_LOG"), DialogLogIn(workDir));
  for (const auto& [name, value] : environment) env.insert(name, value);
  process->setProcessEnvironment(env);
  process->start(program, args);
  return process;
}

ProgramRun RunProgram(const QString& program, const QStringList& args, const QString& workDir,
                      const QList<QPair<QString, QString>>& environment) {
  const std::unique_ptr<QProcess> process = StartProgram(program, args, workDir, environment);
  EXPECT_TRUE(process->waitForFinished(30000)) << program.toStdString();
  ProgramRun run;
  run.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
  const QString text = QString::fromUtf8(ReadFileBytes(DialogLogIn(workDir)));
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
