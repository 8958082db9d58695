#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "KSRabDatabase.h"
#include "TdbConnection.h"
#include "Msgdlg.h"
#include "TestSupport.h"
#include "TextFile.h"

namespace {
class KSRabTest : public testing::Test {
 protected:
  void SetUp() override {
    file = dir.path() + QStringLiteral("/001/4711.TDBD");
    QDir().mkpath(dir.path() + QStringLiteral("/001"));
    db.OpenFile(file, false);
  }

  void SetGroups(std::initializer_list<std::pair<const char*, double>> groups) {
    for (const auto& [key, discount] : groups) {
      db.Table->Append();
      db.Table->FieldByName(QStringLiteral("RABATTGRP")).SetAsString(QString::fromUtf8(key));
      db.Table->FieldByName(QStringLiteral("RABATT")).SetAsFloat(discount);
      db.Table->Post();
    }
  }

  QMap<QString, double> Discounts() {
    QMap<QString, double> result;
    for (db.Table->First(); !db.Table->Eof(); db.Table->Next())
      result.insert(db.Table->FieldByName(QStringLiteral("RABATTGRP")).AsString(),
                    db.Table->FieldByName(QStringLiteral("RABATT")).AsFloat());
    return result;
  }

  QString WriteExchange(const QString& text) {
    const QString exchange = dir.path() + QStringLiteral("/import.txt");
    WriteFileBytes(exchange, Utf16LeWithBom(text));
    return exchange;
  }

  QTemporaryDir dir;
  QString file;
  TKSRabDatabase db;
};
}  // namespace

TEST_F(KSRabTest, ImportSetsOnlyExistingGroupsWithTheLenientNumber) {
  SetGroups({{"A1", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}});
  db.ImportFromFile(WriteExchange(QStringLiteral("A1=12.5\r\nB=12,5\r\nC=abc\r\nD=\r\n A1=99\r\nE\r\nNEU=7\r\nE=6=x\r\n")));
  const QMap<QString, double> d = Discounts();
  EXPECT_EQ(d.size(), 5);
  EXPECT_DOUBLE_EQ(d[QStringLiteral("A1")], 125);  // the full stop is foreign under a decimal comma
  EXPECT_DOUBLE_EQ(d[QStringLiteral("B")], 12.5);
  EXPECT_DOUBLE_EQ(d[QStringLiteral("C")], 0);
  EXPECT_DOUBLE_EQ(d[QStringLiteral("D")], 0);
  EXPECT_DOUBLE_EQ(d[QStringLiteral("E")], 6);
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  db.ImportFromFile(dir.path() + QStringLiteral("/fehlt.txt"));
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST_F(KSRabTest, ExportWritesKeyOrderGeneralNumbersAndReadsBackOnBothLocales) {
  SetGroups({{"B", 0}, {"A1", 12.5}, {"C", 0.000001}, {"D", 1234567.125}});
  const QString exchange = dir.path() + QStringLiteral("/export.txt");
  db.ExportToFile(exchange);
  EXPECT_EQ(ReadFileBytes(exchange), Utf16LeWithBom(QStringLiteral("A1=12,5\r\nB=0\r\nC=1E-6\r\nD=1234567,125\r\n")));
  db.ImportFromFile(exchange);
  EXPECT_DOUBLE_EQ(Discounts()[QStringLiteral("C")], 0.000001);  // the exponent form reads back too
  {
    ScopedLocale english(DecimalPointLocale());
    db.ExportToFile(exchange);
    EXPECT_EQ(ReadFileBytes(exchange), Utf16LeWithBom(QStringLiteral("A1=12.5\r\nB=0\r\nC=1E-6\r\nD=1234567.125\r\n")));
    SetGroups({{"Z", 1}});
    db.ImportFromFile(WriteExchange(QStringLiteral("A1=7.25\r\nZ=3,5\r\n")));
    EXPECT_DOUBLE_EQ(Discounts()[QStringLiteral("A1")], 7.25);
    EXPECT_DOUBLE_EQ(Discounts()[QStringLiteral("Z")], 35);
  }
}

TEST_F(KSRabTest, EmptyTableExportsAnEmptyFile) {
  const QString exchange = dir.path() + QStringLiteral("/leer.txt");
  db.ExportToFile(exchange);
  EXPECT_EQ(ReadFileBytes(exchange), QByteArray("\xFF\xFE", 2));
}

TEST_F(KSRabTest, ReimportKeepsDiscountsDropsOldGroupsAndTakesFirstOfTwins) {
  SetGroups({{"A", 10}, {"b", 20}, {"ALT", 30}});
  TDoubleStringListObjectList predefined;
  predefined.Add(QStringLiteral(" A "), QStringLiteral(" Kupfer "));
  predefined.Add(QStringLiteral("B"), QStringLiteral("Stahl"));  // "b" was there: its discount stays
  predefined.Add(QStringLiteral("NEU"), QStringLiteral("Neu"));
  predefined.Add(QStringLiteral("A"), QStringLiteral("Doppelt"));
  db.UpdateRabattListe(predefined);
  const QMap<QString, double> d = Discounts();
  EXPECT_EQ(d.keys(), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("NEU")}));
  EXPECT_DOUBLE_EQ(d[QStringLiteral("A")], 10);
  EXPECT_DOUBLE_EQ(d[QStringLiteral("B")], 20);
  EXPECT_DOUBLE_EQ(d[QStringLiteral("NEU")], 0);
  ASSERT_TRUE(db.RabattGrpExists(QStringLiteral("A")));
  EXPECT_EQ(db.Table->FieldByName(QStringLiteral("BEZEICHNUNG")).AsString(), QStringLiteral("Kupfer"));
}

TEST_F(KSRabTest, CompressAppendAndExists) {
  SetGroups({{"A", 0}, {"B", 5}, {"C", 0}, {"D", 0}});
  db.CompressRabattListe();
  EXPECT_EQ(Discounts().keys(), QStringList{QStringLiteral("B")});
  db.RabattGrpAppend(QStringLiteral(" B "));
  db.RabattGrpAppend(QStringLiteral(" X "));
  EXPECT_EQ(Discounts().keys(), (QStringList{QStringLiteral("B"), QStringLiteral("X")}));
  EXPECT_DOUBLE_EQ(Discounts()[QStringLiteral("B")], 5);
  EXPECT_TRUE(db.RabattGrpExists(QStringLiteral("  X")));
  EXPECT_FALSE(db.RabattGrpExists(QStringLiteral("x")));
  SetGroups({{"Y", 0}});
  db.Table->First();
  db.Table->Edit();
  db.Table->FieldByName(QStringLiteral("RABATT")).SetAsFloat(0);
  db.Table->Post();
  db.CompressRabattListe();
  db.CompressRabattListe();
  EXPECT_EQ(Discounts().keys(), QStringList{});
}

TEST_F(KSRabTest, ErrorsGoToLogErrorWithThePlace) {
  QStringList logged;
  QString firstError;
  db.OnLog = [&](const std::exception* e, const QString& text) {
    if (logged.isEmpty() && e) firstError = QString::fromUtf8(e->what());
    logged.append(text);
  };
  db.ExportToFile(dir.path() + QStringLiteral("/gibt/es/nicht/x.txt"));
  EXPECT_TRUE(firstError.contains(QStringLiteral("konnte nicht geschrieben werden"))) << "the export says what failed";
  db.CloseDatabase();
  db.RabattGrpAppend(QStringLiteral("Q"));
  EXPECT_EQ(logged, (QStringList{QStringLiteral("TKSRabDatabase.ExportToFile"),
                                 QStringLiteral("TKSRabDatabase.RabattGrpExists"),
                                 QStringLiteral("TKSRabDatabase.RabattGrpAppend")}));
}

// SQLite undid the import's transaction by itself (as on a full disk): the
// rest must not be stored one by one, and the report says nothing was kept.
TEST_F(KSRabTest, ImportAfterSQLiteUndidTheTransactionStoresNothingAndSaysSo) {
  SetGroups({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}});
  QStringList reported;
  db.OnLog = [&](const std::exception* e, const QString&) { reported.append(ReportException::Of(*e).message); };
  int posted = 0;
  db.Table->AfterScroll = [&](TTdbTable& t) {
    if (t.FieldByName(QStringLiteral("RABATT")).AsFloat() == 9 && ++posted == 2)
      sqlite3_exec(t.Connection().Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
  };
  EXPECT_FALSE(db.ImportFromFile(WriteExchange(QStringLiteral("A=9\r\nB=9\r\nC=9\r\nD=9\r\n"))));
  db.Table->AfterScroll = nullptr;
  const QMap<QString, double> expected{{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}};
  EXPECT_EQ(Discounts(), expected);
  ASSERT_EQ(reported.size(), 1);
  EXPECT_TRUE(reported[0].contains(QStringLiteral("Keine Aenderung dieses Vorgangs wurde gespeichert"))) << reported[0].toStdString();
}
