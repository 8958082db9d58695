// ksp.bulk_set: SetArtikelBatched of 100,000 entries (every tenth with a
//   quantity scale) into a new article-price table, as a whole-catalogue
//   take-over does, against prepared INSERTs of the same rows in one transaction.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

#include "BenchSupport.h"
#include "RawSqlite.h"
#include "KSPRDatabase.h"

namespace {
constexpr int kRows = 100000;
constexpr int kRounds = 5;

struct Source {
  QString katalog, artikelNr, bezeichnung;
  Currency preis;
  double rabatt, zeit;
  Currency lohn;
  int scaleLines;
};

std::vector<Source> MakeSource() {
  std::vector<Source> rows;
  rows.reserve(kRows);
  for (int i = 0; i < kRows; ++i)
    rows.push_back({QStringLiteral("DATANORM%1").arg(i % 3), QStringLiteral("A%1").arg(i, 8, 10, QLatin1Char('0')),
                    QStringLiteral("Kupferrohr %1 mm hart").arg(i % 54), Currency(i) * 37 + 10000, double(i % 20),
                    0.25 * (i % 8), 450000, i % 10 == 0 ? 3 : 0});
  return rows;
}

void FillEntry(const Source& s, TKSPRDatabaseObj& e) {
  e.Katalog = s.katalog;
  e.ArtikelNr = s.artikelNr;
  e.Bezeichnung = s.bezeichnung;
  e.Preis = s.preis;
  e.Rabatt = s.rabatt;
  e.Zeit = s.zeit;
  e.Lohn = s.lohn;
  for (int k = 1; k <= s.scaleLines; ++k) e.Mengenstaffel.Add(k * 10, k * 2.5, CurrencyToDouble(s.preis) - k);
}

double OursBulkSet(const QString& path, const std::vector<Source>& rows) {
  TKSPRDatabase db([](const std::exception*, const QString& place) {
    std::fprintf(stderr, "ksp.bulk_set: %s failed\n", qPrintable(place));
  });
  db.OpenFile(path, false);
  const double start = NowMs();
  size_t next = 0;
  db.SetArtikelBatched([&](TKSPRDatabaseObj& e) {
    if (next == rows.size()) return false;
    FillEntry(rows[next++], e);
    return true;
  });
  return NowMs() - start;
}

double RawInsert(const QString& path, const std::vector<Source>& rows, const std::vector<QString>& xml) {
  return RawInsertKspMs(path, qint64(rows.size()), [&](qint64 i, RawKspRow& row) {
    const Source& s = rows[size_t(i)];
    row = {s.katalog, s.artikelNr, s.bezeichnung, CurrencyToDouble(s.preis), s.rabatt, s.zeit,
           CurrencyToDouble(s.lohn), xml[size_t(i)]};
  });
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  if (!Selected(QStringLiteral("ksp.bulk_set"))) return 0;
  QTemporaryDir dir;
  const std::vector<Source> rows = MakeSource();
  // The reference stores the very XML texts the store writes.
  std::vector<QString> xml;
  xml.reserve(rows.size());
  for (const Source& s : rows) {
    TKSPRDatabaseObj e;
    FillEntry(s, e);
    xml.push_back(e.GetXMLText(false));
  }
  int files = 0;  // every run writes a new file
  auto fresh = [&](const char* ext) { return dir.path() + QStringLiteral("/%1.%2").arg(++files).arg(QLatin1String(ext)); };
  BenchAgainst(
      QStringLiteral("ksp.bulk_set"), kRounds, [&] { return OursBulkSet(fresh("TDBD"), rows); },
      [&] { return RawInsert(fresh("db"), rows, xml); });
  return 0;
}
