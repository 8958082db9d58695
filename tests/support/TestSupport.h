#pragma once
// Shared fixtures: scripted dialogs, locales, temporary folders, files.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <memory>
#include <QStringList>
#include <memory>
#include <ostream>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>

#include "ScriptedDialogs.h"

// Installs fresh scripted dialogs for every test and restores the German
// locale and interface language afterwards.
class SuiteTestEnvironment : public testing::Environment {
 public:
  void SetUp() override;
};

// The scripted dialogs installed for the running test (fresh per test).
ScriptedDialogs& TestDialogs();

// Sets the default QLocale for the lifetime of the object.
class ScopedLocale {
 public:
  explicit ScopedLocale(const QLocale& locale);
  ~ScopedLocale();

 private:
  QLocale previous_;
};

// A number as the process locale writes it: integral, its decimal separator,
// fraction; in a run registered for a German locale that separator must be ",".
QString ProcessLocaleNumber(const char* integral, const char* fraction);

QLocale GermanLocale();       // decimal comma
QLocale DecimalPointLocale(); // English (United States), decimal point

class QProcess;

// A real program run with scripted dialogs (SUITE_DIALOG_LOG in workDir) and
// the extra environment given, e.g. SUITE_DIALOG_FILES.
struct ProgramRun {
  int exitCode = -1;
  QStringList dialogs;  // "kind|caption|text" per shown dialog
};
ProgramRun RunProgram(const QString& program, const QStringList& args, const QString& workDir,
                      const QList<QPair<QString, QString>>& environment = {});
// The same, started and left running: Finish() waits for it and reads its
// dialog log. A log file of its own lets it run beside another program.
class StartedProgram {
 public:
  StartedProgram(const QString& program, const QStringList& args, const QString& workDir,
                 const QList<QPair<QString, QString>>& environment = {},
                 const QString& logName = QStringLiteral("dialogs.log"));
  ~StartedProgram();
  ProgramRun Finish(int timeoutMs = 30000);
  QProcess& Process() { return *process_; }

 private:
  std::unique_ptr<QProcess> process_;
  QString log_;
};

QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);
QByteArray Utf16LeWithBom(const QString& text);

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os) {
  *os << "{";
  for (const QString& item : list) *os << " \"" << item.toStdString() << "\"";
  *os << " }";
}
