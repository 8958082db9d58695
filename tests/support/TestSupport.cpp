#include "TestSupport.h"

#include <QFile>

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

QLocale GermanLocale() { return QLocale(QLocale::German, QLocale::Germany); }
QLocale DecimalPointLocale() { return QLocale(QLocale::English, QLocale::UnitedStates); }

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
