#include "MOD00200Helper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "PathUtils.h"
#include "ShellExecute.h"

namespace {
// Executables carry no extension here; only Windows has the ".EXE".
#ifdef Q_OS_WIN
const char* const kProgramName = "MOD00200.EXE";
#else
const char* const kProgramName = "MOD00200";
#endif

// The current date-time value (days since 30 December 1899) with ten
// decimals, every character but the digits replaced by "X".
QString DateTimeDigits() {
  static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
  const double days = epoch.msecsTo(QDateTime::currentDateTime()) / 86400000.0;
  QString text = QString::number(days, 'f', 10);
  for (QChar& c : text)
    if (!c.isDigit()) c = QLatin1Char('X');
  return text;
}

// Re-entry while a picker runs (the wait keeps the event loop going) would
// start a second address program on top of the first.
bool pickerRunning = false;
}  // namespace

QString TMOD00200Helper::ProgramFile(const QString& programDir) {
  return NormalizePath(programDir, true) + QLatin1String(kProgramName);
}

QString TMOD00200Helper::TemporaryFileName(const QString& tempDir) {
  // The process id and a counter keep names apart within one millisecond,
  // within this process and between processes.
  static int sequence = 0;
  const QString dir = NormalizePath(tempDir, true);
  const QString stem = DateTimeDigits() + QLatin1Char('X') + QString::number(QCoreApplication::applicationPid());
  QString name;
  do {
    name = dir + stem + QLatin1Char('X') + QString::number(++sequence) + QStringLiteral(".$$$");
  } while (QFileInfo::exists(name));
  return name;
}

std::unique_ptr<TCustomerAddress> TMOD00200Helper::StartAddressPicker(const QString& programDir,
                                                                      const QString& tempDir,
                                                                      const QStringList& furtherArgs) {
  const QString program = ProgramFile(programDir);
  if (pickerRunning || !QFileInfo(program).isFile() || !QFileInfo(NormalizePath(tempDir, true)).isDir())
    return nullptr;
  const QString tempFile = TemporaryFileName(tempDir);
  pickerRunning = true;
  ShellExecuteAndWait(program, furtherArgs + QStringList{QStringLiteral("-ONE"), QStringLiteral("-GA"),
                                                         QStringLiteral("-TEMP"), tempFile});
  pickerRunning = false;
  // Closing the program without a choice leaves no file.
  if (!QFileInfo::exists(tempFile)) return nullptr;
  TCustomerAddressList list;
  list.LoadFromFile(tempFile);
  QFile::remove(tempFile);
  return list.TakeFirst();
}

void TMOD00200Helper::ShowAddressInProgram(const QString& id, const QString& programDir,
                                           const QStringList& furtherArgs) {
  const QString program = ProgramFile(programDir);
  if (id.isEmpty() || !QFileInfo(program).isFile()) return;
  ShellExecuteDetached(program, furtherArgs + QStringList{QStringLiteral("-SA"), id});
}
