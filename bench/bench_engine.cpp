// engine.bulk_post: 100,000 rows shaped like the article-price table appended
//   and posted in one bulk operation, against prepared INSERTs in one transaction.
// engine.walk: 1,000,000 rows walked First..Eof on the active index reading four
//   fields, against a raw SELECT ... ORDER BY step loop.
// engine.position: positioning by record number at random places in the
//   1,000,000-row table and reading the next 50 rows (median).
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <sqlite3.h>

#include "BenchSupport.h"
#include "RawSqlite.h"
#include "TdbDatabase.h"
#include "TdbTable.h"

namespace {
const char* const kTable = "KSP";
constexpr int kRounds = 5;

void DefineArticlePriceTable(TTdbTable& table) {
  table.SetTableName(QString::fromLatin1(kTable));
  auto& f = table.FieldDefs();
  f.Add(QStringLiteral("KATALOG"), TdbFieldKind::WideString, 50);
  f.Add(QStringLiteral("ARTIKELNR"), TdbFieldKind::WideString, 50);
  f.Add(QStringLiteral("BEZEICHNUNG"), TdbFieldKind::WideString, 255);
  f.Add(QStringLiteral("PREIS"), TdbFieldKind::Float);
  f.Add(QStringLiteral("RABATT"), TdbFieldKind::Float);
  f.Add(QStringLiteral("ZEIT"), TdbFieldKind::Float);
  f.Add(QStringLiteral("LOHN"), TdbFieldKind::Float);
  f.Add(QStringLiteral("XMLDATA"), TdbFieldKind::WideMemo);
  table.IndexDefs().Add(QStringLiteral("INDEX"), QStringLiteral("KATALOG;ARTIKELNR"), ixPrimary | ixUnique);
}

QString Katalog(int i) { return QStringLiteral("KAT%1").arg(i % 7); }
QString ArtikelNr(int i) { return QStringLiteral("A%1").arg(i, 8, 10, QLatin1Char('0')); }

// The article-price table of a file, open on its index; made first when asked.
struct EngineFile {
  TTdbDatabase db;
  TTdbTable table{&db};
  EngineFile(const QString& path, bool create) {
    db.SetDatabaseType(TTdbDatabase::FileDatabase);
    db.SetLocation(path);
    if (create) {
      db.CreateDatabase();
      DefineArticlePriceTable(table);
      table.CreateTable();
    } else {
      table.SetTableName(QString::fromLatin1(kTable));
    }
    db.Connect();
    table.SetIndexName(QStringLiteral("INDEX"));
    table.Open();
  }
};

double EngineBulkPost(const QString& path, int rows) {
  EngineFile file(path, true);
  const double start = NowMs();
  file.db.StartTransaction();
  for (int i = 0; i < rows; ++i) {
    file.table.Append();
    file.table.FieldByName(QStringLiteral("KATALOG")).SetAsString(Katalog(i));
    file.table.FieldByName(QStringLiteral("ARTIKELNR")).SetAsString(ArtikelNr(i));
    file.table.FieldByName(QStringLiteral("BEZEICHNUNG")).SetAsString(QStringLiteral("Kupferrohr 15 mm"));
    file.table.FieldByName(QStringLiteral("PREIS")).SetAsFloat(i * 0.01);
    file.table.FieldByName(QStringLiteral("RABATT")).SetAsFloat(5);
    file.table.FieldByName(QStringLiteral("ZEIT")).SetAsFloat(1.5);
    file.table.FieldByName(QStringLiteral("LOHN")).SetAsFloat(42);
    file.table.FieldByName(QStringLiteral("XMLDATA")).SetAsString(QString());
    file.table.Post();
  }
  file.db.Commit();
  return NowMs() - start;
}

double RawBulkInsert(const QString& path, int rows) {
  return RawInsertKspMs(path, rows, [](qint64 i, RawKspRow& row) {
    row.katalog = Katalog(int(i));
    row.artikelNr = ArtikelNr(int(i));
    row.bezeichnung = QStringLiteral("Kupferrohr 15 mm");
    row.preis = double(i) * 0.01;
    row.rabatt = 5;
    row.zeit = 1.5;
    row.lohn = 42;
    row.xml.clear();
  });
}

double EngineWalk(const QString& path, qint64& rows) {
  EngineFile file(path, false);
  TTdbTable& table = file.table;
  TTdbField& katalog = table.FieldByName(QStringLiteral("KATALOG"));
  TTdbField& artikel = table.FieldByName(QStringLiteral("ARTIKELNR"));
  TTdbField& preis = table.FieldByName(QStringLiteral("PREIS"));
  TTdbField& rabatt = table.FieldByName(QStringLiteral("RABATT"));
  const double start = NowMs();
  double sum = 0;
  qsizetype chars = 0;
  rows = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    chars += katalog.AsString().size() + artikel.AsString().size();
    sum += preis.AsFloat() + rabatt.AsFloat();
    ++rows;
  }
  const double ms = NowMs() - start;
  if (sum < 0 || chars < 0) std::printf("impossible\n");
  return ms;
}

double RawWalk(const QString& path, const char* table, qint64& rows) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  const QByteArray sql = QByteArray("SELECT KATALOG, ARTIKELNR, PREIS, RABATT FROM \"") + table +
                         "\" ORDER BY KATALOG, ARTIKELNR, rowid";
  sqlite3_stmt* select = nullptr;
  const double start = NowMs();
  sqlite3_prepare_v2(db, sql.constData(), -1, &select, nullptr);
  double sum = 0;
  qsizetype chars = 0;
  rows = 0;
  while (sqlite3_step(select) == SQLITE_ROW) {
    const QString k = QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(select, 0)),
                                         sqlite3_column_bytes16(select, 0) / 2);
    const QString a = QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(select, 1)),
                                         sqlite3_column_bytes16(select, 1) / 2);
    chars += k.size() + a.size();
    sum += sqlite3_column_double(select, 2) + sqlite3_column_double(select, 3);
    ++rows;
  }
  sqlite3_finalize(select);
  const double ms = NowMs() - start;
  sqlite3_close(db);
  if (sum < 0 || chars < 0) std::printf("impossible\n");
  return ms;
}

double EnginePosition(const QString& path, qint64 rows) {
  EngineFile file(path, false);
  TTdbTable& table = file.table;
  QRandomGenerator random(4711);
  return MedianMs(50, [&] {
    table.SetRecordNo(1 + random.bounded(rows - 60));
    for (int i = 0; i < 50 && !table.Eof(); ++i) {
      (void)table.FieldByName(QStringLiteral("ARTIKELNR")).AsString();
      table.Next();
    }
  });
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  QTemporaryDir dir;
  if (Selected(QStringLiteral("engine.bulk_post"))) {
    int files = 0;  // every run writes a new file
    auto fresh = [&](const char* name) { return dir.path() + QStringLiteral("/%1.%2").arg(++files).arg(QLatin1String(name)); };
    BenchAgainst(
        QStringLiteral("engine.bulk_post"), kRounds, [&] { return EngineBulkPost(fresh("TDBD"), 100000); },
        [&] { return RawBulkInsert(fresh("db"), 100000); });
  }
  if (Selected(QStringLiteral("engine.walk")) || Selected(QStringLiteral("engine.position"))) {
    const QString big = dir.path() + QStringLiteral("/big.TDBD");
    EngineBulkPost(big, 1000000);
    qint64 rows = 0;
    if (Selected(QStringLiteral("engine.walk"))) {
      qint64 rawRows = 0;
      BenchAgainst(
          QStringLiteral("engine.walk"), kRounds, [&] { return EngineWalk(big, rows); },
          [&] { return RawWalk(big, kTable, rawRows); });
      if (rows != rawRows) std::printf("engine.walk: %lld rows, raw %lld\n", rows, rawRows);
    }
    if (Selected(QStringLiteral("engine.position")))
      PrintBench(QStringLiteral("engine.position"), EnginePosition(big, 1000000), QStringLiteral("ms"));
  }
  return 0;
}
