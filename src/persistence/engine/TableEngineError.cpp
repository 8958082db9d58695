#include "TableEngineError.h"

#include <sqlite3.h>

void ThrowEngineError(sqlite3* db, const QString& context) {
  const int extended = db ? sqlite3_extended_errcode(db) : SQLITE_ERROR;
  const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no database");
  throw ETableEngineError(context.isEmpty() ? message : context + QStringLiteral(": ") + message, extended & 0xFF,
                          extended);
}

void ThrowEngineError(int code, const QString& message) {
  throw ETableEngineError(message, code & 0xFF, code);
}
