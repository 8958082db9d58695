// rabatt.update: UpdateRabattListe with 5,000 predefined groups on a table of 5,000 rows.
// rabatt.exchange: ExportToFile plus ImportFromFile of 5,000 rows.
#include <QCoreApplication>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "KSRabDatabase.h"

namespace {
QString GroupKey(int i) { return QStringLiteral("RG%1").arg(i, 5, 10, QLatin1Char('0')); }

void FillTable(TKSRabDatabase& db, int rows) {
  TDoubleStringListObjectList groups;
  for (int i = 0; i < rows; ++i) groups.Add(GroupKey(i), QStringLiteral("Gruppe %1").arg(i));
  db.UpdateRabattListe(groups);
  db.Database->StartTransaction();
  for (db.Table->First(); !db.Table->Eof(); db.Table->Next()) {
    db.Table->Edit();
    db.Table->FieldByName(QStringLiteral("RABATT")).SetAsFloat(db.Table->RecordNo() % 40 * 0.5);
    db.Table->Post();
  }
  db.Database->Commit();
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  QTemporaryDir dir;
  constexpr int kRows = 5000;
  if (Selected(QStringLiteral("rabatt.update"))) {
    TKSRabDatabase db;
    db.OpenFile(dir.path() + QStringLiteral("/update.TDBD"), false);
    FillTable(db, kRows);
    // Every other group stays, the rest are new: both paths of the re-import.
    TDoubleStringListObjectList predefined;
    for (int i = 0; i < kRows; ++i) predefined.Add(GroupKey(i * 2), QStringLiteral("Vorgabe %1").arg(i));
    const double start = NowMs();
    db.UpdateRabattListe(predefined);
    PrintBench(QStringLiteral("rabatt.update"), NowMs() - start, QStringLiteral("ms"));
  }
  if (Selected(QStringLiteral("rabatt.exchange"))) {
    TKSRabDatabase db;
    db.OpenFile(dir.path() + QStringLiteral("/exchange.TDBD"), false);
    FillTable(db, kRows);
    const QString file = dir.path() + QStringLiteral("/rabatte.txt");
    const double start = NowMs();
    db.ExportToFile(file);
    db.ImportFromFile(file);
    PrintBench(QStringLiteral("rabatt.exchange"), NowMs() - start, QStringLiteral("ms"));
  }
  return 0;
}
