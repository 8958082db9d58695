#include "DemoAddresses.h"

#include <QDate>
#include <QStringList>
#include <memory>

#include "DBAdress.h"
#include "DBAdressConfig.h"
#include "DemoSupport.h"
#include "PathUtils.h"

namespace {
const QStringList kFirstNames = {
    QStringLiteral("Jürgen"), QStringLiteral("Sören"),  QStringLiteral("Jörg"),   QStringLiteral("Käthe"),
    QStringLiteral("Anna"),   QStringLiteral("Günter"), QStringLiteral("Ursula"), QStringLiteral("Hans"),
    QStringLiteral("Petra"),  QStringLiteral("Björn"),  QStringLiteral("Sabine"), QStringLiteral("Maximilian"),
    QStringLiteral("Lena"),   QStringLiteral("Dieter"), QStringLiteral("Gisela"), QStringLiteral("Tobias")};
const QStringList kLastNames = {
    QStringLiteral("Müller"),  QStringLiteral("Schäfer"),  QStringLiteral("Weiß"),    QStringLiteral("Böhm"),
    QStringLiteral("Strauß"),  QStringLiteral("Köhler"),   QStringLiteral("Krüger"),  QStringLiteral("Groß"),
    QStringLiteral("Schmidt"), QStringLiteral("Hoffmann"), QStringLiteral("Wagner"),  QStringLiteral("Becker"),
    QStringLiteral("Jürgens"), QStringLiteral("Fuchs"),    QStringLiteral("Lößner"),  QStringLiteral("Neumann"),
    QStringLiteral("Vogt"),    QStringLiteral("Zimmermann"), QStringLiteral("Bäumer"), QStringLiteral("Meier")};
const QStringList kTrades = {QStringLiteral("Sanitär"), QStringLiteral("Elektro"), QStringLiteral("Heizungsbau"),
                             QStringLiteral("Dachdeckerei"), QStringLiteral("Tischlerei"),
                             QStringLiteral("Malerbetrieb"), QStringLiteral("Gartenbau")};
const QStringList kForms = {QStringLiteral("GmbH"), QStringLiteral("GmbH & Co. KG"), QStringLiteral("e.K."),
                            QStringLiteral("OHG"), QStringLiteral("AG")};
const QStringList kStreets = {
    QStringLiteral("Hauptstraße"),  QStringLiteral("Bahnhofstraße"), QStringLiteral("Schillerstraße"),
    QStringLiteral("Goethestraße"), QStringLiteral("Gartenweg"),     QStringLiteral("Lindenallee"),
    QStringLiteral("Mühlenweg"),    QStringLiteral("Am Königsplatz"), QStringLiteral("Kirchgasse"),
    QStringLiteral("Rosenstraße"),  QStringLiteral("Brückenstraße"), QStringLiteral("Schloßallee"),
    QStringLiteral("Industriestraße"), QStringLiteral("Am Sägewerk")};
struct Town {
  const char* plz;
  const char16_t* ort;
};
const Town kTowns[] = {{"80331", u"München"},   {"50667", u"Köln"},       {"20095", u"Hamburg"},
                       {"10115", u"Berlin"},    {"70173", u"Stuttgart"},  {"90402", u"Nürnberg"},
                       {"04109", u"Leipzig"},   {"01067", u"Dresden"},    {"28195", u"Bremen"},
                       {"30159", u"Hannover"},  {"97070", u"Würzburg"},   {"48143", u"Münster"},
                       {"79098", u"Freiburg"},  {"66111", u"Saarbrücken"}, {"37073", u"Göttingen"},
                       {"88045", u"Friedrichshafen"}};
const QStringList kGroups = {QStringLiteral("KUNDE"), QStringLiteral("LIEFERANT"), QStringLiteral("INTERESSENT"),
                             QStringLiteral("HANDWERKER"), QStringLiteral("BEHÖRDE")};
const QStringList kAddressMarks = {QStringLiteral("Stammkunde"), QStringLiteral("Großkunde"),
                                   QStringLiteral("Newsletter"), QStringLiteral("Mahnsperre"),
                                   QStringLiteral("Barzahler")};
const QStringList kAnschriftArten = {QStringLiteral("Rechnungsanschrift"), QStringLiteral("Lieferanschrift"),
                                     QStringLiteral("Baustelle")};
const QStringList kContactMarks = {QStringLiteral("Geschäftsführung"), QStringLiteral("Einkauf"),
                                   QStringLiteral("Buchhaltung"), QStringLiteral("Technik")};
const QStringList kSpecialContactMarks = {QStringLiteral("Rechnung per E-Mail"), QStringLiteral("Notfall"),
                                          QStringLiteral("Privat")};
const QStringList kNk = {QStringLiteral("Dr."), QStringLiteral("Prof."), QStringLiteral("Dipl.-Ing.")};

constexpr int kFirstId = 10000;
constexpr int kBatch = 5000;  // rows per transaction


// A small deterministic generator: the same index gives the same address.
class Dice {
 public:
  explicit Dice(quint64 seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
  int Below(int n) {
    state_ ^= state_ >> 12, state_ ^= state_ << 25, state_ ^= state_ >> 27;
    return int((state_ * 0x2545F4914F6CDD1Dull >> 33) % quint64(n));
  }
  const QString& Pick(const QStringList& list) { return list[Below(int(list.size()))]; }

 private:
  quint64 state_;
};

double DaysOf(const QDate& date) { return double(QDate(1899, 12, 30).daysTo(date)); }

QString LowerAscii(QString text) {
  text = text.toLower();
  text.replace(u'ä', QStringLiteral("ae")).replace(u'ö', QStringLiteral("oe"));
  text.replace(u'ü', QStringLiteral("ue")).replace(u'ß', QStringLiteral("ss"));
  return text.remove(u' ');
}

void AddAnschrift(TCustomerAddress& a, Dice& dice, const QString& name1, const QString& name2, bool std,
                  const QString& kind) {
  auto* adr = a.Anschriften.Add(std::make_unique<TCustomerAnschrift>());
  const Town& town = kTowns[dice.Below(int(std::size(kTowns)))];
  adr->Id = QString::number(a.Anschriften.Count());
  adr->Name1 = name1;
  adr->Name2 = name2;
  adr->Strasse = dice.Pick(kStreets) + QLatin1Char(' ') + QString::number(1 + dice.Below(120));
  adr->Land = QStringLiteral("D");
  adr->Plz = QString::fromLatin1(town.plz);
  adr->Ort = QString::fromUtf16(town.ort);
  adr->Std = std;
  adr->Aart = kind;
}

void AddContact(TCustomerAddress& a, Dice& dice, bool std) {
  auto* c = a.Contacts.Add(std::make_unique<TCustomerContact>());
  const QString first = dice.Pick(kFirstNames), last = dice.Pick(kLastNames);
  // The main contact is a person; a further one is a department named by a
  // contact mark, which is what the special search compares with the marks.
  c->Name = std ? first + QLatin1Char(' ') + last : dice.Pick(kContactMarks);
  c->Std = std;
  auto addData = [c](int type, const QString& name, const QString& value, const QString& mark) {
    auto* d = c->Data.Add(std::make_unique<TCustomerContactData>());
    *d = {type, name, value, mark};
  };
  addData(1, QStringLiteral("Telefon"), QStringLiteral("0%1 %2").arg(30 + dice.Below(900)).arg(100000 + dice.Below(899999)),
          QString());
  addData(3, QStringLiteral("E-Mail"), LowerAscii(first) + QLatin1Char('.') + LowerAscii(last) + QStringLiteral("@example.de"),
          dice.Below(3) == 0 ? dice.Pick(kSpecialContactMarks) : QString());
  if (dice.Below(2) == 0) addData(2, QStringLiteral("Mobil"), QStringLiteral("01%1 %2").arg(50 + dice.Below(30)).arg(1000000 + dice.Below(8999999)), QString());
}

// Resubmissions: some in the past, some today, some ahead.
void SetResubmission(TCustomerAddress& a, Dice& dice, int index, const QDate& today) {
  switch (index % 6) {
    case 0: a.Wv = DaysOf(today.addDays(-1 - dice.Below(60))); break;
    case 1: a.Wv = DaysOf(today); break;
    case 2: a.Wv = DaysOf(today.addDays(1 + dice.Below(90))); break;
    default: return;
  }
  a.WvTxt = dice.Below(2) ? QStringLiteral("Angebot nachfassen") : QStringLiteral("Rückruf wegen Wartung");
  a.WvUser = QStringLiteral("ADMIN");
}

}  // namespace

QString DemoAddressId(int index) { return QString::number(kFirstId + index); }

QStringList DemoSupplierAddressIds(int addressCount, int most) {
  QStringList ids;
  for (int i = 0; i < addressCount && ids.size() < most; ++i)
    if (kGroups[i % kGroups.size()] == QLatin1String("LIEFERANT")) ids.append(DemoAddressId(i));
  return ids;
}

namespace {

void BuildAddress(TCustomerAddress& a, int index, const DemoAddressOptions& options, const QDate& today) {
  a.Clear();
  Dice dice(quint64(index) + 1);
  a.Id = DemoAddressId(index);
  a.AddrGrp = kGroups[index % kGroups.size()];
  a.Cr = DaysOf(today.addDays(-400 - dice.Below(2000))) + 0.375;
  a.Ch = a.Cr + dice.Below(300);
  a.CrBy = a.ChBy = QStringLiteral("ADMIN");
  const QString last = dice.Pick(kLastNames);
  const bool firm = index % 3 != 2;
  const QString name1 = firm ? dice.Pick(kTrades) + QLatin1Char(' ') + last + QLatin1Char(' ') + dice.Pick(kForms)
                             : dice.Pick(kFirstNames) + QLatin1Char(' ') + last;
  const QString name2 = firm ? QStringLiteral("Inh. ") + dice.Pick(kFirstNames) + QLatin1Char(' ') + last : QString();
  AddAnschrift(a, dice, name1, name2, true, kAnschriftArten[0]);
  if (options.fullSized || index % 2 == 0) AddAnschrift(a, dice, name1, QString(), false, kAnschriftArten[1 + dice.Below(2)]);
  const int contacts = options.fullSized ? 2 : 1 + index % 2;
  for (int i = 0; i < contacts; ++i) AddContact(a, dice, i == 0);
  for (const QString& mark : kAddressMarks)
    if (dice.Below(3) == 0) a.Kz << mark;
  SetResubmission(a, dice, index, today);
  if (a.AddrGrp == kGroups[0]) a.DebitorNr = QString::number(100000 + index);
  if (a.AddrGrp == kGroups[1]) a.KreditorNr = QString::number(700000 + index);
  if (index % 7 == 0) a.Info = QStringLiteral("Zufahrt über den Hof, Tor schließt um 17 Uhr.");
  auto* pw = a.PaymentWays.Add(std::make_unique<TPaymentWay>());
  *pw = {1, QString(), QStringLiteral("Sparkasse"), QString(), QString(),
         QStringLiteral("DE%1").arg(qint64(1000000000) + index, 20, 10, QLatin1Char('0')), QStringLiteral("SPKADE2XXXX")};
  auto* pt = a.PaymentTerms.Add(std::make_unique<TPaymentTerm>());
  *pt = {1, 2, 10, 30};
  a.At = a.BuildDisplayText();
}
}  // namespace

bool FillDemoAddresses(const QString& addressDir, int count, QString* error, const DemoAddressOptions& options) {
  QString logged;
  TDBAdress db([&logged](const std::exception* e, const QString& message) {
    logged = message + (e ? QStringLiteral(": ") + QString::fromUtf8(e->what()) : QString());
  });
  try {
    db.Open(addressDir);
    if (!db.Table->IsEmpty()) db.Table->EmptyTable();  // the same count always gives the same table
    const QDate today = QDate::currentDate();
    TCustomerAddress address;
    const bool written = WriteInBatches(*db.Database, count, kBatch, [&](int i) {
      BuildAddress(address, i, options, today);
      return db.AppendCustomer(address) == 0;
    });
    if (!written) return Fail(error, QStringLiteral("cannot write the demo addresses: %1").arg(logged));
    db.CloseDatabase();
  } catch (const std::exception& e) {
    return Fail(error, QStringLiteral("cannot open the address book %1: %2").arg(addressDir, QString::fromUtf8(e.what())));
  }
  return true;
}

bool WriteDemoAddressConfig(const QString& addressDir, QString* error) {
  if (!EnsureDirectory(addressDir)) return Fail(error, QStringLiteral("cannot create directory %1").arg(addressDir));
  TAddressConfig config;
  config.Lkz = QStringLiteral("D");
  config.StdMwSt = 1;
  config.StdMailHeader = QStringLiteral("Sehr geehrte Damen und Herren,");
  config.AdressKz = kAddressMarks;
  config.AnschriftArten = kAnschriftArten;
  config.AdressGrp = kGroups;
  config.Nk = kNk;
  config.KontaktKz = kContactMarks;
  config.SpezielleKontaktKz = kSpecialContactMarks;
  const QString file = TAddressConfig::FileNameIn(addressDir);
  if (!config.SaveToFile(file)) return Fail(error, QStringLiteral("cannot write %1").arg(file));
  return true;
}
