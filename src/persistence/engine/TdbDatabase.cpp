#include "TdbDatabase.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "TableEngineError.h"
#include "TdbConnection.h"
#include "TdbSchema.h"
#include "TdbTable.h"

namespace {
// Puts the finished file at path unless another program made one there
// meanwhile (then that one is kept). Where hard links are not supported the
// file is renamed, after a last look that the place is free.
int LinkIntoPlace(const QByteArray& from, const QByteArray& to) {
  if (::link(from.constData(), to.constData()) == 0) return 0;
  const int error = errno;
  if (error == EEXIST || (error != EPERM && error != ENOTSUP && error != ENOSYS)) return error;
  if (QFileInfo::exists(QFile::decodeName(to))) return EEXIST;
  return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

// 0 when this process may write into the folder of path, else why not.
int FolderWriteError(const QString& path) {
  return ::access(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), W_OK) == 0 ? 0 : errno;
}

[[noreturn]] void ThrowCannotCreate(const QString& path, int error) {
  const QString technical = QStringLiteral("cannot create %1: %2").arg(path, QString::fromLocal8Bit(strerror(error)));
  const bool folderRefuses = error == EACCES || error == EROFS || error == EPERM;
  ThrowEngineError(folderRefuses ? SQLITE_READONLY_DIRECTORY : SQLITE_CANTOPEN, technical);
}

// A new database file appears whole or not at all: made beside under another
// name and linked into place, so that no crash leaves an empty file behind,
// which a later open would refuse as no database.
void CreateDatabaseFile(const QString& path) {
  const QString temporary = path + QStringLiteral(".%1.new").arg(QCoreApplication::applicationPid());
  const auto removeTemporary = [&temporary] {
    QFile::remove(temporary);
    QFile::remove(temporary + QStringLiteral("-journal"));
  };
  removeTemporary();  // left by a crashed run of a process with our id
  try {
    TdbConnection probe(temporary, true, false);
    probe.Exec(QStringLiteral("PRAGMA user_version = 1"));  // writes the header, so the file is a database now
  } catch (const ETableEngineError&) {
    removeTemporary();
    if (const int error = FolderWriteError(path)) ThrowCannotCreate(path, error);
    throw;
  }
  const int error = LinkIntoPlace(QFile::encodeName(temporary), QFile::encodeName(path));
  removeTemporary();
  if (error != 0 && error != EEXIST) ThrowCannotCreate(path, error);
}
}  // namespace

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
  CreateDatabaseFile(location_);
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
  const QFileInfo file(fileName);
  if (!file.exists()) {
    if (!create) ThrowEngineError(14, QStringLiteral("file %1 not found").arg(fileName));
    if (!readOnly_) CreateDatabaseFile(fileName);  // read-only, the open below fails as it should
  } else if (file.isFile() && file.size() == 0) {
    // SQLite would take it for a new database and write into it; a table
    // file that lost its content must be noticed, not silently begun anew.
    ThrowEngineError(SQLITE_NOTADB, QStringLiteral("%1 is empty").arg(fileName));
  }
  auto connection = std::make_unique<TdbConnection>(fileName, create, readOnly_, busyTimeoutMs_);
  if (exclusive_) connection->Exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
  for (int i = 0; i < transactionDepth_; ++i) connection->Begin();
  return *connections_.emplace(key, std::move(connection)).first->second;
}

void TTdbDatabase::Register(TTdbTable* table) {
  if (std::find(tables_.begin(), tables_.end(), table) == tables_.end()) tables_.push_back(table);
}

void TTdbDatabase::Unregister(TTdbTable* table) { std::erase(tables_, table); }
