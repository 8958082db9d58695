// "Vergleich mit Standard" on the discount-group and quantity pages of the
// real window, under the process locale's decimal separator.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QPushButton>
#include <QTableView>
#include <QTabWidget>

#include "AddressBookData.h"
#include "CompareWithStandard.h"
#include "DBAdressViewFrameUnit1.h"
#include "DBGrid.h"
#include "DiscountGroupPage.h"
#include "DoubleStringsEditorFrame.h"
#include "KSRabDatabase.h"
#include "MOD00100Unit1.h"
#include "MemIniFile.h"
#include "NumberText.h"
#include "QuantityDiscountPage.h"
#include "StandardComparison.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
constexpr int kStandardColumn = 3, kDifferenceColumn = 4, kMarkColumn = 5;

// The demo suite: 10001's lists lack six of the standard's groups; the
// quantity lists of "__DEFAULT__" hold 10, 40 and 1000,5.
class CompareWithStandardTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(suite_.Load()); }

  std::unique_ptr<TMOD00100Form1> Start(const QString& id, int page) {
    auto form = std::make_unique<TMOD00100Form1>(QStringList{suite_.ProgramFile(), QStringLiteral("DEMO"),
                                                             QStringLiteral("ADMIN"), QStringLiteral("-SA"), id});
    EXPECT_TRUE(form->Started());
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    form->PageControl1->setCurrentIndex(page);
    return form;
  }

  static QString File(const char* folder, const QString& id, const char* extension) {
    return SystemEinstellungen()->AddressDir + QLatin1String(folder) + QLatin1Char('/') + id + QLatin1String(extension);
  }

  static int RowOf(const QAbstractItemModel& model, const QString& key) {
    for (int row = 0; row < model.rowCount(); ++row)
      if (model.index(row, 0).data().toString() == key) return row;
    return -1;
  }

  static QString Cell(const QAbstractItemModel& model, int row, int column) {
    return model.index(row, column).data().toString();
  }

  TempSuite suite_;
};
}  // namespace

TEST_F(CompareWithStandardTest, DiscountGroupsShowStandardDifferenceAndRowsOfOneSide) {
  {
    TKSRabDatabase customer;
    customer.OpenFile(File("001", QStringLiteral("10001"), ".TDBD"), false);
    customer.RabattGrpAppend(QStringLiteral("NURKUNDE"));
  }
  auto form = Start(QStringLiteral("10001"), TMOD00100Form1::pgRabatt);
  TDiscountGroupPage& page = *form->RabPage;
  EXPECT_FALSE(page.Compare->CheckBox->isChecked()) << "off by default";
  EXPECT_TRUE(page.Grid->isColumnHidden(kDifferenceColumn));
  page.Compare->CheckBox->click();
  ASSERT_FALSE(page.Grid->isColumnHidden(kDifferenceColumn));
  EXPECT_TRUE(page.Compare->OnlyStandardPanel->isVisibleTo(form.get()));

  QAbstractItemModel& grid = *page.Grid->model();
  const int own = RowOf(grid, QStringLiteral("NURKUNDE"));
  ASSERT_GE(own, 0);
  EXPECT_EQ(Cell(grid, own, kMarkColumn), QStringLiteral("nur Kunde"));
  EXPECT_EQ(Cell(grid, own, kStandardColumn), QString());
  EXPECT_EQ(grid.index(own, 0).data(Qt::BackgroundRole).value<QColor>(), TCompareWithStandard::OnlyCustomerColour());

  const QAbstractItemModel& onlyStandard = *page.Compare->OnlyStandardList->model();
  EXPECT_EQ(onlyStandard.rowCount(), 6);
  EXPECT_EQ(Cell(onlyStandard, 0, 3), QStringLiteral("nur Standard"));

  const QString key = Cell(grid, 0, 0);
  const TStandardDetails* standard = page.Compare->Comparison.Find(key);
  ASSERT_NE(standard, nullptr);
  EXPECT_EQ(Cell(grid, 0, kStandardColumn), FormatGeneralNumber(standard->Value.toDouble()));
  const QString typed = QStringLiteral("33") + DecimalSeparator() + QStringLiteral("3");
  ASSERT_TRUE(grid.setData(grid.index(0, 2), typed, Qt::EditRole));
  EXPECT_EQ(Cell(grid, 0, kDifferenceColumn), FormatGeneralNumber(DiscountDifference(33.3, standard->Value.toDouble())));
  EXPECT_EQ(Cell(grid, 0, kMarkColumn), QString());

  form->AddressFrame->GotoAddress(QStringLiteral("10000"));  // all groups: nothing only in the standard
  RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
  EXPECT_EQ(onlyStandard.rowCount(), 0);
  EXPECT_FALSE(page.Compare->OnlyStandardPanel->isVisibleTo(form.get()));
  EXPECT_EQ(RowOf(grid, QStringLiteral("NURKUNDE")), -1);
}

TEST_F(CompareWithStandardTest, StandardModeSwitchesItOffAndTheChoiceIsKept) {
  {
    auto form = Start(QStringLiteral("10000"), TMOD00100Form1::pgKommRabatt);
    QCheckBox& box = *form->KommRabPage->Compare->CheckBox;
    EXPECT_EQ(box.shortcut(), QKeySequence(Qt::ALT | Qt::Key_V));
    EXPECT_TRUE(box.focusPolicy() & Qt::TabFocus);
    box.click();
    form->TntButton7->click();
    EXPECT_FALSE(box.isEnabled());
    EXPECT_FALSE(box.isChecked());
    EXPECT_TRUE(form->KommRabPage->Grid->isColumnHidden(kDifferenceColumn));
    form->TntButton8->click();
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    EXPECT_TRUE(box.isEnabled());
    EXPECT_TRUE(box.isChecked());
    form->close();
  }
  const TMemIniFile ini(TMOD00100Form1::SettingsFileName());
  const QString section = QStringLiteral("MOD00100");
  EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("VergleichMitStandard.TntTabSheet1"), -1), 1);
  EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("VergleichMitStandard.TabSheet1"), -1), 0);
  EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("PageControl1.ActivePageIndex"), -1), 1) << "other keys kept";
  EXPECT_FALSE(ini.ValueExists(QStringLiteral("MOD00100Form1"), QStringLiteral("DBGrid34")));

  auto again = Start(QStringLiteral("10000"), TMOD00100Form1::pgKommRabatt);
  EXPECT_TRUE(again->KommRabPage->Compare->CheckBox->isChecked());
  EXPECT_FALSE(again->KommRabPage->Grid->isColumnHidden(kDifferenceColumn));
}

TEST_F(CompareWithStandardTest, MissingStandardTableIsNotCreated) {
  const QString standard = File("004", QStringLiteral("__DEFAULT__"), ".TDBD");
  ASSERT_TRUE(QFile::remove(standard));
  auto form = Start(QStringLiteral("10000"), TMOD00100Form1::pgKommRabatt);
  TDiscountGroupPage& page = *form->KommRabPage;
  page.Compare->CheckBox->click();
  ASSERT_GT(page.Grid->model()->rowCount(), 0);
  EXPECT_EQ(Cell(*page.Grid->model(), 0, kMarkColumn), QStringLiteral("nur Kunde"));
  EXPECT_FALSE(QFileInfo::exists(standard));
}

TEST_F(CompareWithStandardTest, QuantityStepsBesideTheStandardSteps) {
  TDoubleStringListObjectList steps;
  steps.Add(QStringLiteral("10"), QStringLiteral("5"));
  steps.Add(QStringLiteral("7"), QStringLiteral("1"));
  ASSERT_TRUE(steps.SaveToFile(File("002", QStringLiteral("10003"), ".MR")));
  auto form = Start(QStringLiteral("10003"), TMOD00100Form1::pgMengenrabatt);
  TQuantityDiscountPage& page = *form->MengenPage;
  page.Compare->CheckBox->click();
  QAbstractItemModel& grid = *page.RabMengenEditor->Grid->model();
  ASSERT_EQ(grid.columnCount(), 5);
  EXPECT_EQ(Cell(grid, 0, 2), QStringLiteral("2"));  // the standard's 10 pieces: 2 %
  EXPECT_EQ(Cell(grid, 0, 3), QStringLiteral("3"));
  EXPECT_EQ(Cell(grid, 1, 4), QStringLiteral("nur Kunde"));
  const QAbstractItemModel& onlyStandard = *page.Compare->OnlyStandardList->model();
  ASSERT_EQ(onlyStandard.rowCount(), 2);
  EXPECT_EQ(Cell(onlyStandard, 1, 0), FormatGeneralNumber(1000.5));
  ASSERT_TRUE(grid.setData(grid.index(0, 1), QStringLiteral("1"), Qt::EditRole));
  EXPECT_EQ(Cell(grid, 0, 3), QStringLiteral("-1"));
}
