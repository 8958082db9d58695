#include "SuiteApplication.h"

#include "TypeUnit.h"

bool DeliverReportingExceptions(const std::function<bool()>& deliver) {
  try {
    return deliver();
  } catch (const std::exception& e) {
    ReportUnhandledException(&e);
  } catch (...) {
    ReportUnhandledException(nullptr);
  }
  return false;
}

bool SuiteApplication::notify(QObject* receiver, QEvent* event) {
  return DeliverReportingExceptions([&] { return QApplication::notify(receiver, event); });
}
