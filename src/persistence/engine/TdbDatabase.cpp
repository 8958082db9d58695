#include "TdbDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "TableEngineError.h"
#include "TdbConnection.h"
#include "TdbSchema.h"
#include "TdbTable.h"

TTdbDatabase::TTdbDatabase() : busyTimeoutMs_(TdbConnection::kBusyTimeoutMs) {}

TTdbDatabase::~TTdbDatabase() {
  for (TTdbTable* t : tables_) t->DetachDatabase();
  tables_.clear();
  connections_.clear();
}

void TTdbDatabase::CreateDatabase() {
  if (type_ == DirectoryDatabase) {
    if (!QDir().mkpath(location_)) ThrowEngineError(14, QStringLiteral("cannot create directory %1").arg(location_));
    return;
  }
  if (!QFileInfo(location_).dir().exists()) QDir().mkpath(QFileInfo(location_).absolutePath());
  TdbConnection probe(location_, true, false);
  probe.Exec(QStringLiteral("PRAGMA user_version = 1"));  // writes the header, so the file is a database now
}

QStringList TTdbDatabase::GetTableNames() {
  if (type_ == FileDatabase) return TdbSchema::TableNames(ConnectionFor(QString()));
  QStringList names;
  for (const QFileInfo& info : QDir(location_).entryInfoList({QStringLiteral("*.DAT")}, QDir::Files, QDir::Name))
    names << info.completeBaseName();
  return names;
}

void TTdbDatabase::Connect() {
  if (type_ == FileDatabase) {
    if (!QFileInfo::exists(location_)) ThrowEngineError(14, QStringLiteral("database file %1 not found").arg(location_));
    ConnectionFor(QString());
  } else if (!QFileInfo(location_).isDir()) {
    ThrowEngineError(14, QStringLiteral("database directory %1 not found").arg(location_));
  }
  connected_ = true;
}

void TTdbDatabase::Disconnect() {
  for (TTdbTable* t : tables_) t->Close();
  transactionDepth_ = 0;
  connections_.clear();
  connected_ = false;
}

void TTdbDatabase::RefreshDataSets() {
  for (TTdbTable* t : tables_)
    if (t->Active()) t->Refresh();
}

void TTdbDatabase::StartTransaction() {
  std::vector<TdbConnection*> begun;
  try {
    for (auto& [key, c] : connections_) {
      c->Begin();
      begun.push_back(c.get());
    }
  } catch (...) {
    // All files or none: a half-begun transaction would keep files locked.
    for (TdbConnection* c : begun) c->Rollback();
    throw;
  }
  ++transactionDepth_;
}

void TTdbDatabase::Commit() {
  if (transactionDepth_ == 0) return;
  try {
    for (auto& [key, c] : connections_) c->Commit();
  } catch (...) {
    // A connection whose commit failed has rolled back; so must the others.
    for (auto& [key, c] : connections_) c->RollbackAll();
    transactionDepth_ = 0;
    RefreshDataSets();
    throw;
  }
  --transactionDepth_;
}

void TTdbDatabase::Rollback() {
  for (auto& [key, c] : connections_) c->RollbackAll();
  transactionDepth_ = 0;
  RefreshDataSets();
}

bool TTdbDatabase::TransactionLost() const {
  return std::any_of(connections_.begin(), connections_.end(), [](const auto& entry) { return entry.second->TransactionLost(); });
}

bool TTdbDatabase::FileGone() const {
  return std::any_of(connections_.begin(), connections_.end(), [](const auto& entry) { return !entry.second->SameFile(); });
}

void TTdbDatabase::SetBusyTimeout(int milliseconds) {
  busyTimeoutMs_ = milliseconds;
  for (auto& [key, c] : connections_) c->SetBusyTimeout(milliseconds);
}

QString TTdbDatabase::TableFileName(const QString& table) const {
  if (type_ == FileDatabase) return location_;
  return QDir(location_).filePath(table.toUpper() + QStringLiteral(".DAT"));
}

bool TTdbDatabase::TableFileExists(const QString& table) const {
  return QFileInfo(TableFileName(table)).isFile();
}

TdbConnection& TTdbDatabase::ConnectionFor(const QString& table, bool create) {
  if (type_ == FileDatabase) return Open(QString(), location_, create);
  return Open(table.toUpper(), TableFileName(table), create);
}

TdbConnection& TTdbDatabase::Open(const QString& key, const QString& fileName, bool create) {
  auto it = connections_.find(key);
  if (it != connections_.end()) return *it->second;
  if (!create && !QFileInfo::exists(fileName)) ThrowEngineError(14, QStringLiteral("file %1 not found").arg(fileName));
  auto connection = std::make_unique<TdbConnection>(fileName, create, readOnly_, busyTimeoutMs_);
  if (exclusive_) connection->Exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
  for (int i = 0; i < transactionDepth_; ++i) connection->Begin();
  return *connections_.emplace(key, std::move(connection)).first->second;
}

void TTdbDatabase::Register(TTdbTable* table) {
  if (std::find(tables_.begin(), tables_.end(), table) == tables_.end()) tables_.push_back(table);
}

void TTdbDatabase::Unregister(TTdbTable* table) { std::erase(tables_, table); }
