#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "Katalog1DB.h"
#include "NumberText.h"
#include "TestSupport.h"

namespace {
// Every field set to a value of its own; texts carry what XML must escape.
void FillComplete(TKatalog1Artikel& a, const QString& id) {
  a.ID = id, a.KURZZEILE1 = QStringLiteral("Kupferrohr <halbhart> & \"blank\""), a.KURZZEILE2 = QStringLiteral("5 m");
  a.TEXTKZ = 2, a.LISTENPREIS = 489000, a.RABATT = 38.5, a.NETTO = 300735, a.PREISKZ = 1, a.PREISEINHEIT = 100;
  a.LASTNETTO = 291713, a.LASTNETTOCHANGED = 45123.75;
  a.VKPREIS2 = 451103, a.VKPREIS3 = 427044, a.VKPREIS4 = 405992, a.VKPREIS5 = 375919;
  a.ME = QStringLiteral("Stg"), a.MEKALKULATIONSPEZIAL = true, a.MEKALKULATION = QStringLiteral("m");
  a.MEKALKULATIONUMRECHFAKT = 0.2, a.OBERFLAECHE = 0.235, a.VOLUMEN = 1.5e-6, a.ABWICKLUNG = 4.75, a.GEWICHT = 2.125;
  a.MATCHCODE = QStringLiteral("KUPFERROHR"), a.KATALOGSEITE = QStringLiteral("S0104"), a.RABATTGR = QStringLiteral("CU");
  a.HAUPTWARENGR = QStringLiteral("ROH"), a.WARENGR = QStringLiteral("ROHCU"), a.KOSTENART = QStringLiteral("Material Cu");
  a.ARBEITSZEIT = 0.5, a.ALTERNATIVARTIKELNRERSTELLER = QStringLiteral("GH-NORD"), a.ALTERNATIVARTIKELNR = QStringLiteral("N1");
  a.HERSTELLERNRERSTELLER = QStringLiteral("NORDTHERM"), a.HERSTELLERNR = QStringLiteral("00101-7");
  a.HERSTELLERTYPE = QStringLiteral("Kupferrohr 15x1"), a.REFERENZNRERSTELLER = QStringLiteral("REF"), a.REFERENZNR = QStringLiteral("R-9");
  a.EAN = QStringLiteral("4011223300007"), a.MWSTMERKER = 3, a.LAGERMERKER = 1, a.VERPACKUNGSMENGE = 10;
  a.LANGTEXTNR = id, a.ANBINDNR = QStringLiteral("B0001");
  a.Langtext = QStringLiteral("Zeile 1\r\nZeile 2 mit <Zeichen> & 'Apostroph'");
  auto* d = a.Dimensionslangtexte.Add(std::make_unique<TKatalog1Dimensionslangtext>());
  d->Typ = 3, d->Text = QStringLiteral("Abmessung \"a\""), d->EinfuegeText = QStringLiteral("15 < 22\nmm");
  auto* s = a.Staffelpreise.Add(std::make_unique<TKatalog1Staffelpreis>());
  s->Nr = 1, s->Text = QStringLiteral("ab 10"), s->ZusatzText = QStringLiteral("& mehr"), s->Za = 2, s->Pkz = 1;
  s->Preiseinheit = 100, s->Wert = 29.1725, s->Sam = 4, s->Bm = 5, s->MengeVon = 10, s->MengeBis = 49;
  s->GueltigVon = 45292.5, s->GueltigBis = 45657;
  a.Staffelpreise.Add(std::make_unique<TKatalog1Staffelpreis>())->Wert = -1.5;
  auto* r = a.Rohstoffe.Add(std::make_unique<TKatalog1Rohstoff>());
  r->RohstoffTyp = 1, r->Preiseinheit = 100, r->Rbm2bpb = 150.25, r->Rbm2fbpb = 2.5, r->Rbm2g = 0.39, r->Rbm2fg = 1e-7;
  auto* k = a.Sonderkosten.Add(std::make_unique<TKatalog1Sonderkosten>());
  k->Nr = 7, k->Bezeichnung = QStringLiteral("Fracht 'Insel'"), k->Wert = 12.5, k->Typ = 2;
  for (int i = 0; i < 2; ++i) {
    auto* o = a.AnbindObjekte.Add(std::make_unique<TKatalog1AnbindObj>());
    o->ID = a.ANBINDNR, o->IDTYPE = quint8(i), o->Dateiname = QStringLiteral("K0001_%1").arg(i);
    o->Erweiterung = i ? QStringLiteral("pdf") : QStringLiteral("jpg"), o->Beschreibung = QStringLiteral("Bild %1").arg(i);
  }
}

QString N(double value) { return FormatGeneralNumber(value); }

// Every field as text, so that a difference names the field.
QStringList Snapshot(const TKatalog1Artikel& a) {
  QStringList f = {a.ID, a.KURZZEILE1, a.KURZZEILE2, N(a.TEXTKZ), N(a.LISTENPREIS), N(a.RABATT), N(a.NETTO),
                   N(a.PREISKZ), N(a.PREISEINHEIT), N(a.LASTNETTO), N(a.LASTNETTOCHANGED), N(a.VKPREIS2),
                   N(a.VKPREIS3), N(a.VKPREIS4), N(a.VKPREIS5), a.ME, N(a.MEKALKULATIONSPEZIAL), a.MEKALKULATION,
                   N(a.MEKALKULATIONUMRECHFAKT), N(a.OBERFLAECHE), N(a.VOLUMEN), N(a.ABWICKLUNG), N(a.GEWICHT),
                   a.MATCHCODE, a.KATALOGSEITE, a.RABATTGR, a.HAUPTWARENGR, a.WARENGR, a.KOSTENART,
                   N(a.ARBEITSZEIT), a.ALTERNATIVARTIKELNRERSTELLER, a.ALTERNATIVARTIKELNR, a.HERSTELLERNRERSTELLER,
                   a.HERSTELLERNR, a.HERSTELLERTYPE, a.REFERENZNRERSTELLER, a.REFERENZNR, a.EAN, N(a.MWSTMERKER),
                   N(a.LAGERMERKER), N(a.VERPACKUNGSMENGE), a.LANGTEXTNR, a.ANBINDNR, a.Langtext};
  for (const auto& d : a.Dimensionslangtexte) f << QStringLiteral("dlt %1|%2|%3").arg(d.Typ).arg(d.Text, d.EinfuegeText);
  for (const auto& s : a.Staffelpreise)
    f << QStringList{QStringLiteral("stp"), N(s.Nr), s.Text, s.ZusatzText, N(s.Za), N(s.Pkz), N(s.Preiseinheit),
                     N(s.Wert), N(s.Sam), N(s.Bm), N(s.MengeVon), N(s.MengeBis), N(s.GueltigVon), N(s.GueltigBis)}
             .join(u'|');
  for (const auto& r : a.Rohstoffe)
    f << QStringList{QStringLiteral("rohst"), N(r.RohstoffTyp), N(r.Preiseinheit), N(r.Rbm2bpb), N(r.Rbm2fbpb),
                     N(r.Rbm2g), N(r.Rbm2fg)}
             .join(u'|');
  for (const auto& k : a.Sonderkosten) f << QStringLiteral("sk %1|%2|%3|%4").arg(k.Nr).arg(k.Bezeichnung, N(k.Wert)).arg(k.Typ);
  for (const auto& o : a.AnbindObjekte)
    f << QStringLiteral("gs %1|%2|%3|%4|%5").arg(o.ID).arg(o.IDTYPE).arg(o.Dateiname, o.Erweiterung, o.Beschreibung);
  return f;
}

class Katalog1Test : public testing::Test {
 protected:
  void SetUp() override { db.Open(dir.path() + QStringLiteral("/DATANORM/")); }

  // An article with just what the case needs.
  void Store(const QString& id, const QString& rabattgr = {}, double netto = 0, const QString& matchcode = {}) {
    TKatalog1Artikel a;
    a.ID = id, a.RABATTGR = rabattgr, a.NETTO = CurrencyFromDouble(netto), a.MATCHCODE = matchcode;
    ASSERT_TRUE(db.Artikel_SetObject(a));
  }
  QStringList EnumeratedIds() {
    QStringList ids;
    EXPECT_TRUE(db.ForEachArtikel([&](TKatalog1Artikel& a) { ids << a.ID; }));
    return ids;
  }

  QTemporaryDir dir;
  QStringList logged;
  TKatalog1DB db{[this](const std::exception*, const QString& message) { logged << message; }};
};
}  // namespace

TEST_F(Katalog1Test, AnArticleRoundTripsThroughTheTables) {
  TKatalog1Artikel written, read;
  FillComplete(written, QStringLiteral("4711015"));
  ASSERT_TRUE(db.Artikel_SetObject(written));
  Store(QStringLiteral("4711016"));  // the search has to move off the last one stored
  read.ID = written.ID;
  ASSERT_EQ(db.Artikel_GetObject(read), 0);
  EXPECT_EQ(Snapshot(read), Snapshot(written));
  EXPECT_TRUE(logged.isEmpty()) << logged.join(u'\n').toStdString();
}

TEST_F(Katalog1Test, SurchargeComesFromTheDiscountGroupElseFromTheNetPriceBand) {
  ASSERT_TRUE(db.Rabatt_SetGruppe(QStringLiteral("G0"), QStringLiteral("ohne Zuschlag"), 30, 0));
  ASSERT_TRUE(db.Rabatt_SetGruppe(QStringLiteral("G5"), QStringLiteral("mit Zuschlag"), 30, 5));
  ASSERT_TRUE(db.Verkauf_SetAufschlag(100, 20));
  ASSERT_TRUE(db.Verkauf_SetAufschlag(10, 30));
  const struct {
    const char* group;
    double netto;
    double surcharge;
  } cases[] = {
      {"G0", 10, 30},      // equal to the bound: that band
      {"G0", 10.0001, 20}, // just above: the next one
      {"G0", 0, 0},        // no net price, no surcharge
      {"G0", 150, 0},      // above every band
      {"G5", 50, 5},       // the group's own surcharge ignores the bands
      {"", 5, 30},         // no group
      {"XX", 50, 20},      // a group that is not there
  };
  int n = 0;
  for (const auto& c : cases) {
    const QString id = QStringLiteral("A%1").arg(++n);
    Store(id, QString::fromLatin1(c.group), c.netto);
    TKatalog1Artikel a;
    a.ID = id;
    ASSERT_EQ(db.Artikel_GetObject(a), 0);
    EXPECT_EQ(a.Verkaufszuschlag, c.surcharge) << c.group << " " << c.netto;
  }
}

TEST_F(Katalog1Test, PriceUnitAndPackingBelowOneReadAsOne) {
  const struct {
    int stored, read;
  } cases[] = {{0, 1}, {-5, 1}, {1, 1}, {7, 7}};
  for (const auto& c : cases) {
    TKatalog1Artikel a;
    a.ID = QStringLiteral("P%1").arg(c.stored), a.PREISEINHEIT = c.stored, a.VERPACKUNGSMENGE = c.stored;
    ASSERT_TRUE(db.Artikel_SetObject(a));
    TKatalog1Artikel r;
    r.ID = a.ID;
    ASSERT_EQ(db.Artikel_GetObjectShort(r), 0);
    EXPECT_EQ(r.PREISEINHEIT, c.read);
    EXPECT_EQ(r.VERPACKUNGSMENGE, c.read);
  }
}

TEST_F(Katalog1Test, GetObjectShortTellsEmptyMissingAndLoaded) {
  TKatalog1Artikel a;
  a.ID = QStringLiteral("X"), a.KURZZEILE1 = QStringLiteral("alt");
  EXPECT_EQ(db.Artikel_GetObjectShort(a), -1);
  EXPECT_TRUE(a.ID.isEmpty() && a.KURZZEILE1.isEmpty());  // reset
  Store(QStringLiteral("100"));
  Store(QStringLiteral("200"));
  a.ID = QStringLiteral("150");
  EXPECT_EQ(db.Artikel_GetObjectShort(a), 1);
  ASSERT_TRUE(db.SeekObj(QStringLiteral("200")));
  a.ID.clear();
  EXPECT_EQ(db.Artikel_GetObjectShort(a), 0);
  EXPECT_EQ(a.ID, QStringLiteral("200"));
  EXPECT_FALSE(db.SeekObj(QString()));
}

TEST_F(Katalog1Test, AnEmptyXmlDataLeavesTheListsOfAReusedArticleEmpty) {
  TKatalog1Artikel full;
  FillComplete(full, QStringLiteral("1"));
  ASSERT_TRUE(db.Artikel_SetObject(full));
  Store(QStringLiteral("2"));
  for (auto read : {&TKatalog1DB::Artikel_GetObjectShort, &TKatalog1DB::Artikel_GetObject}) {
    TKatalog1Artikel a;
    a.ID = QStringLiteral("1");
    ASSERT_EQ((db.*read)(a), 0);
    ASSERT_EQ(a.Staffelpreise.Count(), 2);
    a.ID = QStringLiteral("2");
    ASSERT_EQ((db.*read)(a), 0);
    EXPECT_TRUE(a.Dimensionslangtexte.IsEmpty() && a.Staffelpreise.IsEmpty() && a.Rohstoffe.IsEmpty() &&
                a.Sonderkosten.IsEmpty() && a.AnbindObjekte.IsEmpty() && a.Langtext.isEmpty());
  }
  QList<int> counts;
  db.ForEachArtikel([&](TKatalog1Artikel& a) { counts << a.Staffelpreise.Count(); });
  EXPECT_EQ(counts, (QList<int>{2, 0}));
}

TEST_F(Katalog1Test, FindNextObjGoesBackToTheNumberOrder) {
  Store(QStringLiteral("A1"), {}, 0, QStringLiteral("ZZZ"));
  Store(QStringLiteral("B1"), {}, 0, QStringLiteral("AAA"));
  Store(QStringLiteral("C1"), {}, 0, QStringLiteral("MMM"));
  db.Catalog->SetIndexName(QStringLiteral("CATALOG002"));
  EXPECT_FALSE(db.Artikel_FindNextObj(QString()));
  ASSERT_TRUE(db.Artikel_FindNextObj(QStringLiteral("B")));
  EXPECT_EQ(db.Catalog->IndexName(), QStringLiteral("CATALOG001"));
  EXPECT_EQ(db.Artikel_GetCurrentObjID(), QStringLiteral("B1"));
}

TEST_F(Katalog1Test, EnumerationPassesEveryArticleOnceInIndexOrder) {
  EXPECT_TRUE(EnumeratedIds().isEmpty());
  const QStringList ids = {QStringLiteral("30"), QStringLiteral("10"), QStringLiteral("40"), QStringLiteral("20")};
  const QStringList matchcodes = {QStringLiteral("B"), QStringLiteral("D"), QStringLiteral("A"), QStringLiteral("C")};
  for (int i = 0; i < ids.size(); ++i) Store(ids[i], {}, 1, matchcodes[i]);
  QStringList sorted = ids;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(EnumeratedIds(), sorted);
  db.Catalog->SetIndexName(QStringLiteral("CATALOG002"));
  EXPECT_EQ(EnumeratedIds(), (QStringList{QStringLiteral("40"), QStringLiteral("30"), QStringLiteral("20"),
                                          QStringLiteral("10")}));
}
