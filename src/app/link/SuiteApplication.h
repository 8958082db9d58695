#pragma once
// The application object: an exception that escapes an event handler is
// shown as a fatal report instead of ending the program unseen.
#include <QApplication>
#include <functional>

class SuiteApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs the delivery and reports what it throws; false when it threw.
bool DeliverReportingExceptions(const std::function<bool()>& deliver);
