#pragma once
// The reference side of the benchmarks: SQLite called directly, as plainly as
// a program would, on an article-price table laid out as ours.
#include <QString>
#include <cstdio>
#include <sqlite3.h>

#include "BenchSupport.h"

inline void RawExec(sqlite3* db, const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

inline void RawBindText(sqlite3_stmt* s, int column, const QString& text) {
  sqlite3_bind_text16(s, column, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

// A new file with the "KSP" table and its unique index, under the same
// journal and sync settings as our engine.
inline sqlite3* CreateRawKspTable(const QString& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.toUtf8().constData(), &db);
  RawExec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;");
  RawExec(db,
          "CREATE TABLE KSP(KATALOG TEXT, ARTIKELNR TEXT, BEZEICHNUNG TEXT, PREIS REAL, RABATT REAL, ZEIT REAL, "
          "LOHN REAL, XMLDATA TEXT); CREATE UNIQUE INDEX KSP_INDEX ON KSP(KATALOG, ARTIKELNR);");
  return db;
}

// One row of the raw "KSP" reference, bound as it stands.
struct RawKspRow {
  QString katalog, artikelNr, bezeichnung;
  double preis = 0, rabatt = 0, zeit = 0, lohn = 0;
  QString xml;
};

// Prepared INSERTs of count rows, each filled by fill(index, row), into a new
// "KSP" table at path in one transaction: the time in ms.
template <class Fill>
double RawInsertKspMs(const QString& path, qint64 count, Fill fill) {
  sqlite3* db = CreateRawKspTable(path);
  const double start = NowMs();
  RawExec(db, "BEGIN IMMEDIATE");
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO KSP VALUES(?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
  RawKspRow row;
  for (qint64 i = 0; i < count; ++i) {
    fill(i, row);
    RawBindText(insert, 1, row.katalog);
    RawBindText(insert, 2, row.artikelNr);
    RawBindText(insert, 3, row.bezeichnung);
    sqlite3_bind_double(insert, 4, row.preis);
    sqlite3_bind_double(insert, 5, row.rabatt);
    sqlite3_bind_double(insert, 6, row.zeit);
    sqlite3_bind_double(insert, 7, row.lohn);
    RawBindText(insert, 8, row.xml);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  RawExec(db, "COMMIT");
  const double ms = NowMs() - start;
  sqlite3_close(db);
  return ms;
}

// A plain walk over a query's result: every column of every row read once,
// texts as texts, numbers as numbers. The time of the walk alone, in ms;
// rows gets the number of rows.
inline double RawSelectAllMs(const QString& file, const char* sql, qint64& rows) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  const double start = NowMs();
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
  const int columns = sqlite3_column_count(s);
  qsizetype chars = 0;
  double sum = 0;
  rows = 0;
  while (sqlite3_step(s) == SQLITE_ROW) {
    ++rows;
    for (int c = 0; c < columns; ++c) {
      if (sqlite3_column_type(s, c) == SQLITE_TEXT)
        chars += QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(s, c)),
                                    sqlite3_column_bytes16(s, c) / 2)
                     .size();
      else
        sum += sqlite3_column_double(s, c);
    }
  }
  sqlite3_finalize(s);
  const double ms = NowMs() - start;
  sqlite3_close(db);
  if (chars < 0 || sum < -1e300) std::printf("impossible\n");
  return ms;
}

// Our walk over a whole table (giving the rows it passed) against the plain
// walk over the result of sql.
inline void BenchWalkAgainstRaw(const QString& name, int rounds, const std::function<qint64()>& walk,
                                const QString& file, const char* sql) {
  qint64 passed = 0, rows = 0;
  BenchAgainst(
      name, rounds, [&] { return TimedMs([&] { passed = walk(); }); },
      [&] { return RawSelectAllMs(file, sql, rows); });
  std::printf("# %s: %lld articles passed\n", qPrintable(name), passed);
}
