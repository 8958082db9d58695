#include "DemoWarehouse.h"

#include <cmath>

#include "DemoPricing.h"
#include "DemoSupport.h"
#include "KSPRDatabase.h"
#include "PricingFiles.h"
#include "ULAGUnit1Core.h"

namespace {
enum Group { kHeizung, kSanitaer, kElektro, kWerkzeug };

// One kind of article; the warehouse holds it in several sizes and makes.
struct DemoKind {
  Group group;
  const char* discountGroup;  // one of the predefined keys
  const char* name;
  const char* sizes;  // '|'-separated
  const char* unit;
  int purchaseCents;  // of the smallest size
  double hours;       // working time of fitting one
  bool serial;
};

const DemoKind kKinds[] = {
    {kSanitaer, "CU", "Kupferrohr halbhart", "12x1|15x1|18x1|22x1|28x1,5", "m", 620, 0.10, false},
    {kSanitaer, "CU", "Cu-Bogen 90 Grad", "12 mm|15 mm|18 mm|22 mm|28 mm", "Stck", 95, 0.05, false},
    {kSanitaer, "ST", "Gewinderohr verzinkt", "1/2 Zoll|3/4 Zoll|1 Zoll|5/4 Zoll", "m", 740, 0.15, false},
    {kSanitaer, "PE", "PE-Xa Rohr", "16x2|20x2|25x2,3|32x2,9", "m", 130, 0.05, false},
    {kSanitaer, "PP", "HT-Rohr", "DN 40 250 mm|DN 50 500 mm|DN 75 1000 mm|DN 110 2000 mm", "Stck", 210, 0.10, false},
    {kSanitaer, "MS", "Messing-Uebergangsstueck", "1/2 Zoll|3/4 Zoll|1 Zoll", "Stck", 310, 0.05, false},
    {kSanitaer, "KH", "Kugelhahn mit Hebel", "1/2 Zoll|3/4 Zoll|1 Zoll|5/4 Zoll", "Stck", 890, 0.25, false},
    {kSanitaer, "SAN", "Wand-WC spuelrandlos", "weiss|manhattan|pergamon", "Stck", 14900, 1.50, false},
    {kSanitaer, "SAN", "Waschtisch", "50 cm|60 cm|80 cm", "Stck", 8900, 1.25, false},
    {kSanitaer, "ARM", "Einhebel-Waschtischmischer", "chrom|edelstahl|schwarz matt", "Stck", 6400, 0.75, false},
    {kSanitaer, "ARM", "Spueltischarmatur", "chrom|edelstahl", "Stck", 7900, 0.75, false},
    {kSanitaer, "DU", "Duschsystem Thermostat", "Kopfbrause 200 mm|Kopfbrause 250 mm", "Stck", 29900, 2.00, false},
    {kSanitaer, "WC", "WC-Vorwandelement", "112 cm|98 cm", "Stck", 16900, 1.75, false},
    {kSanitaer, "DI", "Sanitaer-Silikon", "transparent|weiss|grau", "Stck", 520, 0.00, false},
    {kHeizung, "PU", "Hocheffizienz-Umwaelzpumpe", "25-40|25-60|32-60", "Stck", 18900, 1.00, true},
    {kHeizung, "HK", "Gas-Brennwerttherme", "14 kW|20 kW|25 kW", "Stck", 189000, 8.00, true},
    {kHeizung, "HKV", "Thermostatventil Unterteil", "DN 10|DN 15|DN 20", "Stck", 990, 0.20, false},
    {kHeizung, "HKV", "Thermostatkopf", "Fluessigfuehler|Fernfuehler 2 m", "Stck", 1450, 0.10, false},
    {kHeizung, "HKP", "Profil-Heizkoerper Typ 22", "600x400|600x800|600x1200|900x600", "Stck", 8900, 1.50, false},
    {kHeizung, "FB", "Fussbodenheizungsverteiler", "4 Kreise|6 Kreise|8 Kreise", "Stck", 21900, 2.50, false},
    {kHeizung, "SO", "Flachkollektor", "2,0 qm|2,5 qm", "Stck", 49900, 3.00, false},
    {kHeizung, "WP", "Luft-Wasser-Waermepumpe", "7 kW|9 kW|12 kW", "Stck", 689000, 16.00, true},
    {kHeizung, "SP", "Warmwasserspeicher", "200 l|300 l|400 l", "Stck", 99000, 4.00, true},
    {kHeizung, "DA", "Rohrisolierung", "15x9|22x13|28x20", "m", 150, 0.03, false},
    {kHeizung, "RE", "Aussentemperaturfuehler", "NTC 10k|PT 1000", "Stck", 2400, 0.50, false},
    {kHeizung, "GA", "Gas-Kugelhahn", "1/2 Zoll|3/4 Zoll", "Stck", 1650, 0.30, false},
    {kHeizung, "LU", "Wohnraumlueftungsgeraet", "150 cbm/h|250 cbm/h", "Stck", 149000, 6.00, true},
    {kHeizung, "KL", "Split-Klimageraet", "2,5 kW|3,5 kW", "Stck", 79000, 6.00, true},
    {kElektro, "KA", "Mantelleitung NYM-J", "3x1,5|5x1,5|3x2,5|5x2,5", "m", 85, 0.02, false},
    {kElektro, "SCH", "Schuko-Steckdose", "reinweiss|alpinweiss|anthrazit", "Stck", 420, 0.25, false},
    {kElektro, "SCH", "Wechselschalter", "reinweiss|alpinweiss|anthrazit", "Stck", 390, 0.25, false},
    {kElektro, "VT", "Leitungsschutzschalter", "B 10 A|B 16 A|C 16 A", "Stck", 310, 0.15, false},
    {kElektro, "VT", "FI-Schutzschalter 30 mA", "40 A 4-polig|63 A 4-polig", "Stck", 2900, 0.50, false},
    {kElektro, "LE", "LED-Einbaustrahler", "3000 K|4000 K", "Stck", 1290, 0.30, false},
    {kWerkzeug, "WZ", "Rohrzange", "1 Zoll|1,5 Zoll|2 Zoll", "Stck", 2100, 0.00, false},
    {kWerkzeug, "WZ", "Pressmaschine", "Akku 18 V", "Stck", 159000, 0.00, true},
    {kWerkzeug, "BF", "Rohrschelle mit Einlage", "15 mm|22 mm|28 mm|42 mm", "Stck", 75, 0.02, false},
    {kWerkzeug, "BF", "Duebel Nylon", "6x30|8x40|10x50", "Pack", 390, 0.00, false},
};
constexpr int kKindCount = int(std::size(kKinds));

const char* const kMakes[] = {"Standard", "Marke Nord", "Marke Sued", "Profi", "Eco"};
constexpr int kMakeCount = int(std::size(kMakes));

// Sales prices 1 to 5 as factors on the purchase price: list price down to the reseller's.
constexpr double kSalesFactors[5] = {1.60, 1.50, 1.42, 1.35, 1.25};
constexpr Currency kHourlyWage = 580000;  // 58 EUR

// View colours (blue in the high byte): clearance stock and articles on order.
constexpr qint32 kColourClearance = 0x00C0C0FF;
constexpr qint32 kColourOnOrder = 0x00C0FFFF;

Currency Cents(double euros) { return CurrencyFromDouble(std::round(euros * 100) / 100); }

QString DemoArticleNr(int index) { return QString::number(100000 + index); }

// Two serial numbers for each article that needs them.
constexpr int kSerialsPerArticle = 2;

void WriteSerialNumbers(IModLagerDBServerObj& db, const TLagerServerObj& article, int index) {
  TTdbTable& sn = *db.LagerSN;
  for (int n = 1; n <= kSerialsPerArticle; ++n) {
    const QString serial = QStringLiteral("SN-%1-%2").arg(article.LagerArtikelNr).arg(n);
    if (sn.Locate(QStringLiteral("SN"), serial))
      sn.Edit();
    else
      sn.Append();
    sn.FieldByName(QStringLiteral("SN")).SetAsString(serial);
    sn.FieldByName(QStringLiteral("LagerArtikelNr")).SetAsString(article.LagerArtikelNr);
    sn.FieldByName(QStringLiteral("INFO")).SetAsString(QStringLiteral("Wareneingang Lieferschein %1").arg(50000 + index));
    sn.FieldByName(QStringLiteral("ZUGANG")).SetAsFloat(article.Created + n);
    sn.FieldByName(QStringLiteral("LIEFERANT")).SetAsString(QStringLiteral("700%1").arg(index % 7));
    sn.Post();
  }
}

// Articles written per transaction: a few thousand, so that other programs
// on the warehouse wait a moment only.
constexpr int kBatchArticles = 2000;

// False when an article was refused (the store has reported why); its batch is undone.
bool WriteArticles(IModLagerDBServerObj& db, int count) {
  TLagerServerObj article;
  return WriteInBatches(*db.Database, count, kBatchArticles, [&](int i) {
    MakeDemoArticle(i, article);
    if (db.SetLagerArtikel(article) != 0) return false;
    if (article.SNPflicht) WriteSerialNumbers(db, article, i);
    return true;
  });
}

// Entries of the demo catalogues: catalogue, article number, description, list price.
struct DemoCatalogueArticle {
  const char* catalogue;
  const char* number;
  const char* description;
  double price;
};
const DemoCatalogueArticle kCatalogueArticles[] = {
    {"DATANORM_SHK", "4711015", "Kupferrohr halbhart 15x1 5 m", 48.90},
    {"DATANORM_SHK", "4711022", "Kupferrohr halbhart 22x1 5 m", 71.40},
    {"DATANORM_SHK", "5102001", "Press-Bogen 90 Grad 15 mm", 6.85},
    {"DATANORM_SHK", "5102003", "Press-T-Stueck 22 mm", 11.20},
    {"DATANORM_SHK", "6200410", "Thermostatventil Eckform DN 15", 18.60},
    {"DATANORM_SHK", "7800125", "Hocheffizienzpumpe 25-60 180 mm", 289.00},
    {"LIEFERANT_MEIER", "M-10234", "Installationsblock Waschtisch", 54.00},
    {"LIEFERANT_MEIER", "M-10877", "Betaetigungsplatte 2-Mengen weiss", 39.50},
    {"LIEFERANT_MEIER", "M-20015", "Montageschiene 2 m verzinkt", 12.75},
};

// Scales from 10 pieces on, growing with the customer; every second article
// gets a discount per step, the others a price.
void AddScale(TKSPRDatabaseObj& entry, int customer, int article) {
  const int steps = 1 + (customer + article) % 3;
  for (int s = 1; s <= steps; ++s) {
    const double quantity = s * s * 10.0;
    if (article % 2 == 0)
      entry.Mengenstaffel.Add(quantity, s * (2.5 + customer), 0);
    else
      entry.Mengenstaffel.Add(quantity, 0, CurrencyToDouble(Cents(CurrencyToDouble(entry.Preis) * (1 - 0.04 * s))));
  }
}

// The warehouse articles a customer has prices for: a spread over the first
// articles that differs per customer.
constexpr int kWarehouseEntries = 25;

bool FillOneArticlePriceTable(const QString& file, int customer, int warehouseCount, QString* error) {
  QString logged;
  TKSPRDatabase db(KeepFirstError(logged));
  const int warehouseEntries = std::min(kWarehouseEntries, warehouseCount);
  const int total = warehouseEntries + int(std::size(kCatalogueArticles));
  int next = 0;
  TLagerServerObj article;
  try {
    db.OpenFile(file, false);
    db.SetArtikelBatched([&](TKSPRDatabaseObj& entry) {
      if (next >= total) return false;
      const int k = next++;
      if (k < warehouseEntries) {
        MakeDemoArticle((customer * 131 + k * 79) % warehouseCount, article);
        entry.Katalog = QStringLiteral("LAGER");
        entry.ArtikelNr = article.LagerArtikelNr;
        entry.Bezeichnung = article.Bezeichnung;
        entry.Preis = Cents(CurrencyToDouble(article.Vkp[1]) * (0.97 - 0.01 * customer));
        entry.Zeit = article.Az;
        entry.Lohn = k % 5 == 0 ? article.L - 50000 : 0;
      } else {
        const DemoCatalogueArticle& c = kCatalogueArticles[k - warehouseEntries];
        entry.Katalog = QString::fromLatin1(c.catalogue);
        entry.ArtikelNr = QString::fromLatin1(c.number);
        entry.Bezeichnung = QString::fromLatin1(c.description);
        entry.Rabatt = 5 + (customer + k) % 4 * 2.5;
        entry.Preis = k % 3 == 0 ? Cents(c.price * 0.9) : 0;
      }
      if (k % 3 != 2) AddScale(entry, customer, k);
      return true;
    });
  } catch (const std::exception& e) {
    return Fail(error, QStringLiteral("cannot fill %1: %2").arg(file, QString::fromUtf8(e.what())));
  }
  db.Close();
  if (!logged.isEmpty()) return Fail(error, QStringLiteral("cannot fill %1: %2").arg(file, logged));
  return true;
}
}  // namespace

void MakeDemoArticle(int index, TLagerServerObj& a) {
  a.Clear();
  const DemoKind& kind = kKinds[index % kKindCount];
  const QStringList sizes = QString::fromLatin1(kind.sizes).split(u'|');
  const int round = index / kKindCount;
  const int size = round % int(sizes.size());
  const int make = (round / int(sizes.size())) % kMakeCount;
  a.LagerArtikelNr = DemoArticleNr(index);
  a.AlternativArtikelNr = QStringLiteral("A-%1").arg(index, 6, 10, QLatin1Char('0'));
  a.EAN = QStringLiteral("40%1").arg(qint64(1234500000) + index * 7, 11, 10, QLatin1Char('0'));
  a.Katalog = make % 2 == 0 ? QStringLiteral("DATANORM_SHK") : QStringLiteral("LIEFERANT_MEIER");
  a.Bezeichnung = QString::fromLatin1(kind.name) + u' ' + sizes[size] + u' ' + QString::fromLatin1(kMakes[make]);
  a.Gruppe = DemoArticleGroups().value(kind.group);
  a.Lagerort = DemoStorageLocations().value(index % 7 == 0 ? 2 : index % 2);
  a.Rabattgruppen = QString::fromLatin1(kind.discountGroup);
  a.ME = QString::fromLatin1(kind.unit);
  // Larger sizes cost more, makes differ a little.
  const double purchase = kind.purchaseCents / 100.0 * (1 + 0.35 * size) * (1 + 0.06 * make);
  a.EKPreis = Cents(purchase);
  a.VKZuschlag = kSalesFactors[0];
  for (size_t p = 0; p < 5; ++p) a.Vkp[p] = Cents(purchase * kSalesFactors[p]);
  a.MwStSatz = kind.group == kWerkzeug && index % 11 == 0 ? 0 : 1;  // some tools are the firm's own
  a.IsNotBestandsArtikel = a.ME == QLatin1String("m") && index % 5 == 0;
  a.Inventurartikel = !a.IsNotBestandsArtikel;
  a.Anfangsbestand = (index * 13) % 40;
  a.SummeWareneingangMe = a.Anfangsbestand + (index * 7) % 60;
  a.BuchungsBestand = a.SummeWareneingangMe - (index * 3) % 25;
  a.DEinstandsPreisbildung = index % 3 == 0;
  a.SNPflicht = kind.serial;
  a.ViewColor = index % 97 == 0 ? kColourClearance : index % 89 == 0 ? kColourOnOrder : 0;
  a.Created = 45000 + index % 700;  // a day in 2023 or 2024
  a.Changed = a.Created + index % 30;
  a.CreatedBy = a.ChangedBy = QStringLiteral("ADMIN");
  a.Az = kind.hours;
  a.L = kind.hours > 0 ? kHourlyWage : 0;
  a.Kt = a.Bezeichnung;
  if (kind.serial) a.Lt = QStringLiteral("Mit Seriennummer, Garantie 5 Jahre nach Registrierung.");
  if (!a.IsNotBestandsArtikel)
    a.MinDB = {TLagerServerObj::MinBestandLine(1, 1, 30, 4, 5, 20), TLagerServerObj::MinBestandLine(1, 5, 30, 9, 2, 10),
               TLagerServerObj::MinBestandLine(1, 10, 31, 12, 8, 25)};
  a.KatRefs.Add(a.Katalog, a.AlternativArtikelNr);
}

bool FillDemoWarehouse(const QString& warehouseDir, int count, QString* error) {
  return FillDemoDatabase<IModLagerDBServerObj>(
      QStringLiteral("the warehouse"), warehouseDir, error, [&](IModLagerDBServerObj& db, const QString& dir) {
        db.Open(dir);
        return WriteArticles(db, count);
      });
}

bool FillDemoArticlePrices(const QString& addressDir, const QStringList& ids, int warehouseCount, QString* error) {
  const QString dir = NormalizePath(addressDir, true) + QStringLiteral("003");
  if (!EnsureDirectory(dir)) return Fail(error, QStringLiteral("cannot create directory %1").arg(dir));
  for (int customer = 0; customer < ids.size(); ++customer) {
    const QString file = PricingFilePath(addressDir, QStringLiteral("003"), ids[customer], QStringLiteral(".TDBD"));
    if (file.isEmpty()) return Fail(error, QStringLiteral("invalid address identifier: %1").arg(ids[customer]));
    if (!FillOneArticlePriceTable(file, customer, warehouseCount, error)) return false;
  }
  return true;
}
