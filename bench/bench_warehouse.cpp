// warehouse.search: Search over 100,000 articles for two terms; the
//   reference is a raw SQLite loop over Bezeichnung doing the same
//   upper-case substring tests.
// warehouse.foreach: ForEachLagerArtikel over the same articles, each read
//   completely (columns and XML); the reference is a raw SELECT of the same
//   columns, each read once.
#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchSupport.h"
#include "RawSqlite.h"
#include "ULAGUnit1Core.h"

namespace {
constexpr int kArticles = 100000;
constexpr int kRounds = 5;
constexpr int kBatch = 5000;

QString Column(sqlite3_stmt* s, int column) {
  return QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(s, column)),
                            sqlite3_column_bytes16(s, column) / 2);
}

const char* const kKinds[] = {"Kupferrohr", "Kabel NYM-J", "Schraube", "Duebel", "Muffe", "Winkel", "Flachstahl",
                              "Schalter", "Steckdose", "Heizkoerper", "Ventil", "Dichtung", "Silikon", "Rohrschelle"};
const char* const kSizes[] = {"15 mm", "22 mm", "3x1,5", "5x2,5", "M8x40", "6x30", "DN 20", "40x4", "weiss", "grau"};
const char* const kGroups[] = {"SANITAER", "ELEKTRO", "BEFESTIGUNG", "HEIZUNG", "STAHL"};

void FillArticle(TLagerServerObj& a, int i) {
  a.Clear();
  a.LagerArtikelNr = QStringLiteral("L%1").arg(i, 7, 10, QLatin1Char('0'));
  a.Katalog = QStringLiteral("SONEPAR");
  a.Bezeichnung = QString::fromLatin1(kKinds[i % std::size(kKinds)]) + u' ' +
                  QString::fromLatin1(kSizes[(i / 7) % std::size(kSizes)]) + QStringLiteral(" Art. %1").arg(i);
  a.Gruppe = QString::fromLatin1(kGroups[i % std::size(kGroups)]);
  a.Lagerort = QStringLiteral("R%1-F%2").arg(i % 40).arg(i % 9);
  a.Rabattgruppen = QStringLiteral("K%1").arg(i % 12);
  a.ME = QStringLiteral("Stk");
  a.BuchungsBestand = i % 300, a.Anfangsbestand = i % 50, a.SummeWareneingangMe = i % 700;
  a.Inventurartikel = i % 3 != 0, a.IsNotBestandsArtikel = i % 17 == 0;
  a.EKPreis = 12345 + i, a.VKZuschlag = 1.35, a.MwStSatz = 1;
  for (int p = 0; p < 5; ++p) a.Vkp[size_t(p)] = (20000 + i) * (10 - p) / 10;
  a.Gew = 0.25, a.Laenge = 1000, a.Pe = 1, a.Az = 0.1, a.L = 480000;
  a.Kt = a.Bezeichnung;
  a.MinDB = {TLagerServerObj::MinBestandLine(1, 1, 31, 12, 5, 20)};
  a.CreatedBy = a.ChangedBy = QStringLiteral("LAGER");
}

bool FillWarehouse(IModLagerDBServerObj& db) {
  TLagerServerObj a;
  for (int i = 0; i < kArticles; i += kBatch) {
    db.Database->StartTransaction();
    for (int j = i; j < std::min(kArticles, i + kBatch); ++j) {
      FillArticle(a, j);
      if (db.SetLagerArtikel(a) != 0) return false;
    }
    db.Database->Commit();
  }
  return true;
}

// The references, on a connection of their own.
class Raw {
 public:
  explicit Raw(const QString& file) { sqlite3_open_v2(file.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr); }
  ~Raw() { sqlite3_close(db_); }
  double SearchMs(const QStringList& terms, int& hits) {
    const double start = NowMs();
    sqlite3_stmt* s = Prepare("SELECT Bezeichnung FROM LAGER ORDER BY LagerArtikelNr");
    hits = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
      const QString upper = Column(s, 0).toUpper();
      bool all = true;
      for (const QString& term : terms) all = all && upper.contains(term);
      hits += all;
    }
    sqlite3_finalize(s);
    return NowMs() - start;
  }

 private:
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db_, sql, -1, &s, nullptr);
    return s;
  }
  sqlite3* db_ = nullptr;
};
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString search = QStringLiteral("warehouse.search"), forEach = QStringLiteral("warehouse.foreach");
  if (!Selected(search) && !Selected(forEach)) return 0;
  QTemporaryDir dir;
  const QString lagerDir = dir.path() + QStringLiteral("/LAGER/");
  IModLagerDBServerObj db(LogToStderr);
  db.Open(lagerDir);
  if (!MakeBenchData(kArticles, "articles", [&](QString*) { return FillWarehouse(db); })) return 1;
  Raw raw(lagerDir + QStringLiteral("LAGER.DAT"));

  if (Selected(search)) {
    const QString text = QStringLiteral("rohr 15");
    int ours = 0, reference = 0;
    BenchAgainst(
        search, kRounds,
        [&] {
          return TimedMs([&] {
            TDBLagerSearchResultObjectList results;
            db.Search(text, QString(), results, false, false);
            ours = results.Count();
          });
        },
        [&] { return raw.SearchMs(text.toUpper().split(u' '), reference); });
    std::printf("# %s: \"%s\" finds %d articles (reference %d)\n", qPrintable(search), qPrintable(text), ours,
                reference);
  }
  if (Selected(forEach)) {
    const auto walk = [&] {
      qint64 passed = 0;
      db.ForEachLagerArtikel([&](TLagerServerObj&) { ++passed; });
      return passed;
    };
    BenchWalkAgainstRaw(forEach, kRounds, walk, lagerDir + QStringLiteral("LAGER.DAT"),
                        "SELECT * FROM LAGER ORDER BY LagerArtikelNr");
  }
  return 0;
}
