// The main window and its address frame: start address, following the
// selection, window settings and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include "AddressBookData.h"
#include "DBAdressViewFrameUnit1.h"
#include "MOD00100Unit1.h"
#include "MemIniFile.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
const QString kSection = QStringLiteral("MOD00100");

TestAddress Address(const char* id, const char* name) {
  TestAddress a;
  a.id = QLatin1String(id);
  a.name = QLatin1String(name);
  a.group = QStringLiteral("KUNDE");
  return a;
}

class MainWindowAddressTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(suite_.Load());
    ASSERT_TRUE(StoreAddresses(SystemEinstellungen()->AddressDir,
                               {Address("10000", "Erste GmbH"), Address("10005", "Fuenfte KG"),
                                Address("4711", "Kölnisch Wasser"), Address("9000", "Letzte AG")}));
  }

  std::unique_ptr<TMOD00100Form1> Start(const QStringList& more = {}) {
    auto form = std::make_unique<TMOD00100Form1>(
        QStringList{suite_.ProgramFile(), QStringLiteral("DEMO"), QStringLiteral("ADMIN")} + more);
    EXPECT_TRUE(form->Started());
    return form;
  }

  // The address the window's frame holds once its selection delay has run out.
  static QString SettledAddress(TMOD00100Form1& form) {
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    return form.AddressFrame->CurrentAddress->Id;
  }

  void WriteSettings(const QString& key, const QString& value) {
    TMemIniFile ini(TMOD00100Form1::SettingsFileName());
    ini.WriteString(kSection, key, value);
    ASSERT_TRUE(ini.UpdateFile());
  }

  QString ReadSetting(const QString& section, const QString& key) {
    return TMemIniFile(TMOD00100Form1::SettingsFileName()).ReadString(section, key, QStringLiteral("<none>"));
  }

  TempSuite suite_;
};
}  // namespace

TEST_F(MainWindowAddressTest, FrameFillsTheUpperAreaWithTheAddressConfiguration) {
  auto form = Start();
  ASSERT_NE(form->AddressFrame, nullptr);
  EXPECT_EQ(form->AddressFrame->parentWidget(), form->AddressArea);
  ASSERT_NE(form->AddressConfig, nullptr);
  EXPECT_EQ(form->AddressFrame->AddressConfig, form->AddressConfig.get());
  EXPECT_FALSE(form->AddressConfig->AdressGrp.isEmpty()) << "the demo CONFIG.XML was read";
  EXPECT_EQ(form->AddressFrame->VDBGrid->model()->rowCount(), 4);
}

TEST_F(MainWindowAddressTest, WithoutStartAddressTheFirstRowIsCurrentAndThePagesFollow) {
  auto form = Start();
  EXPECT_EQ(SettledAddress(*form), QStringLiteral("10000"));
  EXPECT_TRUE(form->PageControl1->isEnabled());
  form->AddressFrame->GotoAddress(QStringLiteral("9000"));
  EXPECT_EQ(SettledAddress(*form), QStringLiteral("9000"));
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  // An empty current address disables the pages.
  form->AddressFrame->CurrentAddress->Id.clear();
  form->AddressChanged(form->AddressFrame);
  EXPECT_FALSE(form->PageControl1->isEnabled());
}

TEST_F(MainWindowAddressTest, ClosingStoresTheAddressAndTheNextStartRestoresIt) {
  {
    auto form = Start();
    SettledAddress(*form);
    form->AddressFrame->GotoAddress(QStringLiteral("4711"));
    ASSERT_EQ(SettledAddress(*form), QStringLiteral("4711"));
    form->AddressFrame->VDBGrid->setColumnWidth(1, 321);
    form->close();
    EXPECT_EQ(form->AddressFrame, nullptr);
  }
  EXPECT_EQ(ReadSetting(kSection, QStringLiteral("LastAdrID")), QStringLiteral("4711"));
  EXPECT_EQ(ReadSetting(QStringLiteral("MOD00100Form1"), QStringLiteral("VDBGrid1")), QStringLiteral("321"));
  auto again = Start();
  EXPECT_EQ(SettledAddress(*again), QStringLiteral("4711"));
  EXPECT_EQ(again->AddressFrame->VDBGrid->columnWidth(1), 321);
}

TEST_F(MainWindowAddressTest, WindowSettingsThatCannotBeWrittenAreReported) {
  const QString file = TMOD00100Form1::SettingsFileName();
  ASSERT_TRUE(QDir().mkpath(file));  // no file can replace a folder
  {
    auto form = Start();
    SettledAddress(*form);
    form->close();
  }
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.startsWith(
      QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden; die bisherige Datei bleibt unveraendert.\n")
          .arg(file)));
  EXPECT_EQ(TestDialogs().shown[0].type, TMsgDlgType::mtError);
}

TEST_F(MainWindowAddressTest, StartSwitchBeatsTheLastAddressAndAnUnknownOneIsReported) {
  WriteSettings(QStringLiteral("LastAdrID"), QStringLiteral("10005"));
  EXPECT_EQ(SettledAddress(*Start({QStringLiteral("-sa"), QStringLiteral(" 4711 ")})), QStringLiteral("4711"));
  EXPECT_EQ(SettledAddress(*Start()), QStringLiteral("10005"));
  EXPECT_EQ(SettledAddress(*Start({QStringLiteral("-SA")})), QStringLiteral("10000")) << "-SA last: empty id";
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  EXPECT_EQ(SettledAddress(*Start({QStringLiteral("-SA"), QStringLiteral("77")})), QStringLiteral("10000"));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Adresse \"77\" nicht gefunden."));
}

TEST_F(MainWindowAddressTest, DefaultStartAddressSelectsNothing) {
  WriteSettings(QStringLiteral("LastAdrID"), QStringLiteral("__DEFAULT__"));
  auto form = Start();
  EXPECT_EQ(SettledAddress(*form), QString());
  EXPECT_EQ(form->AddressFrame->RecordsLoaded(), 0);
}

TEST_F(MainWindowAddressTest, KeysGoToTheFrameExceptTheArrowsAndF12Closes) {
  auto form = Start();
  form->show();
  SettledAddress(*form);
  const int loaded = form->AddressFrame->RecordsLoaded();
  EXPECT_FALSE(form->FormKeyDown(Qt::Key_Down, Qt::NoModifier));
  EXPECT_EQ(SettledAddress(*form), QStringLiteral("10000")) << "the grid moves by itself, not through the window";
  EXPECT_EQ(form->AddressFrame->RecordsLoaded(), loaded);
  EXPECT_TRUE(form->FormKeyDown(Qt::Key_F7, Qt::NoModifier));
  form->AddressFrame->setEnabled(false);
  EXPECT_FALSE(form->FormKeyDown(Qt::Key_F7, Qt::NoModifier)) << "a disabled frame gets no keys";
  EXPECT_TRUE(form->FormKeyDown(Qt::Key_F12, Qt::NoModifier));
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->AddressFrame, nullptr);
  EXPECT_EQ(ReadSetting(kSection, QStringLiteral("LastAdrID")), QStringLiteral("10000"));
}

// A key typed into a control reaches the window first, as with a key preview.
TEST_F(MainWindowAddressTest, TypedKeysArePreviewedByTheWindow) {
  auto form = Start();
  form->show();
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(RunEventsUntil([&] { return form->isActiveWindow(); }));
  TDBAdressViewFrame1& frame = *form->AddressFrame;
  frame.VDBGrid->setFocus();
  ASSERT_TRUE(RunEventsUntil([&] { return frame.VDBGrid->hasFocus(); }));
  const auto type = [](int key, Qt::KeyboardModifiers modifiers, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(QApplication::focusWidget(), &press);
  };
  type(Qt::Key_F7, Qt::ShiftModifier);
  ASSERT_TRUE(RunEventsUntil([&] { return frame.edSearchText->hasFocus(); }));
  type(Qt::Key_K, Qt::NoModifier, QStringLiteral("k"));
  type(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  EXPECT_EQ(frame.edSearchText->text(), QStringLiteral("k"));
  ASSERT_EQ(frame.pcAdress->count(), 2) << "Return started the search";
  EXPECT_EQ(frame.pcAdress->tabText(1), QStringLiteral("k"));
  form->close();
}

// Tab runs from the address frame through the pages to the bottom row, with
// "Beenden" last before the frame again.
// Also for a widget the frame makes later, as a search-result tab: it comes
// before the pages once the clerk presses Tab.
TEST_F(MainWindowAddressTest, BeendenIsLastInTheTabOrder) {
  auto form = Start();
  form->show();
  auto* late = new QLineEdit(form->AddressFrame);
  late->show();
  form->TntButton7->setFocus();
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(form->TntButton7, &tab);
  QList<QWidget*> chain;
  for (QWidget* w = form->nextInFocusChain(); w != form.get(); w = w->nextInFocusChain())
    if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()) chain.append(w);
  ASSERT_FALSE(chain.isEmpty());
  EXPECT_EQ(chain.last(), form->InfoButton1);
  EXPECT_TRUE(form->AddressArea->isAncestorOf(chain.first()));
  const qsizetype standard = chain.indexOf(form->TntButton7);
  EXPECT_LT(chain.indexOf(late), chain.indexOf(form->PageControl1->tabBar()));
  for (qsizetype i = 0; i < chain.size(); ++i) {
    if (form->PageControl1->isAncestorOf(chain[i])) {
      EXPECT_LT(i, standard) << chain[i]->objectName().toStdString();
    }
  }
}
