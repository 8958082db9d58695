#pragma once
// The window of a long take-over: how many articles are taken so far and a
// button to stop. It keeps the program responsive while the work runs on the
// one thread: the work calls Step per article, which lets the window paint
// and take the cancel click at most every few milliseconds.
#include <QDialog>
#include <QElapsedTimer>
#include <functional>

class QLabel;
class QPushButton;

class TTakeOverProgress : public QDialog {
 public:
  explicit TTakeOverProgress(QWidget* parent);

  // The count so far; false once the user asked to stop.
  bool Step(qint64 taken);
  void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }

  QLabel* CountLabel = nullptr;
  QPushButton* CancelButton = nullptr;

  // Called with the count whenever the window is brought up to date.
  std::function<void(qint64)> OnUpdate;

 protected:
  void reject() override { Cancel(); }  // Esc and the title bar's close button stop too

 private:
  void Show(qint64 taken);

  QElapsedTimer sinceUpdate_;
  bool cancelled_ = false;
};
