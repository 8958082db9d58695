#include <gtest/gtest.h>

#include <QSet>
#include <QTemporaryDir>

#include "DemoSupplierCatalogue.h"
#include "DemoSupport.h"
#include "Katalog2DB.h"
#include "TdbDatabase.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
// Every field as text (locale-free), so one comparison shows what differs.
QStringList Fields(const TKatalog2Artikel& a) {
  auto n = [](double v) { return QString::number(v, 'g', 17); };
  QStringList f = {a.ID, a.EAN, a.Description, a.ME, n(a.MEKalkulationSpezial), a.MEKalkulation,
                   n(a.MEKalkulationUmrechFakt), n(a.MindBestMenge), n(a.PreisEinheit), n(a.EK), n(a.MwStSatz),
                   n(a.Rabatt), a.Info, n(a.Voraetig), n(a.Created), n(a.Changed), a.CreatedBy, a.ChangedBy,
                   a.RabattGruppe, n(a.VKZuschlag), n(a.Gewicht), n(a.Oberflaeche), n(a.Abwicklung), n(a.Volumen),
                   n(a.Umrechnungsfaktor), n(a.Arbeitszeit), n(double(a.Lohn)), n(a.Verpackungsmenge),
                   n(a.Bestellmenge), a.LangText, a.KurzText, a.Warengruppe};
  for (Currency price : a.VKPreis) f << n(double(price));
  for (const TDoubleString& image : a.Images) f << image.First + u'|' + image.Second;
  return f;
}

void FillComplete(TKatalog2Artikel& a) {
  a.ID = QStringLiteral("M-4711"), a.EAN = QStringLiteral("4012345000017");
  a.Description = QStringLiteral("Bogen <90> & \"T\""), a.ME = QStringLiteral("m");
  a.MEKalkulationSpezial = true, a.MEKalkulation = QStringLiteral("Stange"), a.MEKalkulationUmrechFakt = 2.5;
  a.MindBestMenge = 1.5, a.PreisEinheit = 100, a.EK = 12.3456, a.MwStSatz = 3, a.Rabatt = 12.5;
  a.Info = QStringLiteral("Info's"), a.Voraetig = 17.25, a.Created = 45000.5, a.Changed = 45001.25;
  a.CreatedBy = QStringLiteral("IMPORT"), a.ChangedBy = QStringLiteral("Müller"), a.RabattGruppe = QStringLiteral("MEI-RO");
  a.VKZuschlag = 1.35, a.VKPreis = {0, 150000, 140000, 130000, 120050};
  a.Gewicht = 0.125, a.Oberflaeche = 2.5, a.Abwicklung = 3.75, a.Volumen = 1.5e-6, a.Umrechnungsfaktor = 0.5;
  a.Arbeitszeit = 0.75, a.Lohn = 620000, a.Verpackungsmenge = 5, a.Bestellmenge = 10;
  a.LangText = QStringLiteral("Lang\r\nzweite Zeile"), a.KurzText = QStringLiteral("kurz & gut");
  a.Warengruppe = QStringLiteral("ROHR");
  a.Images.Add(QStringLiteral("Produkt<bild>"), QStringLiteral("a&b.jpg"));
  a.Images.Add(QStringLiteral("Mass"), QStringLiteral("m.png"));
}

class Katalog2 : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Settings = &settings;
    db.Open(dir.path() + QStringLiteral("/MEIER"));
  }
  void Store(const QString& id, double ek, const QString& description = {}, const QString& info = {},
             const QString& ean = {}) {
    TKatalog2Artikel a;
    a.ID = id, a.EK = ek, a.Description = description, a.Info = info, a.EAN = ean;
    ASSERT_EQ(db.SetObject(a), 0);
  }
  QStringList Enumerated() {
    QStringList ids;
    EXPECT_TRUE(db.ForEachArtikel([&](TKatalog2Artikel& a) { ids << a.ID; }));
    return ids;
  }
  QStringList Visible() {
    QStringList ids;
    for (db.SCatalog->First(); !db.SCatalog->Eof(); db.SCatalog->Next()) ids << db.GetCurrentObjID();
    return ids;
  }

  QTemporaryDir dir;
  TSystemEinstellungen settings;
  QStringList errors;
  TKatalog2DB db{[this](const std::exception* e, const QString& message) {
    errors << message + u' ' + QString::fromUtf8(e ? e->what() : "");
  }};
};
}  // namespace

TEST_F(Katalog2, ArticleRoundTripsEveryFieldAndKeepsTheCallersEAN) {
  TKatalog2Artikel written;
  FillComplete(written);
  ASSERT_EQ(db.SetObject(written), 0);
  TKatalog2Artikel read;
  read.ID = written.ID;
  read.EAN = QStringLiteral("vom Aufrufer");
  ASSERT_EQ(db.GetObject(read), 0);
  EXPECT_EQ(read.EAN, QStringLiteral("vom Aufrufer"));
  read.EAN = written.EAN;
  written.DeriveVKPreis1(settings);
  EXPECT_EQ(Fields(read), Fields(written));
  EXPECT_EQ(db.GetIDByEAN(written.EAN), written.ID) << "the EAN is stored all the same";
  EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(Katalog2, LookupResults) {
  TKatalog2Artikel a;
  a.ID = QStringLiteral("X");
  EXPECT_EQ(db.GetObject(a), -1) << "empty table";
  EXPECT_TRUE(a.ID.isEmpty()) << "the article is reset";
  EXPECT_EQ(db.GetCurrentObjID(), QString());
  a.ID.clear();
  EXPECT_EQ(db.SetObject(a), -1) << "no row without number";
  Store(QStringLiteral("B"), 1);
  Store(QStringLiteral("D"), 2);
  a.ID = QStringLiteral("C");
  EXPECT_EQ(db.GetObject(a), 1);
  a.ID.clear();
  ASSERT_TRUE(db.SeekObj(QStringLiteral("D")));
  EXPECT_EQ(db.GetObject(a), 0) << "an empty number takes the current row";
  EXPECT_EQ(a.ID, QStringLiteral("D"));
  EXPECT_FALSE(db.FindNextObj(QString()));
  ASSERT_TRUE(db.FindNextObj(QStringLiteral("C")));
  EXPECT_EQ(db.GetCurrentObjID(), QStringLiteral("D"));
}

TEST_F(Katalog2, PricesFromPurchasePriceDiscountAndFactor) {
  settings.MwStNorm = 19, settings.MwStRed = 7;
  const struct {
    double ek, rabatt, vkZuschlag;
    int mwst;
    bool gross, fullCurrency;
    double net, vk1, rowVk1;
  } cases[] = {
      {100, 25, 1.5, 1, false, false, 75, 112.5, 112.5},
      {100, 25, 1.5, 1, true, false, 75, 133.88, 112.5},
      {100, 25, 1.5, 1, true, true, 75, 133.875, 112.5},
      {100, 25, 1.5, 3, true, false, 75, 120.38, 112.5},
      {100, 25, 1.5, 0, true, false, 75, 112.5, 112.5},
      {19.99, 33, 1.3, 1, false, false, 13.39, 17.41, 17.41},
      {10.005, 0, 1, 1, false, false, 10.01, 10.01, 10.01},
  };
  for (const auto& c : cases) {
    settings.ArtikelVKPreisIsBrutto = c.gross, settings.FullCurrency = c.fullCurrency;
    TKatalog2Artikel a;
    a.ID = QStringLiteral("P"), a.EK = c.ek, a.Rabatt = c.rabatt, a.VKZuschlag = c.vkZuschlag, a.MwStSatz = quint8(c.mwst);
    ASSERT_EQ(db.SetObject(a), 0);
    TKatalog2Artikel read;
    read.ID = a.ID;
    ASSERT_EQ(db.GetObject(read), 0);
    EXPECT_EQ(read.NettoEK(settings), CurrencyFromDouble(c.net)) << c.ek;
    EXPECT_EQ(read.VKPreis[0], CurrencyFromDouble(c.vk1)) << c.ek << " gross " << c.gross;
    TSearchtextResultKatalog2 row;
    row.ID = a.ID;
    ASSERT_TRUE(db.GetObjectShortData(row));
    EXPECT_EQ(row.NettoEK, CurrencyFromDouble(c.net));
    EXPECT_EQ(row.VKPreis[0], CurrencyFromDouble(c.rowVk1)) << "a result row has no VAT step";
  }
}

TEST_F(Katalog2, ImagesDocumentLayoutAndReading) {
  TKatalog2Artikel a;
  const QString header = QStringLiteral("\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n");
  EXPECT_EQ(a.GetXMLText(true), header + QStringLiteral("<ukat2>\r\n</ukat2>\r\n"));
  a.Images.Add(QStringLiteral("a&b"), QStringLiteral("x<1>.png"));
  EXPECT_EQ(a.GetXMLText(true), header + QStringLiteral("<ukat2>\r\n  <images>\r\n    <img key=\"a&amp;b\">"
                                                        "x&lt;1&gt;.png</img>\r\n  </images>\r\n</ukat2>\r\n"));
  ASSERT_TRUE(a.LoadFromText(QStringLiteral("<ukat2><images><img key=\"k\">a&amp;<![CDATA[b]]></img><img>c</img>"
                                            "</images></ukat2>")));
  ASSERT_EQ(a.Images.Count(), 2);
  EXPECT_EQ(a.Images[0]->First + u'|' + a.Images[0]->Second, QStringLiteral("k|a&b"));
  EXPECT_EQ(a.Images[1]->First + u'|' + a.Images[1]->Second, QStringLiteral("|c"));

  // A row without XMLDATA has no images, also in an article that had some.
  Store(QStringLiteral("OHNE"), 1);
  ASSERT_TRUE(db.SeekObj(QStringLiteral("OHNE")));
  db.SCatalog->Edit();
  db.SCatalog->FieldByName(QStringLiteral("XMLDATA")).Clear();
  db.SCatalog->Post();
  a.ID = QStringLiteral("OHNE");
  ASSERT_EQ(db.GetObject(a), 0);
  EXPECT_TRUE(a.Images.IsEmpty());
}

TEST_F(Katalog2, PriceUnitAndPackingBelowOneReadAsOne) {
  TKatalog2Artikel a;
  a.ID = QStringLiteral("Z"), a.PreisEinheit = 0, a.Verpackungsmenge = -5;
  ASSERT_EQ(db.SetObject(a), 0);
  TKatalog2Artikel read;
  read.ID = a.ID;
  ASSERT_EQ(db.GetObject(read), 0);
  EXPECT_EQ(read.PreisEinheit, 1);
  EXPECT_EQ(read.Verpackungsmenge, 1);
}

TEST_F(Katalog2, EANLookupMakesItsIndexAndRestoresTheActiveOne) {
  Store(QStringLiteral("A"), 3, {}, {}, QStringLiteral("4000000000012"));
  Store(QStringLiteral("B"), 1, {}, {}, QStringLiteral("4000000000029"));
  Store(QStringLiteral("C"), 2);
  for (const QString& index : {TKatalog2DB::kIndexID, TKatalog2DB::kIndexEK}) {
    db.SCatalog->SetIndexName(index);
    EXPECT_EQ(db.GetIDByEAN(QStringLiteral("4000000000029")), QStringLiteral("B"));
    EXPECT_EQ(db.GetIDByEAN(QStringLiteral("4000000000036")), QString());
    EXPECT_EQ(db.GetIDByEAN(QString()), QString()) << "C has no EAN, and is no match";
    EXPECT_EQ(db.SCatalog->IndexName(), index);
  }
  EXPECT_TRUE(db.SCatalog->HasIndex(TKatalog2DB::kIndexEAN));
  ASSERT_TRUE(db.FindNextObj(QStringLiteral("B"))) << "by number while sorted by EK";
  EXPECT_EQ(db.GetCurrentObjID(), QStringLiteral("B"));
  EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(Katalog2, FilterNeedsEveryTermInNumberOrInDescriptionAndInfo) {
  Store(QStringLiteral("R-15"), 1, QStringLiteral("Rohr & Bogen <DN 15>"), QStringLiteral("Kupfer"));
  Store(QStringLiteral("R-22"), 1, QStringLiteral("Rohrbogen 22"), QStringLiteral("Stahl"));
  Store(QStringLiteral("AMP-1"), 1, QStringLiteral("Verstaerker"), QString());
  db.SCatalog->SetFiltered(true);
  const struct {
    const char* terms;
    const char* visible;
  } cases[] = {
      {"", "AMP-1 R-15 R-22"},       {"rohr bogen", "R-15 R-22"}, {"& <dn", "R-15"},
      {"bogen kupfer", "R-15"},      {"r-22 stahl", "R-22"},      {"amp", "AMP-1"},
      {"15> kupfer", "R-15"},        {"rohr messing", ""},
  };
  for (const auto& c : cases) {
    db.SetSearchTerms(QString::fromUtf8(c.terms));
    EXPECT_EQ(Visible().join(u' '), QString::fromUtf8(c.visible)) << c.terms;
  }
}

TEST_F(Katalog2, EnumerationPassesEveryArticleOnceInTheActiveOrder) {
  Store(QStringLiteral("C"), 1);
  Store(QStringLiteral("A"), 3);
  Store(QStringLiteral("B"), 2);
  Store(QStringLiteral("D"), 2);
  EXPECT_EQ(Enumerated().join(u' '), QStringLiteral("A B C D"));
  db.SCatalog->SetIndexName(TKatalog2DB::kIndexEK);
  EXPECT_EQ(Enumerated().join(u' '), QStringLiteral("C B D A"));
  db.SetSearchTerms(QStringLiteral("A"));
  db.SCatalog->SetFiltered(true);
  EXPECT_EQ(Enumerated().size(), 4) << "a whole catalogue is taken over whatever the view shows";

  TKatalog2DB closed;
  EXPECT_TRUE(closed.ForEachArtikel([&](TKatalog2Artikel&) { ADD_FAILURE(); }));
}

TEST(Katalog2OldTable, AlterTablesAddsTheLaterColumnsAndKeepsRows) {
  QTemporaryDir dir;
  {
    TTdbDatabase database;
    database.SetLocation(dir.path() + QLatin1Char('/'));
    TTdbTable old(&database);
    old.SetTableName(QStringLiteral("SCATALOG"));
    using K = TdbFieldKind;
    const std::pair<const char*, K> columns[] = {{"ID", K::WideString}, {"EAN", K::WideString},
                                                 {"DESCRIPTION", K::WideString}, {"ME", K::WideString},
                                                 {"MINDBESTMENGE", K::Float}, {"EK", K::Float}};
    for (const auto& [name, kind] : columns) old.FieldDefs().Add(QLatin1String(name), kind, kind == K::WideString ? 50 : 0);
    old.IndexDefs().Add(QStringLiteral("SCATALOG001"), QStringLiteral("ID"), ixPrimary | ixUnique);
    old.CreateTable();
    database.Connect();
    old.SetIndexName(QStringLiteral("SCATALOG001"));
    old.Open();
    old.Append();
    old.FieldByName(QStringLiteral("ID")).SetAsString(QStringLiteral("ALT"));
    old.FieldByName(QStringLiteral("DESCRIPTION")).SetAsString(QStringLiteral("Alter Artikel"));
    old.FieldByName(QStringLiteral("EK")).SetAsFloat(8);
    old.Post();
  }
  QStringList errors;
  TKatalog2DB db([&](const std::exception* e, const QString& message) {
    errors << message + u' ' + QString::fromUtf8(e ? e->what() : "");
  });
  db.Open(dir.path());
  TKatalog2Artikel a;
  a.ID = QStringLiteral("ALT");
  ASSERT_EQ(db.GetObject(a), 0) << "an old table is read as it is";
  EXPECT_EQ(a.PreisEinheit, 1);
  ASSERT_EQ(db.AlterTables(), 0) << errors.join(u'\n').toStdString();
  db.SCatalog->ReadDefinitions();
  QStringList names;
  for (const TTdbFieldDef& def : db.SCatalog->FieldDefs().Items()) names << def.Name;
  EXPECT_EQ(names.size(), 37);
  EXPECT_EQ(names.mid(5, 3).join(u' '), QStringLiteral("EK MWSTSATZ RABATT"));
  EXPECT_EQ(names.last(), QStringLiteral("WARENGR"));
  a.Clear();
  a.ID = QStringLiteral("ALT");
  ASSERT_EQ(db.GetObject(a), 0);
  EXPECT_EQ(a.Description, QStringLiteral("Alter Artikel"));
  EXPECT_EQ(a.EK, 8);
  a.Rabatt = 50;
  ASSERT_EQ(db.SetObject(a), 0) << "the upgraded table takes every column";
  EXPECT_EQ(db.AlterTables(), -1) << "nothing left to add";
  EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST(DemoSupplierCatalogue, HoldsTheReferencedArticlesWithValidEANs) {
  QTemporaryDir dir;
  QString error;
  QList<QPair<QString, QString>> texts;
  ASSERT_TRUE(FillDemoSupplierCatalogue(dir.path() + QStringLiteral("/LIEFERANT_MEIER"), 400, &error, &texts))
      << error.toStdString();
  ASSERT_EQ(texts.size(), 400);
  TKatalog2DB db;
  db.Open(dir.path() + QStringLiteral("/LIEFERANT_MEIER"));
  EXPECT_TRUE(db.SCatalog->HasIndex(TKatalog2DB::kIndexEAN)) << "made with the data";
  QSet<QString> ids, eans;
  int withImages = 0, special = 0;
  ASSERT_TRUE(db.ForEachArtikel([&](TKatalog2Artikel& a) {
    ids << a.ID, eans << a.EAN;
    EXPECT_EQ(a.EAN.size(), 13);
    EXPECT_EQ(a.EAN.right(1).toInt(), Gtin13CheckDigit(a.EAN.left(12))) << a.EAN.toStdString();
    EXPECT_GT(a.VKPreis[4], 0);
    withImages += !a.Images.IsEmpty(), special += a.MEKalkulationSpezial;
  }));
  EXPECT_EQ(ids.size(), 400);
  EXPECT_EQ(eans.size(), 400);
  EXPECT_GT(withImages, 0);
  EXPECT_GT(special, 0);
  EXPECT_EQ(Gtin13CheckDigit(QStringLiteral("400638133393")), 1);
  for (const char* id : {"M-10234", "M-10877", "M-20015"}) EXPECT_TRUE(ids.contains(QLatin1String(id))) << id;
  TKatalog2Artikel a;
  a.ID = QStringLiteral("M-10234");
  ASSERT_EQ(db.GetObject(a), 0);
  EXPECT_EQ(a.Description, QStringLiteral("Installationsblock Waschtisch"));
  EXPECT_EQ(texts.first().second, a.Description + u' ' + a.KurzText);
}
