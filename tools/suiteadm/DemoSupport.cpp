#include "DemoSupport.h"

#include <algorithm>

bool Fail(QString* error, const QString& text) {
  if (error) *error = text;
  return false;
}

TDBLogCallback KeepFirstError(QString& logged) {
  return [&logged](const std::exception* e, const QString& place) {
    if (logged.isEmpty()) logged = place + (e ? QStringLiteral(": ") + QString::fromUtf8(e->what()) : QString());
  };
}

bool WriteInBatches(TTdbDatabase& database, int count, int batch, const std::function<bool(int i)>& writeRow) {
  for (int first = 0; first < count; first += batch) {
    database.StartTransaction();
    for (int i = first; i < std::min(count, first + batch); ++i) {
      if (writeRow(i)) continue;
      database.Rollback();
      return false;
    }
    database.Commit();
  }
  return true;
}

int Gtin13CheckDigit(const QString& first12) {
  int sum = 0;
  for (int i = 0; i < 12 && i < first12.size(); ++i) sum += first12[i].digitValue() * (i % 2 == 0 ? 1 : 3);
  return (10 - sum % 10) % 10;
}
