#include "DemoSupplierCatalogue.h"

#include <cmath>

#include "Katalog2DB.h"
#include "DemoSupport.h"

namespace {
// The wholesaler's article families: the first digit of the article number
// and the product group.
const char* const kFamilies[] = {"VORWAND", "MONTAGE", "ROHR", "ARMATUR", "KERAMIK", "ABLAUF", "DAEMMUNG"};

struct SupplierKind {
  int family;  // index into kFamilies
  const char* discountGroup;
  const char* name;
  const char* variants;  // '|'-separated
  const char* unit;
  int purchaseCents;  // of the first variant, per price unit
  double hours;       // working time of fitting one
  const char* detail;  // the second part of the short text
};

const SupplierKind kKinds[] = {
    {0, "MEI-VW", "WC-Vorwandelement", "112 cm|98 cm|82 cm", "Stck", 15900, 1.50, "fuer Trockenbau, mit Spuelkasten"},
    {0, "MEI-VW", "Installationsblock Waschtisch", "112 cm|98 cm", "Stck", 5400, 1.00, "fuer Einzelmontage vor Massivwand"},
    {0, "MEI-VW", "Betaetigungsplatte 2-Mengen", "weiss|chrom glanz|chrom matt|schwarz", "Stck", 3950, 0.25, "fuer Frontbetaetigung"},
    {0, "MEI-VW", "Urinal-Vorwandelement", "112 cm|130 cm", "Stck", 18900, 1.50, "mit Anschlussgarnitur"},
    {1, "MEI-MO", "Montageschiene verzinkt", "1 m|2 m|3 m", "Stck", 690, 0.10, "Profil 27/18, gelocht"},
    {1, "MEI-MO", "Rohrschelle mit Schalldaemmeinlage", "15 mm|22 mm|28 mm|35 mm|42 mm", "Stck", 58, 0.03, "M8/M10 Anschluss"},
    {1, "MEI-MO", "Gewindestange verzinkt", "M8 1 m|M10 1 m|M12 1 m", "Stck", 145, 0.02, "Festigkeitsklasse 4.8"},
    {1, "MEI-MO", "Stockschraube", "M8x100|M10x120|M10x160", "Stck", 36, 0.02, "mit Sechskant, verzinkt"},
    {2, "MEI-RO", "Mehrschicht-Verbundrohr", "16x2|20x2|26x3|32x3", "m", 185, 0.05, "in Stangen zu 5 m"},
    {2, "MEI-RO", "Pressfitting Bogen 90 Grad", "16 mm|20 mm|26 mm|32 mm", "Stck", 410, 0.08, "Rotguss, mit Sichtkontrolle"},
    {2, "MEI-RO", "Pressfitting T-Stueck", "16 mm|20 mm|26 mm|32 mm", "Stck", 560, 0.10, "Rotguss, mit Sichtkontrolle"},
    {2, "MEI-RO", "Edelstahlrohr 1.4521", "15x1|18x1|22x1,2|28x1,2", "m", 720, 0.08, "in Stangen zu 6 m"},
    {2, "MEI-RO", "HT-Rohr mit Muffe", "DN 40 500 mm|DN 50 1000 mm|DN 75 1000 mm|DN 110 2000 mm", "Stck", 240, 0.10, "Polypropylen, grau"},
    {3, "MEI-AR", "Einhebel-Waschtischmischer", "chrom|edelstahl|schwarz matt", "Stck", 6900, 0.75, "mit Ablaufgarnitur"},
    {3, "MEI-AR", "Brausethermostat Aufputz", "chrom|weiss-chrom", "Stck", 11900, 1.00, "mit Verbrueh-Schutz 38 Grad"},
    {3, "MEI-AR", "Eckventil mit Filter", "3/8 Zoll|1/2 Zoll", "Stck", 790, 0.20, "verchromt, Schraubanschluss"},
    {3, "MEI-AR", "Spueltischarmatur mit Brause", "chrom|edelstahl", "Stck", 8400, 0.75, "ausziehbar, 2 Strahlarten"},
    {4, "MEI-KE", "Waschtisch", "50 cm|60 cm|80 cm", "Stck", 8900, 1.25, "Sanitaerkeramik weiss, mit Ueberlauf"},
    {4, "MEI-KE", "Wand-WC spuelrandlos", "weiss|weiss mit Beschichtung", "Stck", 14900, 1.50, "Tiefspueler, 6/3 l"},
    {4, "MEI-KE", "Handwaschbecken", "36 cm|45 cm", "Stck", 4300, 1.00, "Sanitaerkeramik weiss"},
    {4, "MEI-KE", "Urinal", "weiss|weiss mit Beschichtung", "Stck", 12900, 1.25, "Zulauf von hinten"},
    {5, "MEI-AB", "Duschrinne Edelstahl", "70 cm|80 cm|90 cm|100 cm", "Stck", 17900, 2.00, "mit Abdeckung befliesbar"},
    {5, "MEI-AB", "Bodenablauf DN 50", "senkrecht|waagerecht", "Stck", 4900, 1.00, "mit Geruchsverschluss"},
    {5, "MEI-AB", "Roehrensiphon", "1 1/4 Zoll|1 1/2 Zoll", "Stck", 1290, 0.30, "Messing verchromt"},
    {5, "MEI-AB", "Rueckstauverschluss", "DN 100|DN 125|DN 150", "Stck", 21900, 2.50, "zum Einbau in Grundleitungen"},
    {6, "MEI-DA", "Rohrisolierung PE", "15x9|22x13|28x20|35x20", "m", 95, 0.03, "in Stangen zu 2 m, geschlitzt"},
    {6, "MEI-DA", "Sanitaer-Silikon", "transparent|weiss|manhattan|jasmin", "Stck", 590, 0.00, "Kartusche 310 ml"},
    {6, "MEI-DA", "Gewindedichtfaden", "50 m|160 m", "Stck", 890, 0.00, "fuer Metall- und Kunststoffgewinde"},
};
constexpr int kKindCount = int(std::size(kKinds));

const char* const kSeries[] = {"Basic", "Comfort", "Premium"};
constexpr int kSeriesCount = int(std::size(kSeries));
constexpr double kSeriesFactors[kSeriesCount] = {1.0, 1.18, 1.45};

// Sales prices 2 to 5 as shares of sales price 1.
constexpr double kSalesShares[4] = {0.95, 0.90, 0.85, 0.80};
constexpr Currency kHourlyWage = 620000;  // 62 EUR

// The articles the demo article-price tables refer to.
struct ReferenceArticle {
  const char* number;
  const char* description;
  int kind;
  double purchase;
};
const ReferenceArticle kReferenceArticles[] = {
    {"M-10234", "Installationsblock Waschtisch", 1, 54.00},
    {"M-10877", "Betaetigungsplatte 2-Mengen weiss", 2, 39.50},
    {"M-20015", "Montageschiene 2 m verzinkt", 4, 12.75},
};
constexpr int kReferenceCount = int(std::size(kReferenceArticles));

double Cents(double euros) { return std::round(euros * 100) / 100; }

// Family digit and a serial from 1000 on: never one of the reference numbers,
// which lie below 1000 in their family.
QString GeneratedNumber(int family, int serial) {
  return QStringLiteral("M-%1%2").arg(family + 1).arg(1000 + serial, 4, 10, QLatin1Char('0'));
}

QString DemoEAN(int index) {
  const QString first12 = QStringLiteral("401234%1").arg(index, 6, 10, QLatin1Char('0'));
  return first12 + QChar(u'0' + Gtin13CheckDigit(first12));
}

void FillPrices(TKatalog2Artikel& a, double purchase, int index) {
  a.EK = Cents(purchase);
  a.Rabatt = 20 + (index * 7) % 6 * 5;  // 20 to 45 percent
  a.VKZuschlag = 1.25 + (index % 8) * 0.05;
  const double net = a.EK - a.EK / 100 * a.Rabatt;
  for (int p = 0; p < 4; ++p) a.VKPreis[size_t(p + 1)] = CurrencyFromDouble(Cents(net * a.VKZuschlag * kSalesShares[p]));
  a.MwStSatz = 1;
}

void FillTexts(TKatalog2Artikel& a, const SupplierKind& kind, const QString& series) {
  a.KurzText = a.Description + QStringLiteral(", ") + QString::fromLatin1(kind.detail);
  a.LangText = a.KurzText + QStringLiteral("\r\nSerie ") + series +
               QStringLiteral(". Lieferung ab Lager Meier, Bestellungen bis 15 Uhr am naechsten Werktag.");
  if (kind.hours >= 1) a.LangText += QStringLiteral("\r\nMontage durch Fachbetrieb empfohlen.");
}

void FillUnits(TKatalog2Artikel& a, const SupplierKind& kind, int index) {
  a.ME = QString::fromLatin1(kind.unit);
  // Small parts are priced per hundred, pipes are also calculated in bars.
  const bool smallPart = a.ME == QLatin1String("Stck") && kind.purchaseCents < 200;
  a.PreisEinheit = smallPart ? 100 : 1;
  a.Verpackungsmenge = smallPart ? 50 : a.ME == QLatin1String("m") ? 5 : 1;
  a.MindBestMenge = a.Verpackungsmenge;
  a.Bestellmenge = a.Verpackungsmenge * (1 + index % 3);
  if (a.ME == QLatin1String("m") && index % 2 == 0) {
    a.MEKalkulationSpezial = true;
    a.MEKalkulation = QStringLiteral("Stange");
    a.MEKalkulationUmrechFakt = 5;
  }
  a.Umrechnungsfaktor = 1;
}

void FillImages(TKatalog2Artikel& a, int index) {
  if (index % 5 != 0) return;
  a.Images.Add(QStringLiteral("Produktbild"), a.ID + QStringLiteral(".jpg"));
  if (index % 15 == 0) a.Images.Add(QStringLiteral("Masszeichnung"), a.ID + QStringLiteral("_mass.png"));
}

// Articles written per transaction: a few thousand, so that other programs
// on the catalogue wait a moment only.
constexpr int kBatchArticles = 5000;
}  // namespace

void MakeDemoSupplierArticle(int index, TKatalog2Artikel& a) {
  a.Clear();
  const bool reference = index < kReferenceCount;
  const int generated = index - kReferenceCount;
  const SupplierKind& kind = reference ? kKinds[kReferenceArticles[index].kind] : kKinds[generated % kKindCount];
  const QStringList variants = QString::fromLatin1(kind.variants).split(u'|');
  const int round = reference ? 0 : generated / kKindCount;
  const int variant = round % int(variants.size());
  const int series = (round / int(variants.size())) % kSeriesCount;
  if (reference) {
    a.ID = QString::fromLatin1(kReferenceArticles[index].number);
    a.Description = QString::fromLatin1(kReferenceArticles[index].description);
  } else {
    // Serials count per family, so each family's numbers run without gaps.
    int kindsBefore = 0, kindsInFamily = 0;
    for (int k = 0; k < kKindCount; ++k) {
      if (kKinds[k].family != kind.family) continue;
      if (k < generated % kKindCount) ++kindsBefore;
      ++kindsInFamily;
    }
    a.ID = GeneratedNumber(kind.family, round * kindsInFamily + kindsBefore);
    a.Description = QString::fromLatin1(kind.name) + u' ' + variants[variant] + u' ' + QString::fromLatin1(kSeries[series]);
  }
  a.EAN = DemoEAN(index);
  a.Warengruppe = QString::fromLatin1(kFamilies[kind.family]);
  a.RabattGruppe = QString::fromLatin1(kind.discountGroup);
  FillUnits(a, kind, index);
  const double purchase = reference ? kReferenceArticles[index].purchase
                                    : kind.purchaseCents / 100.0 * (1 + 0.3 * variant) * kSeriesFactors[series];
  FillPrices(a, purchase, index);
  FillTexts(a, kind, QString::fromLatin1(kSeries[series]));
  a.Info = QStringLiteral("Hersteller-Nr. %1").arg(700000 + index * 13);
  a.Voraetig = (index * 37) % 250;
  a.Created = 45000 + index % 700;  // a day in 2023 or 2024
  a.Changed = a.Created + index % 45;
  a.CreatedBy = a.ChangedBy = QStringLiteral("IMPORT");
  a.Gewicht = std::round(kind.purchaseCents / 40.0 * (1 + variant)) / 100;
  a.Volumen = a.Gewicht / 800;
  a.Arbeitszeit = kind.hours;
  a.Lohn = kind.hours > 0 ? kHourlyWage : 0;
  FillImages(a, index);
}

bool FillDemoSupplierCatalogue(const QString& dir, int count, QString* error,
                               QList<QPair<QString, QString>>* indexTexts) {
  if (indexTexts) indexTexts->reserve(indexTexts->size() + count);
  return FillDemoDatabase<TKatalog2DB>(
      QStringLiteral("the supplier catalogue"), dir, error, [&](TKatalog2DB& db, const QString& directory) {
        db.Open(directory);
        int next = 0;
        const bool written = db.SetObjectsBatched(
            [&](TKatalog2Artikel& article) {
              if (next >= count) return false;
              MakeDemoSupplierArticle(next++, article);
              if (indexTexts) indexTexts->append({article.ID, article.Description + u' ' + article.KurzText});
              return true;
            },
            kBatchArticles);
        // Made now, so the first EAN lookup of a user does not wait for it.
        return written && db.EnsureEANIndex();
      });
}
