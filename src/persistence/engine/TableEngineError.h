#pragma once
// Failures of the table engine: what happened in German for the user, with
// SQLite's own text as detail, SQLite's result code and its extended code.
#include "SuiteException.h"

// Extended codes of failures the engine finds itself, in SQLite's scheme
// (primary code in the low byte).
namespace TdbErrorCode {
// An edit or delete found the row changed or gone since it was read.
constexpr int RowChanged = 4 | (100 << 8);  // an abort of our own
// The file was deleted or replaced by another workstation (SQLITE_READONLY_DBMOVED).
constexpr int FileGone = 8 | (4 << 8);
// SQLite rolled the whole transaction back by itself (SQLITE_ABORT_ROLLBACK).
constexpr int TransactionLost = 4 | (2 << 8);
// A table kept busy by another program beyond the wait of an open.
constexpr int OpenBusy = 5 | (100 << 8);
}  // namespace TdbErrorCode

class ETableEngineError : public Exception {
 public:
  // The message becomes the German account of the code with the technical text as detail.
  ETableEngineError(const QString& technical, int errorCode, int extendedCode);
  QString ClassName() const override { return QStringLiteral("ETableEngineError"); }
  int ErrorCode() const { return errorCode_; }
  int ExtendedCode() const { return extendedCode_; }
  const QString& Technical() const { return technical_; }

 private:
  QString technical_;
  int errorCode_;
  int extendedCode_;
};

// What a failure with this (extended) code means for the user and the data, in German.
QString EngineErrorText(int extendedCode);

struct sqlite3;
// Throws the connection's last error, with the given context before SQLite's message.
[[noreturn]] void ThrowEngineError(sqlite3* db, const QString& context);
[[noreturn]] void ThrowEngineError(int code, const QString& message);
