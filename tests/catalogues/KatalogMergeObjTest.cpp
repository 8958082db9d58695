// The transfer record from each kind of article, and the clipboard of a selection.
#include <QTemporaryDir>

#include "KatalogDBClipBoard.h"
#include "KatalogTypes.h"
#include "LagerServerObj.h"
#include "TestSupport.h"
#include "TypeUnit.h"

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
  ExpectReset(*clipboard.GetMergeObj(1));
}
