// The discount exchange file: imported into a customer's discount groups,
// exported, and imported again into the same groups.
#include <QFile>
#include <QMap>
#include <QSet>

#include "FuzzSupport.h"
#include "KSRabDatabase.h"
#include "NumberText.h"
#include "TdbConnection.h"
#include "TextFile.h"

namespace {
constexpr int kKeyLength = 255;  // the width of the key column

TKSRabDatabase& Store() {
  static TKSRabDatabase* store = [] {
    auto* db = new TKSRabDatabase;
    db->OpenFile(FuzzTempPath(QStringLiteral("KSR.TDBD")), false);
    return db;
  }();
  return *store;
}

// The groups the file names (so that its lines take effect) and two more.
TDoubleStringListObjectList GroupsNamedIn(const QString& text) {
  TDoubleStringListObjectList groups;
  QSet<QString> seen;
  QStringList keys{QStringLiteral("A"), QStringLiteral("10")};
  for (const QString& line : SplitLines(text)) keys.append(line.section(QLatin1Char('='), 0, 0).trimmed());
  for (const QString& key : keys) {
    // Keys the table holds as one are one group.
    const QString folded = StorableText(key).toCaseFolded();
    if (key.isEmpty() || key.size() > kKeyLength || seen.contains(folded)) continue;
    seen.insert(folded);
    groups.Add(key, QString());
  }
  return groups;
}

// Every group with its discount, as the exchange file writes numbers.
QMap<QString, QString> Discounts(TKSRabDatabase& db) {
  QMap<QString, QString> discounts;
  for (db.Table->First(); !db.Table->Eof(); db.Table->Next())
    discounts.insert(db.Table->FieldByName(QStringLiteral("RABATTGRP")).AsString(),
                     FormatGeneralNumber(db.Table->FieldByName(QStringLiteral("RABATT")).AsFloat()));
  return discounts;
}

// The groups with no discount yet.
void Reset(TKSRabDatabase& db, const TDoubleStringListObjectList& groups) {
  FUZZ_CHECK(db.UpdateRabattListe(TDoubleStringListObjectList()));
  FUZZ_CHECK(db.UpdateRabattListe(groups));
}

QByteArray Export(TKSRabDatabase& db, const QString& name) {
  const QString path = FuzzTempPath(name);
  db.ExportToFile(path);
  QByteArray bytes;
  QFile file(path);
  FUZZ_CHECK(file.open(QIODevice::ReadOnly));
  return file.readAll();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  TKSRabDatabase& db = Store();
  FUZZ_CHECK(db.Opened);
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const TDoubleStringListObjectList groups = GroupsNamedIn(DecodeText(bytes));
  Reset(db, groups);
  const qint64 count = db.Table->RecordCount();
  FUZZ_CHECK(db.ImportFromFile(FuzzWriteTemp(QStringLiteral("import.txt"), bytes)));
  FUZZ_CHECK(db.Table->RecordCount() == count);  // the import adds no group
  const QMap<QString, QString> imported = Discounts(db);
  const QByteArray exported = Export(db, QStringLiteral("export.txt"));
  Reset(db, groups);
  FUZZ_CHECK(db.ImportFromFile(FuzzTempPath(QStringLiteral("export.txt"))));
  FUZZ_CHECK(Discounts(db) == imported);
  FUZZ_CHECK(Export(db, QStringLiteral("export-again.txt")) == exported);
  return 0;
}
