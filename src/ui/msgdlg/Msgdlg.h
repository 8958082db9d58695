#pragma once
// Message dialogs with German captions and the error report routine.
// Every modal interaction of the program goes through one IDialogs object:
// the Qt implementation for people, a scripted one for tests.
#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <QObject>
#include <type_traits>
#include <typeinfo>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };

// A set of buttons, kept as a bit per button in enumeration order.
class TMsgDlgButtons {
 public:
  TMsgDlgButtons() = default;
  TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn b : buttons) bits_ |= Bit(b);
  }
  bool Contains(TMsgDlgBtn b) const { return bits_ & Bit(b); }
  bool IsEmpty() const { return bits_ == 0; }
  QList<TMsgDlgBtn> InOrder() const;  // the order in which they are laid out
  bool operator==(const TMsgDlgButtons&) const = default;

 private:
  static unsigned Bit(TMsgDlgBtn b) { return 1u << static_cast<unsigned>(b); }
  unsigned bits_ = 0;
};

// Modal results of the buttons.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                    mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10 };

QString DialogCaption(TMsgDlgType type);  // "Warnung", ... translated; custom: application title
QString LockWaitCaption();  // title of the lock wait window, translated
QString ButtonCaption(TMsgDlgBtn button);  // "&Ja", ... translated
int ModalResultOf(TMsgDlgBtn button);

struct MessageRequest {
  QString text;
  TMsgDlgType type = TMsgDlgType::mtInformation;
  TMsgDlgButtons buttons;
  int helpContext = 0;
  int x = -1, y = -1;  // -1, -1: centred on the screen
};

struct InputRequest {
  QString caption;
  QString prompt;
  QString value;  // initial value
  bool password = false;  // the typed text is not shown
};

struct FileDialogRequest {
  QString title;
  QString directory;
  QString fileName;
  QString filter;
  QString defaultExtension;
  bool mustExist = false;  // open: path and file must exist; save: path must exist
};

// A window shown while waiting for a lock that someone else holds.
// Destroying it closes the window.
class IWaitWindow {
 public:
  virtual ~IWaitWindow() = default;
  // Called between retries so that the window stays responsive.
  virtual void ProcessEvents() = 0;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  virtual int ShowMessage(const MessageRequest& request) = 0;
  // Returns whether the user confirmed; the entered text goes to value.
  virtual bool InputQuery(const InputRequest& request, QString& value) = 0;
  // The chosen file, or empty when the user cancelled.
  virtual QString OpenFileName(const FileDialogRequest& request) = 0;
  virtual QString SaveFileName(const FileDialogRequest& request) = 0;
  // Shows who holds a lock; cancel is called when the user gives up waiting.
  // displayFlag offers the cancel button (callers pass their "allow cancel").
  virtual std::unique_ptr<IWaitWindow> ShowLockWait(const QString& holderText, bool displayFlag,
                                                    std::function<void()> cancel) = 0;
  // A small notice on the desktop that goes away by itself and never takes
  // the focus (search feedback).
  virtual void ShowAlert(const QString& title, const QString& text) = 0;
};

// Shows a desktop alert through the installed dialogs.
void DesktopAlert(const QString& title, const QString& text);

IDialogs& Dialogs();
// Installs the dialogs object for the process; returns the one it replaces.
std::unique_ptr<IDialogs> SetDialogs(std::unique_ptr<IDialogs> dialogs);

// Show message: the modal result of the button pressed.
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0,
               int x = -1, int y = -1);
// Show formatted message: %s and %d placeholders filled from args.
int MessageDlgFmt(const QString& format, const QVariantList& args, TMsgDlgType type, TMsgDlgButtons buttons,
                  int helpContext = 0);

// ---- Reports ----

enum TReportLevel { rlFatalError = 0, rlError = 1, rlWarning = 2, rlInformation = 3 };

// The object a report names: its class and, for a component, its name.
struct ReportObject {
  QString className;
  QString componentName;
  bool isComponent = false;

  static ReportObject Of(const QObject* component);
  template <class T>
    requires std::is_base_of_v<QObject, T>
  static ReportObject Of(const T* component) {
    return Of(static_cast<const QObject*>(component));
  }
  template <class T>
    requires(!std::is_pointer_v<T>)
  static ReportObject Of(const T& object) {
    return ReportObject{ClassNameOf(typeid(object)), QString(), false};
  }

 private:
  static QString ClassNameOf(const std::type_info& type);
};

struct ReportException {
  QString className;
  QString message;

  static ReportException Of(const std::exception& e);
};

class TProtocolEventItem {
 public:
  QString Text;
  int Level = 0;
  int Data = 0;  // a further word for the receiver, starts at 0
};

// Builds the shown text: message, line feed, exception and sender lines, "Application: " + program file.
QString BuildReportText(const QString& message, const ReportObject* sender, const ReportException* exception);

void Report(int level, const QString& message, const ReportObject* sender = nullptr,
            const ReportException* exception = nullptr);
void Report(int level, const QString& message, const ReportObject* sender, const std::exception& exception);

// Process-wide switches of the report routine.
struct MsgDlgSettings {
  QString dialogFontName = QStringLiteral("MS Shell Dlg 2");
  int dialogFontSize = 8;
  QString messageFontName = QStringLiteral("MS Sans Serif");
  int messageFontSize = 8;
};
MsgDlgSettings& MsgDlgFonts();
void IncNesting();
void DecNesting();
int Nesting();
void SetSilent(bool silent);
bool Silent();
void ActivateProtocol();  // starts a protocol list (empty)
QList<TProtocolEventItem>* ProtocolList();  // null while none is active
void FinalizeMsgDlg();  // program end: the protocol list is dropped and the silent flag cleared

// A console process writes reports to standard output; decided by the kind of
// application object unless set.
bool IsConsoleProcess();
void SetConsoleProcessOverride(int mode);  // -1 decide, 0 window, 1 console
