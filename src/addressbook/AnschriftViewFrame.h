#pragma once
// Choosing one postal address ("Anschrift") of an address in a small modal
// window: a one-column tree of the postal addresses, the main one in bold.
#include <QFrame>

#include "DBAdressCore.h"
#include "MakeDefaultForm.h"

class QTreeWidget;

class TAnschriftViewFrame : public QFrame {
  Q_OBJECT

 public:
  explicit TAnschriftViewFrame(QWidget* parent = nullptr);

  QTreeWidget* Tree = nullptr;  // header "Anschriften"

  void Fill(const TCustomerAddress& address);
  // Index of the selected postal address; -1 when none is selected.
  int SelectedIndex() const;

  // The index of the chosen postal address, or -1 when the user cancelled.
  // left and top place the window; -1 centres it.
  static int ChooseAnschrift(const TCustomerAddress& address, const QString& name, QWidget* parent = nullptr,
                             int left = -1, int top = -1);
};

// The modal window of ChooseAnschrift: the suite's default window with
// "Abbrechen" and "Uebernehmen" below the frame.
class TAnschriftViewForm : public TDefaultForm {
  Q_OBJECT

 public:
  TAnschriftViewForm(const TCustomerAddress& address, const QString& name, QWidget* parent = nullptr);

  TAnschriftViewFrame* Frame = nullptr;
  TDefaultFormControls Controls;
  int Chosen = -1;  // the accepted index

  // "Uebernehmen", Return or double click: closes with the selected index;
  // with nothing selected the window says so and stays open.
  void TryAccept();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString prompt_;
};
