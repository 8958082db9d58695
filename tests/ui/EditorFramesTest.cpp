// The key/value editor frames over their lists: in-place editing rules,
// add, delete, move, titles and the editable switch.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

#include "CmnCustomObjectLists.h"
#include "DoubleStringsEditorFrame.h"
#include "FloatFloatFloatEditorFrame.h"
#include "TestSupport.h"

namespace {
const QString kRefusedNumber = QStringLiteral("Bitte geben Sie eine Zahl ein, zum Beispiel 17,5.");
const QString kDuplicate = QStringLiteral("Dieser Schluessel ist bereits in der Liste vorhanden.");

struct PairEdit {
  const char* name;
  bool keyIsWholeNumber, valueIsWholeNumber, valueIsNumber, uniqueKeys;
  int column;
  QString typed;
  QString stored;     // the cell afterwards
  QString message;    // the dialog shown, if any
};

class PairFrameEdit : public testing::TestWithParam<PairEdit> {};

// The list holds (1, 5) and (2, 7); row 0 is edited.
TEST_P(PairFrameEdit, StoresOrRefuses) {
  const PairEdit& c = GetParam();
  QWidget parent;
  TDoubleStringListObjectList list;
  list.Add(QStringLiteral("1"), QStringLiteral("5"));
  list.Add(QStringLiteral("2"), QStringLiteral("7"));
  TDoubleStringsEditorFrame frame(&parent, c.keyIsWholeNumber);
  frame.ValueIsWholeNumber = c.valueIsWholeNumber;
  frame.ValueIsNumber = c.valueIsNumber;
  frame.UniqueKeys = c.uniqueKeys;
  frame.SetList(&list);
  int changes = 0;
  frame.OnChange = [&] { ++changes; };
  QAbstractItemModel* model = frame.Grid->model();
  const bool taken = model->setData(model->index(0, c.column), c.typed, Qt::EditRole);
  const TDoubleString& entry = *list[0];
  EXPECT_EQ(c.column == 0 ? entry.First : entry.Second, c.stored);
  EXPECT_EQ(model->index(0, c.column).data().toString(), c.stored);
  EXPECT_EQ(changes, taken ? 1 : 0);
  if (c.message.isEmpty()) {
    EXPECT_TRUE(TestDialogs().shown.isEmpty());
  } else {
    ASSERT_EQ(TestDialogs().shown.size(), 1);
    EXPECT_EQ(TestDialogs().shown[0].text, c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PairFrameEdit,
    testing::Values(
        PairEdit{"WholeKey12", true, false, false, false, 0, "12", "12", ""},
        PairEdit{"WholeKeyNegativeIgnored", true, false, false, false, 0, "-3", "1", ""},
        PairEdit{"WholeKeyFractionRefused", true, false, false, false, 0, "2,5", "1", kRefusedNumber},
        PairEdit{"WholeKeyDuplicate", true, false, false, true, 0, "2", "1", kDuplicate},
        PairEdit{"WholeKeySameRowIsNoDuplicate", true, false, false, true, 0, "1", "1", ""},
        PairEdit{"TextKeyDuplicate", false, false, false, true, 0, "2", "1", kDuplicate},
        PairEdit{"TextKeyEmptyNotChecked", false, false, false, true, 0, "", "", ""},
        PairEdit{"DecimalValue", false, false, true, false, 1, "7,5", "7,5", ""},
        PairEdit{"DecimalValueTrailingZerosDropped", false, false, true, false, 1, " 10,50 ", "10,5", ""},
        PairEdit{"DecimalValuePointRefused", false, false, true, false, 1, "7.5", "5", kRefusedNumber},
        PairEdit{"DecimalValueMinusOneIgnored", false, false, true, false, 1, "-1", "5", ""},
        PairEdit{"DecimalValueAboveMinusOne", false, false, true, false, 1, "-0,5", "-0,5", ""},
        PairEdit{"WholeValue", false, true, false, false, 1, "12", "12", ""},
        PairEdit{"WholeValueFractionRefused", false, true, false, false, 1, "1,5", "5", kRefusedNumber},
        PairEdit{"TextValueAsEntered", false, false, false, false, 1, " a b ", " a b ", ""}),
    [](const testing::TestParamInfo<PairEdit>& info) { return std::string(info.param.name); });

TEST(EditorFrames, SettingsAndButtons) {
  QWidget parent;
  TDoubleStringsEditorFrame frame(&parent, true);
  EXPECT_EQ(frame.Grid->columnWidth(0), 100);
  EXPECT_EQ(frame.Grid->columnWidth(1), 200);
  EXPECT_TRUE(frame.SortButton->isHidden());
  EXPECT_EQ(frame.SortButton->text(), QStringLiteral("Sortieren"));
  EXPECT_TRUE(frame.Grid->horizontalHeader()->isHidden());
  frame.SetTitles({QStringLiteral("ab Menge"), QStringLiteral("Rabatt in %")}, {-1, 150});
  EXPECT_FALSE(frame.Grid->horizontalHeader()->isHidden());
  EXPECT_EQ(frame.Grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Rabatt in %"));
  EXPECT_EQ(frame.Grid->columnWidth(0), 100);
  EXPECT_EQ(frame.Grid->columnWidth(1), 150);
  frame.SetShowMoveButtons(false);
  EXPECT_TRUE(frame.UpButton->isHidden());
  frame.SetEditable(false);
  EXPECT_FALSE(frame.isEnabled());
  EXPECT_EQ(frame.Grid->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
  frame.SetEditable(true);
  EXPECT_EQ(frame.Grid->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));

  // Without a list every button and edit is ignored.
  int changes = 0;
  frame.OnChange = [&] { ++changes; };
  frame.AddButton->click();
  frame.DeleteButton->click();
  EXPECT_FALSE(frame.Grid->model()->setData(frame.Grid->model()->index(0, 0), "1", Qt::EditRole));
  EXPECT_EQ(changes, 0);

  TDoubleStringListObjectList list;
  frame.SetList(&list);
  frame.AddButton->click();
  frame.ValueIsNumber = true;
  frame.AddButton->click();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list[0]->First, QStringLiteral("1"));
  EXPECT_EQ(list[0]->Second, QStringLiteral("leer"));
  EXPECT_EQ(list[1]->First, QStringLiteral("2"));
  EXPECT_EQ(list[1]->Second, QStringLiteral("0"));
  EXPECT_EQ(frame.Grid->model()->rowCount(), 2);
  EXPECT_EQ(changes, 2);
  frame.SetKeyEditable(false);
  EXPECT_FALSE(frame.Grid->model()->flags(frame.Grid->model()->index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_TRUE(frame.Grid->model()->flags(frame.Grid->model()->index(0, 1)) & Qt::ItemIsEditable);
}

TEST(EditorFrames, MoveDeleteSelectAndCallbacks) {
  QWidget parent;
  TDoubleStringListObjectList list;
  for (const char* key : {"a", "b", "c"}) list.Add(QLatin1String(key), QStringLiteral("v") + QLatin1String(key));
  TDoubleStringsEditorFrame frame(&parent, false);
  QStringList seen;
  frame.OnSelect = [&](const QString& first, const QString&) { seen << QStringLiteral("select ") + first; };
  frame.OnDelete = [&](const QString& first, const QString& second) { seen << QStringLiteral("delete ") + first + second; };
  frame.SetList(&list);
  frame.SelectKey(QStringLiteral("b"));
  EXPECT_EQ(frame.Grid->currentIndex().row(), 1);
  EXPECT_EQ(frame.Grid->currentIndex().column(), 1) << "ready for the value";
  frame.DownButton->click();
  EXPECT_EQ(list[2]->First, QStringLiteral("b"));
  EXPECT_EQ(frame.SelectedRow(), 2) << "the selection follows the row";
  frame.DownButton->click();  // the last row stays
  EXPECT_EQ(list[2]->First, QStringLiteral("b"));
  frame.UpButton->click();
  frame.UpButton->click();
  EXPECT_EQ(list[0]->First, QStringLiteral("b"));
  frame.UpButton->click();  // the first row stays
  EXPECT_EQ(list[0]->First, QStringLiteral("b"));
  frame.DeleteButton->click();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list[0]->First, QStringLiteral("a"));
  EXPECT_EQ(frame.Grid->model()->rowCount(), 2);
  EXPECT_TRUE(seen.contains(QStringLiteral("delete bvb")));
  EXPECT_EQ(seen.first(), QStringLiteral("select b"));
  // On add replaces the built-in add.
  int added = 0;
  frame.OnAdd = [&] { ++added; };
  frame.AddButton->click();
  EXPECT_EQ(added, 1);
  EXPECT_EQ(list.Count(), 2);
}

struct NumberEdit {
  const char* name;
  int column;
  QString typed;
  double stored;
  QString message;
};

class NumberFrameEdit : public testing::TestWithParam<NumberEdit> {};

// The scale holds (1, 0, 10) and (5, 2, 9); row 0 is edited, unique first numbers on.
TEST_P(NumberFrameEdit, StoresOrRefuses) {
  const NumberEdit& c = GetParam();
  QWidget parent;
  TFloatFloatFloatObjectList list;
  list.Add(1, 0, 10);
  list.Add(5, 2, 9);
  TFloatFloatFloatEditorFrame frame(&parent);
  frame.UniqueFirstNumbers = true;
  frame.SetList(&list);
  QAbstractItemModel* model = frame.Grid->model();
  model->setData(model->index(0, c.column), c.typed, Qt::EditRole);
  const double values[] = {list[0]->First, list[0]->Second, list[0]->Third};
  EXPECT_EQ(values[c.column], c.stored);
  if (c.message.isEmpty()) {
    EXPECT_TRUE(TestDialogs().shown.isEmpty());
  } else {
    ASSERT_EQ(TestDialogs().shown.size(), 1);
    EXPECT_EQ(TestDialogs().shown[0].text, c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(Rules, NumberFrameEdit,
                         testing::Values(NumberEdit{"Quantity", 0, "2,5", 2.5, ""},
                                         NumberEdit{"QuantityTaken", 0, "5", 1, kDuplicate},
                                         NumberEdit{"PriceGrouped", 2, "1.000", 10, kRefusedNumber},
                                         NumberEdit{"DiscountMinusTwo", 1, "-2", 0, ""},
                                         NumberEdit{"Price", 2, "12,75", 12.75, ""}),
                         [](const testing::TestParamInfo<NumberEdit>& info) { return std::string(info.param.name); });

TEST(EditorFrames, NumberFrameShowsGeneralFormatAndAddsOnlyThroughCallback) {
  QWidget parent;
  TFloatFloatFloatObjectList list;
  list.Add(2.5, 0, 1234.5);
  TFloatFloatFloatEditorFrame frame(&parent);
  frame.SetList(&list);
  EXPECT_EQ(frame.Grid->columnWidth(2), 90);
  EXPECT_EQ(frame.Grid->model()->index(0, 0).data().toString(), QStringLiteral("2,5"));
  EXPECT_EQ(frame.Grid->model()->index(0, 2).data().toString(), QStringLiteral("1234,5"));
  frame.AddButton->click();
  EXPECT_EQ(list.Count(), 1);
  frame.OnAdd = [&] { list.AddSorted(1); frame.RowCountChanged(); };
  frame.AddButton->click();
  EXPECT_EQ(frame.Grid->model()->rowCount(), 2);
  EXPECT_EQ(frame.Grid->model()->index(0, 0).data().toString(), QStringLiteral("1"));
}
}  // namespace
