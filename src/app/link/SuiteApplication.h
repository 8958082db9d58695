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

// The whole life of one of the suite's programs: the application object,
// dialogs as the environment asks, run, and the process-wide objects freed
// at the end. An exception that escapes run is a fatal report.
int RunSuiteProgram(int argc, char** argv, const std::function<int(SuiteApplication&)>& run);
