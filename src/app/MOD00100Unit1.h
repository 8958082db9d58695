#pragma once
// The main window of the customer-specific prices editor: the address
// search frame above, the five pages of price data below.
#include <QWidget>

class QTabWidget;
class QPushButton;
class QSplitter;
class QFrame;

class TMOD00100Form1 : public QWidget {
  Q_OBJECT

 public:
  // arguments: the program's command line, program file first.
  explicit TMOD00100Form1(const QStringList& arguments, QWidget* parent = nullptr);
  ~TMOD00100Form1() override;

  // False when the start-up refused the client or user; the program then ends.
  bool Started() const { return started_; }

  QTabWidget* PageControl1 = nullptr;
  QWidget* Panel1 = nullptr;
  QWidget* Panel7 = nullptr;
  QPushButton* TntButton7 = nullptr;
  QPushButton* InfoButton1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QWidget* AddressArea = nullptr;  // holds the address search frame
  QFrame* pnStd = nullptr;
  QPushButton* TntButton8 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();
  void BuildLayout();
  QWidget* BuildPanel7();
  QFrame* BuildStandardPanel();
  void InfoButton1Click();

  QString Argument(int index) const { return index < arguments_.size() ? arguments_[index] : QString(); }

  QStringList arguments_;
  bool started_ = false;
};
