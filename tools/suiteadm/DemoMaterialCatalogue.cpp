#include "DemoMaterialCatalogue.h"

#include <QStringList>
#include <cmath>

#include "Katalog1DB.h"
#include "DemoSupport.h"

namespace {
// One kind of article; the catalogue holds it in several sizes and makes.
struct MaterialKind {
  const char* mainGroup;      // HAUPTWARENGR
  const char* group;          // WARENGR
  const char* discountGroup;  // RABATTGR
  const char* name;
  const char* sizes;  // '|'-separated
  const char* detail;  // the start of the second short line
  const char* unit;
  int listCents;  // list price of the smallest size
  double hours;
  int priceUnit;
  int packing;
  bool perBar;  // sold by the bar, calculated by the metre
  bool copper;  // carries a copper surcharge
  const char* longText;  // %1: the size
};

const MaterialKind kKinds[] = {
    {"ROH", "CU", "CU", "Kupferrohr halbhart", "12x1|15x1|18x1|22x1|28x1,5|35x1,5|42x1,5", "5 m", "Stg", 3790, 0.50, 1, 1, true, true,
     "Kupferrohr nach DVGW GW 392, halbhart in Stangen zu 5 m, fuer Trinkwasser und Heizung. Abmessung %1 mm."},
    {"ROH", "CU", "CU", "Kupferrohr weich", "10x1|12x1|15x1|18x1", "Ring 25 m", "Ring", 14900, 1.00, 1, 1, false, true,
     "Kupferrohr weich im Ring zu 25 m, fuer Heizungsanbindungen und Kaeltetechnik. Abmessung %1 mm."},
    {"ROH", "MV", "KS", "Mehrschichtverbundrohr", "16x2|20x2|26x3|32x3", "Stange 5 m", "m", 290, 0.08, 1, 5, false, false,
     "Mehrschichtverbundrohr PE-RT/Al/PE-RT, sauerstoffdicht, fuer Heizung und Trinkwasser. Abmessung %1 mm."},
    {"ROH", "PE", "KS", "PE-Xa Heizungsrohr", "14x2|17x2|20x2", "Rolle 240 m", "m", 110, 0.03, 1, 240, false, false,
     "Vernetztes Polyethylenrohr mit Sauerstoffsperre fuer Fussbodenheizungen. Abmessung %1 mm."},
    {"ROH", "HT", "HT", "HT-Rohr", "DN 40 500|DN 50 1000|DN 75 1000|DN 110 2000", "mit Muffe", "Stck", 260, 0.10, 1, 10, false, false,
     "Hausabflussrohr aus Polypropylen nach DIN EN 1451, mit Steckmuffe und Lippendichtung, %1 mm."},
    {"ROH", "ES", "CU", "Edelstahlrohr Press", "15x1|18x1|22x1,2|28x1,2", "6 m", "Stg", 5890, 0.60, 1, 1, true, false,
     "Edelstahlrohr 1.4401 fuer Pressverbindungen, Stangen zu 6 m, Trinkwasser geeignet. Abmessung %1 mm."},
    {"FIT", "PR", "PF", "Press-Bogen 90 Grad", "12 mm|15 mm|18 mm|22 mm|28 mm|35 mm", "Kupfer", "Stck", 480, 0.05, 1, 10, false, false,
     "Pressfitting aus Kupfer mit SC-Kontur und EPDM-Dichtring, Bogen 90 Grad, %1."},
    {"FIT", "PR", "PF", "Press-T-Stueck", "15 mm|18 mm|22 mm|28 mm", "Kupfer", "Stck", 720, 0.08, 1, 10, false, false,
     "Pressfitting aus Kupfer mit SC-Kontur und EPDM-Dichtring, T-Stueck gleichseitig, %1."},
    {"FIT", "PR", "PF", "Press-Muffe", "12 mm|15 mm|18 mm|22 mm|28 mm", "Kupfer", "Stck", 350, 0.04, 1, 10, false, false,
     "Pressfitting aus Kupfer, Muffe beidseitig Press, %1."},
    {"FIT", "PR", "PF", "Press-Uebergang AG", "15x1/2|18x1/2|22x3/4|28x1", "Rotguss", "Stck", 890, 0.06, 1, 10, false, false,
     "Uebergangsstueck Press auf Aussengewinde aus Rotguss, %1 Zoll."},
    {"FIT", "GW", "GF", "Temperguss-Winkel", "1/2|3/4|1|5/4", "verzinkt", "Stck", 160, 0.05, 1, 10, false, false,
     "Tempergussfitting verzinkt nach EN 10242, Winkel 90 Grad, %1 Zoll."},
    {"FIT", "LO", "PF", "Loetbogen 90 Grad", "12 mm|15 mm|18 mm|22 mm", "Kupfer", "Stck", 95, 0.05, 100, 50, false, false,
     "Kapillarloetfitting aus Kupfer nach EN 1254-1, Bogen 90 Grad, %1."},
    {"FIT", "HT", "HT", "HT-Bogen 45 Grad", "DN 40|DN 50|DN 75|DN 110", "mit Muffe", "Stck", 190, 0.05, 1, 10, false, false,
     "HT-Bogen 45 Grad aus Polypropylen mit Steckmuffe, %1."},
    {"ARM", "TV", "VE", "Thermostatventil Eckform", "DN 10|DN 15|DN 20", "Ventilunterteil", "Stck", 2290, 0.25, 1, 1, false, false,
     "Thermostatventil-Unterteil Eckform mit Voreinstellung, vernickelt, %1."},
    {"ARM", "TV", "VE", "Thermostatventil Durchgang", "DN 10|DN 15|DN 20", "Ventilunterteil", "Stck", 2190, 0.25, 1, 1, false, false,
     "Thermostatventil-Unterteil Durchgangsform mit Voreinstellung, vernickelt, %1."},
    {"ARM", "KH", "VE", "Kugelhahn Vollstrom", "1/2|3/4|1|5/4|6/4", "mit Hebel", "Stck", 1190, 0.25, 1, 1, false, false,
     "Messing-Kugelhahn mit vollem Durchgang und Stahlhebel, PN 40, %1 Zoll."},
    {"ARM", "RV", "VE", "Rueckschlagventil", "1/2|3/4|1", "Messing", "Stck", 890, 0.20, 1, 1, false, false,
     "Federbelastetes Rueckschlagventil aus Messing, %1 Zoll Innengewinde."},
    {"ARM", "SR", "RE", "Strangregulierventil", "DN 15|DN 20|DN 25", "mit Messventilen", "Stck", 6890, 0.50, 1, 1, false, false,
     "Strangregulierventil zum hydraulischen Abgleich, mit Messventilen, %1."},
    {"ARM", "SV", "VE", "Sicherheitsventil Heizung", "1/2 2,5 bar|1/2 3 bar|3/4 3 bar", "Membran", "Stck", 1490, 0.30, 1, 1, false, false,
     "Membran-Sicherheitsventil fuer geschlossene Heizungsanlagen, %1."},
    {"ARM", "DM", "VE", "Druckminderer", "1/2|3/4|1", "mit Manometer", "Stck", 7490, 0.50, 1, 1, false, false,
     "Druckminderer mit Manometer und Feinfilter fuer Trinkwasser, %1 Zoll."},
    {"ARM", "WT", "AR", "Einhebel-Waschtischmischer", "chrom|edelstahl|schwarz matt", "mit Ablaufgarnitur", "Stck", 12900, 0.75, 1, 1, false, false,
     "Einhebelmischer fuer Waschtische mit Keramikkartusche und Ablaufgarnitur, Oberflaeche %1."},
    {"ARM", "BR", "AR", "Thermostat-Brausebatterie", "chrom|edelstahl", "Aufputz", "Stck", 18900, 1.00, 1, 1, false, false,
     "Thermostat-Brausebatterie Aufputz mit Verbruehschutz, Oberflaeche %1."},
    {"PUM", "HE", "PU", "Hocheffizienzpumpe", "25-40|25-60|32-60|25-80", "180 mm", "Stck", 26900, 1.00, 1, 1, false, false,
     "Nasslaeufer-Hocheffizienzpumpe fuer Heizungsanlagen, Energieeffizienzindex unter 0,20, Typ %1."},
    {"PUM", "ZI", "PU", "Zirkulationspumpe", "15-14|20-10", "Edelstahl", "Stck", 21900, 1.00, 1, 1, false, false,
     "Trinkwasser-Zirkulationspumpe mit Edelstahlgehaeuse und Zeitschaltuhr, Typ %1."},
    {"PUM", "HA", "PU", "Hebeanlage Schmutzwasser", "WC|Dusche|Waschtisch", "anschlussfertig", "Stck", 49900, 3.00, 1, 1, false, false,
     "Kleinhebeanlage fuer Schmutzwasser, anschlussfertig, Anschluss %1."},
    {"HZG", "HK", "HK", "Profil-Heizkoerper Typ 22", "600x400|600x800|600x1200|900x600", "mit Konsolen", "Stck", 11900, 1.50, 1, 1, false, false,
     "Flachheizkoerper Typ 22 mit Seitenanschluss, pulverbeschichtet weiss, Baumasse %1 mm."},
    {"HZG", "BH", "HK", "Badheizkoerper", "1200x500|1500x600|1800x600", "weiss", "Stck", 15900, 1.25, 1, 1, false, false,
     "Badheizkoerper mit gebogenen Rohren, Mittelanschluss, Baumasse %1 mm."},
    {"HZG", "BW", "WE", "Gas-Brennwerttherme", "14 kW|20 kW|25 kW", "Erdgas E", "Stck", 249000, 8.00, 1, 1, false, false,
     "Wandhaengendes Gas-Brennwertgeraet mit modulierendem Brenner, Nennleistung %1."},
    {"HZG", "SP", "WE", "Warmwasserspeicher", "150 l|200 l|300 l", "emailliert", "Stck", 99000, 4.00, 1, 1, false, false,
     "Indirekt beheizter Warmwasserspeicher, emailliert, mit Magnesiumanode, Inhalt %1."},
    {"HZG", "AG", "RE", "Ausdehnungsgefaess", "18 l|25 l|35 l|50 l", "Heizung", "Stck", 4290, 0.50, 1, 1, false, false,
     "Membran-Ausdehnungsgefaess fuer geschlossene Heizungsanlagen, Inhalt %1."},
    {"HZG", "FB", "RE", "Fussbodenheizungsverteiler", "4 Kreise|6 Kreise|8 Kreise", "Edelstahl", "Stck", 27900, 2.50, 1, 1, false, false,
     "Heizkreisverteiler aus Edelstahl mit Durchflussmessern, %1."},
    {"HZG", "TK", "VE", "Thermostatkopf", "Fluessigfuehler|Fernfuehler 2 m", "weiss", "Stck", 1890, 0.10, 1, 1, false, false,
     "Thermostatkopf mit Nullstellung und Frostschutz, %1."},
    {"SAN", "WC", "KE", "Wand-WC spuelrandlos", "weiss|manhattan|pergamon", "Tiefspueler", "Stck", 24900, 1.50, 1, 1, false, false,
     "Wand-Tiefspuel-WC spuelrandlos aus Sanitaerporzellan, Farbe %1."},
    {"SAN", "WT", "KE", "Waschtisch", "50 cm|60 cm|80 cm", "Keramik", "Stck", 14900, 1.25, 1, 1, false, false,
     "Waschtisch aus Sanitaerporzellan mit Hahnloch und Ueberlauf, Breite %1."},
    {"SAN", "DW", "KE", "Duschwanne Acryl", "80x80|90x90|90x120", "flach", "Stck", 18900, 2.00, 1, 1, false, false,
     "Flache Duschwanne aus Sanitaeracryl mit Wannentraeger, %1 cm."},
    {"SAN", "SI", "AR", "Siphon Waschtisch", "1 1/4 Zoll|1 1/2 Zoll", "Messing", "Stck", 2490, 0.25, 1, 1, false, false,
     "Roehrengeruchverschluss aus Messing verchromt, %1."},
    {"SAN", "VW", "KE", "WC-Vorwandelement", "112 cm|98 cm", "mit Spuelkasten", "Stck", 22900, 1.75, 1, 1, false, false,
     "Vorwandelement fuer Wand-WC mit Unterputzspuelkasten, Bauhoehe %1."},
    {"BEF", "RS", "BF", "Rohrschelle mit Einlage", "15 mm|22 mm|28 mm|42 mm", "M8", "Stck", 95, 0.02, 100, 50, false, false,
     "Rohrschelle verzinkt mit schalldaemmender Einlage, Anschluss M8, fuer %1."},
    {"BEF", "GS", "BF", "Gewindestange verzinkt", "M8|M10|M12", "1 m", "Stck", 190, 0.00, 1, 10, false, false,
     "Gewindestange aus Stahl verzinkt, Laenge 1 m, %1."},
    {"BEF", "DU", "BF", "Duebel Nylon", "6x30|8x40|10x50", "Universal", "Stck", 9, 0.00, 100, 100, false, false,
     "Universalduebel aus Nylon fuer Beton und Mauerwerk, %1 mm."},
    {"DAE", "PE", "DA", "Rohrisolierung PE", "15x9|22x13|28x20", "Stange 2 m", "m", 150, 0.03, 1, 2, false, false,
     "Waermedaemmschlauch aus PE-Schaum nach GEG, %1 mm."},
    {"DAE", "KA", "DA", "Kautschuk-Isolierschlauch", "15x13|22x13|28x19", "Stange 2 m", "m", 390, 0.04, 1, 2, false, false,
     "Isolierschlauch aus synthetischem Kautschuk, diffusionsdicht, %1 mm."},
};
constexpr int kKindCount = int(std::size(kKinds));

const char* const kMakes[] = {"Nordtherm", "Aquaflux", "Suedstahl", "Profiline", "Ecoterm"};
constexpr int kMakeCount = int(std::size(kMakes));

// Discount groups: key, description, discount and sales surcharge in
// percent; a surcharge of 0 lets the net-price band decide.
struct DiscountGroup {
  const char* id;
  const char* description;
  double discount;
  double surcharge;
};
const DiscountGroup kDiscountGroups[] = {
    {"CU", "Kupfer- und Edelstahlrohre", 38, 22},   {"KS", "Kunststoffrohre", 42, 30},
    {"HT", "Abwasser HT", 45, 0},                  {"PF", "Pressfittings", 48, 0},
    {"GF", "Gewindefittings", 44, 35},             {"VE", "Ventile und Haehne", 40, 28},
    {"RE", "Regelung und Verteilung", 36, 25},     {"AR", "Sanitaerarmaturen", 35, 32},
    {"PU", "Pumpen", 32, 20},                      {"HK", "Heizkoerper", 40, 25},
    {"WE", "Waermeerzeuger und Speicher", 28, 15}, {"KE", "Sanitaerkeramik", 38, 30},
    {"BF", "Befestigung", 50, 0},                  {"DA", "Daemmung", 45, 0},
};

// Surcharge by net-price band: upper bound of the band, surcharge in percent.
const std::pair<double, double> kBands[] = {{5, 60}, {20, 45}, {100, 35}, {500, 25}, {2000, 18}, {100000, 12}};

const std::pair<const char*, const char*> kMainGroups[] = {
    {"ROH", "Rohre"},    {"FIT", "Fittings"}, {"ARM", "Armaturen"}, {"PUM", "Pumpen"},
    {"HZG", "Heizung"},  {"SAN", "Sanitaer"}, {"BEF", "Befestigung"}, {"DAE", "Daemmung"},
};

// The articles the demo article-price tables refer to, with their descriptions.
struct FixedArticle {
  const char* number;
  int kind;
  int size;
  const char* line1;
  const char* line2;
  double listPrice;
};
const FixedArticle kFixed[] = {
    {"4711015", 0, 1, "Kupferrohr halbhart 15x1", "5 m", 48.90},
    {"4711022", 0, 3, "Kupferrohr halbhart 22x1", "5 m", 71.40},
    {"5102001", 6, 1, "Press-Bogen 90 Grad", "15 mm", 6.85},
    {"5102003", 7, 2, "Press-T-Stueck", "22 mm", 11.20},
    {"6200410", 13, 1, "Thermostatventil Eckform", "DN 15", 18.60},
    {"7800125", 22, 1, "Hocheffizienzpumpe 25-60", "180 mm", 289.00},
};
constexpr int kFixedCount = int(std::size(kFixed));

constexpr double kSalesFactors[4] = {1.50, 1.42, 1.35, 1.25};  // VKPREIS2 to VKPREIS5 on the net price

double DiscountOf(const char* group) {
  for (const DiscountGroup& g : kDiscountGroups)
    if (qstrcmp(g.id, group) == 0) return g.discount;
  return 0;
}

Currency Cents(double euros) { return CurrencyFromDouble(std::round(euros * 100) / 100); }

// The attached objects of a kind: a picture and, for every second kind, a data sheet.
QString AnbindNrOf(int kind) { return QStringLiteral("B%1").arg(kind, 4, 10, QLatin1Char('0')); }
bool HasAttachments(int kind) { return kind % 3 == 0; }

void AddAttachments(int kind, TKatalog1Artikel& a) {
  const QString base = QStringLiteral("K%1").arg(kind, 4, 10, QLatin1Char('0'));
  auto add = [&](const QString& description, const QString& file, const QString& extension) {
    TKatalog1AnbindObj* o = a.AnbindObjekte.Add(std::make_unique<TKatalog1AnbindObj>());
    o->ID = a.ANBINDNR, o->Beschreibung = description, o->Dateiname = file, o->Erweiterung = extension;
  };
  add(QStringLiteral("Produktfoto"), base + QStringLiteral("_FOTO"), QStringLiteral("jpg"));
  if (kind % 2 == 0) add(QStringLiteral("Datenblatt"), base + QStringLiteral("_DB"), QStringLiteral("pdf"));
}

void AddGraduatedPrices(TKatalog1Artikel& a) {
  const int from[] = {1, 10, 50};
  const double factor[] = {1.0, 0.97, 0.94};
  for (int s = 0; s < 3; ++s) {
    TKatalog1Staffelpreis* p = a.Staffelpreise.Add(std::make_unique<TKatalog1Staffelpreis>());
    p->Nr = s + 1;
    p->Text = QStringLiteral("ab %1 %2").arg(from[s]).arg(a.ME);
    p->Pkz = 1;
    p->Preiseinheit = a.PREISEINHEIT;
    p->Wert = CurrencyToDouble(Cents(CurrencyToDouble(a.NETTO) * factor[s]));
    p->MengeVon = from[s];
    p->MengeBis = s < 2 ? from[s + 1] - 1 : 0;
    p->GueltigVon = 45292;  // 1 January 2024
    p->GueltigBis = 45657;  // 31 December 2024
  }
}

void AddXmlDetails(int index, int kindIndex, TKatalog1Artikel& a) {
  const MaterialKind& kind = kKinds[kindIndex];
  if (index % 5 == 0) AddGraduatedPrices(a);
  if (kind.copper) {
    TKatalog1Rohstoff* r = a.Rohstoffe.Add(std::make_unique<TKatalog1Rohstoff>());
    r->RohstoffTyp = 1, r->Preiseinheit = 100, r->Rbm2bpb = 150, r->Rbm2fbpb = 0, r->Rbm2g = a.GEWICHT;
    r->Rbm2fg = 0;
  }
  if (qstrcmp(kind.mainGroup, "HZG") == 0 && index % 2 == 0) {
    TKatalog1Dimensionslangtext* d = a.Dimensionslangtexte.Add(std::make_unique<TKatalog1Dimensionslangtext>());
    d->Typ = 1, d->Text = QStringLiteral("Abmessung"), d->EinfuegeText = a.KURZZEILE1.section(u' ', -1);
  }
  if (kind.listCents > 20000 && index % 4 == 1) {
    TKatalog1Sonderkosten* k = a.Sonderkosten.Add(std::make_unique<TKatalog1Sonderkosten>());
    k->Nr = 1, k->Bezeichnung = QStringLiteral("Frachtkostenanteil"), k->Wert = 12.5, k->Typ = 1;
  }
}

void FillPrices(int index, const MaterialKind& kind, double listPrice, TKatalog1Artikel& a) {
  a.RABATT = DiscountOf(kind.discountGroup);
  a.LISTENPREIS = Cents(listPrice);
  a.NETTO = Cents(listPrice * (1 - a.RABATT / 100));
  a.PREISKZ = index % 7 == 0 ? 1 : 0;
  a.LASTNETTO = Cents(CurrencyToDouble(a.NETTO) * 0.97);
  a.LASTNETTOCHANGED = 45000 + index % 700;
  Currency* sales[] = {&a.VKPREIS2, &a.VKPREIS3, &a.VKPREIS4, &a.VKPREIS5};
  for (int p = 0; p < 4; ++p) *sales[p] = Cents(CurrencyToDouble(a.NETTO) * kSalesFactors[p]);
}

void FillKind(int index, int kindIndex, int size, int make, TKatalog1Artikel& a) {
  const MaterialKind& kind = kKinds[kindIndex];
  const QString sizeText = QString::fromLatin1(kind.sizes).split(u'|').value(size);
  a.ME = QString::fromLatin1(kind.unit);
  a.PREISEINHEIT = kind.priceUnit;
  a.VERPACKUNGSMENGE = kind.packing;
  if (kind.perBar) {
    a.MEKALKULATIONSPEZIAL = true;
    a.MEKALKULATION = QStringLiteral("m");
    a.MEKALKULATIONUMRECHFAKT = 0.2;  // a bar is 5 m
  }
  a.TEXTKZ = 1;
  a.GEWICHT = 0.1 * (1 + size) * (kind.listCents > 10000 ? 40 : 1);
  a.MATCHCODE = QString::fromLatin1(kind.name).left(15).toUpper();
  a.KATALOGSEITE = QStringLiteral("S%1").arg(100 + kindIndex * 4 + size / 2, 4, 10, QLatin1Char('0'));
  a.RABATTGR = QString::fromLatin1(kind.discountGroup);
  a.HAUPTWARENGR = QString::fromLatin1(kind.mainGroup);
  a.WARENGR = QString::fromLatin1(kind.mainGroup) + QString::fromLatin1(kind.group);
  a.KOSTENART = QStringLiteral("Material");
  a.ARBEITSZEIT = kind.hours;
  a.HERSTELLERNRERSTELLER = QString::fromLatin1(kMakes[make]).toUpper().left(13);
  a.HERSTELLERNR = QStringLiteral("%1-%2").arg(kindIndex * 100 + size, 5, 10, QLatin1Char('0')).arg(index);
  a.HERSTELLERTYPE = QString::fromLatin1(kind.name).section(u' ', 0, 0) + u' ' + sizeText;
  a.EAN = QStringLiteral("40%1").arg(qint64(1122330000) + qint64(index) * 7, 11, 10, QLatin1Char('0'));
  a.MWSTMERKER = 1;
  a.LAGERMERKER = index % 3 == 0 ? 1 : 0;
  a.LANGTEXTNR = a.ID;
  a.Langtext = QString::fromLatin1(kind.longText).arg(sizeText) + QStringLiteral("\r\nHersteller: ") +
               QString::fromLatin1(kMakes[make]) + u'.';
  if (HasAttachments(kindIndex)) a.ANBINDNR = AnbindNrOf(kindIndex);
  const double listPrice = kind.listCents / 100.0 * (1 + 0.3 * size) * (1 + 0.05 * make);
  FillPrices(index, kind, listPrice, a);
  if (kind.copper) a.KOSTENART = QStringLiteral("Material Cu");
}
}  // namespace

void MakeDemoCatalogueArticle(int index, TKatalog1Artikel& a) {
  a.Clear();
  if (index < kFixedCount) {
    const FixedArticle& f = kFixed[index];
    a.ID = QString::fromLatin1(f.number);
    FillKind(index, f.kind, f.size, 0, a);
    a.KURZZEILE1 = QString::fromLatin1(f.line1);
    a.KURZZEILE2 = QString::fromLatin1(f.line2);
    FillPrices(index, kKinds[f.kind], f.listPrice, a);
    a.PREISKZ = 0;
    if (index == 0) AddAttachments(f.kind, a);
    AddXmlDetails(index, f.kind, a);
    return;
  }
  const int i = index - kFixedCount;
  const int kindIndex = i % kKindCount;
  const MaterialKind& kind = kKinds[kindIndex];
  const int sizes = int(QString::fromLatin1(kind.sizes).count(u'|')) + 1;
  const int round = i / kKindCount;
  const int size = round % sizes;
  const int make = (round / sizes) % kMakeCount;
  const int series = round / (sizes * kMakeCount);
  // Eight digits, so never one of the seven-digit numbers above.
  a.ID = QStringLiteral("2%1").arg(i, 7, 10, QLatin1Char('0'));
  FillKind(index, kindIndex, size, make, a);
  a.KURZZEILE1 = QString::fromLatin1(kind.name) + u' ' + QString::fromLatin1(kind.sizes).split(u'|').value(size);
  a.KURZZEILE2 = QString::fromLatin1(kind.detail) + u' ' + QString::fromLatin1(kMakes[make]) +
                 (series > 0 ? QStringLiteral(" Serie %1").arg(series) : QString());
  a.ALTERNATIVARTIKELNRERSTELLER = QStringLiteral("GH-NORD");
  a.ALTERNATIVARTIKELNR = QStringLiteral("N%1").arg(i, 8, 10, QLatin1Char('0'));
  // The first of each kind that has attached objects carries them for all.
  if (round == 0 && HasAttachments(kindIndex)) AddAttachments(kindIndex, a);
  AddXmlDetails(index, kindIndex, a);
}

namespace {
bool WriteGroupTables(TKatalog1DB& db) {
  bool ok = true;
  for (const DiscountGroup& g : kDiscountGroups)
    ok = ok && db.Rabatt_SetGruppe(QString::fromLatin1(g.id), QString::fromLatin1(g.description), g.discount,
                                   g.surcharge);
  for (const auto& [bound, surcharge] : kBands) ok = ok && db.Verkauf_SetAufschlag(bound, surcharge);
  for (const auto& [id, description] : kMainGroups)
    ok = ok && db.Warengruppe_Set(QString::fromLatin1(id), QString(), true, QString::fromLatin1(description));
  for (const MaterialKind& kind : kKinds)
    ok = ok && db.Warengruppe_Set(QString::fromLatin1(kind.mainGroup),
                                  QString::fromLatin1(kind.mainGroup) + QString::fromLatin1(kind.group), false,
                                  QString::fromLatin1(kind.name));
  return ok;
}

// Two article sets: a radiator connection and a pump exchange, made of the first articles.
void WriteSets(TKatalog1DB& db, int count) {
  struct Member {
    const char* set;
    const char* description;
    int article;
    double quantity;
  };
  const Member members[] = {{"SET0001", "Heizkoerperanschluss komplett", 4, 1},
                            {"SET0001", "Heizkoerperanschluss komplett", 2, 4},
                            {"SET0001", "Heizkoerperanschluss komplett", 0, 0.4},
                            {"SET0002", "Pumpentausch", 5, 1},
                            {"SET0002", "Pumpentausch", 3, 2}};
  TKatalog1Artikel article;
  TTdbTable& t = *db.CatalogSet;
  for (const Member& m : members) {
    if (m.article >= count) continue;
    MakeDemoCatalogueArticle(m.article, article);
    t.Append();
    t.FieldByName(QStringLiteral("ID")).SetAsString(QString::fromLatin1(m.set));
    t.FieldByName(QStringLiteral("IDTYPE")).SetAsInteger(0);
    t.FieldByName(QStringLiteral("MATCHCODE")).SetAsString(QString::fromLatin1(m.set));
    t.FieldByName(QStringLiteral("BESCHREIBUNG")).SetAsString(QString::fromLatin1(m.description));
    t.FieldByName(QStringLiteral("AUFRUFMERKER")).SetAsInteger(0);
    t.FieldByName(QStringLiteral("ARTIKELSET")).SetAsString(article.ID);
    t.FieldByName(QStringLiteral("MENGE")).SetAsFloat(m.quantity);
    t.Post();
  }
}

QString SearchableText(const TKatalog1Artikel& a) {
  QString text = a.KURZZEILE1 + u' ' + a.KURZZEILE2 + u' ' + a.Langtext;
  text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  return text;
}
}  // namespace

bool FillDemoMaterialCatalogue(const QString& dir, int count, QString* error,
                               QList<QPair<QString, QString>>* indexTexts) {
  if (indexTexts) indexTexts->reserve(indexTexts->size() + count);
  return FillDemoDatabase<TKatalog1DB>(
      QStringLiteral("the material catalogue"), dir, error, [&](TKatalog1DB& db, const QString& directory) {
        db.Open(directory);
        int next = 0;
        const bool written = WriteGroupTables(db) && db.Artikel_SetObjectsBatched([&](TKatalog1Artikel& article) {
          if (next >= count) return false;
          MakeDemoCatalogueArticle(next++, article);
          if (indexTexts) indexTexts->append({article.ID, SearchableText(article)});
          return true;
        });
        if (written) WriteSets(db, count);
        return written;
      });
}
