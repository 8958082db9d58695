// The address search frame on a small address book in a temporary suite.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "AddressBookData.h"
#include "AddressGridModel.h"
#include "DBAdressViewFrameUnit1.h"
#include "DemoAddresses.h"
#include "MemIniFile.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
TestAddress Person(const char* id, const char* name, const char* group) {
  TestAddress a;
  a.id = QLatin1String(id);
  a.name = QLatin1String(name);
  a.group = QLatin1String(group);
  return a;
}

// Five addresses in id order; "Bau" in three names.
QList<TestAddress> Book() {
  QList<TestAddress> book = {Person("10", "Anton Bau", "KUNDE"), Person("12", "Berta Dach", "KUNDE"),
                             Person("30", "Carl Bau", "LIEFERANT"), Person("4711", "Dora Fenster", "KUNDE"),
                             Person("ABC", "Emil Bau", "INTERESSENT")};
  book[0].marks = {QStringLiteral("Stammkunde")};
  book[1].contact = QStringLiteral("Einkauf");
  book[2].contact = QStringLiteral("Buchhaltung");
  book[2].special = QStringLiteral("Notfall");
  return book;
}
const qsizetype kBookSize = 5;

class AddressFrameTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(suite_.Load());
    config_.AdressKz = {QStringLiteral("Stammkunde"), QStringLiteral("Grosskunde")};
    config_.KontaktKz = {QStringLiteral("Einkauf"), QStringLiteral("Buchhaltung")};
    config_.SpezielleKontaktKz = {QStringLiteral("Notfall")};
    config_.AdressGrp = {QStringLiteral("KUNDE"), QStringLiteral("LIEFERANT"), QStringLiteral("NIEMAND")};
    new QVBoxLayout(&host_);
    host_.resize(1000, 400);
  }

  QString AddressDir() const { return SystemEinstellungen()->AddressDir; }

  // The frame on the book, or on the address table as it is.
  TDBAdressViewFrame1& Open(const QList<TestAddress>& book = Book()) {
    EXPECT_TRUE(StoreAddresses(AddressDir(), book));
    return OpenAsIs();
  }
  TDBAdressViewFrame1& OpenAsIs() {
    frame_ = std::make_unique<TDBAdressViewFrame1>(&host_, &config_);
    return *frame_;
  }

  // Waits until the selection delay has run out and the address was loaded.
  void WaitForLoad() {
    const int before = frame_->RecordsLoaded();
    EXPECT_TRUE(RunEventsUntil([&] { return frame_->RecordsLoaded() > before; })) << "nothing was loaded";
  }

  // Changes the group of address 12 and moves on to 30; returns how often
  // OnBeforeSave ran.
  int ChangeTwelveAndMoveOn() {
    int beforeSave = 0;
    frame_->OnBeforeSave = [&](TDBAdressViewFrame1*) { ++beforeSave; };
    frame_->GotoAddress(QStringLiteral("12"));
    WaitForLoad();
    frame_->CurrentAddress->AddrGrp = QStringLiteral("VIP");
    frame_->CurrentAddress->Anschriften[0]->Name1 = QStringLiteral("Berta Dachdecker");
    frame_->Modified = true;
    frame_->GotoAddress(QStringLiteral("30"));
    WaitForLoad();
    frame_->OnBeforeSave = nullptr;
    return beforeSave;
  }

  QString Current() const { return frame_->CurrentAddress->Id; }
  int MainRow() const { return frame_->VDBGrid->currentIndex().row(); }
  const ShownDialog& LastShown() const { return TestDialogs().shown.last(); }

  void Search(const QString& text) {
    frame_->edSearchText->setText(text);
    frame_->btSucheStarten->click();
  }

  TempSuite suite_;
  TAddressConfig config_;
  QWidget host_;
  std::unique_ptr<TDBAdressViewFrame1> frame_;
};
}  // namespace

// ---- construction ----

TEST_F(AddressFrameTest, ShowsTheAddressBookWithItsControls) {
  TDBAdressViewFrame1& frame = Open();
  EXPECT_EQ(frame.pcAdress->count(), 1);
  EXPECT_EQ(frame.pcAdress->tabText(0), QStringLiteral("Adressenstamm"));
  EXPECT_EQ(frame.pcButtons->currentWidget(), frame.tsButtonStd);
  EXPECT_EQ(frame.btSucheStarten->text(), QStringLiteral("Suche starten"));
  EXPECT_EQ(frame.btSucheClose->text(), QStringLiteral("Suchergebnis schliessen"));
  EXPECT_EQ(frame.btSearchSpez->text(), QStringLiteral("Spezialsuche starten"));
  for (const char* name : {"edGoto", "edSearchText", "ComboBox1", "cbAK", "edAK", "cbKK", "cbSKK", "VDBGrid"})
    EXPECT_NE(frame.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;

  EXPECT_EQ(frame.cbAK->count(), 2);
  EXPECT_EQ(frame.cbKK->item(1)->text(), QStringLiteral("Buchhaltung"));
  EXPECT_EQ(frame.cbSKK->item(0)->checkState(), Qt::Unchecked);
  EXPECT_EQ(frame.ComboBox1->count(), 3);
  EXPECT_EQ(frame.ComboBox1->currentIndex(), -1) << "no group is chosen at start";

  QAbstractItemModel* model = frame.VDBGrid->model();
  ASSERT_EQ(model->rowCount(), kBookSize);
  const QStringList captions = {QStringLiteral("Adress-Nr."), QStringLiteral("Beschreibung"),
                                QStringLiteral("Adressgruppe"), QStringLiteral("Wiedervorlage")};
  const int widths[] = {131, 447, 88, 99};
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), captions[c]);
    EXPECT_EQ(frame.VDBGrid->columnWidth(c), widths[c]);
  }
  EXPECT_EQ(model->data(model->index(3, 0)).toString(), QStringLiteral("4711"));
  EXPECT_EQ(model->data(model->index(3, 1)).toString(), QStringLiteral("Dora Fenster Musterstadt"));
  EXPECT_EQ(frame.RecordsLoaded(), 0);
  EXPECT_TRUE(Current().isEmpty());
}

TEST_F(AddressFrameTest, MainGridReadsOnlyTheRowsItShows) {
  QString error;
  ASSERT_TRUE(FillDemoAddresses(AddressDir(), 1000, &error)) << error.toStdString();
  TDBAdressViewFrame1& frame = OpenAsIs();
  auto* model = static_cast<TAddressTableModel*>(frame.VDBGrid->model());
  ASSERT_EQ(model->rowCount(), 1000);
  EXPECT_EQ(model->RowsRead(), 0);
  EXPECT_EQ(model->data(model->index(700, 0)).toString(), QStringLiteral("10700"));
  EXPECT_EQ(model->RowsRead(), TAddressTableModel::kBlockRows) << "one block around the row";
  EXPECT_EQ(model->data(model->index(701, 0)).toString(), QStringLiteral("10701"));
  EXPECT_EQ(model->RowsRead(), TAddressTableModel::kBlockRows) << "the block is kept";
  for (int row = 0; row < 1000; row += TAddressTableModel::kBlockRows) (void)model->data(model->index(row, 0));
  EXPECT_EQ(model->data(model->index(999, 0)).toString(), QStringLiteral("10999"));
}

// ---- jumping ----

TEST_F(AddressFrameTest, GotoFieldSelectsTheIdOrTheNextGreater) {
  TDBAdressViewFrame1& frame = Open();
  for (auto [typed, selected] : {std::pair{"10", "10"}, {"11", "12"}, {"4", "4711"}}) {
    frame.edGoto->setText(QLatin1String(typed));
    WaitForLoad();
    EXPECT_EQ(Current(), QLatin1String(selected)) << typed;
  }
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST_F(AddressFrameTest, GotoAddressFallsBackToTheFirstRow) {
  TDBAdressViewFrame1& frame = Open();
  frame.GotoAddress(QStringLiteral("30"));
  WaitForLoad();
  EXPECT_EQ(Current(), QStringLiteral("30"));

  frame.GotoAddress(QStringLiteral("XYZ"));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(LastShown().text, QStringLiteral("Adresse \"XYZ\" nicht gefunden."));
  EXPECT_EQ(LastShown().type, TMsgDlgType::mtError);
  WaitForLoad();
  EXPECT_EQ(Current(), QStringLiteral("10"));

  frame.GotoAddress(QStringLiteral("4711"));
  WaitForLoad();
  frame.GotoAddress(QString());
  WaitForLoad();
  EXPECT_EQ(Current(), QStringLiteral("10"));
  EXPECT_EQ(TestDialogs().shown.size(), 1) << "an empty id is not reported";

  frame.GotoAddress(QStringLiteral("10"));
  WaitForLoad();  // the row already selected is loaded again
  EXPECT_EQ(MainRow(), 0);
}

TEST_F(AddressFrameTest, GotoAddressInAnEmptyBookSelectsNothing) {
  TDBAdressViewFrame1& frame = Open({});
  frame.GotoAddress(QString());
  frame.GotoAddress(QStringLiteral("10"));
  RunEventsFor(400);
  EXPECT_EQ(frame.RecordsLoaded(), 0);
  EXPECT_EQ(TestDialogs().shown.size(), 1) << "only the id is reported";
}

// ---- searches ----

TEST_F(AddressFrameTest, SearchWithoutHitsAddsNoTab) {
  TDBAdressViewFrame1& frame = Open();
  Search(QStringLiteral("Zeppelin"));
  EXPECT_EQ(frame.pcAdress->count(), 1);
  EXPECT_EQ(frame.SearchResults.Count(), 0);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(LastShown().kind, QStringLiteral("alert"));
  EXPECT_EQ(LastShown().text, QStringLiteral("Nichts gefunden."));
  Search(QStringLiteral("   "));
  EXPECT_EQ(frame.pcAdress->count(), 1);
  EXPECT_EQ(LastShown().text, QStringLiteral("Nichts gefunden."));
}

TEST_F(AddressFrameTest, SearchWithHitsShowsThemOnATabOfTheirOwn) {
  TDBAdressViewFrame1& frame = Open();
  Search(QStringLiteral("  bau "));
  ASSERT_EQ(frame.pcAdress->count(), 2);
  EXPECT_EQ(LastShown().kind, QStringLiteral("alert"));
  EXPECT_EQ(LastShown().text, QStringLiteral("3 Treffer"));
  EXPECT_EQ(frame.pcAdress->tabText(1), QStringLiteral("bau"));
  EXPECT_EQ(frame.pcAdress->currentIndex(), 1);
  EXPECT_EQ(frame.pcButtons->currentWidget(), frame.tsButtonSpezial);
  QTableView* grid = frame.ActiveGrid();
  ASSERT_NE(grid, frame.VDBGrid);
  EXPECT_EQ(grid->model()->rowCount(), 3);
  EXPECT_EQ(grid->model()->data(grid->model()->index(2, 0)).toString(), QStringLiteral("ABC"));
  EXPECT_EQ(grid->columnWidth(1), frame.VDBGrid->columnWidth(1));
  WaitForLoad();
  EXPECT_EQ(Current(), QStringLiteral("10")) << "the first hit is selected";
}

TEST_F(AddressFrameTest, GroupAndSpecialSearchesNameTheirTabs) {
  TDBAdressViewFrame1& frame = Open();
  frame.ComboBox1Select(0);
  ASSERT_EQ(frame.pcAdress->count(), 2);
  EXPECT_EQ(frame.pcAdress->tabText(1), QStringLiteral("Adressgruppe: KUNDE"));
  EXPECT_EQ(frame.ActiveGrid()->model()->rowCount(), 3);
  frame.ComboBox1Select(2);
  EXPECT_EQ(frame.pcAdress->count(), 2) << "a group without addresses";

  frame.btSearchSpezClick();
  EXPECT_EQ(frame.pcAdress->count(), 2) << "no criteria, no hits";
  EXPECT_EQ(LastShown().text, QStringLiteral("Nichts gefunden."));

  frame.edAK->setText(QStringLiteral(" ,stammkunde, "));
  frame.cbSKK->item(0)->setCheckState(Qt::Checked);  // Notfall
  frame.btSearchSpezClick();
  ASSERT_EQ(frame.pcAdress->count(), 3);
  EXPECT_EQ(frame.pcAdress->tabText(2), QStringLiteral("Spezialsuche"));
  QAbstractItemModel* hits = frame.ActiveGrid()->model();
  ASSERT_EQ(hits->rowCount(), 2);
  EXPECT_EQ(hits->data(hits->index(0, 0)).toString(), QStringLiteral("10"));
  EXPECT_EQ(hits->data(hits->index(1, 0)).toString(), QStringLiteral("30"));

  frame.edAK->clear();
  frame.cbSKK->item(0)->setCheckState(Qt::Unchecked);
  frame.cbKK->item(0)->setCheckState(Qt::Checked);  // Einkauf
  frame.btSearchSpezClick();
  ASSERT_EQ(frame.pcAdress->count(), 4);
  EXPECT_EQ(frame.ActiveGrid()->model()->rowCount(), 1);
  EXPECT_EQ(LastShown().text, QStringLiteral("1 Treffer"));
}

TEST_F(AddressFrameTest, CtrlArrowsWalkTheTabsAndClosingSelectsTheResultInTheMainGrid) {
  TDBAdressViewFrame1& frame = Open();
  Search(QStringLiteral("bau"));
  Search(QStringLiteral("4711"));
  ASSERT_EQ(frame.pcAdress->count(), 3);
  EXPECT_FALSE(frame.HandleKey(Qt::Key_Right, Qt::ControlModifier)) << "already the last tab";
  EXPECT_TRUE(frame.HandleKey(Qt::Key_Left, Qt::ControlModifier));
  EXPECT_EQ(frame.pcAdress->currentIndex(), 1);
  EXPECT_TRUE(frame.HandleKey(Qt::Key_Left, Qt::ControlModifier));
  EXPECT_EQ(frame.pcAdress->currentIndex(), 0);
  EXPECT_EQ(frame.pcButtons->currentWidget(), frame.tsButtonStd);
  EXPECT_FALSE(frame.HandleKey(Qt::Key_Left, Qt::ControlModifier));
  EXPECT_TRUE(frame.HandleKey(Qt::Key_Right, Qt::ControlModifier));
  EXPECT_EQ(frame.pcButtons->currentWidget(), frame.tsButtonSpezial);

  EXPECT_TRUE(frame.HandleKey(Qt::Key_Down, Qt::NoModifier));  // second hit of "bau": 30
  WaitForLoad();
  EXPECT_EQ(Current(), QStringLiteral("30"));
  frame.btSucheClose->click();
  EXPECT_EQ(frame.pcAdress->count(), 2);
  EXPECT_EQ(frame.SearchResults.Count(), 1);
  EXPECT_EQ(frame.pcAdress->currentIndex(), 0);
  EXPECT_EQ(frame.pcAdress->tabText(1), QStringLiteral("4711"));
  EXPECT_EQ(MainRow(), 2);
  WaitForLoad();
  EXPECT_EQ(Current(), QStringLiteral("30"));

  frame.btSucheCloseClick();  // on the main tab: nothing to close
  EXPECT_EQ(frame.pcAdress->count(), 2);
}

// ---- keys ----

TEST_F(AddressFrameTest, KeysFocusTheFieldsAndReturnStartsTheSearch) {
  TDBAdressViewFrame1& frame = Open();
  host_.show();
  host_.activateWindow();
  QApplication::setActiveWindow(&host_);
  ASSERT_TRUE(RunEventsUntil([&] { return host_.isActiveWindow(); }));
  EXPECT_TRUE(frame.HandleKey(Qt::Key_F7, Qt::ShiftModifier));
  ASSERT_TRUE(RunEventsUntil([&] { return frame.edSearchText->hasFocus(); }));
  frame.edSearchText->setText(QStringLiteral("Dach"));
  EXPECT_TRUE(frame.HandleKey(Qt::Key_Return, Qt::NoModifier));
  ASSERT_EQ(frame.pcAdress->count(), 2);
  EXPECT_EQ(frame.pcAdress->tabText(1), QStringLiteral("Dach"));

  EXPECT_TRUE(frame.HandleKey(Qt::Key_F7, Qt::NoModifier));
  ASSERT_TRUE(RunEventsUntil([&] { return frame.edGoto->hasFocus(); }));
  EXPECT_FALSE(frame.HandleKey(Qt::Key_Return, Qt::NoModifier)) << "Return elsewhere is not the frame's";
  EXPECT_FALSE(frame.HandleKey(Qt::Key_A, Qt::NoModifier));
  EXPECT_EQ(frame.pcAdress->count(), 2);
}

TEST_F(AddressFrameTest, FastMovesLoadOnlyTheRowWhereTheyStop) {
  QString error;
  ASSERT_TRUE(FillDemoAddresses(AddressDir(), 200, &error)) << error.toStdString();
  TDBAdressViewFrame1& frame = OpenAsIs();
  QStringList events;
  frame.OnBeforeAddressChange = [&](TDBAdressViewFrame1* sender) {
    EXPECT_EQ(sender, &frame);
    events << QStringLiteral("before ") + sender->CurrentAddress->Id;
  };
  frame.OnAddressChanged = [&](TDBAdressViewFrame1* sender) {
    events << QStringLiteral("changed ") + sender->CurrentAddress->Id;
  };
  frame.OnAddressChosen = [&](TDBAdressViewFrame1* sender) {
    events << QStringLiteral("chosen ") + sender->CurrentAddress->Id;
  };
  frame.GotoAddress(QString());
  WaitForLoad();
  EXPECT_EQ(events, QStringList{QStringLiteral("changed 10000")}) << "no previous address to leave";
  ASSERT_EQ(frame.RecordsLoaded(), 1);

  events.clear();
  for (int i = 0; i < 100; ++i) {
    EXPECT_TRUE(frame.HandleKey(Qt::Key_Down, Qt::NoModifier));
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(frame.RecordsLoaded(), 1) << "nothing is loaded before the delay";
  RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
  EXPECT_EQ(frame.RecordsLoaded(), 2);
  EXPECT_EQ(Current(), QStringLiteral("10100"));
  EXPECT_EQ(events, (QStringList{QStringLiteral("before 10000"), QStringLiteral("changed 10100")}));

  events.clear();
  emit frame.VDBGrid->doubleClicked(frame.VDBGrid->currentIndex());
  WaitForLoad();
  EXPECT_EQ(events, (QStringList{QStringLiteral("before 10100"), QStringLiteral("changed 10100"),
                                 QStringLiteral("chosen 10100")}));
  EXPECT_FALSE(frame.DoubleClicked);

  EXPECT_TRUE(frame.HandleKey(Qt::Key_Up, Qt::NoModifier));
  WaitForLoad();
  EXPECT_EQ(Current(), QStringLiteral("10099"));
}

// A selection that comes due while another modal window of the host is
// open waits until that window has closed.
TEST_F(AddressFrameTest, ASelectionWaitsForAModalWindowOfTheHost) {
  TDBAdressViewFrame1& frame = Open();
  host_.show();
  frame.GotoAddress(QStringLiteral("10"));
  WaitForLoad();
  QDialog dialog(&host_);
  QString currentInside;
  QTimer::singleShot(0, &dialog, [&] {
    frame.GotoAddress(QStringLiteral("30"));
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    currentInside = Current();
    dialog.accept();
  });
  dialog.exec();
  EXPECT_EQ(currentInside, QStringLiteral("10"));
  WaitForLoad();
  EXPECT_EQ(Current(), QStringLiteral("30"));
}

// ---- storing ----

TEST_F(AddressFrameTest, ChangedAddressIsStoredBeforeTheNextOneIsLoaded) {
  TDBAdressViewFrame1& frame = Open();
  EXPECT_EQ(ChangeTwelveAndMoveOn(), 1);
  EXPECT_FALSE(frame.Modified);
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  QAbstractItemModel* model = frame.VDBGrid->model();
  EXPECT_EQ(model->data(model->index(1, 1)).toString(), QStringLiteral("Berta Dachdecker Musterstadt"));
  EXPECT_EQ(model->data(model->index(1, 2)).toString(), QStringLiteral("VIP"));
}

TEST_F(AddressFrameTest, WithoutPermissionAChangeIsNotStored) {
  TDBAdressViewFrame1& frame = Open();
  BenutzerEinstellungen()->Berechtigungen.removeAll(QStringLiteral("02"));
  ASSERT_TRUE(BenutzerEinstellungen()->LacksPermission(QStringLiteral("02")));
  EXPECT_EQ(ChangeTwelveAndMoveOn(), 0);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(LastShown().text, QStringLiteral("Sie sind nicht berechtigt, Adressen zu bearbeiten!"));
  EXPECT_EQ(LastShown().type, TMsgDlgType::mtInformation);
  frame.GotoAddress(QStringLiteral("12"));
  WaitForLoad();
  EXPECT_EQ(frame.CurrentAddress->AddrGrp, QStringLiteral("KUNDE"));
  EXPECT_EQ(TestDialogs().shown.size(), 1) << "the refused change is not offered again";
}

// ---- settings and closing ----

TEST_F(AddressFrameTest, ColumnWidthsGoToTheSettingsFile) {
  TDBAdressViewFrame1& frame = Open();
  TMemIniFile ini;
  ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("VDBGrid1"), 300);
  frame.LoadColumnWidths(ini, QStringLiteral("Form"));
  EXPECT_EQ(frame.VDBGrid->columnWidth(0), 131);
  EXPECT_EQ(frame.VDBGrid->columnWidth(1), 300);
  frame.VDBGrid->setColumnWidth(3, 120);
  frame.SaveColumnWidths(ini, QStringLiteral("Form"));
  EXPECT_EQ(ini.ReadSectionValues(QStringLiteral("Form")),
            (QStringList{QStringLiteral("VDBGrid1=300"), QStringLiteral("VDBGrid0=131"),
                         QStringLiteral("VDBGrid2=88"), QStringLiteral("VDBGrid3=120")}));
}

TEST_F(AddressFrameTest, CloseFreesWhatTheFrameHolds) {
  TDBAdressViewFrame1& frame = Open();
  Search(QStringLiteral("bau"));
  frame.Close();
  EXPECT_EQ(frame.pcAdress->count(), 1);
  EXPECT_EQ(frame.SearchResults.Count(), 0);
  EXPECT_EQ(frame.CurrentAddress, nullptr);
  EXPECT_EQ(frame.Database, nullptr);
  EXPECT_EQ(frame.VDBGrid->model()->rowCount(), 0);
  EXPECT_FALSE(frame.HandleKey(Qt::Key_Down, Qt::NoModifier));
  RunEventsFor(400);
  frame.Close();
}
