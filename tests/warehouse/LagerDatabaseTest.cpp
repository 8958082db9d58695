#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "NumberText.h"
#include "TestSupport.h"
#include "ULAGUnit1Core.h"

namespace {
// Every field set to a value other than its default; texts carry what XML must escape.
void FillComplete(TLagerServerObj& a, const QString& nr) {
  a.LagerArtikelNr = nr, a.EAN = QStringLiteral("4006381333931"), a.AlternativArtikelNr = QStringLiteral("ALT-7");
  a.Katalog = QStringLiteral("SONEPAR"), a.Bezeichnung = QStringLiteral("Kabel NYM-J 3x1,5 <grau> & \"rund\"");
  a.BuchungsBestand = 12.5, a.SummeWareneingangMe = 40.25, a.Gruppe = QStringLiteral("ELEKTRO");
  a.Lagerort = QStringLiteral("R1-F3"), a.Inventurartikel = true, a.Anfangsbestand = 3.75;
  a.InventurErfassung = 11.5, a.Inventurdifferenz = -1, a.Rabattgruppen = QStringLiteral("K1"), a.ME = QStringLiteral("m");
  a.DEinstandsPreisbildung = true, a.EKPreis = 123457, a.VKZuschlag = 1.35, a.MwStSatz = 2, a.SNPflicht = true;
  a.STKL = QStringLiteral("STL-1"), a.ViewColor = 0x00ff80, a.IsNotBestandsArtikel = true;
  a.Created = 45678.5, a.Changed = 45679.25, a.CreatedBy = QStringLiteral("MEIER"), a.ChangedBy = QStringLiteral("Müller");
  a.Gew = 0.125, a.GewQm = 2.5, a.Obf = 3.5, a.Laenge = 100, a.Breite = 0.5, a.Dicke = 0.02, a.Dichte = 7.85;
  a.Vol = 1.5e-6, a.EkPkg = 45000, a.Uf = 2.5, a.UfMe = QStringLiteral("kg");
  a.Pe = 100, a.Vkp = {10000, 20500, 30025, 40000, 12345678};
  a.Lt = QStringLiteral("Lang\r\nzweite Zeile"), a.Kt = QStringLiteral("kurz"), a.Et = QStringLiteral("drei");
  a.Az = 0.75, a.L = 485000, a.Orab = a.Oprov = a.Eksp = a.Vksp = a.Ncek = true;
  a.MinDB = {TLagerServerObj::MinBestandLine(1, 1, 31, 3, 2.5, 10), TLagerServerObj::MinBestandLine(1, 4, 31, 12, 5, 20)};
  a.Lsrnr = QStringLiteral("L'1");
  a.Images.Add(QStringLiteral("front"), QStringLiteral("bild<1>.png"));
  a.KatRefs.Add(QStringLiteral("SONEPAR"), QStringLiteral("123 456"));
  a.KatRefs.Add(QStringLiteral("DATANORM"), QStringLiteral("A&B"));
  a.ExtensionData = QStringLiteral("<x a=\"1\">]]>roh</x>");
}

QStringList Pairs(const TDoubleStringListObjectList& list) {
  QStringList pairs;
  for (const TDoubleString& entry : list) pairs.append(entry.First + u'|' + entry.Second);
  return pairs;
}

void ExpectSame(const TLagerServerObj& a, const TLagerServerObj& b) {
  EXPECT_EQ(a.LagerArtikelNr, b.LagerArtikelNr);
  EXPECT_EQ(a.EAN, b.EAN);
  EXPECT_EQ(a.AlternativArtikelNr, b.AlternativArtikelNr);
  EXPECT_EQ(a.Katalog, b.Katalog);
  EXPECT_EQ(a.Bezeichnung, b.Bezeichnung);
  EXPECT_EQ(a.BuchungsBestand, b.BuchungsBestand);
  EXPECT_EQ(a.SummeWareneingangMe, b.SummeWareneingangMe);
  EXPECT_EQ(a.Gruppe, b.Gruppe);
  EXPECT_EQ(a.Lagerort, b.Lagerort);
  EXPECT_EQ(a.Inventurartikel, b.Inventurartikel);
  EXPECT_EQ(a.Anfangsbestand, b.Anfangsbestand);
  EXPECT_EQ(a.InventurErfassung, b.InventurErfassung);
  EXPECT_EQ(a.Inventurdifferenz, b.Inventurdifferenz);
  EXPECT_EQ(a.Rabattgruppen, b.Rabattgruppen);
  EXPECT_EQ(a.ME, b.ME);
  EXPECT_EQ(a.DEinstandsPreisbildung, b.DEinstandsPreisbildung);
  EXPECT_EQ(a.EKPreis, b.EKPreis);
  EXPECT_EQ(a.VKZuschlag, b.VKZuschlag);
  EXPECT_EQ(a.MwStSatz, b.MwStSatz);
  EXPECT_EQ(a.SNPflicht, b.SNPflicht);
  EXPECT_EQ(a.STKL, b.STKL);
  EXPECT_EQ(a.ViewColor, b.ViewColor);
  EXPECT_EQ(a.IsNotBestandsArtikel, b.IsNotBestandsArtikel);
  EXPECT_EQ(a.Created, b.Created);
  EXPECT_EQ(a.Changed, b.Changed);
  EXPECT_EQ(a.CreatedBy, b.CreatedBy);
  EXPECT_EQ(a.ChangedBy, b.ChangedBy);
  EXPECT_EQ(QList<double>({a.Gew, a.GewQm, a.Obf, a.Laenge, a.Breite, a.Dicke, a.Dichte, a.Vol, a.Uf, a.Az}),
            QList<double>({b.Gew, b.GewQm, b.Obf, b.Laenge, b.Breite, b.Dicke, b.Dichte, b.Vol, b.Uf, b.Az}));
  EXPECT_EQ(a.EkPkg, b.EkPkg);
  EXPECT_EQ(a.UfMe, b.UfMe);
  EXPECT_EQ(a.Pe, b.Pe);
  EXPECT_EQ(a.Vkp, b.Vkp);
  EXPECT_EQ(a.Lt, b.Lt);
  EXPECT_EQ(a.Kt, b.Kt);
  EXPECT_EQ(a.Et, b.Et);
  EXPECT_EQ(a.L, b.L);
  EXPECT_EQ(QList<bool>({a.Orab, a.Oprov, a.Eksp, a.Vksp, a.Ncek}), QList<bool>({b.Orab, b.Oprov, b.Eksp, b.Vksp, b.Ncek}));
  EXPECT_EQ(a.MinDB, b.MinDB);
  EXPECT_EQ(a.Lsrnr, b.Lsrnr);
  EXPECT_EQ(Pairs(a.Images), Pairs(b.Images));
  EXPECT_EQ(Pairs(a.KatRefs), Pairs(b.KatRefs));
  EXPECT_EQ(a.ExtensionData, b.ExtensionData);
}

class Warehouse : public ::testing::Test {
 protected:
  void SetUp() override { db.Open(dir.path()); }

  // An article with description, group and the two flags.
  void Store(const QString& nr, const QString& description, const QString& group = {}, bool stockTaking = false,
             bool notStock = false) {
    TLagerServerObj a;
    a.LagerArtikelNr = nr, a.Bezeichnung = description, a.Gruppe = group;
    a.Inventurartikel = stockTaking, a.IsNotBestandsArtikel = notStock;
    ASSERT_EQ(db.SetLagerArtikel(a), 0);
  }
  QStringList Found(const QString& text, const QString& group, bool skipNotStock, bool onlyStockTaking) {
    TDBLagerSearchResultObjectList results;
    db.Search(text, group, results, skipNotStock, onlyStockTaking);
    QStringList numbers;
    for (const TDBLagerSearchResult& row : results) numbers << row.LagerArtikelNr;
    return numbers;
  }

  QTemporaryDir dir;
  QStringList errors;
  IModLagerDBServerObj db{[this](const std::exception*, const QString& message) { errors << message; }};
};
}  // namespace

TEST_F(Warehouse, ArticleRoundTripsThroughItsRowEveryField) {
  TLagerServerObj written;
  FillComplete(written, QStringLiteral("A-100"));
  ASSERT_EQ(db.SetLagerArtikel(written), 0);
  TLagerServerObj read;
  read.LagerArtikelNr = QStringLiteral("A-100");
  ASSERT_EQ(db.GetLagerArtikel(read), 0);
  ExpectSame(written, read);
  EXPECT_EQ(read.MinDB.first(), QStringLiteral("<from>0101</from><to>3103</to><mb>") +
                                    QStringLiteral("2") + DecimalSeparator() + u'5' + QStringLiteral("</mb><bm>10</bm>"));
  // Stored again unchanged, it stays the same (one row, not two).
  ASSERT_EQ(db.SetLagerArtikel(read), 0);
  EXPECT_EQ(db.Lager->RecordCount(), 1);
  EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(Warehouse, LookupResults) {
  TLagerServerObj a;
  EXPECT_EQ(db.GetLagerArtikel(a), -1) << "empty number";
  a.LagerArtikelNr = QStringLiteral("X");
  EXPECT_EQ(db.GetLagerArtikel(a), -1) << "empty table";
  EXPECT_EQ(db.GetCurrentLagerArtikelNr(), QString());
  Store(QStringLiteral("B"), QStringLiteral("Schraube"));
  EXPECT_EQ(db.GetLagerArtikel(a), -2) << "number missing";
  EXPECT_EQ(db.GetCurrentLagerArtikelNr(), QStringLiteral("B"));
  EXPECT_TRUE(db.SetFieldByNameFloat(QStringLiteral("B"), QStringLiteral("BuchungsBestand"), 7.5));
  EXPECT_EQ(db.GetFieldByNameFloat(QStringLiteral("B"), QStringLiteral("BuchungsBestand")), 7.5);
  EXPECT_FALSE(db.SetFieldByNameFloat(QStringLiteral("X"), QStringLiteral("BuchungsBestand"), 1));
}

TEST_F(Warehouse, PriceInfoWithoutPriceUnitGivesOne) {
  TLagerServerObj a;
  for (const char* pinfo : {"<pinfo vkp1=\"2\" />", "<pinfo pe=\"0\" />", "<pinfo pe=\"-3\" />"}) {
    a.Pe = 50;
    ASSERT_TRUE(a.LoadFromText(QStringLiteral("<lagerartikel nr=\"1\">%1</lagerartikel>").arg(QLatin1String(pinfo))));
    EXPECT_EQ(a.Pe, 1) << pinfo;
  }
}

TEST_F(Warehouse, SearchTestsTermsGroupAndFlags) {
  Store(QStringLiteral("1"), QStringLiteral("Kupferrohr 15 mm weich"), QStringLiteral("Sanitaer"), true);
  Store(QStringLiteral("2"), QStringLiteral("Rohr Kupfer 22 mm"), QStringLiteral("SANITAER"), false, true);
  Store(QStringLiteral("3"), QStringLiteral("Kabel Kupfer NYM"), QStringLiteral("Elektro"));
  Store(QStringLiteral("ROHR"), QStringLiteral("Muffe"), QStringLiteral("Sanitaer"), true);
  const struct {
    const char* text;
    const char* group;
    bool skipNotStock, onlyStockTaking;
    const char* expected;
  } cases[] = {
      {"", "", false, false, "1 2 3 ROHR"},
      {"rohr kupfer", "", false, false, "1 2"},  // terms in another order; not in the number
      {"kupfer", "sanitaer", false, false, "1 2"},
      {"kupfer", "", true, false, "1 3"},
      {"", "", false, true, "1 ROHR"},
      {"", "", true, true, "1 ROHR"},
      {"kupfer draht", "", false, false, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Found(QLatin1String(c.text), QLatin1String(c.group), c.skipNotStock, c.onlyStockTaking).join(u' '),
              QLatin1String(c.expected))
        << c.text << " / " << c.group;
}

TEST_F(Warehouse, SearchRowsAreCompletedWhenShownAndSearchedAgainInMemory) {
  TLagerServerObj a;
  FillComplete(a, QStringLiteral("A-1"));
  ASSERT_EQ(db.SetLagerArtikel(a), 0);
  Store(QStringLiteral("A-2"), QStringLiteral("Kabelbinder"), QStringLiteral("Elektro"));
  TDBLagerSearchResultObjectList results;
  db.Search(QStringLiteral("kabel"), QString(), results, false, false);
  ASSERT_EQ(results.Count(), 2);
  TDBLagerSearchResult& row = *results[0];
  EXPECT_FALSE(row.Complete);
  EXPECT_EQ(row.EKPreis, 0) << "a short row";
  ASSERT_TRUE(db.InitializeSearchResult(row));
  EXPECT_TRUE(row.Complete);
  EXPECT_EQ(row.Lagerort, a.Lagerort);
  EXPECT_EQ(row.Rabattgruppen, a.Rabattgruppen);
  EXPECT_EQ(row.EKPreis, a.EKPreis);
  EXPECT_EQ(row.Vkp, a.Vkp);
  EXPECT_EQ(row.ME, a.ME);
  EXPECT_EQ(row.ViewColor, a.ViewColor);
  EXPECT_TRUE(row.IsNotBestandsArtikel);
  EXPECT_EQ(row.SummeWareneingangMe, a.SummeWareneingangMe);
  EXPECT_EQ(row.Anfangsbestand, a.Anfangsbestand);

  TDBLagerSearchResultObjectList narrowed;
  results.Search(QStringLiteral("elektro"), QStringLiteral("binder"), narrowed);
  ASSERT_EQ(narrowed.Count(), 1);
  EXPECT_EQ(narrowed[0]->LagerArtikelNr, QStringLiteral("A-2"));
}

TEST_F(Warehouse, SerialNumberFilterTakesTheNumberAsAValue) {
  TTdbTable& sn = *db.LagerSN;
  const char* const serials[][2] = {{"S1", "A'1"}, {"S2", "A"}, {"S3", "A'1"}, {"S4", "B' OR 'x'='x"}};
  for (const auto& serial : serials) {
    sn.Append();
    sn.FieldByName(QStringLiteral("SN")).SetAsString(QLatin1String(serial[0]));
    sn.FieldByName(QStringLiteral("LagerArtikelNr")).SetAsString(QLatin1String(serial[1]));
    sn.Post();
  }
  const struct {
    const char* nr;
    const char* expected;
  } cases[] = {{"A'1", "S1 S3"}, {"A", "S2"}, {"' OR ''='", ""}, {"B' OR 'x'='x", "S4"}};
  for (const auto& c : cases) {
    db.SetVisibleSN(QLatin1String(c.nr));
    QStringList serials;
    for (sn.First(); !sn.Eof(); sn.Next()) serials << sn.FieldByName(QStringLiteral("SN")).AsString();
    EXPECT_EQ(serials.join(u' '), QLatin1String(c.expected)) << c.nr;
  }
  EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(Warehouse, ForEachPassesEveryArticleOnceInNumberOrder) {
  for (const char* nr : {"C", "A", "B10", "B2"}) Store(QLatin1String(nr), QStringLiteral("Teil ") + QLatin1String(nr));
  QStringList seen;
  ASSERT_TRUE(db.ForEachLagerArtikel([&](TLagerServerObj& a) { seen << a.LagerArtikelNr + u'=' + a.Bezeichnung; }));
  EXPECT_EQ(seen.join(u' '), QStringLiteral("A=Teil A B10=Teil B10 B2=Teil B2 C=Teil C"));

  IModLagerDBServerObj closed;
  EXPECT_TRUE(closed.ForEachLagerArtikel([&](TLagerServerObj&) { ADD_FAILURE(); }));
}

TEST(WarehouseOldTable, AlterTablesAddsTheLaterColumnsInTableOrderAndKeepsRows) {
  QTemporaryDir dir;
  {
    TTdbDatabase database;
    database.SetLocation(dir.path() + QLatin1Char('/'));
    TTdbTable old(&database);
    old.SetTableName(QStringLiteral("LAGER"));
    TTdbFieldDefs& f = old.FieldDefs();
    using K = TdbFieldKind;
    const std::pair<const char*, K> columns[] = {
        {"LagerArtikelNr", K::WideString}, {"Katalog", K::WideString}, {"Bezeichnung", K::WideString},
        {"BuchungsBestand", K::Float}, {"SummeWareneingangMe", K::Float}, {"Gruppe", K::WideString},
        {"Lagerort", K::WideString}, {"Inventurartikel", K::Boolean}, {"Anfangsbestand", K::Float},
        {"InventurErfassung", K::Float}, {"Inventurdifferenz", K::Float}, {"Rabattgruppen", K::WideString},
        {"ME", K::WideString}, {"DEinstandsPreisbildung", K::Boolean}, {"VKZuschlag", K::Float},
        {"MwStSatz", K::Integer}, {"SNPflicht", K::Boolean}, {"XMLDATA", K::WideMemo}};
    for (const auto& [name, kind] : columns) f.Add(QLatin1String(name), kind, kind == K::WideString ? 81 : 0);
    old.IndexDefs().Add(QStringLiteral("001"), QStringLiteral("LagerArtikelNr"), ixUnique);
    old.CreateTable();
    database.Connect();
    old.SetIndexName(QStringLiteral("001"));
    old.Open();
    old.Append();
    old.FieldByName(QStringLiteral("LagerArtikelNr")).SetAsString(QStringLiteral("ALT"));
    old.FieldByName(QStringLiteral("Bezeichnung")).SetAsString(QStringLiteral("Alter Artikel"));
    old.FieldByName(QStringLiteral("XMLDATA")).SetAsString(QStringLiteral("<lagerartikel><pinfo pe=\"10\" /></lagerartikel>"));
    old.Post();
  }
  QStringList errors;
  IModLagerDBServerObj db([&](const std::exception* e, const QString& message) {
    errors << message + u' ' + QString::fromUtf8(e ? e->what() : "");
  });
  db.Open(dir.path());
  TLagerServerObj a;
  a.LagerArtikelNr = QStringLiteral("ALT");
  ASSERT_EQ(db.GetLagerArtikel(a), 0) << "an old table is read as it is";
  ASSERT_EQ(db.AlterTables(), 0) << errors.join(u'\n').toStdString();
  db.Lager->ReadDefinitions();
  QStringList names;
  for (const TTdbFieldDef& def : db.Lager->FieldDefs().Items()) names << def.Name;
  EXPECT_EQ(names.join(u' '),
            QStringLiteral("LagerArtikelNr EAN AlternativArtikelNr Katalog Bezeichnung BuchungsBestand "
                           "SummeWareneingangMe Gruppe Lagerort Inventurartikel Anfangsbestand InventurErfassung "
                           "Inventurdifferenz Rabattgruppen ME DEinstandsPreisbildung PREISEINHEIT EKPreis VKZuschlag "
                           "MwStSatz SNPflicht STKL VIEWCOLOR ISNOTBESTANDSARTIKEL XMLDATA"));
  a.Clear();
  a.LagerArtikelNr = QStringLiteral("ALT");
  ASSERT_EQ(db.GetLagerArtikel(a), 0);
  EXPECT_EQ(a.Bezeichnung, QStringLiteral("Alter Artikel"));
  EXPECT_EQ(a.Pe, 10);
  a.EKPreis = 25000;
  ASSERT_EQ(db.SetLagerArtikel(a), 0) << "the upgraded table takes every column";
  EXPECT_EQ(db.GetFieldByNameFloat(QStringLiteral("ALT"), QStringLiteral("EKPreis")), 2.5);
  EXPECT_EQ(db.AlterTables(), -1) << "nothing left to add";
  EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}
