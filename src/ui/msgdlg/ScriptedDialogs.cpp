#include "ScriptedDialogs.h"

#include <QFile>

void ScriptedDialogs::Record(const ShownDialog& dialog) {
  shown.append(dialog);
  if (logFile.isEmpty()) return;
  QFile file(logFile);
  if (!file.open(QIODevice::Append)) return;
  QString text = dialog.text;
  text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  file.write((dialog.kind + QLatin1Char('|') + dialog.caption + QLatin1Char('|') + text + QLatin1Char('\n')).toUtf8());
}

int ScriptedDialogs::ShowMessage(const MessageRequest& request) {
  Record(ShownDialog{QStringLiteral("message"), DialogCaption(request.type), request.text, request.type,
                     request.buttons});
  if (!messageAnswers.isEmpty()) return messageAnswers.dequeue();
  const QList<TMsgDlgBtn> order = request.buttons.InOrder();
  return order.isEmpty() ? mrOk : ModalResultOf(order.first());
}

bool ScriptedDialogs::InputQuery(const InputRequest& request, QString& value) {
  Record(ShownDialog{QStringLiteral("input"), request.caption, request.prompt, TMsgDlgType::mtCustom, {}});
  if (inputAnswers.isEmpty()) return false;
  const QString answer = inputAnswers.dequeue();
  if (answer.isNull()) return false;
  value = answer;
  return true;
}

QString ScriptedDialogs::OpenFileName(const FileDialogRequest& request) {
  Record(ShownDialog{QStringLiteral("open"), request.title, request.filter, TMsgDlgType::mtCustom, {}});
  return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString ScriptedDialogs::SaveFileName(const FileDialogRequest& request) {
  Record(ShownDialog{QStringLiteral("save"), request.title, request.filter, TMsgDlgType::mtCustom, {}});
  return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

namespace {
// The entries of a "|"-separated list; an empty entry stays, as it cancels its dialog.
void EnqueueListFromEnvironment(const char* name, QQueue<QString>& answers) {
  if (!qEnvironmentVariableIsSet(name)) return;
  for (const QString& answer : qEnvironmentVariable(name).split(QLatin1Char('|')))
    answers.enqueue(answer.isEmpty() ? QString() : answer);
}
}  // namespace

bool InstallDialogsFromEnvironment() {
  const QString log = qEnvironmentVariable("SUITE_DIALOG_LOG");
  if (log.isEmpty()) return false;
  auto dialogs = std::make_unique<ScriptedDialogs>();
  dialogs->logFile = log;
  for (const QString& answer : qEnvironmentVariable("SUITE_DIALOG_ANSWERS").split(',', Qt::SkipEmptyParts))
    dialogs->messageAnswers.enqueue(answer.trimmed().toInt());
  EnqueueListFromEnvironment("SUITE_DIALOG_FILES", dialogs->fileAnswers);
  EnqueueListFromEnvironment("SUITE_DIALOG_INPUTS", dialogs->inputAnswers);
  SetDialogs(std::move(dialogs));
  return true;
}

namespace {
// Cancels at the given idle call (counted from 1; 0 cancels at the first); negative: never.
class ScriptedWaitWindow : public IWaitWindow {
 public:
  ScriptedWaitWindow(int cancelAfter, std::function<void()> cancel)
      : cancelAfter_(cancelAfter), cancel_(std::move(cancel)) {}
  void ProcessEvents() override {
    if (cancelAfter_ >= 0 && ++calls_ >= cancelAfter_ && cancel_) cancel_();
  }

 private:
  int cancelAfter_;
  int calls_ = 0;
  std::function<void()> cancel_;
};
}  // namespace

std::unique_ptr<IWaitWindow> ScriptedDialogs::ShowLockWait(const QString& holderText, bool displayFlag,
                                                           std::function<void()> cancel) {
  Record(ShownDialog{QStringLiteral("lockwait"), LockWaitCaption(), holderText, TMsgDlgType::mtCustom,
                     displayFlag ? TMsgDlgButtons{TMsgDlgBtn::mbCancel} : TMsgDlgButtons{}});
  const int cancelAfter = lockWaitCancelAfter.isEmpty() ? -1 : lockWaitCancelAfter.dequeue();
  return std::make_unique<ScriptedWaitWindow>(cancelAfter, std::move(cancel));
}

void ScriptedDialogs::ShowAlert(const QString& title, const QString& text) {
  Record(ShownDialog{QStringLiteral("alert"), title, text, TMsgDlgType::mtInformation, {}});
}
