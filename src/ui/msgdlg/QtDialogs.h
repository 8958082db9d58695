#pragma once
// The dialogs people see: Qt dialogs with the suite's German captions.
#include "Msgdlg.h"

class QtDialogs : public IDialogs {
 public:
  int ShowMessage(const MessageRequest& request) override;
  bool InputQuery(const InputRequest& request, QString& value) override;
  QString OpenFileName(const FileDialogRequest& request) override;
  QString SaveFileName(const FileDialogRequest& request) override;
  void ShowAlert(const QString& title, const QString& text) override;
  std::unique_ptr<IWaitWindow> ShowLockWait(const QString& holderText, bool displayFlag,
                                            std::function<void()> cancel) override;
};
