#pragma once
// Failures of the table engine: the message, SQLite's result code and its
// extended code.
#include "SuiteException.h"

class ETableEngineError : public Exception {
 public:
  ETableEngineError(QString message, int errorCode, int extendedCode)
      : Exception(std::move(message)), errorCode_(errorCode), extendedCode_(extendedCode) {}
  QString ClassName() const override { return QStringLiteral("ETableEngineError"); }
  int ErrorCode() const { return errorCode_; }
  int ExtendedCode() const { return extendedCode_; }

 private:
  int errorCode_;
  int extendedCode_;
};

struct sqlite3;
// Throws the connection's last error, with the given context before SQLite's message.
[[noreturn]] void ThrowEngineError(sqlite3* db, const QString& context);
[[noreturn]] void ThrowEngineError(int code, const QString& message);
