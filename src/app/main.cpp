// MOD00100 <client> <user> [-SA <address id>] [--screenshot FILE]
//   --screenshot FILE   renders the window to a PNG once its address is loaded, and ends
//   SUITE_REPORT_SHOWN  (environment) prints "shown" when the window is first on the
//                       screen, and ends: the start-up benchmark times this
#include <QTimer>
#include <cstdio>

#include "MOD00100Unit1.h"
#include "SuiteApplication.h"
#include "TypeUnit.h"

namespace {
QString ScreenshotFile(const QStringList& args) {
  const qsizetype i = args.indexOf(QStringLiteral("--screenshot"));
  return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
}

int Run(SuiteApplication& app) {
  TMOD00100Form1 form(app.arguments());
  if (!form.Started()) return 1;  // refused: its message was shown
  form.show();
  const QString screenshot = ScreenshotFile(app.arguments());
  if (!screenshot.isEmpty()) {
    QTimer::singleShot(700, &form, [&form, screenshot] {
      const bool saved = form.grab().save(screenshot, "PNG");
      QCoreApplication::exit(saved ? 0 : 1);
    });
  }
  if (qEnvironmentVariableIsSet("SUITE_REPORT_SHOWN")) {
    QTimer::singleShot(0, &form, [] {
      std::puts("shown");
      std::fflush(stdout);
      QCoreApplication::exit(0);
    });
  }
  return app.exec();
}
}  // namespace

int main(int argc, char** argv) { return RunSuiteProgram(argc, argv, Run); }
