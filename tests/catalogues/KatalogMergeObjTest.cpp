// The transfer record from each kind of article, the enumerations that build
// it, and the clipboard of a selection.
#include <QDir>
#include <QFileInfo>
#include <QLocale>
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
// Every field in declaration order, prices in ten-thousandths, so that one
// comparison shows what differs.
QStringList Fields(const TKatalogDBClipBoardMergeObj& r) {
  auto n = [](double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); };
  auto c = [](Currency v) { return QString::number(v); };
  QStringList prices, attachments;
  for (Currency price : r.VKPreis) prices << c(price);
  for (const TDoubleString& a : r.Anbindungen) attachments << a.First + u'|' + a.Second;
  return {r.ArtikelNr, r.EAN, r.Katalog, n(r.KatalogTyp), r.Beschreibung, r.Kurzzeilen.First + u'|' + r.Kurzzeilen.Second,
          n(r.MwSt), n(r.MwStSatz), c(r.PreisBasis), n(r.Rabatt), r.Rabattgruppe, c(r.EKPreis),
          n(r.VKZuschlag), n(r.PreisEinheit), prices.join(u' '), n(r.MindestMenge), r.ME, r.Kurztext, r.Langtext,
          n(r.Arbeitszeit), attachments.join(u','), r.Text1, r.Text2};
}

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
  QString Dir(const QString& name) const { return dir_.path() + QStringLiteral("/KATALOGE/") + name + u'/'; }

  QTemporaryDir dir_;
};

std::unique_ptr<TLagerServerObj> WarehouseArticle() {
  auto a = std::make_unique<TLagerServerObj>();
  a->LagerArtikelNr = "L-1", a->EAN = "4006381333931", a->Katalog = "SONEPAR", a->Bezeichnung = "Kabel NYM-J";
  a->MwStSatz = 3, a->EKPreis = 123456, a->VKZuschlag = 1.35, a->Pe = 100, a->Vkp = {20, 19, 18, 17, 16};
  a->ME = "m", a->Az = 0.25, a->Kt = "kurz", a->Lt = "lang", a->Rabattgruppen = "K1";
  a->Images.Add("front", "kabel.png");
  return a;
}

// EK 100, discount 25 %, sales factor 1.5.
void FillSupplierArticle(TKatalog2Artikel& a, const QString& id) {
  a.Clear();
  a.ID = id, a.EAN = "4012345000017", a.Description = "Waschtisch", a.ME = "Stk", a.MwStSatz = 1, a.EK = 100;
  a.Rabatt = 25, a.VKZuschlag = 1.5, a.RabattGruppe = "MEI", a.MindBestMenge = 5, a.PreisEinheit = 10;
  a.Arbeitszeit = 0.5, a.VKPreis = {0, 13, 12, 11, 10}, a.Zusatztext1 = "eins", a.Zusatztext2 = "zwei";
  a.Images.Add("Produkt", "wt.jpg");
}

const QStringList kResetFields = Fields(TKatalogDBClipBoardMergeObj());
}  // namespace

TEST_F(TransferRecord, FromAWarehouseArticleAndResetAgain) {
  TKatalogDBClipBoardMergeObj r;
  r.Kurztext = "vorher", r.Anbindungen.Add("alt", "alt.png");
  r.AssignFromLagerServerObj(*WarehouseArticle());
  EXPECT_EQ(Fields(r), QStringList({"L-1", "4006381333931", "LAGER", "4", "Kabel NYM-J", "|", "7", "3", "123456", "0",
                                    "", "123456", "1.35", "100", "20 19 18 17 16", "1", "m", "", "", "0.25",
                                    "front|kabel.png", "", ""}));
  r.Reset();
  EXPECT_EQ(Fields(r), QStringList({"", "", "", "3", "", "|", "0", "0", "0", "0", "", "0", "1", "1", "0 0 0 0 0", "1",
                                    "", "", "", "0", "", "", ""}));
}

TEST_F(TransferRecord, CurrencyRoundingAtTwoOrFourDecimals) {
  const struct {
    double amount;
    Currency two, four;
  } cases[] = {{1.005, 10100, 10050}, {-1.005, -10100, -10050}, {2.34565, 23500, 23457}, {0.12344, 1200, 1234}};
  for (const auto& c : cases) {
    Settings().FullCurrency = false;
    EXPECT_EQ(RoundedCurrency(c.amount), c.two) << c.amount;
    Settings().FullCurrency = true;
    EXPECT_EQ(RoundedCurrency(c.amount), c.four) << c.amount;
  }
}

TEST_F(TransferRecord, ClipboardComparesAndDescribesCatalogueArticlesOnly) {
  TKatalogDBClipBoard clipboard;
  clipboard.Add(WarehouseArticle());
  auto* material = static_cast<TKatalog1Artikel*>(clipboard.Add(std::make_unique<TKatalog1Artikel>()));
  material->ID = "M-1", material->Katalog = "SHK", material->KURZZEILE1 = "Rohr", material->KURZZEILE2 = "15";
  auto* supplier = static_cast<TKatalog2Artikel*>(clipboard.Add(std::make_unique<TKatalog2Artikel>()));
  FillSupplierArticle(*supplier, "M-2");
  supplier->Katalog = "MEIER";
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

  EXPECT_FALSE(clipboard.ContainsID("L-1"));
  EXPECT_FALSE(clipboard.ContainsID(""));
  EXPECT_FALSE(clipboard.ContainsID("m-1"));
  EXPECT_TRUE(clipboard.ContainsID("M-1") && clipboard.ContainsID("M-2"));
  QStringList rows, kinds;
  for (int i = 0; i < clipboard.Count(); ++i) {
    rows << clipboard.GetKatalog(i) + u':' + clipboard.GetID(i) + u':' + clipboard.GetDescription(i);
    kinds << QString::number(clipboard.GetMergeObj(i)->KatalogTyp);
  }
  EXPECT_EQ(rows, QStringList({"::", "SHK:M-1:Rohr 15", "MEIER:M-2:Waschtisch", "::"}));
  EXPECT_EQ(kinds, QStringList({"4", "1", "0", "3"}));
  EXPECT_EQ(Fields(*clipboard.GetMergeObj(3)), kResetFields);
}

TEST_F(TransferRecord, SupplierArticlesThroughTheEnumerationInIndexOrder) {
  TKatalog2DB db;
  db.Open(Dir("MEIER"));
  TKatalog2Artikel a;
  for (const char* id : {"M-3", "M-1", "M-2"}) {
    FillSupplierArticle(a, QLatin1String(id));
    ASSERT_EQ(db.SetObject(a), 0);
  }
  QList<QStringList> records;
  ASSERT_TRUE(ForEachMergeObj(db, "MEIER", [&](TKatalogDBClipBoardMergeObj& r) { records << Fields(r); }));
  ASSERT_EQ(records.size(), 3);
  // Net 75, sales price 1 112.5; no texts: the description; the further texts are not stored.
  EXPECT_EQ(records[0], QStringList({"M-1", "4012345000017", "MEIER", "0", "Waschtisch", "|", "19", "1", "1000000",
                                     "25", "MEI", "750000", "1.5", "10", "1125000 13 12 11 10", "5", "Stk",
                                     "Waschtisch", "Waschtisch", "0", "Produkt|wt.jpg", "", ""}));
  EXPECT_EQ(records[1][0] + records[2][0], "M-2M-3");
}

TEST_F(TransferRecord, SupplierArticleInItsSpecialUnit) {
  TKatalog2Artikel a;
  FillSupplierArticle(a, "M-9");
  a.KurzText = "kurz", a.LangText = "lang", a.MEKalkulationSpezial = true, a.MEKalkulation = "lfm";
  a.MEKalkulationUmrechFakt = 2.5, a.EK = 10.01, a.Rabatt = 10, a.VKZuschlag = 1.3, a.VKPreis = {0, 123400, 0, 0, 10};
  const struct {
    bool full;
    const char *basis, *purchase, *prices;
  } cases[] = {{false, "250300", "225300", "292900 308500 0 0 0"}, {true, "250250", "225225", "292793 308500 0 0 25"}};
  for (const auto& c : cases) {
    Settings().FullCurrency = c.full;
    TKatalogDBClipBoardMergeObj r;
    r.AssignFromKatalog2Artikel(a);
    const QStringList f = Fields(r);
    EXPECT_EQ(QStringList({f[8], f[11], f[14], f[16], f[17], f[18], f[21], f[22]}),
              QStringList({c.basis, c.purchase, c.prices, "lfm", "kurz", "lang", "eins", "zwei"}));
  }
}

TEST_F(TransferRecord, PoolOpensACatalogueOnlyWhereItsTableIs) {
  {
    TKatalog2DB db;
    db.Open(Dir("MEIER"));
    TKatalog2Artikel a;
    FillSupplierArticle(a, "M-1");
    ASSERT_EQ(db.SetObject(a), 0);
  }
  ASSERT_TRUE(QDir().mkpath(Dir("MATERIAL")));
  WriteFileBytes(Dir("MATERIAL") + "CATALOG.DAT", QByteArray());
  TKatalogDBPool pool(dir_.path() + "/KATALOGE", dir_.path() + "/LAGER", {});
  QStringList records;
  auto collect = [&](TKatalogDBClipBoardMergeObj& r) { records << r.Katalog + u':' + r.ArtikelNr; };
  ASSERT_TRUE(ForEachMergeObj(*pool.GetItemByName("meier", false), collect));
  ASSERT_TRUE(ForEachMergeObj(*pool.Items[0], collect));  // the warehouse passes nothing
  EXPECT_EQ(records, QStringList({"MEIER:M-1"}));
  EXPECT_NE(dynamic_cast<TKatalog2DB*>(pool.GetDBByName("MEIER", false)), nullptr);
  // Without SUPPLIER.INI the material catalogue's item is of kind 0: refused, not made a supplier catalogue.
  EXPECT_THROW(pool.GetDBByName("MATERIAL", false), Exception);
  EXPECT_FALSE(QFileInfo::exists(Dir("MATERIAL") + "SCATALOG.DAT"));
}

namespace {
// A material catalogue with a discount group with surcharge, one without,
// and a net-price band of 20 % up to 100.
class MaterialCatalogue : public TransferRecord {
 protected:
  void SetUp() override {
    TransferRecord::SetUp();
    db_.Open(Dir("SHK"));
    ASSERT_TRUE(db_.Rabatt_SetGruppe("G5", "mit Zuschlag", 30, 5));
    ASSERT_TRUE(db_.Rabatt_SetGruppe("G0", "ohne Zuschlag", 30, 0));
    ASSERT_TRUE(db_.Verkauf_SetAufschlag(100, 20));
  }
  void Store(const QString& id, Currency netto, const QString& group,
             const std::function<void(TKatalog1Artikel&)>& more = {}) {
    TKatalog1Artikel a;
    a.ID = id, a.KURZZEILE1 = "Kupferrohr", a.KURZZEILE2 = "15x1", a.NETTO = netto, a.RABATTGR = group, a.ME = "m";
    if (more) more(a);
    ASSERT_TRUE(db_.Artikel_SetObject(a));
  }
  // The single-article path: the article read completely, then its record.
  QStringList Single(const QString& id) {
    TKatalog1Artikel a;
    a.ID = id;
    EXPECT_EQ(db_.Artikel_GetObject(a), 0);
    a.Katalog = "SHK";
    TKatalogDBClipBoardMergeObj record;
    record.AssignFromKatalog1Artikel(a);
    return Fields(record);
  }

  TKatalog1DB db_;
};
}  // namespace

TEST_F(MaterialCatalogue, ListPricedArticleWithGroupSurchargeAndAttachments) {
  Store("A-1", 123400, "G5", [](TKatalog1Artikel& a) {
    a.EAN = "4011223300007", a.LISTENPREIS = 200000, a.RABATT = 38.5, a.PREISKZ = 1, a.PREISEINHEIT = 100;
    a.VKPREIS2 = 18, a.VKPREIS3 = 17, a.VKPREIS4 = 16, a.VKPREIS5 = 15, a.MWSTMERKER = 2, a.ARBEITSZEIT = 0.5;
    a.LANGTEXTNR = "LT1", a.Langtext = "Lang", a.ANBINDNR = "B1";
    for (const char* description : {"Foto", ""}) {
      auto* o = a.AnbindObjekte.Add(std::make_unique<TKatalog1AnbindObj>());
      o->ID = a.ANBINDNR, o->Dateiname = "rohr", o->Erweiterung = "jpg", o->Beschreibung = description;
    }
  });
  // List price as basis, yet NETTO as purchase price; sales price 1 is 12.34 + 5 %.
  EXPECT_EQ(Single("A-1"), QStringList({"A-1", "4011223300007", "SHK", "1", "Kupferrohr 15x1", "Kupferrohr|15x1",
                                        "16", "2", "200000", "38.5", "", "123400", "1", "100", "129600 18 17 16 15",
                                        "0", "m", "Kupferrohr 15x1", "Lang", "0.5", "B1 Foto|rohr.jpg,B1|rohr.jpg",
                                        "", ""}));
}

TEST_F(MaterialCatalogue, SalesPrice1FromGroupOrBandForOneArticleNetInTheEnumeration) {
  const struct {
    const char* id;
    Currency netto;
    const char* group;
    Currency two, four;
  } cases[] = {{"A-1", 123400, "G5", 129600, 129570},    // the group's 5 %
               {"A-2", 500000, "G0", 600000, 600000},    // the group has none: the band's 20 %
               {"A-3", 1000000, "", 1200000, 1200000},   // on the band's bound
               {"A-4", 1000100, "", 1000100, 1000100}};  // above every band
  for (const auto& c : cases) Store(c.id, c.netto, c.group);
  for (bool full : {false, true}) {
    Settings().FullCurrency = full;
    for (const auto& c : cases) EXPECT_EQ(Single(c.id)[14].section(u' ', 0, 0).toLongLong(), full ? c.four : c.two);
    QStringList order;
    ASSERT_TRUE(ForEachMergeObj(db_, "SHK", [&](TKatalogDBClipBoardMergeObj& r) {
      order << r.ArtikelNr;
      EXPECT_EQ(r.VKPreis[0], r.EKPreis) << r.ArtikelNr.toStdString();
      EXPECT_EQ(r.Katalog + u':' + r.Langtext, "SHK:Kupferrohr 15x1");  // no long text: the short text
    }));
    EXPECT_EQ(order, QStringList({"A-1", "A-2", "A-3", "A-4"}));
  }
}

TEST_F(MaterialCatalogue, ArticleInItsSpecialUnit) {
  Store("S-1", 300700, "G5", [](TKatalog1Artikel& a) {
    a.RABATT = 10, a.VKPREIS2 = 451100, a.MEKALKULATIONSPEZIAL = true, a.MEKALKULATION = "lfm";
    a.MEKALKULATIONUMRECHFAKT = 0.2;
  });
  // Sales price 1 is the purchase price: no surcharge in the special unit.
  const struct {
    bool full;
    const char *basis, *purchase, *prices;
  } cases[] = {{false, "60100", "54100", "54100 90200 0 0 0"}, {true, "60140", "54126", "54126 90220 0 0 0"}};
  for (const auto& c : cases) {
    Settings().FullCurrency = c.full;
    const QStringList f = Single("S-1");
    EXPECT_EQ(QStringList({f[8], f[11], f[14], f[16]}), QStringList({c.basis, c.purchase, c.prices, "lfm"}));
  }
}

TEST_F(MaterialCatalogue, PoolOpensTheMaterialCatalogueByItsSupplierIni) {
  TUKATKatalogAuswahlItem entry;
  entry.KatalogTyp = katalogtyp::Datanorm;
  ASSERT_TRUE(entry.WriteToDirectory(Dir("SHK")));
  Store("A-1", 123400, "G5");
  TKatalogDBPool pool(dir_.path() + "/KATALOGE", dir_.path() + "/LAGER", {});
  QStringList ids;
  ASSERT_TRUE(ForEachMergeObj(*pool.GetItemByName("SHK", false),
                              [&](TKatalogDBClipBoardMergeObj& r) { ids << r.Katalog + u':' + r.ArtikelNr; }));
  EXPECT_EQ(ids, QStringList({"SHK:A-1"}));
  EXPECT_NE(dynamic_cast<TKatalog1DB*>(pool.GetDBByName("SHK", false)), nullptr);
}
