#include "SuiteApplication.h"

#include "Msgdlg.h"
#include "ScriptedDialogs.h"
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

int RunSuiteProgram(int argc, char** argv, const std::function<int(SuiteApplication&)>& run) {
  SuiteApplication app(argc, argv);
  InstallDialogsFromEnvironment();
  int result = 0;
  if (!DeliverReportingExceptions([&] {
        result = run(app);
        return true;
      }))
    result = 1;
  FinalizeMsgDlg();
  FinalizeSystem();
  return result;
}
