#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "MOD00100Unit1.h"
#include "MemIniFile.h"
#include "SuiteApplication.h"
#include "SuiteException.h"
#include "TDBCore.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "Translation.h"
#include "TypeUnit.h"

TEST(AppStartup, OpensTitledWindowWithFivePagesAndPricingFolders) {
  TempSuite suite;
  ASSERT_TRUE(suite.Init());
  TMOD00100Form1 form({suite.ProgramFile(), QStringLiteral("DEMO"), QStringLiteral("ADMIN")});
  ASSERT_TRUE(form.Started());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("[0100 - 01] - DEMO - Kundenspezifische Preise"));
  ASSERT_EQ(form.PageControl1->count(), 5);
  EXPECT_EQ(form.PageControl1->tabText(0), QStringLiteral("Rabattgruppen fuer Angebote und Auftraege"));
  EXPECT_EQ(form.PageControl1->widget(4)->objectName(), QStringLiteral("TntTabSheet2"));
  EXPECT_EQ(form.PageControl1->currentIndex(), 0);
  EXPECT_FALSE(form.pnStd->isVisible());
  const QString addressDir = SystemEinstellungen()->AddressDir;
  for (const char* folder : {"001", "002", "003", "004", "006"})
    EXPECT_TRUE(QFileInfo(addressDir + QLatin1String(folder)).isDir()) << folder;
  EXPECT_FALSE(QFileInfo::exists(addressDir + QStringLiteral("005")));
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST(AppStartup, UnhandledExceptionIsAFatalReport) {
  EXPECT_FALSE(DeliverReportingExceptions([]() -> bool { throw Exception(QStringLiteral("kaputt")); }));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.startsWith(
      QStringLiteral("Unbehandelte Ausnahme.\nException-Message (Exception): kaputt\n")));
  EXPECT_EQ(TestDialogs().shown[0].caption, QStringLiteral("Fehler"));
  EXPECT_TRUE(DeliverReportingExceptions([] { return true; }));
}

// With an English interface every caption of the window is English.
TEST(AppStartup, EnglishInterfaceShowsEveryCaptionInEnglish) {
  TempSuite suite;
  {
    TMemIniFile ini(suite.Root() + QStringLiteral("ETC/APPLICATION.INI"));
    ini.WriteString(QStringLiteral("Language"), QStringLiteral("Name"), QStringLiteral("en_US"));
    ASSERT_TRUE(ini.UpdateFile());
  }
  ASSERT_TRUE(suite.Init());
  TMOD00100Form1 form({suite.ProgramFile(), QStringLiteral("DEMO"), QStringLiteral("ADMIN")});
  ASSERT_TRUE(form.Started());
  EXPECT_EQ(form.PageControl1->tabText(0), QStringLiteral("Discount groups for quotes and orders"));
  EXPECT_EQ(form.PageControl1->tabText(4), QStringLiteral("Price groups"));
  EXPECT_EQ(form.TntButton7->text(), QStringLiteral("Edit standard discounts and prices"));
  EXPECT_EQ(form.InfoButton1->text(), QStringLiteral("Exit"));
  EXPECT_EQ(form.TntButton8->text(), QStringLiteral("Done"));
  EXPECT_EQ(form.pnStd->findChild<QLabel*>(QStringLiteral("TntPanel2"))->text(),
            QStringLiteral("Edit standard discounts and prices"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("[0100 - 01] - DEMO - ") + Tr("Kundenspezifische Preise"));
  EXPECT_NE(Tr("Kundenspezifische Preise"), QStringLiteral("Kundenspezifische Preise"));
}

// The real program, started as the suite's starter would. A refusal is a
// failure for the starter: the exit code is not 0.
TEST(AppProgram, RefusalsEndTheProgramAfterTheirMessage) {
  TempSuite suite;
  const QString program = suite.InstallProgram();
  ProgramRun barred = RunProgram(program, {QStringLiteral("DEMO"), QStringLiteral("GAST")}, suite.Root());
  EXPECT_EQ(barred.exitCode, 1);
  EXPECT_EQ(barred.dialogs,
            QStringList{QStringLiteral("message|Fehler|Ihnen wurde der Zugriff zur Anwendung verweigert.")});

  ProgramRun outside = RunProgram(QStringLiteral(MOD00100_EXE), {QStringLiteral("DEMO"), QStringLiteral("ADMIN")},
                                  suite.Root());
  EXPECT_EQ(outside.exitCode, 1);
  ASSERT_EQ(outside.dialogs.size(), 1);
  EXPECT_TRUE(outside.dialogs[0].startsWith(QStringLiteral("message|Fehler|Initst-")));

  // The address program has the same start-up.
  const QString addressProgram = suite.Root() + QStringLiteral("BIN/MOD00200");
  ASSERT_TRUE(QFile::copy(QStringLiteral(MOD00200_EXE), addressProgram));
  ProgramRun barredPicker = RunProgram(addressProgram, {QStringLiteral("DEMO"), QStringLiteral("GAST")}, suite.Root());
  EXPECT_EQ(barredPicker.exitCode, 1);
  EXPECT_EQ(barredPicker.dialogs, barred.dialogs);
}

TEST(AppProgram, RendersTheWindowToAPicture) {
  TempSuite suite;
  const QString program = suite.InstallProgram();
  const QString shot = suite.Root() + QStringLiteral("shot.png");
  ProgramRun run = RunProgram(program, {QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QStringLiteral("--screenshot"),
                                        shot},
                              suite.Root());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.dialogs.isEmpty()) << run.dialogs.join('\n').toStdString();
  const QImage image(shot);
  ASSERT_FALSE(image.isNull());
  EXPECT_GE(image.width(), 1024);
  EXPECT_GE(image.height(), 690);
}

// Another program holds the address table with a write lock: the start shows
// the wait window and ends with German messages, not with an unhandled error
// (the brief wait and the busy text are pinned by TableWrapperOpen).
TEST(AppStartup, AnAddressTableHeldByAnotherWriterEndsTheStartWithAMessage) {
  TempSuite suite;
  ASSERT_TRUE(suite.Load());
  const int previousBusy = TDBCore::OpenBusyTimeoutMs();
  TDBCore::OpenBusyTimeoutMs() = 20;
  sqlite3* holder = nullptr;
  const QString table = SystemEinstellungen()->AddressDir + QStringLiteral("ADDRESS.DAT");
  ASSERT_EQ(sqlite3_open(table.toUtf8().constData(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::unique_ptr<TMOD00100Form1> form;
  EXPECT_NO_THROW(form = std::make_unique<TMOD00100Form1>(
                      QStringList{suite.ProgramFile(), QStringLiteral("DEMO"), QStringLiteral("ADMIN")}));
  sqlite3_close(holder);
  TDBCore::OpenBusyTimeoutMs() = previousBusy;
  ASSERT_TRUE(form);
  EXPECT_FALSE(form->Started());
  QStringList kinds;
  for (const ShownDialog& shown : TestDialogs().shown) kinds << shown.kind;
  EXPECT_EQ(kinds, (QStringList{"lockwait", "message", "message"}));
  // The report of the open says the file is in use, not that a change was lost.
  EXPECT_TRUE(TestDialogs().shown[1].text.contains(QStringLiteral("konnte nicht geoeffnet werden")));
  EXPECT_FALSE(TestDialogs().shown[1].text.contains(QStringLiteral("nicht gespeichert")));
  EXPECT_TRUE(TestDialogs().shown.last().text.startsWith(QStringLiteral("Das Adressbuch kann nicht geoeffnet werden")));
  EXPECT_TRUE(TestDialogs().shown.last().text.contains(QStringLiteral("Die Datei wird von einem anderen Programm benutzt")));
}
