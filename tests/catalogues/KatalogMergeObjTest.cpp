// The transfer record from each kind of article, and the clipboard of a selection.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Katalog1DB.h"
#include "Katalog2DB.h"
#include "KatalogDBClipBoard.h"
#include "KatalogDBPool.h"
#include "KatalogMergeEnumeration.h"
#include "KatalogTypes.h"
#include "LagerServerObj.h"
#include "TestSupport.h"
#include "TypeUnit.h"
#include "UKAT.h"

namespace {
// Process-wide settings with VAT rates, as the start-up makes them.
class TransferRecord : public testing::Test {
 protected:
  void SetUp() override {
    FinalizeSystem();
    ASSERT_TRUE(InitSystemFor(dir_.path() + QStringLiteral("/BIN/MOD00100"), 1));
    Settings().MwStNorm = 19, Settings().MwStErh = 16, Settings().MwStRed = 7;
  }
  void TearDown() override { FinalizeSystem(); }
  static TSystemEinstellungen& Settings() { return *SystemEinstellungen(); }
  QString CatalogueDir(const QString& name) const { return dir_.path() + QStringLiteral("/KATALOGE/") + name + u'/'; }

  QTemporaryDir dir_;
};

std::unique_ptr<TLagerServerObj> WarehouseArticle(const QString& nr) {
  auto a = std::make_unique<TLagerServerObj>();
  a->LagerArtikelNr = nr, a->EAN = QStringLiteral("4006381333931"), a->Katalog = QStringLiteral("SONEPAR");
  a->Bezeichnung = QStringLiteral("Kabel NYM-J 3x1,5"), a->MwStSatz = 3, a->EKPreis = 123456, a->VKZuschlag = 1.35;
  a->Pe = 100, a->Vkp = {200000, 190000, 180000, 170000, 160000}, a->ME = QStringLiteral("m"), a->Az = 0.25;
  a->Kt = QStringLiteral("kurz"), a->Lt = QStringLiteral("lang");
  a->Images.Add(QStringLiteral("front"), QStringLiteral("kabel.png"));
  return a;
}

QStringList Pairs(const TDoubleStringListObjectList& list) {
  QStringList pairs;
  for (const TDoubleString& entry : list) pairs.append(entry.First + u'|' + entry.Second);
  return pairs;
}

// A supplier catalogue article: EK 100, discount 25 %, sales factor 1.5.
void FillSupplierArticle(TKatalog2Artikel& a, const QString& id) {
  a.Clear();
  a.ID = id, a.EAN = QStringLiteral("4012345000017"), a.Description = QStringLiteral("Waschtisch 60 cm");
  a.ME = QStringLiteral("Stk"), a.MwStSatz = 1, a.EK = 100, a.Rabatt = 25, a.VKZuschlag = 1.5;
  a.RabattGruppe = QStringLiteral("MEI-SAN"), a.MindBestMenge = 5, a.PreisEinheit = 10, a.Arbeitszeit = 0.5;
  a.VKPreis = {0, 1300000, 1200000, 1100000, 1000000};
  a.Images.Add(QStringLiteral("Produkt"), QStringLiteral("wt60.jpg"));
  a.Zusatztext1 = QStringLiteral("eins"), a.Zusatztext2 = QStringLiteral("zwei");
}

// A material catalogue with a discount group with surcharge, one without,
// and a net-price band of 20 % up to 100.
class MaterialCatalogue : public testing::Test {
 protected:
  void SetUp() override {
    FinalizeSystem();
    ASSERT_TRUE(InitSystemFor(dir_.path() + QStringLiteral("/BIN/MOD00100"), 1));
    SystemEinstellungen()->MwStErh = 16;
    db_.Open(dir_.path() + QStringLiteral("/SHK"));
    ASSERT_TRUE(db_.Rabatt_SetGruppe(QStringLiteral("G5"), QStringLiteral("mit Zuschlag"), 30, 5));
    ASSERT_TRUE(db_.Rabatt_SetGruppe(QStringLiteral("G0"), QStringLiteral("ohne Zuschlag"), 30, 0));
    ASSERT_TRUE(db_.Verkauf_SetAufschlag(100, 20));
  }
  void TearDown() override { FinalizeSystem(); }
  void Store(const QString& id, Currency netto, const QString& group, const std::function<void(TKatalog1Artikel&)>& more = {}) {
    TKatalog1Artikel a;
    a.ID = id, a.KURZZEILE1 = QStringLiteral("Kupferrohr 15x1"), a.KURZZEILE2 = QStringLiteral("halbhart");
    a.NETTO = netto, a.RABATTGR = group, a.ME = QStringLiteral("m");
    if (more) more(a);
    ASSERT_TRUE(db_.Artikel_SetObject(a));
  }
  // The single-article path: the article read completely, then its record.
  std::unique_ptr<TKatalogDBClipBoardMergeObj> Single(const QString& id) {
    TKatalog1Artikel a;
    a.ID = id;
    EXPECT_EQ(db_.Artikel_GetObject(a), 0);
    a.Katalog = QStringLiteral("SHK");
    auto record = std::make_unique<TKatalogDBClipBoardMergeObj>();
    record->AssignFromKatalog1Artikel(a);
    return record;
  }

  QTemporaryDir dir_;
  TKatalog1DB db_;
};

void ExpectReset(const TKatalogDBClipBoardMergeObj& r) {
  EXPECT_TRUE(r.ArtikelNr.isEmpty() && r.EAN.isEmpty() && r.Katalog.isEmpty() && r.Beschreibung.isEmpty());
  EXPECT_EQ(r.KatalogTyp, katalogtyp::Unbekannt);
  EXPECT_TRUE(r.Kurzzeilen.First.isEmpty() && r.Kurzzeilen.Second.isEmpty());
  EXPECT_EQ(r.MwSt, 0);
  EXPECT_EQ(r.MwStSatz, 0);
  EXPECT_EQ(r.PreisBasis, 0);
  EXPECT_EQ(r.Rabatt, 0);
  EXPECT_EQ(r.EKPreis, 0);
  EXPECT_EQ(r.VKZuschlag, 1);
  EXPECT_EQ(r.PreisEinheit, 1);
  EXPECT_EQ(r.VKPreis, (std::array<Currency, 5>{}));
  EXPECT_EQ(r.MindestMenge, 1);
  EXPECT_TRUE(r.Rabattgruppe.isEmpty() && r.ME.isEmpty() && r.Kurztext.isEmpty() && r.Langtext.isEmpty());
  EXPECT_EQ(r.Arbeitszeit, 0);
  EXPECT_TRUE(r.Anbindungen.IsEmpty() && r.Text1.isEmpty() && r.Text2.isEmpty());
}
}  // namespace

TEST_F(TransferRecord, FromAWarehouseArticle) {
  TKatalogDBClipBoardMergeObj r;
  r.Rabattgruppe = QStringLiteral("vorher"), r.Kurztext = QStringLiteral("vorher");
  r.Anbindungen.Add(QStringLiteral("alt"), QStringLiteral("alt.png"));
  r.AssignFromLagerServerObj(*WarehouseArticle(QStringLiteral("L-1")));
  EXPECT_EQ(r.ArtikelNr, "L-1");
  EXPECT_EQ(r.EAN, "4006381333931");
  EXPECT_EQ(r.Katalog, "LAGER");
  EXPECT_EQ(r.KatalogTyp, katalogtyp::Lager);
  EXPECT_EQ(r.Beschreibung, "Kabel NYM-J 3x1,5");
  EXPECT_EQ(r.MwSt, 7);
  EXPECT_EQ(r.MwStSatz, 3);
  EXPECT_EQ(r.PreisBasis, 123456);
  EXPECT_EQ(r.EKPreis, 123456);
  EXPECT_EQ(r.Rabatt, 0);
  EXPECT_EQ(r.VKZuschlag, 1.35);
  EXPECT_EQ(r.PreisEinheit, 100);
  EXPECT_EQ(r.VKPreis, (std::array<Currency, 5>{200000, 190000, 180000, 170000, 160000}));
  EXPECT_EQ(r.MindestMenge, 1);
  EXPECT_EQ(r.ME, "m");
  EXPECT_EQ(r.Arbeitszeit, 0.25);
  EXPECT_EQ(Pairs(r.Anbindungen), QStringList({"front|kabel.png"}));
  // What a warehouse article does not carry stays reset.
  EXPECT_TRUE(r.Rabattgruppe.isEmpty() && r.Kurztext.isEmpty() && r.Langtext.isEmpty() && r.Text1.isEmpty());
  r.Reset();
  ExpectReset(r);
}

TEST_F(TransferRecord, CurrencyRoundingFollowsFullCurrency) {
  struct Case {
    double amount;
    Currency two, four;
  };
  const Case cases[] = {{1.005, 10100, 10050}, {-1.005, -10100, -10050}, {2.34565, 23500, 23457},
                        {0.12344, 1200, 1234}, {112.5, 1125000, 1125000}};
  for (const Case& c : cases) {
    Settings().FullCurrency = false;
    EXPECT_EQ(RoundedCurrency(c.amount), c.two) << c.amount;
    Settings().FullCurrency = true;
    EXPECT_EQ(RoundedCurrency(c.amount), c.four) << c.amount;
  }
}

TEST_F(TransferRecord, ClipboardComparesAndDescribesCatalogueArticlesOnly) {
  TKatalogDBClipBoard clipboard;
  clipboard.Add(WarehouseArticle(QStringLiteral("L-1")));
  EXPECT_FALSE(clipboard.ContainsID("L-1"));
  auto* material = static_cast<TKatalog1Artikel*>(clipboard.Add(std::make_unique<TKatalog1Artikel>()));
  material->ID = QStringLiteral("M-1"), material->Katalog = QStringLiteral("SHK");
  material->KURZZEILE1 = QStringLiteral("Rohr"), material->KURZZEILE2 = QStringLiteral("15");
  EXPECT_TRUE(clipboard.ContainsID("M-1"));
  EXPECT_EQ(clipboard.GetDescription(1), "Rohr 15");
  EXPECT_EQ(clipboard.GetMergeObj(1)->KatalogTyp, katalogtyp::Datanorm);
  clipboard.Delete(1);
  auto* supplier = static_cast<TKatalog2Artikel*>(clipboard.Add(std::make_unique<TKatalog2Artikel>()));
  FillSupplierArticle(*supplier, QStringLiteral("M-1"));
  supplier->Katalog = QStringLiteral("MEIER");
  EXPECT_TRUE(clipboard.ContainsID("M-1"));
  EXPECT_FALSE(clipboard.ContainsID("m-1"));
  EXPECT_EQ(clipboard.GetID(1), "M-1");
  EXPECT_EQ(clipboard.GetKatalog(1), "MEIER");
  EXPECT_EQ(clipboard.GetDescription(1), "Waschtisch 60 cm");
  EXPECT_EQ(clipboard.GetMergeObj(1)->KatalogTyp, katalogtyp::Einfach);
  EXPECT_FALSE(clipboard.ContainsID(""));
  EXPECT_TRUE(clipboard.GetID(0).isEmpty() && clipboard.GetKatalog(0).isEmpty() && clipboard.GetDescription(0).isEmpty());
  EXPECT_EQ(clipboard.GetMergeObj(0)->ArtikelNr, "L-1");

  class OtherKind : public TDBXMLCoreObject {
   public:
    void Clear() override {}

   protected:
    void StartElement(const QString&, const QString&, const QString&, const SaxAttributes&) override {}
    void Characters(QStringView) override {}
    void EndElement(const QString&, const QString&, const QString&) override {}
    void WriteXML(bool) override {}
  };
  clipboard.Add(std::make_unique<OtherKind>());
  ExpectReset(*clipboard.GetMergeObj(2));
}

TEST_F(TransferRecord, FromASupplierCatalogueArticleThroughTheEnumeration) {
  TKatalog2DB db;
  db.Open(CatalogueDir(QStringLiteral("MEIER")));
  TKatalog2Artikel a;
  for (const char* id : {"M-3", "M-1", "M-2"}) {
    FillSupplierArticle(a, QLatin1String(id));
    ASSERT_EQ(db.SetObject(a), 0);
  }
  QStringList order;
  ASSERT_TRUE(ForEachMergeObj(db, QStringLiteral("MEIER"), [&](TKatalogDBClipBoardMergeObj& r) {
    order << r.ArtikelNr;
    if (r.ArtikelNr != "M-1") return;
    EXPECT_EQ(r.EAN, "4012345000017");
    EXPECT_EQ(r.Katalog, "MEIER");
    EXPECT_EQ(r.KatalogTyp, katalogtyp::Einfach);
    EXPECT_EQ(r.Beschreibung, "Waschtisch 60 cm");
    EXPECT_TRUE(r.Kurzzeilen.First.isEmpty() && r.Kurzzeilen.Second.isEmpty());
    EXPECT_EQ(r.MwSt, 19);
    EXPECT_EQ(r.MwStSatz, 1);
    EXPECT_EQ(r.PreisBasis, 1000000);
    EXPECT_EQ(r.Rabatt, 25);
    EXPECT_EQ(r.Rabattgruppe, "MEI-SAN");
    EXPECT_EQ(r.EKPreis, 750000);
    EXPECT_EQ(r.VKZuschlag, 1.5);
    EXPECT_EQ(r.PreisEinheit, 10);
    EXPECT_EQ(r.VKPreis, (std::array<Currency, 5>{1125000, 1300000, 1200000, 1100000, 1000000}));
    EXPECT_EQ(r.MindestMenge, 5);
    EXPECT_EQ(r.ME, "Stk");
    EXPECT_EQ(r.Kurztext, "Waschtisch 60 cm");  // no short text: the description
    EXPECT_EQ(r.Langtext, "Waschtisch 60 cm");  // no long text: the short text
    EXPECT_EQ(r.Arbeitszeit, 0);
    EXPECT_EQ(Pairs(r.Anbindungen), QStringList({"Produkt|wt60.jpg"}));
  }));
  EXPECT_EQ(order, QStringList({"M-1", "M-2", "M-3"}));
}

TEST_F(TransferRecord, SupplierArticleInItsSpecialUnitAtTwoAndFourDecimals) {
  TKatalog2Artikel a;
  FillSupplierArticle(a, QStringLiteral("M-9"));
  a.KurzText = QStringLiteral("kurz"), a.LangText = QStringLiteral("lang");
  a.MEKalkulationSpezial = true, a.MEKalkulation = QStringLiteral("m"), a.MEKalkulationUmrechFakt = 2.5;
  a.EK = 10.01, a.Rabatt = 10, a.VKZuschlag = 1.3, a.VKPreis = {0, 123400, 0, 0, 10};
  struct Case {
    bool full;
    Currency basis, purchase, vk1, vk2, vk5;
  };
  const Case cases[] = {{false, 250300, 225300, 292900, 308500, 0}, {true, 250250, 225225, 292793, 308500, 25}};
  for (const Case& c : cases) {
    Settings().FullCurrency = c.full;
    TKatalogDBClipBoardMergeObj r;
    r.AssignFromKatalog2Artikel(a);
    EXPECT_EQ(r.ME, "m");
    EXPECT_EQ(r.Kurztext, "kurz");
    EXPECT_EQ(r.Langtext, "lang");
    EXPECT_EQ(r.Text1 + r.Text2, "einszwei");
    EXPECT_EQ(r.PreisBasis, c.basis) << c.full;
    EXPECT_EQ(r.EKPreis, c.purchase) << c.full;
    EXPECT_EQ(r.VKPreis[0], c.vk1) << c.full;
    EXPECT_EQ(r.VKPreis[1], c.vk2) << c.full;
    EXPECT_EQ(r.VKPreis[4], c.vk5) << c.full;
  }
}

TEST_F(TransferRecord, PoolOpensASupplierCatalogueOnlyWhereItsTableIs) {
  {
    TKatalog2DB db;
    db.Open(CatalogueDir(QStringLiteral("MEIER")));
    TKatalog2Artikel a;
    FillSupplierArticle(a, QStringLiteral("M-1"));
    ASSERT_EQ(db.SetObject(a), 0);
  }
  ASSERT_TRUE(QDir().mkpath(CatalogueDir(QStringLiteral("MATERIAL"))));
  WriteFileBytes(CatalogueDir(QStringLiteral("MATERIAL")) + QStringLiteral("CATALOG.DAT"), QByteArray());
  TKatalogDBPool pool(dir_.path() + QStringLiteral("/KATALOGE"), dir_.path() + QStringLiteral("/LAGER"), {});
  QStringList records;
  ASSERT_TRUE(ForEachMergeObj(*pool.GetItemByName(QStringLiteral("meier"), false),
                              [&](TKatalogDBClipBoardMergeObj& r) { records << r.Katalog + u':' + r.ArtikelNr; }));
  EXPECT_EQ(records, QStringList({"MEIER:M-1"}));
  EXPECT_NE(dynamic_cast<TKatalog2DB*>(pool.GetDBByName(QStringLiteral("MEIER"), false)), nullptr);

  // Without SUPPLIER.INI the material catalogue's item is of kind 0: it is refused, not made a supplier catalogue.
  EXPECT_THROW(pool.GetDBByName(QStringLiteral("MATERIAL"), false), Exception);
  EXPECT_FALSE(QFileInfo::exists(CatalogueDir(QStringLiteral("MATERIAL")) + QStringLiteral("SCATALOG.DAT")));
  // The warehouse passes nothing.
  int warehouse = 0;
  EXPECT_TRUE(ForEachMergeObj(*pool.Items[0], [&](TKatalogDBClipBoardMergeObj&) { ++warehouse; }));
  EXPECT_EQ(warehouse, 0);
}

TEST_F(MaterialCatalogue, RecordOfAListPricedArticleWithGroupSurcharge) {
  Store(QStringLiteral("A-1"), 123400, QStringLiteral("G5"), [](TKatalog1Artikel& a) {
    a.EAN = QStringLiteral("4011223300007"), a.LISTENPREIS = 200000, a.RABATT = 38.3, a.PREISKZ = 1;
    a.PREISEINHEIT = 100, a.VKPREIS2 = 180000, a.VKPREIS3 = 170000, a.VKPREIS4 = 160000, a.VKPREIS5 = 150000;
    a.MWSTMERKER = 2, a.ARBEITSZEIT = 0.5, a.LANGTEXTNR = QStringLiteral("LT1"), a.Langtext = QStringLiteral("Lang");
    a.ANBINDNR = QStringLiteral("B1"), a.Zusatztext1 = QStringLiteral("eins");
    for (const char* description : {"Foto", ""}) {
      auto* o = a.AnbindObjekte.Add(std::make_unique<TKatalog1AnbindObj>());
      o->ID = a.ANBINDNR, o->Dateiname = QStringLiteral("rohr"), o->Erweiterung = QStringLiteral("jpg");
      o->Beschreibung = QLatin1String(description);
    }
  });
  const auto r = Single(QStringLiteral("A-1"));
  EXPECT_EQ(r->ArtikelNr, "A-1");
  EXPECT_EQ(r->EAN, "4011223300007");
  EXPECT_EQ(r->Katalog, "SHK");
  EXPECT_EQ(r->KatalogTyp, katalogtyp::Datanorm);
  EXPECT_EQ(r->Beschreibung, "Kupferrohr 15x1 halbhart");
  EXPECT_EQ(r->Kurzzeilen.First + u'|' + r->Kurzzeilen.Second, "Kupferrohr 15x1|halbhart");
  EXPECT_EQ(r->MwSt, 16);
  EXPECT_EQ(r->MwStSatz, 2);
  EXPECT_EQ(r->PreisBasis, 200000);  // the list price, yet ...
  EXPECT_EQ(r->EKPreis, 123400);     // ... NETTO as purchase price
  EXPECT_EQ(r->Rabatt, 38.3);
  EXPECT_TRUE(r->Rabattgruppe.isEmpty());
  EXPECT_EQ(r->VKZuschlag, 1);
  EXPECT_EQ(r->PreisEinheit, 100);
  EXPECT_EQ(r->VKPreis, (std::array<Currency, 5>{129600, 180000, 170000, 160000, 150000}));  // 12.34 + 5 %
  EXPECT_EQ(r->MindestMenge, 0);
  EXPECT_EQ(r->ME, "m");
  EXPECT_EQ(r->Kurztext, "Kupferrohr 15x1 halbhart");
  EXPECT_EQ(r->Langtext, "Lang");
  EXPECT_EQ(r->Arbeitszeit, 0.5);
  EXPECT_EQ(Pairs(r->Anbindungen), QStringList({"B1 Foto|rohr.jpg", "B1|rohr.jpg"}));
  EXPECT_TRUE(r->Text1.isEmpty());  // not stored with the article
}

TEST_F(MaterialCatalogue, SalesPrice1FromGroupOrBandInTheSingleArticlePathNetInTheEnumeration) {
  struct Case {
    const char* id;
    Currency netto;
    const char* group;
    Currency single2, single4;
  };
  const Case cases[] = {{"A-1", 123400, "G5", 129600, 129570},  // group surcharge 5 %
                        {"A-2", 500000, "G0", 600000, 600000},  // group without surcharge: the band's 20 %
                        {"A-3", 1000000, "", 1200000, 1200000},   // net price on the band's bound
                        {"A-4", 1000100, "", 1000100, 1000100}};  // above every band
  for (const Case& c : cases) Store(QLatin1String(c.id), c.netto, QLatin1String(c.group));
  for (bool full : {false, true}) {
    SystemEinstellungen()->FullCurrency = full;
    for (const Case& c : cases) EXPECT_EQ(Single(QLatin1String(c.id))->VKPreis[0], full ? c.single4 : c.single2) << c.id;
    QStringList order;
    ASSERT_TRUE(ForEachMergeObj(db_, QStringLiteral("SHK"), [&](TKatalogDBClipBoardMergeObj& r) {
      order << r.ArtikelNr;
      EXPECT_EQ(r.VKPreis[0], r.EKPreis) << r.ArtikelNr.toStdString();
      EXPECT_EQ(r.Katalog, "SHK");
      EXPECT_EQ(r.Langtext, "Kupferrohr 15x1 halbhart");  // no long text: the short text
    }));
    EXPECT_EQ(order, QStringList({"A-1", "A-2", "A-3", "A-4"}));
  }
}

TEST_F(MaterialCatalogue, ArticleInItsSpecialUnitAtTwoAndFourDecimals) {
  Store(QStringLiteral("S-1"), 300700, QStringLiteral("G5"), [](TKatalog1Artikel& a) {
    a.RABATT = 10, a.VKPREIS2 = 451100, a.MEKALKULATIONSPEZIAL = true, a.MEKALKULATION = QStringLiteral("lfm");
    a.MEKALKULATIONUMRECHFAKT = 0.2;
  });
  struct Case {
    bool full;
    Currency basis, purchase, vk2;
  };
  for (const Case& c : {Case{false, 60100, 54100, 90200}, Case{true, 60140, 54126, 90220}}) {
    SystemEinstellungen()->FullCurrency = c.full;
    const auto r = Single(QStringLiteral("S-1"));
    EXPECT_EQ(r->ME, "lfm");
    EXPECT_EQ(r->PreisBasis, c.basis) << c.full;
    EXPECT_EQ(r->EKPreis, c.purchase) << c.full;
    EXPECT_EQ(r->VKPreis[0], c.purchase) << c.full;  // no surcharge in the special unit
    EXPECT_EQ(r->VKPreis[1], c.vk2) << c.full;
  }
}

TEST_F(MaterialCatalogue, PoolOpensTheMaterialCatalogueByItsSupplierIni) {
  TUKATKatalogAuswahlItem entry;
  entry.KatalogTyp = katalogtyp::Datanorm;
  ASSERT_TRUE(entry.WriteToDirectory(dir_.path() + QStringLiteral("/SHK")));
  Store(QStringLiteral("A-1"), 123400, QStringLiteral("G5"));
  TKatalogDBPool pool(dir_.path(), dir_.path() + QStringLiteral("/LAGER"), {});
  QStringList ids;
  ASSERT_TRUE(ForEachMergeObj(*pool.GetItemByName(QStringLiteral("SHK"), false),
                              [&](TKatalogDBClipBoardMergeObj& r) { ids << r.Katalog + u':' + r.ArtikelNr; }));
  EXPECT_EQ(ids, QStringList({"SHK:A-1"}));
  EXPECT_NE(dynamic_cast<TKatalog1DB*>(pool.GetDBByName(QStringLiteral("SHK"), false)), nullptr);
}
