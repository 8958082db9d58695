#pragma once
// The reference side of the benchmarks: SQLite called directly, as plainly as
// a program would, on an article-price table laid out as ours.
#include <QString>
#include <sqlite3.h>

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
