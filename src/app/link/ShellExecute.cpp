#include "ShellExecute.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

#include "Msgdlg.h"
#include "Translation.h"

namespace {
void ShowProcessError(const char* format, const QString& program) {
  MessageDlgFmt(Tr(format), {program}, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
}

void ShowStartError(const QString& program) {
  if (!QFileInfo::exists(program))
    ShowProcessError("Kann die angegebene Datei nicht finden: %s", program);
  else
    ShowProcessError("Fehler beim Starten von \"%s\".", program);
}
}  // namespace

bool ShellExecuteAndWait(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  QEventLoop loop;
  bool failedToStart = false;
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    failedToStart = true;
    loop.quit();
  });
  process.start(program, arguments);
  // A failure may be reported within start() already; a quit before exec() would be lost.
  // Otherwise the user works in the other program for as long as he likes.
  if (!failedToStart) loop.exec();
  if (failedToStart) {
    ShowStartError(program);
    return false;
  }
  if (process.exitStatus() != QProcess::NormalExit) {
    ShowProcessError("Fehler beim Beenden von \"%s\".", program);
    return false;
  }
  return true;
}

bool ShellExecuteDetached(const QString& program, const QStringList& arguments) {
  if (QProcess::startDetached(program, arguments)) return true;
  ShowStartError(program);
  return false;
}
