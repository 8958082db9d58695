#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "KSPRDatabase.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "TestSupport.h"

namespace {
const QString kXmlHead = QStringLiteral("\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n");

struct ScaleLine {
  double menge, rabatt, preis;
};

void Fill(TKSPRDatabaseObj& e, const QString& katalog, const QString& artikelNr, Currency preis = 0,
          std::initializer_list<ScaleLine> scale = {}) {
  e.Clear();
  e.Katalog = katalog;
  e.ArtikelNr = artikelNr;
  e.Bezeichnung = QStringLiteral("Kupferrohr 15 mm \"hart\" & <blank>");
  e.Preis = preis;
  e.Rabatt = 7.125;
  e.Zeit = 0.75;
  e.Lohn = 512345;
  for (const ScaleLine& s : scale) e.Mengenstaffel.Add(s.menge, s.rabatt, s.preis);
}

// A number as the process's locale writes it.
QString N(const char* text) { return QString::fromLatin1(text).replace(QLatin1Char('.'), DecimalSeparator()); }

class KSPRTest : public testing::Test {
 protected:
  void SetUp() override {
    file = dir.path() + QStringLiteral("/003/4711.TDBD");
    QDir().mkpath(dir.path() + QStringLiteral("/003"));
    db.OnLog = [this](const std::exception* e, const QString& text) {
      logged.append(text);
      lastError = ReportException::Of(*e).message;
    };
    db.OpenFile(file, false);
  }

  QString Column(const char* name) { return db.Table->FieldByName(QString::fromLatin1(name)).AsString(); }
  double Float(const char* name) { return db.Table->FieldByName(QString::fromLatin1(name)).AsFloat(); }

  QTemporaryDir dir;
  QString file;
  TKSPRDatabase db;
  QStringList logged;
  QString lastError;
};
}  // namespace

TEST_F(KSPRTest, EntryRoundTripsThroughTheRowWithTheExactXml) {
  const struct {
    std::initializer_list<ScaleLine> scale;
    QString objectLines;
  } cases[] = {
      {{}, QStringLiteral("<kspxmldata>\r\n</kspxmldata>\r\n")},
      {{{10, 2.5, 9.99}, {1, 0, 0.000001}, {100, 12.34567, 1234567.125}},
       QStringLiteral("<kspxmldata>\r\n  <mrplist>\r\n") +
           N("    <mrp menge=\"10\" rabatt=\"2.5\" preis=\"9.99\" />\r\n") +
           N("    <mrp menge=\"1\" rabatt=\"0\" preis=\"1E-6\" />\r\n") +
           N("    <mrp menge=\"100\" rabatt=\"12.34567\" preis=\"1234567.125\" />\r\n") +
           QStringLiteral("  </mrplist>\r\n</kspxmldata>\r\n")},
  };
  for (const auto& c : cases) {
    TKSPRDatabaseObj stored, read;
    Fill(stored, QStringLiteral("DATANORM1"), QStringLiteral("R-15/1"), 123456, c.scale);
    ASSERT_TRUE(db.SetArtikel(&stored));
    ASSERT_TRUE(db.SeekArtikel(QStringLiteral("DATANORM1"), QStringLiteral("R-15/1")));
    EXPECT_EQ(Column("XMLDATA"), kXmlHead + c.objectLines);
    EXPECT_DOUBLE_EQ(Float("PREIS"), 12.3456);
    EXPECT_DOUBLE_EQ(Float("LOHN"), 51.2345);
    ASSERT_TRUE(db.GetCurrentMengenstaffel(&read));
    EXPECT_EQ(read.Katalog, stored.Katalog);
    EXPECT_EQ(read.ArtikelNr, stored.ArtikelNr);
    EXPECT_EQ(read.Bezeichnung, stored.Bezeichnung);
    EXPECT_EQ(read.Preis, stored.Preis);
    EXPECT_EQ(read.Rabatt, stored.Rabatt);
    EXPECT_EQ(read.Zeit, stored.Zeit);
    EXPECT_EQ(read.Lohn, stored.Lohn);
    ASSERT_EQ(read.Mengenstaffel.Count(), stored.Mengenstaffel.Count());
    for (int i = 0; i < read.Mengenstaffel.Count(); ++i) {
      EXPECT_EQ(read.Mengenstaffel[i]->First, stored.Mengenstaffel[i]->First);
      EXPECT_EQ(read.Mengenstaffel[i]->Second, stored.Mengenstaffel[i]->Second);
      EXPECT_EQ(read.Mengenstaffel[i]->Third, stored.Mengenstaffel[i]->Third);
    }
  }
  EXPECT_EQ(db.Table->RecordCount(), 1);
  EXPECT_TRUE(logged.isEmpty()) << logged.join(u'\n').toStdString();
}

TEST_F(KSPRTest, ExistingPairIsReplacedAndTheSameNumberInAnotherCatalogueIsAnotherRow) {
  TKSPRDatabaseObj e;
  Fill(e, QStringLiteral("LAGER"), QStringLiteral("4711"), 10000, {{5, 1, 2}});
  ASSERT_TRUE(db.SetArtikel(&e));
  Fill(e, QStringLiteral("DATANORM1"), QStringLiteral("4711"), 20000);
  ASSERT_TRUE(db.SetArtikel(&e));
  Fill(e, QStringLiteral("LAGER"), QStringLiteral("4711"), 30000);
  e.Bezeichnung = QStringLiteral("neu");
  e.Rabatt = e.Zeit = 0;
  e.Lohn = 0;
  ASSERT_TRUE(db.SetArtikel(&e));
  EXPECT_EQ(db.Table->RecordCount(), 2);
  ASSERT_TRUE(db.SeekArtikel(QStringLiteral("LAGER"), QStringLiteral("4711")));
  EXPECT_EQ(Column("BEZEICHNUNG"), QStringLiteral("neu"));
  EXPECT_DOUBLE_EQ(Float("PREIS"), 3);
  EXPECT_DOUBLE_EQ(Float("RABATT"), 0);
  EXPECT_DOUBLE_EQ(Float("LOHN"), 0);
  EXPECT_FALSE(Column("XMLDATA").contains(QStringLiteral("mrplist")));
  ASSERT_TRUE(db.SeekArtikel(QStringLiteral("DATANORM1"), QStringLiteral("4711")));
  EXPECT_DOUBLE_EQ(Float("PREIS"), 2);
  EXPECT_FALSE(db.SeekArtikel(QStringLiteral("lager"), QStringLiteral("4711")));  // case-sensitive
  Fill(e, QStringLiteral("lager"), QStringLiteral("4711"));
  ASSERT_TRUE(db.SetArtikel(&e));
  EXPECT_EQ(db.Table->RecordCount(), 3);
}

// The bulk path stores a row as SetArtikel does and leaves an existing pair
// (exact, case-sensitive) alone.
TEST_F(KSPRTest, AppendedEntryIsStoredAsSetArtikelStoresItAndAnExistingPairStays) {
  using A = TKSPRDatabase::TAppend;
  TKSPRDatabaseObj e, read;
  Fill(e, QStringLiteral("LAGER"), QStringLiteral("4711"), 10000, {{5, 1, 2}});
  ASSERT_TRUE(db.SetArtikel(&e));
  const QString setXml = Column("XMLDATA");
  const struct {
    const char* katalog;
    A result;
  } cases[] = {{"LAGER", A::Exists}, {"lager", A::Appended}, {"DATANORM1", A::Appended}};
  for (const auto& c : cases) {
    Fill(e, QString::fromLatin1(c.katalog), QStringLiteral("4711"), 30000, {{5, 1, 2}});
    EXPECT_EQ(db.AppendNewArtikel(e), c.result) << c.katalog;
  }
  db.RefreshTables();
  EXPECT_EQ(db.Table->RecordCount(), 3);
  ASSERT_TRUE(db.SeekArtikel(QStringLiteral("LAGER"), QStringLiteral("4711")));
  EXPECT_DOUBLE_EQ(Float("PREIS"), 1);
  ASSERT_TRUE(db.SeekArtikel(QStringLiteral("lager"), QStringLiteral("4711")));
  EXPECT_EQ(Column("XMLDATA"), setXml);
  ASSERT_TRUE(db.GetCurrentMengenstaffel(&read));
  EXPECT_EQ(read.Bezeichnung, e.Bezeichnung);
  EXPECT_EQ(read.Preis, 30000);
  EXPECT_EQ(read.Rabatt, e.Rabatt);
  EXPECT_EQ(read.Zeit, e.Zeit);
  EXPECT_EQ(read.Lohn, e.Lohn);
  EXPECT_TRUE(logged.isEmpty()) << logged.join(u'\n').toStdString();
}

TEST_F(KSPRTest, PriceKeepsFourDecimalsAndTheDiscountItsFullPrecision) {
  TKSPRDatabaseObj e;
  Fill(e, QStringLiteral("LAGER"), QStringLiteral("1"));
  ASSERT_TRUE(db.SetArtikel(&e));
  db.Table->Edit();
  db.Table->FieldByName(QStringLiteral("PREIS")).SetAsFloat(12.34567);
  db.Table->FieldByName(QStringLiteral("RABATT")).SetAsFloat(12.34567);
  db.Table->FieldByName(QStringLiteral("XMLDATA")).SetAsString(QString());  // an empty scale text
  db.Table->Post();
  ASSERT_TRUE(db.GetCurrentMengenstaffel(&e));
  EXPECT_EQ(e.Preis, 123457);
  EXPECT_EQ(e.Mengenstaffel.Count(), 0);
  ASSERT_TRUE(db.SetArtikel(&e));
  EXPECT_EQ(Float("PREIS"), 12.3457);
  EXPECT_EQ(Float("RABATT"), 12.34567);
}

TEST_F(KSPRTest, ScaleIsWrittenOnlyIntoTheRowOfTheSameEntryIgnoringCase) {
  TKSPRDatabaseObj e;
  Fill(e, QStringLiteral("LAGER"), QStringLiteral("A-1"));
  ASSERT_TRUE(db.SetArtikel(&e));
  const QString before = Column("XMLDATA");
  const struct {
    const char *katalog, *artikelNr;
    bool written;
  } cases[] = {{"DATANORM1", "A-1", false}, {"LAGER", "A-2", false}, {"lager", "a-1", true}};
  for (const auto& c : cases) {
    TKSPRDatabaseObj scale;
    Fill(scale, QString::fromLatin1(c.katalog), QString::fromLatin1(c.artikelNr), 0, {{3, 4, 5}});
    EXPECT_EQ(db.SetCurrentMengenstaffel(&scale), c.written) << c.katalog << ' ' << c.artikelNr;
    EXPECT_EQ(Column("XMLDATA") != before, c.written);
  }
  EXPECT_EQ(Column("BEZEICHNUNG"), e.Bezeichnung);
  EXPECT_EQ(Column("KATALOG"), QStringLiteral("LAGER"));
  QString katalog, artikelNr;
  ASSERT_TRUE(db.GetCurrentArtikel(katalog, artikelNr));
  EXPECT_EQ(katalog + artikelNr, QStringLiteral("LAGERA-1"));
  ASSERT_TRUE(db.DeleteCurrentArtikel());
  EXPECT_FALSE(db.GetCurrentArtikel(katalog, artikelNr));
  EXPECT_FALSE(db.DeleteCurrentArtikel());
}

TEST_F(KSPRTest, OldFileGetsDiscountAndXmlInTheirPlacesWithItsRows) {
  db.Close();
  QFile::remove(file);
  {
    TTdbDatabase old;
    old.SetDatabaseType(TTdbDatabase::FileDatabase);
    old.SetLocation(file);
    old.CreateDatabase();
    TTdbTable t(&old);
    t.SetTableName(QStringLiteral("KSP"));
    for (const char* name : {"KATALOG", "ARTIKELNR", "BEZEICHNUNG"})
      t.FieldDefs().Add(QString::fromLatin1(name), TdbFieldKind::WideString, 50);
    for (const char* name : {"PREIS", "ZEIT", "LOHN"}) t.FieldDefs().Add(QString::fromLatin1(name), TdbFieldKind::Float);
    t.IndexDefs().Add(QStringLiteral("INDEX"), QStringLiteral("KATALOG;ARTIKELNR"), ixPrimary | ixUnique);
    t.SetIndexName(QStringLiteral("INDEX"));
    t.CreateTable();
    old.Connect();
    t.Open();
    for (int i = 1; i <= 2; ++i) {
      t.Append();
      t.FieldByName(QStringLiteral("KATALOG")).SetAsString(QStringLiteral("LAGER"));
      t.FieldByName(QStringLiteral("ARTIKELNR")).SetAsString(QString::number(i));
      t.FieldByName(QStringLiteral("PREIS")).SetAsFloat(i * 1.5);
      t.FieldByName(QStringLiteral("ZEIT")).SetAsFloat(i * 0.25);
      t.FieldByName(QStringLiteral("LOHN")).SetAsFloat(i * 40);
      t.Post();
    }
  }
  db.OpenFile(file, false);
  ASSERT_EQ(db.AlterTables(), 0);
  QStringList columns;
  for (int i = 0; i < db.Table->FieldCount(); ++i) columns << db.Table->Fields(i).FieldName();
  EXPECT_EQ(columns.join(u','), QStringLiteral("KATALOG,ARTIKELNR,BEZEICHNUNG,PREIS,RABATT,ZEIT,LOHN,XMLDATA"));
  EXPECT_EQ(db.Table->RecordCount(), 2);
  TKSPRDatabaseObj e;
  ASSERT_TRUE(db.SeekArtikel(QStringLiteral("LAGER"), QStringLiteral("2")));
  ASSERT_TRUE(db.GetCurrentMengenstaffel(&e));
  EXPECT_EQ(e.Preis, 30000);
  EXPECT_EQ(e.Zeit, 0.5);
  EXPECT_EQ(e.Lohn, 800000);
  EXPECT_EQ(e.Rabatt, 0);
  EXPECT_EQ(e.Mengenstaffel.Count(), 0);
  EXPECT_EQ(db.AlterTables(), 0) << "nothing to add";
  EXPECT_TRUE(logged.isEmpty()) << logged.join(u'\n').toStdString();
}

TEST_F(KSPRTest, BatchedStoreKeepsEarlierBatchesAndUndoesTheFailingOne) {
  const struct {
    int failAt;  // -1: no failure
    qint64 rows;
  } cases[] = {{-1, 10}, {7, 6}};
  for (const auto& c : cases) {
    db.Table->EmptyTable();
    logged.clear();
    int i = 0;
    const bool done = db.SetArtikelBatched(
        [&](TKSPRDatabaseObj& e) {
          if (i == c.failAt) throw Exception(QStringLiteral("Quelle nicht lesbar"));
          if (i == 11) return false;
          // The last entry repeats the first pair: it replaces that row.
          Fill(e, QStringLiteral("DATANORM1"), QString::number(i % 10), (i + 1) * 10000);
          ++i;
          return true;
        },
        3);
    EXPECT_EQ(done, c.failAt < 0);
    EXPECT_EQ(db.Table->RecordCount(), c.rows);
    if (c.failAt < 0) {
      ASSERT_TRUE(db.SeekArtikel(QStringLiteral("DATANORM1"), QStringLiteral("0")));
      EXPECT_DOUBLE_EQ(Float("PREIS"), 11);
      EXPECT_TRUE(logged.isEmpty());
    } else {
      ASSERT_EQ(logged.size(), 1);
      EXPECT_EQ(logged[0], QStringLiteral("TKSPRDatabase.SetArtikel"));
      EXPECT_TRUE(lastError.contains(QStringLiteral("Quelle nicht lesbar")));
      EXPECT_TRUE(lastError.contains(QStringLiteral(" 6 "))) << lastError.toStdString();
    }
  }
}

TEST_F(KSPRTest, ErrorsGoToTheHandlerWithTheirPlace) {
  TKSPRDatabaseObj e;
  EXPECT_FALSE(db.SetArtikel(nullptr));
  db.Close();
  EXPECT_FALSE(db.SetArtikel(&e));
  EXPECT_FALSE(db.SeekArtikel(QStringLiteral("LAGER"), QStringLiteral("1")));
  EXPECT_FALSE(db.GetCurrentMengenstaffel(&e));
  EXPECT_EQ(logged, QStringList({QStringLiteral("TKSPRDatabase.SetArtikel"), QStringLiteral("TKSPRDatabase.SeekArtikel")}));
}
