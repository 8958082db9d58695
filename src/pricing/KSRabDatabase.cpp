#include "KSRabDatabase.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "Msgdlg.h"
#include "KSRabColumns.h"
#include "NumberText.h"
#include "SuiteException.h"
#include "TextFile.h"
#include "Translation.h"

namespace {
using namespace KSRabColumns;

// An exchange line: the key before the first "=", the value up to the next "=".
bool SplitExchangeLine(const QString& line, QString& key, QString& value) {
  const qsizetype first = line.indexOf(QLatin1Char('='));
  if (first < 0) return false;
  key = line.left(first);
  const qsizetype second = line.indexOf(QLatin1Char('='), first + 1);
  value = line.mid(first + 1, second < 0 ? -1 : second - first - 1);
  return true;
}

double ReadDiscount(const QString& text) { return ReadFloatLenient(text, 0); }
}  // namespace

TKSRabDatabase::TKSRabDatabase(TDBLogCallback onLog) : TDatabaseWrapper(std::move(onLog)) { InitTables(); }

void TKSRabDatabase::CreateTableDefs(TTdbTable& table) {
  if (table.TableName().compare(kTable, Qt::CaseInsensitive) != 0) return;
  table.FieldDefs().Add(kKey, TdbFieldKind::WideString, 255);
  table.FieldDefs().Add(kDescription, TdbFieldKind::WideString, 255);
  table.FieldDefs().Add(kDiscount, TdbFieldKind::Float);
  table.IndexDefs().Add(kIndex, kKey, ixPrimary | ixUnique);
  table.SetIndexName(kIndex);
}

void TKSRabDatabase::CreateTables() {
  Table = new TTdbTable(Database.get());
  Table->SetTableName(kTable);
  Table->SetIndexName(kIndex);
  Tables.Add(Table);
}

void TKSRabDatabase::PrepareTables() { Table->SetIndexName(kIndex); }

template <class Work>
bool TKSRabDatabase::InBulk(const QString& place, Work&& work, bool keepPosted) {
  // Views follow the result once, not every row of the way, and are served
  // again whatever happens.
  struct ControlsDisabled {
    TKSRabDatabase& store;
    explicit ControlsDisabled(TKSRabDatabase& s) : store(s) { store.DisableControls(); }
    ~ControlsDisabled() { store.EnableControls(); }
  } still(*this);
  bool done = false;
  try {
    // One transaction: thousands of groups cost one write to disk, not one each.
    Database->StartTransaction();
    try {
      work();
    } catch (const std::exception& e) {
      throw Exception(ReportException::Of(e).message + QLatin1Char('\n') + EndFailedBulk(keepPosted));
    }
    try {
      Database->Commit();
    } catch (const std::exception& e) {
      throw Exception(ReportException::Of(e).message + QLatin1Char('\n') + NothingStoredText());
    }
    done = true;
  } catch (const std::exception& e) {
    LogError(e, place);
  }
  RefreshTables();
  return done;
}

QString TKSRabDatabase::NothingStoredText() {
  return Tr("Keine Aenderung dieses Vorgangs wurde gespeichert; die Liste ist wie zuvor.");
}

// Ends the transaction of bulk work that failed and says what of it is stored.
QString TKSRabDatabase::EndFailedBulk(bool keepPosted) {
  // The row whose post failed must not be posted by the next move.
  Table->Cancel();
  // SQLite may have undone everything by itself (disk full, I/O error).
  if (!keepPosted || Database->TransactionLost()) {
    Database->Rollback();
    return NothingStoredText();
  }
  try {
    Database->Commit();
  } catch (const std::exception& e) {
    return ReportException::Of(e).message + QLatin1Char('\n') + NothingStoredText();
  }
  return Tr("Was vor dem Fehler geaendert wurde, ist gespeichert.");
}

QString TKSRabDatabase::CurrentDiscountText() const {
  const TTdbField& discount = Table->FieldByName(kDiscount);
  return discount.IsNull() ? QString() : FormatGeneralNumber(discount.AsFloat());
}

void TKSRabDatabase::AppendGroup(const QString& key, const QString& description, double discount) {
  Table->Append();
  Table->FieldByName(kKey).SetAsString(key);
  Table->FieldByName(kDescription).SetAsString(description);
  Table->FieldByName(kDiscount).SetAsFloat(discount);
  Table->Post();
}

bool TKSRabDatabase::ImportFromFile(const QString& fileName) {
  if (!QFileInfo(fileName).isFile()) return true;
  return InBulk(QStringLiteral("ImportFromFile"), [&] {
    QStringList lines;
    if (!ReadTextLines(fileName, lines)) throw Exception(fileName);
    QString key, value;
    for (const QString& line : lines) {
      if (!SplitExchangeLine(line, key, value) || !Table->FindKey({key})) continue;
      Table->Edit();
      Table->FieldByName(kDiscount).SetAsFloat(ReadDiscount(value));
      Table->Post();
    }
  });
}

void TKSRabDatabase::ExportToFile(const QString& fileName) {
  try {
    QStringList lines;
    {
      TTdbControlsDisabled still(*Table);
      for (Table->First(); !Table->Eof(); Table->Next())
        lines.append(Table->FieldByName(kKey).AsString() + QLatin1Char('=') + CurrentDiscountText());
    }
    if (QString why; !WriteTextLines(fileName, lines, &why)) throw Exception(FileNotWrittenText(fileName, why));
  } catch (const std::exception& e) {
    LogError(e, QStringLiteral("ExportToFile"));
  }
}

bool TKSRabDatabase::UpdateRabattListe(const TDoubleStringListObjectList& groups) {
  return InBulk(QStringLiteral("UpdateRabattListe"), [&] {
    // The discounts so far, by key ignoring case; the first of equal keys counts.
    QHash<QString, QString> remembered;
    for (Table->First(); !Table->Eof(); Table->Next()) {
      const QString folded = Table->FieldByName(kKey).AsString().toCaseFolded();
      if (!remembered.contains(folded)) remembered.insert(folded, CurrentDiscountText());
    }
    Table->EmptyTable();
    QSet<QString> added;
    for (const TDoubleString& group : groups) {
      const QString key = group.First.trimmed();
      if (added.contains(key)) continue;
      added.insert(key);
      const auto it = remembered.constFind(key.toCaseFolded());
      AppendGroup(key, group.Second.trimmed(), it == remembered.constEnd() ? 0 : ReadDiscount(*it));
    }
  }, /*keepPosted=*/false);  // the table was emptied first: half a list would lose the discounts
}

bool TKSRabDatabase::CompressRabattListe() {
  return InBulk(QStringLiteral("CompressRabattListe"), [&] {
    // Deleting leaves the cursor on the next row, so one pass serves.
    Table->First();
    while (!Table->Eof()) {
      if (Table->FieldByName(kDiscount).AsFloat() == 0) {
        Table->Delete();
        if (Table->IsEmpty() || Table->RowId() == 0) break;
        continue;
      }
      Table->Next();
    }
  });
}

bool TKSRabDatabase::RabattGrpExists(const QString& key) {
  try {
    return Table->FindKey({key.trimmed()});
  } catch (const std::exception& e) {
    LogError(e, QStringLiteral("RabattGrpExists"));
    return false;
  }
}

void TKSRabDatabase::RabattGrpAppend(const QString& key) {
  try {
    if (RabattGrpExists(key)) return;
    AppendGroup(key.trimmed(), QString(), 0);
  } catch (const std::exception& e) {
    LogError(e, QStringLiteral("RabattGrpAppend"));
  }
}
