#include "Msgdlg.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QObject>
#include <cstdio>

#include "Format.h"
#include "QtDialogs.h"
#include "SuiteException.h"
#include "Translation.h"

namespace {
struct ReportState {
  int nesting = 0;
  bool silent = false;
  std::unique_ptr<QList<TProtocolEventItem>> protocol;
  int consoleOverride = -1;
};

ReportState& State() {
  static ReportState state;
  return state;
}

std::unique_ptr<IDialogs>& DialogsSlot() {
  static std::unique_ptr<IDialogs> dialogs;
  return dialogs;
}

QString ProgramFileName() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

TMsgDlgType DialogTypeForLevel(int level) {
  if (level <= rlError) return TMsgDlgType::mtError;
  if (level == rlWarning) return TMsgDlgType::mtWarning;
  return TMsgDlgType::mtInformation;
}

const char* ConsolePrefix(int level) {
  switch (level) {
    case rlFatalError: return "Fatal Error: ";
    case rlError: return "Error: ";
    case rlWarning: return "Warning: ";
    default: return "Information: ";
  }
}
}  // namespace

QList<TMsgDlgBtn> TMsgDlgButtons::InOrder() const {
  QList<TMsgDlgBtn> list;
  for (int b = 0; b <= static_cast<int>(TMsgDlgBtn::mbHelp); ++b)
    if (Contains(static_cast<TMsgDlgBtn>(b))) list.append(static_cast<TMsgDlgBtn>(b));
  return list;
}

QString DialogCaption(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return Tr("Warnung");
    case TMsgDlgType::mtError: return Tr("Fehler");
    case TMsgDlgType::mtInformation: return Tr("Information");
    case TMsgDlgType::mtConfirmation: return Tr("Bestaetigung");
    case TMsgDlgType::mtCustom: break;
  }
  return QCoreApplication::instance() ? QCoreApplication::applicationName() : QString();
}

QString ButtonCaption(TMsgDlgBtn button) {
  switch (button) {
    case TMsgDlgBtn::mbYes: return Tr("&Ja");
    case TMsgDlgBtn::mbNo: return Tr("&Nein");
    case TMsgDlgBtn::mbOK: return Tr("&OK");
    case TMsgDlgBtn::mbCancel: return Tr("&Abbrechen");
    case TMsgDlgBtn::mbAbort: return Tr("&Abbrechen");
    case TMsgDlgBtn::mbRetry: return Tr("&Wiederholen");
    case TMsgDlgBtn::mbIgnore: return Tr("&Ignorieren");
    case TMsgDlgBtn::mbAll: return Tr("&Alle");
    case TMsgDlgBtn::mbNoToAll: return Tr("A&lle Nein");
    case TMsgDlgBtn::mbYesToAll: return Tr("A&lle Ja");
    case TMsgDlgBtn::mbHelp: return Tr("&Hilfe");
  }
  return QString();
}

int ModalResultOf(TMsgDlgBtn button) {
  switch (button) {
    case TMsgDlgBtn::mbYes: return mrYes;
    case TMsgDlgBtn::mbNo: return mrNo;
    case TMsgDlgBtn::mbOK: return mrOk;
    case TMsgDlgBtn::mbCancel: return mrCancel;
    case TMsgDlgBtn::mbAbort: return mrAbort;
    case TMsgDlgBtn::mbRetry: return mrRetry;
    case TMsgDlgBtn::mbIgnore: return mrIgnore;
    case TMsgDlgBtn::mbAll: return mrAll;
    case TMsgDlgBtn::mbNoToAll: return mrNoToAll;
    case TMsgDlgBtn::mbYesToAll: return mrYesToAll;
    case TMsgDlgBtn::mbHelp: return mrNone;
  }
  return mrNone;
}

IDialogs& Dialogs() {
  auto& slot = DialogsSlot();
  if (!slot) slot = std::make_unique<QtDialogs>();
  return *slot;
}

std::unique_ptr<IDialogs> SetDialogs(std::unique_ptr<IDialogs> dialogs) {
  std::unique_ptr<IDialogs> previous = std::move(DialogsSlot());
  DialogsSlot() = std::move(dialogs);
  return previous;
}

void DesktopAlert(const QString& title, const QString& text) { Dialogs().ShowAlert(title, text); }

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext, int x, int y) {
  return Dialogs().ShowMessage(MessageRequest{text, type, buttons, helpContext, x, y});
}

int MessageDlgFmt(const QString& format, const QVariantList& args, TMsgDlgType type, TMsgDlgButtons buttons,
                  int helpContext) {
  return MessageDlg(FormatText(format, args), type, buttons, helpContext);
}

ReportObject ReportObject::Of(const QObject* component) {
  if (!component) return {};
  return ReportObject{QString::fromLatin1(component->metaObject()->className()), component->objectName(), true};
}

QString ReportObject::ClassNameOf(const std::type_info& type) { return DemangledClassName(type); }

ReportException ReportException::Of(const std::exception& e) {
  if (auto* own = dynamic_cast<const Exception*>(&e)) return ReportException{own->ClassName(), own->Message()};
  return ReportException{DemangledClassName(typeid(e)), QString::fromLocal8Bit(e.what())};
}

QString BuildReportText(const QString& message, const ReportObject* sender, const ReportException* exception) {
  QString details;
  if (exception)
    details += QStringLiteral("Exception-Message (") + exception->className + QStringLiteral("): ") +
               exception->message + QLatin1Char('\n');
  if (sender) {
    details += QStringLiteral("Object: ") + sender->className;
    if (sender->isComponent) details += QStringLiteral(" - ") + sender->componentName;
    details += QLatin1Char('\n');
  }
  return message + QLatin1Char('\n') + details + QStringLiteral("Application: ") + ProgramFileName();
}

void Report(int level, const QString& message, const ReportObject* sender, const ReportException* exception) {
  const QString text = BuildReportText(message, sender, exception);
  ReportState& state = State();
  if (!state.silent) {
    if (IsConsoleProcess()) {
      std::fputs(ConsolePrefix(level), stdout);
      std::fputs(text.toLocal8Bit().constData(), stdout);
      std::fputc('\n', stdout);
      std::fflush(stdout);
    } else {
      MessageDlg(text, DialogTypeForLevel(level), {TMsgDlgBtn::mbOK});
    }
  }
  if (state.protocol) state.protocol->append(TProtocolEventItem{text, level, 0});
}

void Report(int level, const QString& message, const ReportObject* sender, const std::exception& exception) {
  const ReportException e = ReportException::Of(exception);
  Report(level, message, sender, &e);
}

MsgDlgSettings& MsgDlgFonts() {
  static MsgDlgSettings settings;
  return settings;
}

void IncNesting() { ++State().nesting; }
void DecNesting() { --State().nesting; }
int Nesting() { return State().nesting; }
void SetSilent(bool silent) { State().silent = silent; }
bool Silent() { return State().silent; }
void ActivateProtocol() { State().protocol = std::make_unique<QList<TProtocolEventItem>>(); }
QList<TProtocolEventItem>* ProtocolList() { return State().protocol.get(); }

void FinalizeMsgDlg() {
  State().protocol.reset();
  State().silent = false;
}

bool IsConsoleProcess() {
  const int mode = State().consoleOverride;
  if (mode >= 0) return mode == 1;
  return qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr;
}

void SetConsoleProcessOverride(int mode) { State().consoleOverride = mode; }
