// Moving, positioning and searching with the table cursor.
#include "EngineFixture.h"
#include "TableEngineError.h"

namespace {
// Names with ties (B three times, two of them at the same price) so that the
// row id has to break them.
const std::vector<std::tuple<QString, QString, double>> kRows = {
    {"05", "B", 2.0}, {"01", "C", 1.0}, {"03", "B", 1.0}, {"02", "A", 9.0}, {"04", "B", 2.0}, {"06", "", 0.5}};
}  // namespace

TEST_F(EngineTest, WalksTheActiveIndexInBothDirections) {
  OpenPrices(kRows);
  EXPECT_EQ(table_.RecordCount(), 6);
  EXPECT_EQ(WalkIds(table_), QStringList({"01", "02", "03", "04", "05", "06"}));
  EXPECT_EQ(WalkIds(table_, false), QStringList({"06", "05", "04", "03", "02", "01"}));

  table_.SetIndexName(QStringLiteral("BYNAME"));
  const QStringList byName = {"06", "02", "03", "05", "04", "01"};
  EXPECT_EQ(WalkIds(table_), byName);
  QStringList reversed(byName.rbegin(), byName.rend());
  EXPECT_EQ(WalkIds(table_, false), reversed);
}

TEST_F(EngineTest, EofAndBofStayOnTheEndRows) {
  OpenPrices(kRows);
  table_.First();
  EXPECT_TRUE(table_.Bof());
  EXPECT_FALSE(table_.Eof());
  table_.Prior();
  EXPECT_TRUE(table_.Bof());
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "01");
  table_.Last();
  EXPECT_TRUE(table_.Eof());
  table_.Next();
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "06");
  table_.Prior();
  EXPECT_FALSE(table_.Eof());
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "05");
}

TEST_F(EngineTest, EmptyTableIsEofAndBof) {
  OpenPrices({});
  EXPECT_TRUE(table_.Eof());
  EXPECT_TRUE(table_.Bof());
  EXPECT_EQ(table_.RecordCount(), 0);
  EXPECT_EQ(table_.RecordNo(), 0);
  EXPECT_TRUE(table_.FieldByName("ID").IsNull());
}

TEST_F(EngineTest, WalksBeyondTheReadAheadWindow) {
  OpenPrices({});
  db_.StartTransaction();
  for (int i = 0; i < 300; ++i) AppendPrice(table_, QString::number(1000 + i), QStringLiteral("N%1").arg(i % 7), i % 3);
  db_.Commit();
  const QStringList forward = WalkIds(table_);
  ASSERT_EQ(forward.size(), 300);
  EXPECT_TRUE(std::is_sorted(forward.begin(), forward.end()));
  QStringList backward = WalkIds(table_, false);
  std::reverse(backward.begin(), backward.end());
  EXPECT_EQ(backward, forward);
  table_.SetIndexName("BYNAME");
  QStringList byName = WalkIds(table_, true, "NAME");
  EXPECT_EQ(byName.size(), 300);
  EXPECT_TRUE(std::is_sorted(byName.begin(), byName.end()));
}

TEST_F(EngineTest, RecordNoFollowsTheActiveOrderAndPositions) {
  OpenPrices(kRows);
  table_.SetIndexName("BYNAME");
  for (qint64 no = 1; no <= 6; ++no) {
    table_.SetRecordNo(no);
    EXPECT_EQ(table_.RecordNo(), no);
  }
  table_.SetRecordNo(4);
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "05");
  table_.Next();
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "04");
  table_.SetRecordNo(99);
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "01");
}

TEST_F(EngineTest, SwitchingTheIndexKeepsTheCurrentRow) {
  OpenPrices(kRows);
  ASSERT_TRUE(table_.Locate("ID", QStringLiteral("05")));
  table_.SetIndexName("BYNAME");
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "05");
  EXPECT_EQ(table_.RecordNo(), 4);
  table_.Next();
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "04");
  table_.SetIndexName("INDEX");
  EXPECT_EQ(table_.RecordNo(), 4);
  EXPECT_THROW(table_.SetIndexName("MISSING"), ETableEngineError);
}

TEST_F(EngineTest, LocateFindKeyAndFindNearest) {
  OpenPrices(kRows);
  EXPECT_TRUE(table_.Locate("NAME;PRICE", {QStringLiteral("B"), 2.0}));
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "04");  // first in the active order
  EXPECT_FALSE(table_.Locate("NAME", QStringLiteral("b")));  // case-sensitive
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "04");  // a failed search stays
  EXPECT_THROW(table_.Locate("NOPE", QStringLiteral("x")), ETableEngineError);
  db_.SetCaseSensitive(false);
  EXPECT_TRUE(table_.Locate("NAME", QStringLiteral("b")));
  db_.SetCaseSensitive(true);

  EXPECT_TRUE(table_.FindKey({QStringLiteral("03")}));
  EXPECT_EQ(table_.FieldByName("NAME").AsString(), "B");
  EXPECT_FALSE(table_.FindKey({QStringLiteral("3")}));

  table_.FindNearest({QStringLiteral("035")});
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "04");
  table_.FindNearest({QStringLiteral("99")});
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "06");

  table_.SetIndexName("BYNAME");
  EXPECT_TRUE(table_.FindKey({QStringLiteral("B"), 2.0}));
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "05");
  table_.FindNearest({QStringLiteral("B"), 1.5});
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "05");
}

TEST_F(EngineTest, FiltersSkipRows) {
  OpenPrices(kRows);
  table_.SetFilter("NAME = 'B'");
  table_.SetFiltered(true);
  EXPECT_EQ(WalkIds(table_), QStringList({"03", "04", "05"}));
  EXPECT_EQ(table_.RecordCount(), 3);

  table_.SetOnFilterRecord([](const TTdbTable& t) {
    return t.FieldByName("PRICE").AsFloat() > 1.0;
  });
  EXPECT_EQ(WalkIds(table_), QStringList({"04", "05"}));
  EXPECT_EQ(WalkIds(table_, false), QStringList({"05", "04"}));
  EXPECT_EQ(table_.RecordCount(), 2);
  table_.Last();
  EXPECT_EQ(table_.RecordNo(), 2);
  EXPECT_FALSE(table_.Locate("ID", QStringLiteral("03")));

  table_.SetFilter(QString());
  EXPECT_EQ(WalkIds(table_), QStringList({"02", "04", "05"}));
  table_.SetFiltered(false);
  EXPECT_EQ(table_.RecordCount(), 6);
  EXPECT_THROW(table_.SetFilter("NAME LIKE B"), ETableEngineError);
}

// NULL keys sort first; walking must not lose them in either direction,
// across several read-ahead windows.
TEST_F(EngineTest, NullKeysSortFirstInBothDirections) {
  OpenPrices({});
  struct Expected { bool named; QString name; double price; int row; QString id; };
  std::vector<Expected> expected;
  for (int i = 0; i < 200; ++i) {
    const QString id = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
    const bool named = i % 10 != 0;
    const QString name = QStringLiteral("N%1").arg(i % 7);
    table_.Append();
    table_.FieldByName("ID").SetAsString(id);
    if (named) table_.FieldByName("NAME").SetAsString(name);
    table_.FieldByName("PRICE").SetAsFloat(i % 3);
    table_.Post();
    expected.push_back({named, named ? name : QString(), double(i % 3), i, id});
  }
  const auto check = [&](const QString& index, auto less) {
    std::stable_sort(expected.begin(), expected.end(), less);
    QStringList ids;
    for (const Expected& e : expected) ids << e.id;
    table_.SetIndexName(index);
    EXPECT_EQ(WalkIds(table_), ids) << index.toStdString();
    std::reverse(ids.begin(), ids.end());
    EXPECT_EQ(WalkIds(table_, false), ids) << index.toStdString();
  };
  check("NAMEONLY", [](const Expected& a, const Expected& b) {
    return std::tie(a.named, a.name, a.row) < std::tie(b.named, b.name, b.row);
  });
  check("BYNAME", [](const Expected& a, const Expected& b) {
    return std::tie(a.named, a.name, a.price, a.row) < std::tie(b.named, b.name, b.price, b.row);
  });
}

TEST_F(EngineTest, NearestKeyWithANullAndAnUnknownIndexKeepTheirPlace) {
  OpenPrices({{"1", "a", 1.0}, {"2", "b", 2.0}, {"3", "c", 3.0}});
  table_.SetIndexName(QStringLiteral("BYNAME"));
  // A NULL sorts before every value: "b" then NULL stands at the first "b".
  table_.FindNearest({QStringLiteral("b"), QVariant()});
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "2");
  EXPECT_THROW(table_.SetIndexName(QStringLiteral("GIBTESNICHT")), ETableEngineError);
  EXPECT_EQ(table_.IndexName(), QStringLiteral("BYNAME"));
  EXPECT_EQ(WalkIds(table_), QStringList({"1", "2", "3"}));
  EXPECT_EQ(WalkIds(table_, false), QStringList({"3", "2", "1"}));
}
