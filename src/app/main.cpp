// MOD00100 <client> <user> [-SA <address id>] [--screenshot FILE] [--click NAME]...
//   --screenshot FILE   renders the window to a PNG once its address is loaded, and ends
//   --click NAME        presses the named buttons or menu items in order once the address is loaded
//                       (PARENT/NAME for a control inside the named one),
//                       then closes the window as the user would: with SUITE_DIALOG_LOG and
//                       its answers (see ScriptedDialogs.h) a script drives an export or import
//   SUITE_REPORT_SHOWN  (environment) prints "shown" when the window is first on the
//                       screen, and ends: the start-up benchmark times this
//   SUITE_CHOOSE_KATALOG (environment) the catalogue key the catalogue choice answers with,
//                       so that a script takes over a whole catalogue
//   SUITE_TAKEOVER_BATCH (environment) rows per commit of a whole take-over
#include <QAbstractButton>
#include <QAction>
#include <QTimer>
#include <cstdio>

#include "ArticlePricePage.h"
#include "DBAdressViewFrameUnit1.h"
#include "MOD00100Unit1.h"
#include "SuiteApplication.h"
#include "TypeUnit.h"

namespace {
QString ScreenshotFile(const QStringList& args) {
  const qsizetype i = args.indexOf(QStringLiteral("--screenshot"));
  return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
}

QStringList ButtonsToClick(const QStringList& args) {
  QStringList names;
  for (qsizetype i = args.indexOf(QStringLiteral("--click")); i >= 0 && i + 1 < args.size();
       i = args.indexOf(QStringLiteral("--click"), i + 2))
    names.append(args[i + 1]);
  return names;
}

// Presses a button or triggers a menu item; false when there is none of that name.
bool ClickNamed(QObject& form, const QString& path) {
  QObject* found = &form;
  for (const QString& name : path.split(u'/'))
    if (found) found = found->findChild<QObject*>(name);
  if (auto* button = qobject_cast<QAbstractButton*>(found)) {
    button->click();
    return true;
  }
  if (auto* action = qobject_cast<QAction*>(found)) {
    action->trigger();
    return true;
  }
  return false;
}

void EndWithError(const QString& text) {
  std::fprintf(stderr, "MOD00100: %s\n", qPrintable(text));
  QCoreApplication::exit(1);
}

// Presses the buttons once the frame's selection delay has loaded the start
// address; no address within 30 s or a name not found ends the program with 1.
void ClickWhenLoaded(TMOD00100Form1& form, const QStringList& names) {
  constexpr int kPollMs = 50;
  auto* poll = new QTimer(&form);
  QObject::connect(poll, &QTimer::timeout, &form, [&form, names, poll, polls = 0]() mutable {
    const bool loaded = !form.CurrentAddressId().isEmpty() && !form.AddressFrame->SelectionTimer->isActive();
    if (!loaded && ++polls * kPollMs < 30000) return;
    poll->stop();
    if (!loaded) return EndWithError(QStringLiteral("no address was loaded"));
    for (const QString& name : names)
      if (!ClickNamed(form, name)) return EndWithError(QStringLiteral("no button ") + name);
    form.close();
  });
  poll->start(kPollMs);
}

// What a script sets in place of the user: the catalogue chosen and the batch size.
void ApplyScriptedChoices(TMOD00100Form1& form) {
  if (qEnvironmentVariableIsSet("SUITE_CHOOSE_KATALOG")) {
    form.ArtPage->Sources.ChooseKatalog = [key = qEnvironmentVariable("SUITE_CHOOSE_KATALOG")](QString& katalog) {
      katalog = key;
      return true;
    };
  }
  bool valid = false;
  const int batchRows = qEnvironmentVariableIntValue("SUITE_TAKEOVER_BATCH", &valid);
  if (valid && batchRows > 0) form.ArtPage->BatchRows = batchRows;
}

int Run(SuiteApplication& app) {
  TMOD00100Form1 form(app.arguments());
  if (!form.Started()) return 1;  // refused: its message was shown
  ApplyScriptedChoices(form);
  form.show();
  const QString screenshot = ScreenshotFile(app.arguments());
  if (!screenshot.isEmpty()) {
    QTimer::singleShot(700, &form, [&form, screenshot] {
      const bool saved = form.grab().save(screenshot, "PNG");
      QCoreApplication::exit(saved ? 0 : 1);
    });
  }
  const QStringList clicks = ButtonsToClick(app.arguments());
  if (!clicks.isEmpty()) ClickWhenLoaded(form, clicks);
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
