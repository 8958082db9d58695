// The discount-group pages in the real window: offscreen, with scripted dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>

#include "AddressBookData.h"
#include "DBAdressViewFrameUnit1.h"
#include "DBGrid.h"
#include "DiscountGroupPage.h"
#include "FileLock.h"
#include "KSRabDatabase.h"
#include "MOD00100Unit1.h"
#include "MemIniFile.h"
#include "NumberText.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "TypeUnit.h"
#include "ULAGConfig.h"

namespace {
// The demo suite: addresses 10000.., discount tables for 10000-10004 and
// "__DEFAULT__", and 30 predefined groups in the warehouse settings.
class DiscountPagesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(suite_.Load()); }

  std::unique_ptr<TMOD00100Form1> Start(const QString& id) {
    auto form = std::make_unique<TMOD00100Form1>(QStringList{suite_.ProgramFile(), QStringLiteral("DEMO"),
                                                             QStringLiteral("ADMIN"), QStringLiteral("-sa"), id});
    EXPECT_TRUE(form->Started());
    Settle(*form);
    return form;
  }

  static void Settle(TMOD00100Form1& form) {
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    Q_UNUSED(form);
  }

  static QString File(const char* folder, const QString& id) {
    return SystemEinstellungen()->AddressDir + QLatin1String(folder) + QLatin1Char('/') + id + QStringLiteral(".TDBD");
  }

  // Discounts of a table file, read by a store of its own.
  static QMap<QString, double> DiscountsIn(const QString& file) {
    TKSRabDatabase db;
    db.OpenFile(file, false);
    QMap<QString, double> result;
    for (db.Table->First(); !db.Table->Eof(); db.Table->Next())
      result.insert(db.Table->FieldByName(QStringLiteral("RABATTGRP")).AsString(),
                    db.Table->FieldByName(QStringLiteral("RABATT")).AsFloat());
    return result;
  }

  static void EditDiscount(TDiscountGroupPage& page, int row, const QString& text) {
    TDBGridModel* model = page.Grid->Model();
    ASSERT_TRUE(model->setData(model->index(row, 2), text, Qt::EditRole));
  }

  static int PredefinedCount() {
    TLagerConfig config;
    config.LoadFromFile(TLagerConfig::ConfigFileName());
    return config.Rabattgruppen.Count();
  }

  TempSuite suite_;
};
}  // namespace

TEST_F(DiscountPagesTest, StartAddressFromLowerCaseSwitchShowsItsList) {
  auto form = Start(QStringLiteral("10001"));
  EXPECT_EQ(form->CurrentAddressId(), QStringLiteral("10001"));
  EXPECT_TRUE(form->RabDB()->Opened);
  EXPECT_EQ(form->RabPage->ListButton->property("tag").toInt(), 2);
  EXPECT_EQ(form->RabPage->ListButton->text(), QStringLiteral("Liste loeschen"));
  EXPECT_TRUE(form->RabPage->Grid->isEnabled());
  EXPECT_FALSE(form->KommRabDB()->Opened) << "only the page shown is loaded";
  form->PageControl1->setCurrentIndex(TMOD00100Form1::pgKommRabatt);
  EXPECT_TRUE(form->KommRabDB()->Opened);
}

TEST_F(DiscountPagesTest, EditedDiscountIsInTheFirstCustomersFileAfterPickingAnother) {
  auto form = Start(QStringLiteral("10000"));
  EditDiscount(*form->RabPage, 0, QStringLiteral("33,5"));
  const QString key = form->RabPage->Grid->Model()->index(0, 0).data().toString();
  form->AddressFrame->GotoAddress(QStringLiteral("10002"));
  Settle(*form);
  EXPECT_EQ(form->CurrentAddressId(), QStringLiteral("10002"));
  EXPECT_DOUBLE_EQ(DiscountsIn(File("001", QStringLiteral("10000")))[key], 33.5);
  EXPECT_NE(DiscountsIn(File("001", QStringLiteral("10002")))[key], 33.5);
}

TEST_F(DiscountPagesTest, CreatingAListFillsEveryPredefinedGroupAtZero) {
  auto form = Start(QStringLiteral("10020"));
  TDiscountGroupPage& page = *form->RabPage;
  EXPECT_EQ(page.ListButton->property("tag").toInt(), 1);
  EXPECT_FALSE(page.Grid->isEnabled());
  page.ListButton->click();
  EXPECT_EQ(page.ListButton->property("tag").toInt(), 2);
  const QMap<QString, double> d = DiscountsIn(File("001", QStringLiteral("10020")));
  EXPECT_EQ(d.size(), PredefinedCount());
  for (double discount : d) EXPECT_EQ(discount, 0);
  EXPECT_EQ(page.Grid->Model()->rowCount(), PredefinedCount());
}

TEST_F(DiscountPagesTest, ReimportFollowsChangedPredefinedGroups) {
  auto form = Start(QStringLiteral("10000"));
  const QMap<QString, double> before = DiscountsIn(File("001", QStringLiteral("10000")));
  ASSERT_GT(before[QStringLiteral("ARM")], 0);
  form->LagerConfig->Rabattgruppen.Clear();
  form->LagerConfig->Rabattgruppen.Add(QStringLiteral("ARM"), QStringLiteral("Armaturen"));
  form->LagerConfig->Rabattgruppen.Add(QStringLiteral("NEU"), QStringLiteral("Neue Gruppe"));
  form->RabPage->ReimportButton->click();
  const QMap<QString, double> after = DiscountsIn(File("001", QStringLiteral("10000")));
  EXPECT_EQ(after.keys(), (QStringList{QStringLiteral("ARM"), QStringLiteral("NEU")}));
  EXPECT_DOUBLE_EQ(after[QStringLiteral("ARM")], before[QStringLiteral("ARM")]);
  EXPECT_DOUBLE_EQ(after[QStringLiteral("NEU")], 0);
  EXPECT_EQ(form->RabPage->Grid->Model()->rowCount(), 2);

  form->LagerConfig->Rabattgruppen.Clear();
  form->RabPage->ReimportButton->click();
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text,
            QStringLiteral("Es sind keine Rabattgruppen vorgegeben.\nSiehe auch Lagereinstellungen."));
  EXPECT_EQ(DiscountsIn(File("001", QStringLiteral("10000"))).size(), 2);
}

// The page's buttons go through the chosen file; the number form under each
// locale is pinned by the store's and the real program's tests.
TEST_F(DiscountPagesTest, ExportAndImportThroughTheChosenFile) {
  QTemporaryDir dir;
  auto form = Start(QStringLiteral("10003"));
  const QString file = dir.path() + QStringLiteral("/rabatte.txt");
  TestDialogs().fileAnswers.enqueue(file);
  form->RabPage->ExportButton->click();
  QStringList lines;
  ASSERT_TRUE(ReadTextLines(file, lines));
  const QMap<QString, double> exported = DiscountsIn(File("001", QStringLiteral("10003")));
  EXPECT_EQ(lines.size(), exported.size());
  EXPECT_TRUE(lines.contains(QStringLiteral("ARM=") + FormatGeneralNumber(exported[QStringLiteral("ARM")])));
  // Change every discount, then import the exported file back.
  for (int row = 0; row < form->RabPage->Grid->Model()->rowCount(); ++row) EditDiscount(*form->RabPage, row, "99");
  TestDialogs().fileAnswers.enqueue(file);
  form->RabPage->ImportButton->click();
  EXPECT_EQ(DiscountsIn(File("001", QStringLiteral("10003"))), exported);
  EXPECT_EQ(form->RabPage->Grid->Model()->index(0, 2).data().toString(), FormatGeneralNumber(exported.first()));
  ASSERT_EQ(TestDialogs().shown.size(), 2);
  EXPECT_EQ(TestDialogs().shown[0].kind, QStringLiteral("save"));
  EXPECT_EQ(TestDialogs().shown[1].kind, QStringLiteral("open"));
  EXPECT_EQ(TestDialogs().shown[0].caption, QStringLiteral("Waehlen Sie eine Datei aus!"));
}

TEST_F(DiscountPagesTest, DeletingAsksAndNoKeepsTableAndFile) {
  auto form = Start(QStringLiteral("10001"));
  TDiscountGroupPage& page = *form->RabPage;
  const QString file = File("001", QStringLiteral("10001"));
  TestDialogs().messageAnswers << mrNo << mrYes;
  page.ListButton->click();
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Moechten Sie die Rabatte fuer diese Adresse loeschen?"));
  EXPECT_EQ(TestDialogs().shown[0].caption, QStringLiteral("Bestaetigung"));
  EXPECT_TRUE(QFileInfo::exists(file));
  EXPECT_TRUE(form->RabDB()->Opened);
  page.ListButton->click();
  EXPECT_FALSE(QFileInfo::exists(file));
  EXPECT_EQ(page.ListButton->property("tag").toInt(), 1);
  EXPECT_EQ(page.ListButton->text(), QStringLiteral("Liste anlegen"));
  EXPECT_FALSE(page.Grid->isEnabled());
  // Without a list the exchange buttons do nothing.
  page.ExportButton->click();
  page.ImportButton->click();
  EXPECT_EQ(TestDialogs().shown.size(), 2);
}

TEST_F(DiscountPagesTest, GroupsAddedByHandAndRemovedWithoutDiscount) {
  auto form = Start(QStringLiteral("10000"));
  TDiscountGroupPage& page = *form->RabPage;
  const int rows = page.Grid->Model()->rowCount();
  TestDialogs().inputAnswers << QStringLiteral(" ARM ") << QStringLiteral("Z9");
  page.AddButton->click();
  page.AddButton->click();
  EXPECT_EQ(TestDialogs().shown.size(), 2);
  EXPECT_EQ(TestDialogs().shown[0].caption, QStringLiteral("Neue Rabattgruppe"));
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Rabattgruppe"));
  EXPECT_EQ(page.Grid->Model()->rowCount(), rows + 1);
  page.CompressButton->click();
  const QMap<QString, double> d = DiscountsIn(File("001", QStringLiteral("10000")));
  EXPECT_FALSE(d.contains(QStringLiteral("Z9")));
  for (double discount : d) EXPECT_NE(discount, 0);
  EXPECT_EQ(page.Grid->Model()->rowCount(), d.size());
}

TEST_F(DiscountPagesTest, StandardTablesModeWorksOnDefaultFilesOnly) {
  auto form = Start(QStringLiteral("10000"));
  const QString customerFile = File("001", QStringLiteral("10000"));
  const QString defaultFile = File("001", QStringLiteral("__DEFAULT__"));
  const QMap<QString, double> customerBefore = DiscountsIn(customerFile);
  form->TntButton7->click();
  EXPECT_TRUE(form->StandardMode());
  EXPECT_FALSE(form->AddressFrame->isEnabled());
  EXPECT_EQ(form->CurrentAddressId(), QStringLiteral("__DEFAULT__"));
  EditDiscount(*form->RabPage, 0, QStringLiteral("42"));
  form->PageControl1->setCurrentIndex(TMOD00100Form1::pgKommRabatt);
  EditDiscount(*form->KommRabPage, 0, QStringLiteral("43"));
  EXPECT_DOUBLE_EQ(DiscountsIn(defaultFile).first(), 42);
  EXPECT_DOUBLE_EQ(DiscountsIn(File("004", QStringLiteral("__DEFAULT__"))).first(), 43);
  EXPECT_EQ(DiscountsIn(customerFile), customerBefore);
  form->TntButton8->click();
  EXPECT_FALSE(form->StandardMode());
  EXPECT_TRUE(form->AddressFrame->isEnabled());
  EXPECT_NE(form->CurrentAddressId(), QStringLiteral("__DEFAULT__"));
  Settle(*form);
  EXPECT_EQ(form->CurrentAddressId(), QStringLiteral("10000")) << "the frame's first row";
  EXPECT_EQ(form->KommRabDB()->GetDatabasePath(), File("004", QStringLiteral("10000")));
}

TEST_F(DiscountPagesTest, AQuickSelectionBeforeTheStandardModeDoesNotLeaveIt) {
  auto form = Start(QStringLiteral("10000"));
  form->AddressFrame->GotoAddress(QStringLiteral("10003"));  // its delay is still running
  form->TntButton7->click();
  Settle(*form);
  EXPECT_EQ(form->CurrentAddressId(), QStringLiteral("__DEFAULT__"));
  EXPECT_EQ(form->RabDB()->GetDatabasePath(), File("001", QStringLiteral("__DEFAULT__")));
}

TEST_F(DiscountPagesTest, CloseAndRestartRestoreWindowSettings) {
  int panelHeight = 0;
  {
    auto form = Start(QStringLiteral("10004"));
    form->show();
    form->PageControl1->setCurrentIndex(TMOD00100Form1::pgKommRabatt);
    form->KommRabPage->Grid->setColumnWidth(1, 250);
    form->Splitter1->setSizes({300, 420});
    RunEventsFor(50);
    panelHeight = form->Panel1->height();
    form->close();
  }
  TMemIniFile ini(TMOD00100Form1::SettingsFileName());
  EXPECT_EQ(ini.ReadString(QStringLiteral("MOD00100"), QStringLiteral("LastAdrID"), QString()), QStringLiteral("10004"));
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("MOD00100Form1"), QStringLiteral("DBGrid31"), 0), 250);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("MOD00100Form1"), QStringLiteral("DBGrid11"), 0), 388);
  const int height = ini.ReadInteger(QStringLiteral("MOD00100Form1"), QStringLiteral("Panel1"), 0);
  EXPECT_GT(panelHeight, 350);
  EXPECT_EQ(height, panelHeight);

  auto again = std::make_unique<TMOD00100Form1>(
      QStringList{suite_.ProgramFile(), QStringLiteral("DEMO"), QStringLiteral("ADMIN")});
  again->show();
  Settle(*again);
  EXPECT_EQ(again->CurrentAddressId(), QStringLiteral("10004"));
  EXPECT_EQ(again->PageControl1->currentIndex(), int(TMOD00100Form1::pgKommRabatt));
  EXPECT_EQ(again->KommRabPage->Grid->columnWidth(1), 250);
  RunEventsFor(50);
  EXPECT_EQ(again->Panel1->height(), height);
}

TEST_F(DiscountPagesTest, TwoWindowsOnOneCustomerLoseNoRow) {
  auto first = Start(QStringLiteral("10002"));
  auto second = Start(QStringLiteral("10002"));
  TestDialogs().inputAnswers << QStringLiteral("EINS") << QStringLiteral("ZWEI");
  first->RabPage->AddButton->click();
  second->RabPage->AddButton->click();
  EditDiscount(*first->RabPage, 0, QStringLiteral("11"));
  second->RabDB()->RefreshTables();
  first->RabDB()->RefreshTables();
  const QMap<QString, double> d = DiscountsIn(File("001", QStringLiteral("10002")));
  EXPECT_TRUE(d.contains(QStringLiteral("EINS")));
  EXPECT_TRUE(d.contains(QStringLiteral("ZWEI")));
  EXPECT_EQ(first->RabPage->Grid->Model()->rowCount(), d.size());
  EXPECT_EQ(second->RabPage->Grid->Model()->rowCount(), d.size());
  EXPECT_EQ(second->RabPage->Grid->Model()->index(0, 2).data().toString(), QStringLiteral("11"));
}

TEST_F(DiscountPagesTest, AnIdThatWouldLeaveThePricingFoldersIsRefused) {
  TestAddress bad;
  bad.id = QStringLiteral("../X");
  bad.name = QStringLiteral("Boese");
  ASSERT_TRUE(StoreAddresses(SystemEinstellungen()->AddressDir, {bad}));
  auto form = Start(QStringLiteral("../X"));
  EXPECT_FALSE(form->PageControl1->isEnabled());
  ASSERT_FALSE(TestDialogs().shown.isEmpty());
  EXPECT_TRUE(TestDialogs().shown.last().text.startsWith(QStringLiteral("Die Adressnummer \"../X\"")));
  form->RabPage->ListButton->click();
  EXPECT_FALSE(QFileInfo::exists(SystemEinstellungen()->AddressDir + QStringLiteral("X.TDBD")));
  EXPECT_EQ(QDir(SystemEinstellungen()->AddressDir + QStringLiteral("001")).entryList(QDir::Files).size(), 6);
}

namespace {
// Dialogs during which the event loop runs on, as under a real modal dialog:
// a selection made just before the command comes due while it asks.
class SlowDialogs : public ScriptedDialogs {
 public:
  int ShowMessage(const MessageRequest& request) override {
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    return ScriptedDialogs::ShowMessage(request);
  }
  QString OpenFileName(const FileDialogRequest& request) override {
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    return ScriptedDialogs::OpenFileName(request);
  }
};
}  // namespace

// Customer 10001 is clicked, and within the delay "Liste loeschen" of 10000's
// page is pressed and answered: 10000's list goes, 10001's stays, and the
// window then follows the click.
TEST_F(DiscountPagesTest, ACommandActsOnTheAddressItWasGivenFor) {
  auto form = Start(QStringLiteral("10000"));
  auto* slow = new SlowDialogs;
  auto previous = SetDialogs(std::unique_ptr<IDialogs>(slow));
  slow->messageAnswers << mrYes;
  form->AddressFrame->GotoAddress(QStringLiteral("10001"));
  form->RabPage->ListButton->click();
  EXPECT_FALSE(QFileInfo::exists(File("001", QStringLiteral("10000"))));
  EXPECT_TRUE(QFileInfo::exists(File("001", QStringLiteral("10001"))));
  Settle(*form);
  EXPECT_EQ(form->CurrentAddressId(), QStringLiteral("10001"));
  EXPECT_TRUE(form->RabDB()->Opened);

  // The same for an import: it goes into the list it was chosen for.
  QTemporaryDir dir;
  const QString exchange = dir.path() + QStringLiteral("/in.txt");
  ASSERT_TRUE(WriteTextLines(exchange, {QStringLiteral("ARM=77")}));
  const QMap<QString, double> other = DiscountsIn(File("001", QStringLiteral("10002")));
  slow->fileAnswers << exchange;
  form->AddressFrame->GotoAddress(QStringLiteral("10002"));
  form->RabPage->ImportButton->click();
  EXPECT_DOUBLE_EQ(DiscountsIn(File("001", QStringLiteral("10001")))[QStringLiteral("ARM")], 77);
  EXPECT_EQ(DiscountsIn(File("001", QStringLiteral("10002"))), other);
  Settle(*form);
  EXPECT_EQ(form->CurrentAddressId(), QStringLiteral("10002"));
  SetDialogs(std::move(previous));
}

// A discount still being typed is stored however the window closes.
TEST_F(DiscountPagesTest, ValueBeingTypedIsStoredWhenTheWindowCloses) {
  for (const bool byF12 : {true, false}) {
    auto form = Start(QStringLiteral("10000"));
    form->show();
    TDBGrid* grid = form->RabPage->Grid;
    const QModelIndex cell = grid->Model()->index(0, 2);
    const QString key = grid->Model()->index(0, 0).data().toString();
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    ASSERT_NE(editor, nullptr);
    editor->setText(byF12 ? QStringLiteral("12") : QStringLiteral("13"));
    if (byF12) {
      EXPECT_TRUE(form->FormKeyDown(Qt::Key_F12, Qt::NoModifier));
    } else {
      form->close();  // as the title bar does
    }
    EXPECT_DOUBLE_EQ(DiscountsIn(File("001", QStringLiteral("10000")))[key], byF12 ? 12 : 13) << byF12;
  }
}

// Hand-edited settings must not give a window that cannot be used.
TEST_F(DiscountPagesTest, WindowSettingsOutOfRangeAreBroughtIntoIt) {
  {
    TMemIniFile ini(TMOD00100Form1::SettingsFileName());
    for (const char* key : {"Panel1", "DBGrid11", "cbImpPreis"})
      ini.WriteString(QStringLiteral("MOD00100Form1"), QLatin1String(key), QStringLiteral("2147483647"));
    ini.WriteString(QStringLiteral("MOD00100Form1"), QStringLiteral("VDBGrid1"), QStringLiteral("2147483647"));
    ASSERT_TRUE(ini.UpdateFile());
  }
  auto form = Start(QStringLiteral("10000"));
  form->show();
  RunEventsFor(50);
  EXPECT_GT(form->AddressArea->height(), 0);
  EXPECT_LE(form->Panel1->height(), form->height());
  EXPECT_LE(form->RabPage->Grid->columnWidth(1), 2000);
  EXPECT_LE(form->AddressFrame->VDBGrid->columnWidth(1), 2000);
  form->close();
  const int choice = TMemIniFile(TMOD00100Form1::SettingsFileName())
                         .ReadInteger(QStringLiteral("MOD00100Form1"), QStringLiteral("cbImpPreis"), -1);
  EXPECT_GE(choice, 0);
  EXPECT_LE(choice, 6);
}

// Workstation B still shows 10 while A has stored 11: B's 12 must not
// overwrite it unseen, even when B's cursor read the row again meanwhile.
TEST_F(DiscountPagesTest, AValueChangedElsewhereSinceItWasShownIsNotOverwritten) {
  auto form = Start(QStringLiteral("10000"));
  TDBGridModel* model = form->RabPage->Grid->Model();
  const QString key = model->index(0, 0).data().toString();
  const QString shown = model->index(0, 2).data().toString();
  ASSERT_TRUE(model->MoveTableTo(1));
  {
    TKSRabDatabase other;  // workstation A
    other.OpenFile(File("001", QStringLiteral("10000")), false);
    ASSERT_TRUE(other.RabattGrpExists(key));
    other.Table->Edit();
    other.Table->FieldByName(QStringLiteral("RABATT")).SetAsFloat(11);
    other.Table->Post();
  }
  EXPECT_EQ(model->index(0, 2).data().toString(), shown);
  EXPECT_FALSE(model->setData(model->index(0, 2), QStringLiteral("12"), Qt::EditRole));
  EXPECT_DOUBLE_EQ(DiscountsIn(File("001", QStringLiteral("10000")))[key], 11);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.startsWith(QStringLiteral("Der Datensatz wurde inzwischen anderswo geaendert")));
  EXPECT_EQ(model->index(0, 2).data().toString(), FormatGeneralNumber(11));
}

// The list was deleted at another workstation: the edit is not written into
// the deleted file; the page says so in German and shows "no list".
TEST_F(DiscountPagesTest, AListDeletedElsewhereIsReportedAndShownAsMissing) {
  auto form = Start(QStringLiteral("10001"));
  TDiscountGroupPage& page = *form->RabPage;
  ASSERT_TRUE(QFile::remove(File("001", QStringLiteral("10001"))));
  EXPECT_FALSE(page.Grid->Model()->setData(page.Grid->Model()->index(0, 2), QStringLiteral("5"), Qt::EditRole));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.startsWith(QStringLiteral("Die Rabattliste dieser Adresse wurde an einem anderen Arbeitsplatz geloescht")));
  EXPECT_FALSE(page.Store->Opened);
  EXPECT_EQ(page.ListButton->property("tag").toInt(), 1);
  EXPECT_FALSE(page.Grid->isEnabled());
  EXPECT_FALSE(QFileInfo::exists(File("001", QStringLiteral("10001"))));
}

// A list that exists but does not open is reported, and never offered for
// creation (which would build over it).
TEST_F(DiscountPagesTest, AnExistingListThatFailsToOpenIsNotOfferedForCreation) {
  const QString file = File("001", QStringLiteral("10020"));
  const QByteArray damaged(4096, 'x');
  WriteFileBytes(file, damaged);
  auto form = Start(QStringLiteral("10020"));
  TDiscountGroupPage& page = *form->RabPage;
  EXPECT_FALSE(TestDialogs().shown.isEmpty());
  EXPECT_NE(page.ListButton->property("tag").toInt(), 1);
  EXPECT_FALSE(page.ListButton->isEnabled());
  page.ListButton->click();
  EXPECT_EQ(ReadFileBytes(file), damaged);
}

// A new list appears whole or not at all: a failure while it is filled
// leaves no (empty) list file behind, and nothing beside it.
TEST_F(DiscountPagesTest, CreatingAListThatFailsLeavesNoFile) {
  auto form = Start(QStringLiteral("10020"));
  TDiscountGroupPage& page = *form->RabPage;
  const QStringList before = QDir(SystemEinstellungen()->AddressDir + QStringLiteral("001")).entryList(QDir::Files);
  page.Store->Table->AfterScroll = [](TTdbTable&) { throw Exception(QStringLiteral("Abbruch beim Fuellen")); };
  page.ListButton->click();
  page.Store->Table->AfterScroll = nullptr;
  EXPECT_EQ(QDir(SystemEinstellungen()->AddressDir + QStringLiteral("001")).entryList(QDir::Files), before);
  EXPECT_EQ(page.ListButton->property("tag").toInt(), 1);
  EXPECT_FALSE(TestDialogs().shown.isEmpty());
  page.ListButton->click();  // and a second try makes the whole list
  EXPECT_EQ(DiscountsIn(File("001", QStringLiteral("10020"))).size(), PredefinedCount());
}

// "Liste loeschen" works under the database lock: while another program
// holds it, the user waits (and may give up, keeping the list).
TEST_F(DiscountPagesTest, DeletingWaitsForTheDatabaseLock) {
  auto form = Start(QStringLiteral("10001"));
  const QString file = File("001", QStringLiteral("10001"));
  TDateischutz other;
  ASSERT_TRUE(other.Lock(file + QStringLiteral(".SRW"), QStringLiteral("Arbeitsplatz 2"), false));
  TestDialogs().messageAnswers << mrYes;
  TestDialogs().lockWaitCancelAfter << 1;
  form->RabPage->ListButton->click();
  ASSERT_EQ(TestDialogs().shown.size(), 2);
  EXPECT_EQ(TestDialogs().shown[1].kind, QStringLiteral("lockwait"));
  EXPECT_TRUE(QFileInfo::exists(file));
  EXPECT_EQ(form->RabPage->ListButton->property("tag").toInt(), 2);
}

// An import after which the list is no longer open reports through the
// store instead of escaping as an unhandled error.
TEST_F(DiscountPagesTest, ImportOnAClosedListIsReportedNotThrown) {
  auto form = Start(QStringLiteral("10001"));
  QTemporaryDir dir;
  const QString exchange = dir.filePath(QStringLiteral("rabatte.txt"));
  WriteFileBytes(exchange, Utf16LeWithBom(QStringLiteral("ARM=5\r\n")));
  TestDialogs().fileAnswers.enqueue(exchange);
  form->RabPage->Store->Close();
  EXPECT_NO_THROW(form->RabPage->ImportClick());
  ASSERT_EQ(TestDialogs().shown.size(), 2);
  EXPECT_TRUE(TestDialogs().shown[1].text.startsWith(QStringLiteral("Datenbankfehler.")));
  EXPECT_FALSE(form->RabPage->Store->Table->ControlsDisabled());
}
