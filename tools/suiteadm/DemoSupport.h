#pragma once
// Pieces every demo maker shares.
#include <QString>
#include <exception>
#include <functional>

#include "PathUtils.h"
#include "TDBCore.h"

// Sets *error (when given) and gives false.
bool Fail(QString* error, const QString& text);

// Keeps the first error a database object reports, as "place: message", in logged.
TDBLogCallback KeepFirstError(QString& logged);

// Writes count rows through writeRow(i), batch rows per transaction, so that
// other programs on the database wait a moment only. A refused row (false)
// undoes its batch and ends the writing with false.
bool WriteInBatches(TTdbDatabase& database, int count, int batch, const std::function<bool(int i)>& writeRow);

// The check digit that completes the first twelve digits of an EAN (GTIN-13).
int Gtin13CheckDigit(const QString& first12);

// Fills one demo database through fill(db, directory), which opens and writes
// it. An exception, a false from fill or an error the database reported gives
// "cannot fill <what> <directory>: <why>".
template <class Db>
bool FillDemoDatabase(const QString& what, const QString& dir, QString* error,
                      const std::function<bool(Db& db, const QString& directory)>& fill) {
  QString logged;
  Db db(KeepFirstError(logged));
  const QString directory = NormalizePath(dir, true);
  const QString failure = QStringLiteral("cannot fill %1 %2: %3");
  bool written = false;
  try {
    written = fill(db, directory);
  } catch (const std::exception& e) {
    return Fail(error, failure.arg(what, directory, QString::fromUtf8(e.what())));
  }
  db.CloseDatabase();
  if (!written || !logged.isEmpty()) return Fail(error, failure.arg(what, directory, logged));
  return true;
}
