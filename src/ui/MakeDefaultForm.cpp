#include "MakeDefaultForm.h"

#include <algorithm>

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include "Msgdlg.h"
#include "Translation.h"

namespace {
constexpr int kClientWidth = 350;
constexpr int kClientHeight = 250;
constexpr int kPanelHeight = 211;
constexpr int kButtonTop = 218;
constexpr int kCancelLeft = 270;
constexpr int kOkLeft = 190;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
// Distances that the right/bottom anchors keep when the dialog is resized.
constexpr int kPanelBottomGap = kClientHeight - kPanelHeight;
constexpr int kButtonBottomGap = kClientHeight - kButtonTop - kButtonHeight;
constexpr int kCancelRightGap = kClientWidth - kCancelLeft - kButtonWidth;
constexpr int kButtonGap = kCancelLeft - kOkLeft - kButtonWidth;

// The suite's main window: the first visible plain top-level window.
QWidget* MainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && widget->windowType() == Qt::Window) return widget;
  return nullptr;
}

QRect CentreArea() {
  if (QWidget* main = MainWindow()) return main->frameGeometry();
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 690);
}

Qt::WindowFlags FlagsFor(TFormBorderStyle style) {
  // Only the system menu with its close button: no help, minimise or maximise.
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint;
  switch (style) {
    case TFormBorderStyle::bsNone: return Qt::Dialog | Qt::FramelessWindowHint;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin: return flags | Qt::Tool;
    default: return flags;
  }
}

bool Sizeable(TFormBorderStyle style) {
  return style == TFormBorderStyle::bsSizeable || style == TFormBorderStyle::bsSizeToolWin;
}

QPushButton* MakeButton(TDefaultForm* form, const char* name, const char* caption, int left) {
  auto* button = new QPushButton(Tr(caption), form);
  button->setObjectName(QLatin1String(name));
  // A caption wider than the button (a larger desktop font) widens it to the left.
  const int width = std::max(kButtonWidth, button->sizeHint().width());
  button->setGeometry(left + kButtonWidth - width, kButtonTop, width, kButtonHeight);
  // Return belongs to the content (a search field starts its search with it).
  button->setAutoDefault(false);
  return button;
}
}  // namespace

TDefaultForm::TDefaultForm(QWidget* parent) : QDialog(parent) { qApp->installEventFilter(this); }

void TDefaultForm::reject() { done(mrCancel); }

bool TDefaultForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !KeyPreview || !OnKeyPreview) return false;
  // A key press goes to the dialog's focus control first; only that delivery
  // counts, not the ones to its parents when the control ignores the key.
  QWidget* target = focusWidget() ? focusWidget() : this;
  if (watched != target) return false;
  return OnKeyPreview(static_cast<QKeyEvent*>(event));
}

void TDefaultForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  PlaceControls();
}

void TDefaultForm::PlaceControls() {
  if (!panel_) return;
  panel_->setGeometry(0, 0, width(), std::max(0, height() - kPanelBottomGap));
  const int top = height() - kButtonBottomGap - kButtonHeight;
  cancelButton_->move(width() - kCancelRightGap - cancelButton_->width(), top);
  okButton_->move(cancelButton_->x() - kButtonGap - okButton_->width(), top);
}

void TDefaultForm::showEvent(QShowEvent* event) {
  // A window that got its real size after it was made is centred for that
  // size, unless someone placed it meanwhile.
  if (pos() == placedAt_ && size() != placedSize_) CentreOnMainWindow();
  QDialog::showEvent(event);
}

void TDefaultForm::CentreOnMainWindow() {
  QRect placed(QPoint(), size());
  placed.moveCenter(CentreArea().center());
  move(placed.topLeft());
  placedAt_ = pos();
  placedSize_ = size();
}

TDefaultFormParts TMakeDefaultForm::Make(TFormBorderStyle borderStyle) {
  TDefaultFormParts parts;
  // No parent: the caller owns the dialog, and a parent would free it a second time.
  parts.Form = std::make_unique<TDefaultForm>();
  static_cast<TDefaultFormControls&>(parts) = Furnish(*parts.Form, borderStyle);
  return parts;
}

TDefaultFormControls TMakeDefaultForm::Furnish(TDefaultForm& dialog, TFormBorderStyle borderStyle) {
  TDefaultFormControls parts;
  TDefaultForm* form = &dialog;
  form->setWindowFlags(FlagsFor(borderStyle));
  form->resize(kClientWidth, kClientHeight);
  if (!Sizeable(borderStyle)) form->setFixedSize(kClientWidth, kClientHeight);

  auto* panel = new QFrame(form);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::NoFrame);
  panel->setGeometry(0, 0, kClientWidth, kPanelHeight);
  parts.Panel = panel;

  parts.CancelButton = MakeButton(form, "btCancel", "Abbrechen", kCancelLeft);
  QObject::connect(parts.CancelButton, &QPushButton::clicked, form, &TDefaultForm::reject);
  parts.OkButton = MakeButton(form, "btOK", "Uebernehmen", kOkLeft);
  QObject::connect(parts.OkButton, &QPushButton::clicked, form, [form] { form->done(mrOk); });

  form->panel_ = panel;
  form->cancelButton_ = parts.CancelButton;
  form->okButton_ = parts.OkButton;
  form->PlaceControls();
  form->CentreOnMainWindow();
  return parts;
}

void TMakeDefaultForm::Make(QDialog*& form, QWidget*& panel, TFormBorderStyle borderStyle) {
  TDefaultFormParts parts = Make(borderStyle);
  panel = parts.Panel;
  form = parts.Form.release();
}
