// The data-aware grid on a real discount-group store: lazy reading, row-by-row
// posting, following the table's changes, keys, focus and column widths.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "DBGrid.h"
#include "KSRabDatabase.h"
#include "MemIniFile.h"
#include "TestSupport.h"

namespace {
const QString kKey = QStringLiteral("RABATTGRP");
const QString kDescription = QStringLiteral("BEZEICHNUNG");
const QString kDiscount = QStringLiteral("RABATT");

QString GroupKey(int n) { return QStringLiteral("G%1").arg(n, 6, 10, QLatin1Char('0')); }

std::vector<TDBGridColumn> DiscountColumns() {
  return {{.FieldName = kKey, .Title = QStringLiteral("Rabattgruppe"), .ReadOnly = true, .DefaultWidth = 100},
          {.FieldName = kDescription, .Title = QStringLiteral("Bezeichnung"), .DefaultWidth = 388},
          {.FieldName = kDiscount, .Title = QStringLiteral("Rabatt in %"), .DefaultWidth = 100}};
}

// What the model announced, counted.
struct ModelSignals {
  int resets = 0, inserted = 0, removed = 0, changed = 0;
  int insertedAt = -1, removedAt = -1;

  explicit ModelSignals(QAbstractItemModel& model) {
    QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { ++resets; });
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [this] { ++changed; });
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [this](const QModelIndex&, int first, int) {
      ++inserted;
      insertedAt = first;
    });
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [this](const QModelIndex&, int first, int) {
      ++removed;
      removedAt = first;
    });
  }
};

void SendKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

class DBGridTest : public testing::Test {
 protected:
  void SetUp() override {
    store.OpenFile(dir.filePath(QStringLiteral("4711.TDBD")), false);
    ASSERT_TRUE(store.Opened);
  }

  // Groups 0..count-1, handed over from the last to the first.
  void Fill(int count) {
    TDoubleStringListObjectList groups;
    for (int n = count - 1; n >= 0; --n) groups.Add(GroupKey(n), QStringLiteral("Gruppe %1").arg(n));
    store.UpdateRabattListe(groups);
  }

  void SetDiscount(int n, double discount) {
    ASSERT_TRUE(store.Table->FindKey({GroupKey(n)}));
    store.Table->Edit();
    store.Table->FieldByName(kDiscount).SetAsFloat(discount);
    store.Table->Post();
  }

  // A model on the store's table, unbound again after the test.
  TDBGridModel& Bound() {
    model_.SetColumns(DiscountColumns());
    model_.SetTable(store.Table);
    return model_;
  }
  void TearDown() override { model_.SetTable(nullptr); }

  QVariant StoredValue(int n, const QString& field) {
    if (!store.Table->FindKey({GroupKey(n)})) return QStringLiteral("<missing>");
    return store.Table->FieldByName(field).Value();
  }

  QTemporaryDir dir;
  TKSRabDatabase store;
  TDBGridModel model_;
};

// A grid in a shown window, beside a second control to move the focus to.
class DBGridWindowTest : public DBGridTest {
 protected:
  void SetUp() override {
    DBGridTest::SetUp();
    Fill(300);
    auto* layout = new QVBoxLayout(&host);
    layout->addWidget(grid = new TDBGrid(QStringLiteral("DBGrid1")));
    layout->addWidget(other = new QLineEdit);
    grid->SetColumns(DiscountColumns());
    grid->Bind(store.Table);
    host.resize(700, 400);
    host.show();
    host.activateWindow();
    QApplication::setActiveWindow(&host);
    grid->setFocus();
    QApplication::processEvents();
  }
  void TearDown() override {
    grid->Bind(nullptr);
    DBGridTest::TearDown();
  }

  QModelIndex Cell(int row, int column) const { return grid->Model()->index(row, column); }

  QWidget host;
  TDBGrid* grid = nullptr;
  QLineEdit* other = nullptr;
};
}  // namespace

TEST(DBGridCellLayout, TextStartsOrEndsInsideTheShrunkCell) {
  const QRect cell(10, 20, 100, 18);
  const TDBGridCellLayout left = DBGridCellLayout(cell, 30, Qt::AlignLeft);
  EXPECT_EQ(left.TextTopLeft, QPoint(11, 21));
  EXPECT_EQ(left.Clip, QRect(11, 21, 97, 15));
  EXPECT_EQ(DBGridCellLayout(cell, 30, Qt::AlignRight).TextTopLeft, QPoint(77, 21));
}

TEST_F(DBGridTest, ShowsRowsInKeyOrderReadingOnlyTheRequestedPages) {
  Fill(300);
  store.Table->FindKey({GroupKey(7)});
  const qint64 tableRow = store.Table->RowId();
  TDBGridModel& model = Bound();
  ASSERT_EQ(model.rowCount(), 300);
  EXPECT_EQ(model.PagesRead(), 0);

  EXPECT_EQ(model.data(model.index(0, 0)).toString(), GroupKey(0));
  EXPECT_EQ(model.data(model.index(63, 1)).toString(), QStringLiteral("Gruppe 63"));
  EXPECT_EQ(model.PagesRead(), 1);
  EXPECT_EQ(model.data(model.index(299, 0)).toString(), GroupKey(299));
  EXPECT_EQ(model.PagesRead(), 2);
  EXPECT_EQ(model.RowsRead(), TDBGridModel::kPageRows + 300 % TDBGridModel::kPageRows);
  EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Rabatt in %"));
  EXPECT_EQ(store.Table->RowId(), tableRow) << "the display must not move the table's cursor";

  for (int row = 1; row < 300; ++row)
    ASSERT_LT(model.data(model.index(row - 1, 0)).toString(), model.data(model.index(row, 0)).toString());
}

TEST_F(DBGridTest, FloatsInTheLocaleFormatAndTypedTextOnlyAsAPlainNumber) {
  Fill(3);
  ScopedLocale german(GermanLocale());
  TDBGridModel& model = Bound();
  SetDiscount(1, 12.5);
  const QModelIndex discount = model.index(1, 2);
  EXPECT_EQ(model.data(discount).toString(), QStringLiteral("12,5"));
  EXPECT_EQ(model.data(discount, Qt::EditRole).toString(), QStringLiteral("12,5"));

  // Typed text goes through the strict reading: one value taken, one refused.
  const std::pair<const char*, double> typed[] = {{" 7,25 ", 7.25}, {"7.5", 7.25}};
  for (auto [text, stored] : typed) {
    const bool taken = model.setData(discount, QLatin1String(text));
    EXPECT_EQ(taken, model.AcceptsText(discount, QLatin1String(text))) << text;
    EXPECT_DOUBLE_EQ(StoredValue(1, kDiscount).toDouble(), stored) << text;
  }
  EXPECT_TRUE(model.setData(discount, QString()));
  EXPECT_TRUE(StoredValue(1, kDiscount).isNull());
  EXPECT_FALSE(model.data(discount).isValid()) << "null shows nothing";
  EXPECT_TRUE(model.AcceptsText(model.index(1, 1), QStringLiteral("7.5 %"))) << "text columns take any text";

  ScopedLocale point(DecimalPointLocale());
  SetDiscount(2, 12.5);
  EXPECT_EQ(model.data(model.index(2, 2)).toString(), QStringLiteral("12.5"));
  EXPECT_FALSE(model.setData(model.index(2, 2), QStringLiteral("7,5")));
  EXPECT_TRUE(model.setData(model.index(2, 2), QStringLiteral("7.5")));
  EXPECT_DOUBLE_EQ(StoredValue(2, kDiscount).toDouble(), 7.5);
}

TEST_F(DBGridTest, EditsPostRowByRowAndReadOnlyCellsRefuse) {
  Fill(10);
  TDBGridModel& model = Bound();
  ModelSignals seen(model);

  EXPECT_TRUE(model.setData(model.index(5, 1), QStringLiteral("Schrauben")));
  EXPECT_EQ(store.Table->State(), TdbState::Browse);
  EXPECT_EQ(StoredValue(5, kDescription).toString(), QStringLiteral("Schrauben"));
  EXPECT_EQ(model.data(model.index(5, 1)).toString(), QStringLiteral("Schrauben"));
  EXPECT_EQ(seen.changed, 1);
  EXPECT_EQ(seen.resets, 0);

  EXPECT_FALSE(model.flags(model.index(5, 0)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.setData(model.index(5, 0), QStringLiteral("X")));
  EXPECT_EQ(StoredValue(5, kKey).toString(), GroupKey(5));

  model.SetEnabled(false);
  EXPECT_FALSE(model.flags(model.index(5, 1)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.setData(model.index(5, 1), QStringLiteral("Muttern")));
}

TEST_F(DBGridTest, FollowsSingleInsertsAndDeletesWithoutReset) {
  Fill(300);
  TDBGridModel& model = Bound();
  ModelSignals seen(model);

  store.RabattGrpAppend(GroupKey(150) + QStringLiteral("A"));
  EXPECT_EQ(seen.inserted, 1);
  EXPECT_EQ(seen.insertedAt, 151);
  EXPECT_EQ(model.rowCount(), 301);
  EXPECT_EQ(model.data(model.index(151, 0)).toString(), GroupKey(150) + QStringLiteral("A"));

  ASSERT_TRUE(model.MoveTableTo(20));
  store.Table->Delete();
  EXPECT_EQ(seen.removed, 1);
  EXPECT_EQ(seen.removedAt, 20);
  EXPECT_EQ(seen.resets, 0);
  EXPECT_EQ(model.rowCount(), 300);
  EXPECT_EQ(model.data(model.index(20, 0)).toString(), GroupKey(21));

  // A row the model never saw: its place is unknown, so the model starts afresh.
  ASSERT_TRUE(store.Table->FindKey({GroupKey(280)}));
  store.Table->Delete();
  EXPECT_EQ(seen.resets, 1);
  EXPECT_EQ(model.rowCount(), 299);
  EXPECT_EQ(model.data(model.index(279, 0)).toString(), GroupKey(279));
  EXPECT_EQ(model.data(model.index(280, 0)).toString(), GroupKey(281));
}

TEST_F(DBGridTest, BulkWorkWithControlsDisabledEndsInOneReset) {
  Fill(50);
  TDBGridModel& model = Bound();
  ModelSignals seen(model);

  TDoubleStringListObjectList groups;
  groups.Add(QStringLiteral("B"), QStringLiteral("Bolzen"));
  groups.Add(QStringLiteral("A"), QStringLiteral("Anker"));
  store.DisableControls();
  store.UpdateRabattListe(groups);
  EXPECT_EQ(seen.resets + seen.inserted + seen.removed + seen.changed, 0) << "nothing while disabled";
  store.EnableControls();

  EXPECT_EQ(seen.resets, 1);
  EXPECT_EQ(seen.inserted + seen.removed, 0);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("Anker"));
}

TEST_F(DBGridTest, ClosedTableShowsNothingAndReloadShowsItAgain) {
  Fill(5);
  TDBGridModel& model = Bound();
  store.CloseDatabase();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);

  store.OpenFile(dir.filePath(QStringLiteral("4711.TDBD")), false);
  model.Reload();
  ASSERT_EQ(model.rowCount(), 5);
  EXPECT_EQ(model.data(model.index(4, 0)).toString(), GroupKey(4));
}

TEST_F(DBGridWindowTest, SelectionMovesTheTableAndResetsKeepTheRow) {
  grid->setCurrentIndex(Cell(42, 1));
  EXPECT_EQ(store.Table->FieldByName(kKey).AsString(), GroupKey(42));

  store.Table->Refresh();
  EXPECT_EQ(grid->currentIndex().row(), 42);
  EXPECT_EQ(store.Table->FieldByName(kKey).AsString(), GroupKey(42));

  store.RabattGrpAppend(GroupKey(10) + QStringLiteral("A"));
  EXPECT_EQ(grid->currentIndex().row(), 11) << "the grid follows the table onto the new row";
}

TEST_F(DBGridWindowTest, EnterPostsAndMovesOnButStaysInTheLastRow) {
  grid->setCurrentIndex(Cell(10, 1));
  store.Table->Edit();
  store.Table->FieldByName(kDescription).SetAsString(QStringLiteral("Dübel"));
  EXPECT_EQ(grid->Model()->data(Cell(10, 1)).toString(), QStringLiteral("Dübel")) << "the edit buffer shows";
  SendKey(grid, Qt::Key_Return);
  EXPECT_EQ(StoredValue(10, kDescription).toString(), QStringLiteral("Dübel"));
  EXPECT_EQ(grid->currentIndex().row(), 11);

  grid->setCurrentIndex(Cell(299, 2));
  store.Table->Edit();
  store.Table->FieldByName(kDiscount).SetAsFloat(3);
  SendKey(grid, Qt::Key_Enter);
  EXPECT_EQ(store.Table->State(), TdbState::Browse);
  EXPECT_EQ(grid->currentIndex().row(), 299);
  EXPECT_DOUBLE_EQ(StoredValue(299, kDiscount).toDouble(), 3);
}

TEST_F(DBGridWindowTest, EnterInTheInPlaceEditorCommitsAndMovesOn) {
  ScopedLocale german(GermanLocale());
  grid->setCurrentIndex(Cell(298, 2));
  grid->edit(Cell(298, 2));
  QPointer<QLineEdit> editor = grid->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText(QStringLiteral("7,25"));
  SendKey(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_DOUBLE_EQ(StoredValue(298, kDiscount).toDouble(), 7.25);
  EXPECT_TRUE(editor.isNull() || editor->isHidden()) << "the editor is closed";
  EXPECT_EQ(grid->currentIndex().row(), 299);
}

namespace {
// A real message box takes the focus from the editor while it is shown.
class FocusTakingDialogs : public ScriptedDialogs {
 public:
  QWidget* takesFocus = nullptr;
  int ShowMessage(const MessageRequest& request) override {
    takesFocus->setFocus();
    QApplication::processEvents();
    return ScriptedDialogs::ShowMessage(request);
  }
};
}  // namespace

// Leaving refused text, by Enter, Tab or a click elsewhere: the message comes
// once and says why, though it takes the focus; the editor stays open with
// the text to mend, and the stored value is kept.
TEST_F(DBGridWindowTest, RefusedTextStaysInTheEditorHoweverTheCellIsLeft) {
  const std::pair<const char*, int> leavings[] = {{"Enter", Qt::Key_Return}, {"Tab", Qt::Key_Tab}, {"click", 0}};
  for (auto [how, key] : leavings) {
    auto* dialogs = new FocusTakingDialogs;
    dialogs->takesFocus = other;
    auto previous = SetDialogs(std::unique_ptr<IDialogs>(dialogs));
    grid->setCurrentIndex(Cell(5, 2));
    grid->edit(Cell(5, 2));
    QPointer<QLineEdit> editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr) << how;
    editor->setFocus();
    editor->setText(QStringLiteral("7.5"));
    if (key == 0)
      other->setFocus(Qt::MouseFocusReason);
    else
      SendKey(editor, key);
    QApplication::processEvents();
    ASSERT_EQ(dialogs->shown.size(), 1) << how;
    EXPECT_EQ(dialogs->shown[0].text, QStringLiteral("Bitte geben Sie eine Zahl ein, zum Beispiel 17,5.")) << how;
    ASSERT_FALSE(editor.isNull()) << how;
    EXPECT_TRUE(editor->isVisible()) << how;
    EXPECT_TRUE(editor->hasFocus()) << how;
    EXPECT_EQ(editor->text(), QStringLiteral("7.5")) << how;
    EXPECT_DOUBLE_EQ(StoredValue(5, kDiscount).toDouble(), 0) << how;
    SetDialogs(std::move(previous));
    delete editor;
  }
}

// Under a decimal-point locale the message's example and the accepted form follow it.
TEST_F(DBGridWindowTest, RefusedNumberIsExplainedInTheLocalesForm) {
  ScopedLocale point(DecimalPointLocale());
  grid->setCurrentIndex(Cell(5, 2));
  grid->edit(Cell(5, 2));
  QPointer<QLineEdit> editor = grid->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText(QStringLiteral("7,5"));
  SendKey(editor, Qt::Key_Return);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Bitte geben Sie eine Zahl ein, zum Beispiel 17.5."));
  editor->setText(QStringLiteral("7.5"));
  SendKey(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_DOUBLE_EQ(StoredValue(5, kDiscount).toDouble(), 7.5);
  EXPECT_EQ(TestDialogs().shown.size(), 1);
}

// The grid was scrolled away from its current cell; Tab into it brings the
// cell back into view.
TEST_F(DBGridWindowTest, TabIntoTheGridShowsTheCurrentCell) {
  grid->setCurrentIndex(Cell(2, 1));
  other->setFocus();
  grid->scrollToBottom();
  QApplication::processEvents();
  ASSERT_FALSE(grid->viewport()->rect().intersects(grid->visualRect(Cell(2, 1))));
  QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(grid, &tabIn);
  EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(Cell(2, 1))));
}

// Tab walks a row's cells and leaves the grid past its ends, so that the
// keyboard alone reaches the controls beside it.
TEST_F(DBGridWindowTest, TabWalksTheRowAndLeavesTheGridAtItsEnds) {
  const int last = grid->Model()->columnCount() - 1;
  struct Case {
    int column;
    Qt::KeyboardModifiers modifiers;
    bool leaves;
    int columnAfter;
  } cases[] = {{0, Qt::NoModifier, false, 1},
               {last, Qt::NoModifier, true, last},
               {last, Qt::ShiftModifier, false, last - 1},
               {0, Qt::ShiftModifier, true, 0}};
  for (const Case& c : cases) {
    grid->setFocus();
    grid->setCurrentIndex(Cell(4, c.column));
    QKeyEvent tab(QEvent::KeyPress, c.modifiers ? Qt::Key_Backtab : Qt::Key_Tab, c.modifiers);
    QApplication::sendEvent(grid, &tab);
    EXPECT_EQ(other->hasFocus(), c.leaves) << c.column << " " << int(c.modifiers);
    EXPECT_EQ(grid->currentIndex(), Cell(4, c.columnAfter)) << c.column << " " << int(c.modifiers);
  }
}

TEST_F(DBGridWindowTest, LeavingTheGridPostsAnEditButNotAnInsert) {
  ASSERT_TRUE(grid->hasFocus());
  grid->setCurrentIndex(Cell(3, 1));
  store.Table->Edit();
  store.Table->FieldByName(kDescription).SetAsString(QStringLiteral("Haken"));
  other->setFocus();
  EXPECT_EQ(store.Table->State(), TdbState::Browse);
  EXPECT_EQ(StoredValue(3, kDescription).toString(), QStringLiteral("Haken"));

  grid->setFocus();
  store.Table->Append();
  store.Table->FieldByName(kKey).SetAsString(QStringLiteral("NEU"));
  other->setFocus();
  EXPECT_EQ(store.Table->State(), TdbState::Insert);
  store.Table->Cancel();
}

// The columns of ink (pixels not of the background) inside a cell of the grid.
struct Ink {
  int left = -1, right = -1, bottom = -1;
};
Ink InkIn(const QImage& image, const QRect& cell, const QColor& background) {
  Ink ink;
  for (int y = cell.top(); y <= cell.bottom(); ++y)
    for (int x = cell.left(); x <= cell.right(); ++x) {
      if (image.pixelColor(x, y) == background) continue;
      ink.left = ink.left < 0 ? x : std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.bottom = std::max(ink.bottom, y);
    }
  return ink;
}

TEST_F(DBGridWindowTest, PaintsTextFromTheTopLeftCornerAndNullsAsEmptyCells) {
  SetDiscount(2, 12.5);
  store.Table->FindKey({GroupKey(1)});
  store.Table->Edit();
  store.Table->FieldByName(kDiscount).Clear();
  store.Table->Post();
  QPalette colours = grid->palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  grid->setPalette(colours);
  grid->setCurrentIndex(Cell(0, 0));
  const QImage image = grid->viewport()->grab().toImage();

  EXPECT_EQ(InkIn(image, grid->visualRect(Cell(1, 2)), Qt::white).left, -1) << "a null cell stays empty";
  const QRect cell = grid->visualRect(Cell(2, 2));
  const Ink ink = InkIn(image, cell, Qt::white);
  ASSERT_GE(ink.left, 0);
  EXPECT_GE(ink.left, cell.left() + 1);
  EXPECT_LE(ink.left, cell.left() + 3) << "the discount is drawn left-aligned";
  EXPECT_LE(ink.bottom, cell.bottom() - 2);

  std::vector<TDBGridColumn> columns = DiscountColumns();
  columns[2].Alignment = Qt::AlignRight;
  columns[2].DisplayText = [](const QVariant& value) { return value.toString() + QStringLiteral(" %"); };
  grid->SetColumns(columns);
  EXPECT_EQ(grid->Model()->data(Cell(2, 2)).toString(), QStringLiteral("12.5 %"));
  const Ink right = InkIn(grid->viewport()->grab().toImage(), cell, Qt::white);
  EXPECT_LE(right.right, cell.left() + cell.width() - 3);
  EXPECT_GE(right.right, cell.left() + cell.width() - 6);
}

TEST_F(DBGridWindowTest, InactiveGridIsDisabledOnTheButtonFace) {
  grid->SetGridActive(false);
  EXPECT_FALSE(grid->isEnabled());
  EXPECT_FALSE(grid->Model()->flags(Cell(0, 1)) & Qt::ItemIsEditable);
  EXPECT_EQ(grid->palette().color(QPalette::Disabled, QPalette::Base), QApplication::palette().color(QPalette::Button));
  grid->SetGridActive(true);
  EXPECT_TRUE(grid->isEnabled());
  EXPECT_TRUE(grid->Model()->flags(Cell(0, 1)) & Qt::ItemIsEditable);
  EXPECT_EQ(grid->palette().color(QPalette::Active, QPalette::Base), QApplication::palette().color(QPalette::Base));
}

TEST_F(DBGridWindowTest, ColumnWidthsDefaultAndRoundTrip) {
  const QString section = QStringLiteral("MOD00100Form1");
  TMemIniFile ini;
  grid->setColumnWidth(1, 5);
  grid->LoadColumnWidths(ini, section);
  EXPECT_EQ(grid->columnWidth(0), 100);
  EXPECT_EQ(grid->columnWidth(1), 388);
  EXPECT_EQ(grid->columnWidth(2), 100);

  grid->setColumnWidth(1, 250);
  grid->SaveColumnWidths(ini, section);
  EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("DBGrid11"), 0), 250);
  TDBGrid other(QStringLiteral("DBGrid3"));
  other.SetColumns(DiscountColumns());
  other.LoadColumnWidths(ini, section, QStringLiteral("DBGrid1"));
  EXPECT_EQ(other.columnWidth(1), 250);
  EXPECT_EQ(other.columnWidth(2), 100);
}

TEST_F(DBGridTest, LargeTableOpensAndPaintsQuickly) {
  Fill(100000);
  QElapsedTimer timer;
  timer.start();
  TDBGrid grid(QStringLiteral("DBGrid1"));
  grid.SetColumns(DiscountColumns());
  grid.Bind(store.Table);
  grid.resize(700, 500);
  grid.show();
  const QPixmap shot = grid.grab();
  const qint64 ms = timer.elapsed();
  EXPECT_FALSE(shot.isNull());
  EXPECT_EQ(grid.Model()->rowCount(), 100000);
  EXPECT_LE(grid.Model()->PagesRead(), 2);
  EXPECT_LT(ms, 2000) << "opening and painting took " << ms << " ms";
  grid.Bind(nullptr);
}
