#pragma once
// Dialogs that answer from a script given in advance and record what was
// shown, so that no test ever waits for a person. A program started with
// SUITE_DIALOG_LOG=<file> uses them too: every shown dialog is appended to
// the file, answers come from SUITE_DIALOG_ANSWERS (comma-separated results),
// SUITE_DIALOG_FILES (file names for the open and save dialogs) and
// SUITE_DIALOG_INPUTS (texts for the input boxes), the last two separated by
// "|" and used in order; an empty entry cancels its dialog.
#include <QList>
#include <QQueue>
#include <QString>

#include "Msgdlg.h"

struct ShownDialog {
  QString kind;  // "message", "input", "open", "save", "lockwait", "alert"
  QString caption;
  QString text;
  TMsgDlgType type = TMsgDlgType::mtCustom;
  TMsgDlgButtons buttons;
};

class ScriptedDialogs : public IDialogs {
 public:
  // Answers, used in order; without one a message returns the first button's result,
  // an input query and the file dialogs are cancelled.
  QQueue<int> messageAnswers;
  QQueue<QString> inputAnswers;  // a null QString cancels
  QQueue<QString> fileAnswers;   // an empty QString cancels
  // Per lock wait window: the number of idle calls after which it cancels; none: never.
  QQueue<int> lockWaitCancelAfter;

  QList<ShownDialog> shown;
  QString logFile;  // when set, every shown dialog is appended to it

  int ShowMessage(const MessageRequest& request) override;
  bool InputQuery(const InputRequest& request, QString& value) override;
  QString OpenFileName(const FileDialogRequest& request) override;
  QString SaveFileName(const FileDialogRequest& request) override;
  void ShowAlert(const QString& title, const QString& text) override;
  std::unique_ptr<IWaitWindow> ShowLockWait(const QString& holderText, bool displayFlag,
                                            std::function<void()> cancel) override;

 private:
  void Record(const ShownDialog& dialog);
};

// Installs ScriptedDialogs when SUITE_DIALOG_LOG is set; returns whether it did.
bool InstallDialogsFromEnvironment();
