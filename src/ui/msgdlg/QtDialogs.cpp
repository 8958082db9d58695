#include "QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QVBoxLayout>

#include "DesktopAlertWindow.h"
#include "Translation.h"

namespace {
QStyle::StandardPixmap IconFor(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return QStyle::SP_MessageBoxWarning;
    case TMsgDlgType::mtError: return QStyle::SP_MessageBoxCritical;
    case TMsgDlgType::mtInformation: return QStyle::SP_MessageBoxInformation;
    case TMsgDlgType::mtConfirmation: return QStyle::SP_MessageBoxQuestion;
    case TMsgDlgType::mtCustom: break;
  }
  return QStyle::SP_CustomBase;
}

// Average character width: the 52 letters A-Z and a-z divided by 52.
int AverageCharWidth(const QFont& font) {
  return QFontMetrics(font).horizontalAdvance(
             QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
}

int EscapeResult(const TMsgDlgButtons& buttons) {
  if (buttons.Contains(TMsgDlgBtn::mbCancel)) return mrCancel;
  if (buttons.Contains(TMsgDlgBtn::mbNo)) return mrNo;
  if (buttons.Contains(TMsgDlgBtn::mbOK)) return mrOk;
  return mrCancel;
}
}  // namespace

int QtDialogs::ShowMessage(const MessageRequest& request) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return mrNone;
  const MsgDlgSettings& fonts = MsgDlgFonts();
  QDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(DialogCaption(request.type));
  dialog.setFont(QFont(fonts.dialogFontName, fonts.dialogFontSize));
  auto* outer = new QVBoxLayout(&dialog);
  auto* body = new QHBoxLayout;
  if (request.type != TMsgDlgType::mtCustom) {
    auto* icon = new QLabel;
    icon->setPixmap(dialog.style()->standardIcon(IconFor(request.type)).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    body->addWidget(icon);
  }
  auto* label = new QLabel(request.text);
  label->setObjectName(QStringLiteral("Message"));
  label->setFont(QFont(fonts.messageFontName, fonts.messageFontSize));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMaximumWidth(AverageCharWidth(label->font()) * 100);
  label->setWordWrap(request.text.size() > 100);
  body->addWidget(label, 1);
  outer->addLayout(body);

  auto* row = new QHBoxLayout;
  row->addStretch();
  TMsgDlgButtons buttons = request.buttons.IsEmpty() ? TMsgDlgButtons{TMsgDlgBtn::mbOK} : request.buttons;
  bool first = true;
  for (TMsgDlgBtn b : buttons.InOrder()) {
    auto* button = new QPushButton(ButtonCaption(b));
    const int result = ModalResultOf(b);
    if (first) button->setDefault(true);
    first = false;
    if (b == TMsgDlgBtn::mbHelp) {
      button->setEnabled(request.helpContext != 0);
    } else {
      QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, result] { dialog.done(result); });
    }
    row->addWidget(button);
  }
  row->addStretch();
  outer->addLayout(row);
  dialog.setMinimumWidth(row->sizeHint().width() + outer->contentsMargins().left() * 2);
  dialog.adjustSize();
  if (request.x != -1 || request.y != -1) {
    dialog.move(request.x, request.y);
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    dialog.move(screen->availableGeometry().center() - dialog.rect().center());
  }
  const int result = dialog.exec();
  return result == QDialog::Rejected ? EscapeResult(buttons) : result;
}

bool QtDialogs::InputQuery(const InputRequest& request, QString& value) {
  bool ok = false;
  const QString text = QInputDialog::getText(QApplication::activeWindow(), request.caption, request.prompt,
                                             request.password ? QLineEdit::Password : QLineEdit::Normal,
                                             request.value, &ok);
  if (ok) value = text;
  return ok;
}

QString QtDialogs::OpenFileName(const FileDialogRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), request.title, request.directory, request.filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!request.defaultExtension.isEmpty()) dialog.setDefaultSuffix(request.defaultExtension);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

QString QtDialogs::SaveFileName(const FileDialogRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), request.title, request.directory, request.filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!request.defaultExtension.isEmpty()) dialog.setDefaultSuffix(request.defaultExtension);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

QString LockWaitCaption() { return Tr("Bitte warten"); }

namespace {
// Stays on top of the main window until destroyed; the cancel button gives up the wait.
// Held through QPointer: the main window may take it along when it goes first.
class QtLockWaitWindow : public IWaitWindow {
 public:
  QtLockWaitWindow(const QString& holderText, bool allowCancel, std::function<void()> cancel)
      : window_(new QWidget(QApplication::activeWindow(), Qt::Dialog | Qt::WindowStaysOnTopHint)) {
    window_->setObjectName(QStringLiteral("LockWaitForm"));
    window_->setWindowTitle(LockWaitCaption());
    auto* layout = new QVBoxLayout(window_);
    auto* label = new QLabel(holderText);
    label->setObjectName(QStringLiteral("HolderText"));
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* button = new QPushButton(Tr("Abbrechen"));
    button->setObjectName(QStringLiteral("CancelButton"));
    button->setEnabled(allowCancel);
    QObject::connect(button, &QPushButton::clicked, window_, [cancel = std::move(cancel)] {
      if (cancel) cancel();
    });
    layout->addWidget(button, 0, Qt::AlignHCenter);
    window_->adjustSize();
    window_->show();
  }
  ~QtLockWaitWindow() override { delete window_.data(); }
  void ProcessEvents() override { QCoreApplication::processEvents(); }

 private:
  QPointer<QWidget> window_;
};
}  // namespace

std::unique_ptr<IWaitWindow> QtDialogs::ShowLockWait(const QString& holderText, bool displayFlag,
                                                     std::function<void()> cancel) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  return std::make_unique<QtLockWaitWindow>(holderText, displayFlag, std::move(cancel));
}

void QtDialogs::ShowAlert(const QString& title, const QString& text) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  TDesktopAlertWindow::Show(title, text);
}
