#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "Format.h"
#include "Msgdlg.h"
#include "QtDialogs.h"
#include "SuiteException.h"
#include "TestSupport.h"
#include "Translation.h"

namespace {
QString ApplicationLine() { return QStringLiteral("Application: ") + QCoreApplication::applicationFilePath(); }

class EFileBroken : public Exception {
 public:
  using Exception::Exception;
  QString ClassName() const override { return QStringLiteral("EFileBroken"); }
};
}  // namespace

// The report: message, the exception's class and text, the sender (a
// component with its name, a plain object by its type), the application; the
// level chooses the caption.
TEST(MsgdlgReport, NamesExceptionAndSenderAndTheLevelChoosesTheCaption) {
  QPushButton button;
  button.setObjectName(QStringLiteral("Button1"));
  const ReportObject component = ReportObject::Of(&button);
  struct TKSRabDatabase {} db;
  const ReportObject plain = ReportObject::Of(db);
  Report(rlError, QStringLiteral("Etwas ging schief."));
  Report(rlFatalError, QStringLiteral("Fehlschlag"), &component, EFileBroken(QStringLiteral("kaputt")));
  Report(rlError, QStringLiteral("x"), &plain, std::runtime_error("bad"));
  const QList<ShownDialog>& shown = TestDialogs().shown;
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(shown[0].text, QStringLiteral("Etwas ging schief.\n") + ApplicationLine());
  EXPECT_EQ(shown[0].buttons, (TMsgDlgButtons{TMsgDlgBtn::mbOK}));
  EXPECT_EQ(shown[1].text,
            QStringLiteral("Fehlschlag\nException-Message (EFileBroken): kaputt\nObject: QPushButton - Button1\n") +
                ApplicationLine());
  EXPECT_TRUE(shown[2].text.contains(QStringLiteral("Exception-Message (runtime_error): bad\nObject: TKSRabDatabase\n")));

  TestDialogs().shown.clear();
  for (int level : {0, 1, 2, 3}) Report(level, QStringLiteral("m"));
  QStringList captions;
  for (const ShownDialog& d : TestDialogs().shown) captions << d.caption;
  EXPECT_EQ(captions, QStringList({"Fehler", "Fehler", "Warnung", "Information"}));
}

TEST(MsgdlgReport, ConsoleProcessWritesPrefixedTextToStandardOutput) {
  SetConsoleProcessOverride(1);
  testing::internal::CaptureStdout();
  Report(rlWarning, QStringLiteral("Achtung"));
  Report(rlFatalError, QStringLiteral("Ende"));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  EXPECT_EQ(out.rfind("Warning: Achtung\n", 0), 0u);
  EXPECT_NE(out.find("\nFatal Error: Ende\n"), std::string::npos);
}

TEST(MsgdlgReport, SilentFlagSuppressesDialogsButProtocolKeepsEveryReport) {
  ActivateProtocol();
  SetSilent(true);
  Report(rlWarning, QStringLiteral("leise"));
  SetSilent(false);
  Report(rlInformation, QStringLiteral("laut"));
  ASSERT_NE(ProtocolList(), nullptr);
  ASSERT_EQ(ProtocolList()->size(), 2);
  EXPECT_EQ(ProtocolList()->at(0).Level, rlWarning);
  EXPECT_EQ(ProtocolList()->at(0).Text, QStringLiteral("leise\n") + ApplicationLine());
  EXPECT_EQ(ProtocolList()->at(1).Data, 0);
  EXPECT_EQ(TestDialogs().shown.size(), 1);
  SetSilent(true);
  FinalizeMsgDlg();
  EXPECT_EQ(ProtocolList(), nullptr);
  EXPECT_FALSE(Silent());
}

TEST(MsgdlgButtons, ScriptedAnswersAreReturnedInOrder) {
  TestDialogs().messageAnswers << mrNo << mrYes;
  const TMsgDlgButtons yesNo{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo};
  EXPECT_EQ(MessageDlg(QStringLiteral("1?"), TMsgDlgType::mtConfirmation, yesNo), mrNo);
  EXPECT_EQ(MessageDlgFmt(QStringLiteral("Liste %s loeschen? (%d)"), {QStringLiteral("A"), 3},
                          TMsgDlgType::mtConfirmation, yesNo),
            mrYes);
  EXPECT_EQ(TestDialogs().shown[1].text, QStringLiteral("Liste A loeschen? (3)"));
  EXPECT_EQ(TestDialogs().shown[1].caption, QStringLiteral("Bestaetigung"));
}

// The real Qt dialog: buttons in enumeration order with their captions, and
// the pressed button's result.
TEST(MsgdlgQtDialog, LaysOutButtonsInOrderAndReturnsPressedResult) {
  QtDialogs dialogs;
  QStringList captions;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) captions.append(b->text());
    // Two buttons carry "&Abbrechen": the second is abort.
    dialog->findChildren<QPushButton*>()[3]->click();
  });
  const int result = dialogs.ShowMessage(MessageRequest{
      QStringLiteral("Frage"), TMsgDlgType::mtWarning,
      TMsgDlgButtons{TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbYes, TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbNo}});
  EXPECT_EQ(title, QStringLiteral("Warnung"));
  EXPECT_EQ(captions, (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein"), QStringLiteral("&Abbrechen"),
                                   QStringLiteral("&Abbrechen")}));
  EXPECT_EQ(result, mrAbort);
}

TEST(MsgdlgFormat, PlaceholdersUseTheDefaultLocale) {
  EXPECT_EQ(FormatText(QStringLiteral("%s hat %d%% (%n)"), {QStringLiteral("A"), 5, 1234.5}),
            QStringLiteral("A hat 5% (1.234,50)"));
  EXPECT_EQ(FormatText(QStringLiteral("%.4f %s"), {2.5, QStringLiteral("EUR")}), QStringLiteral("2,5000 EUR"));
  ScopedLocale english(DecimalPointLocale());
  EXPECT_EQ(FormatText(QStringLiteral("%n"), {1234.5}), QStringLiteral("1,234.50"));
  EXPECT_EQ(FormatText(QStringLiteral("100%"), {}), QStringLiteral("100%"));
}

TEST(MsgdlgTranslation, EnglishCatalogueTranslatesCaptionsAndMessages) {
  SetInterfaceLanguage(QStringLiteral("en_US"));
  EXPECT_EQ(Tr("Fehler"), QStringLiteral("Error"));
  EXPECT_EQ(DialogCaption(TMsgDlgType::mtWarning), QStringLiteral("Warning"));
  EXPECT_EQ(Tr("Ihnen wurde der Zugriff zur Anwendung verweigert."),
            QStringLiteral("You have been denied access to the application."));
  EXPECT_EQ(Tr("Kein uebersetzter Text"), QStringLiteral("Kein uebersetzter Text"));
  SetInterfaceLanguage(QStringLiteral("de_DE"));
  EXPECT_EQ(Tr("Fehler"), QStringLiteral("Fehler"));
}
