#pragma once
// The standard frame of a small dialog: a content panel above the buttons
// "Abbrechen" and "Uebernehmen". The caller fills the panel and runs the
// dialog modally; exec() returns mrOk or mrCancel.
#include <QDialog>
#include <functional>
#include <memory>

class QKeyEvent;
class QPushButton;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// Keeps the panel and the buttons where their anchors say when the dialog
// is resized, and lets the dialog see key presses before its controls.
class TDefaultForm : public QDialog {
 public:
  explicit TDefaultForm(QWidget* parent = nullptr);

  // Called for every key press inside the dialog before the focused control
  // sees it; returning true swallows the key.
  std::function<bool(QKeyEvent*)> OnKeyPreview;
  bool KeyPreview = true;

  // Closing the window or Esc: the cancel result, as the cancel button gives.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  friend class TMakeDefaultForm;
  void PlaceControls();
  void CentreOnMainWindow();

  QPoint placedAt_;
  QSize placedSize_;

  QWidget* panel_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

struct TDefaultFormControls {
  QWidget* Panel = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* OkButton = nullptr;
};

struct TDefaultFormParts : TDefaultFormControls {
  std::unique_ptr<TDefaultForm> Form;  // the caller owns it
};

class TMakeDefaultForm {
 public:
  // Lays out a dialog of the caller's own class (derived from TDefaultForm)
  // as Make does: size, panel, buttons, centred on the main window.
  static TDefaultFormControls Furnish(TDefaultForm& form, TFormBorderStyle borderStyle = TFormBorderStyle::bsDialog);
  // A new dialog with a client area of 350 x 250, centred on the main window.
  static TDefaultFormParts Make(TFormBorderStyle borderStyle = TFormBorderStyle::bsDialog);
  // The same, handing back the dialog (owned by the caller) and its panel.
  static void Make(QDialog*& form, QWidget*& panel, TFormBorderStyle borderStyle = TFormBorderStyle::bsDialog);
};
