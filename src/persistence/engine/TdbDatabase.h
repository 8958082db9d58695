#pragma once
// An engine database: a directory with one file per table (type 0) or one
// ".TDBD" file holding all tables (type 1).
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

class TdbConnection;
class TTdbTable;

class TTdbDatabase {
 public:
  enum Type { DirectoryDatabase = 0, FileDatabase = 1 };

  TTdbDatabase();
  ~TTdbDatabase();
  TTdbDatabase(const TTdbDatabase&) = delete;
  TTdbDatabase& operator=(const TTdbDatabase&) = delete;

  QString Location() const { return location_; }
  void SetLocation(const QString& location) { location_ = location; }
  int DatabaseType() const { return type_; }
  void SetDatabaseType(int type) { type_ = type; }
  bool Exclusive() const { return exclusive_; }
  void SetExclusive(bool on) { exclusive_ = on; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on) { readOnly_ = on; }
  // Off: Locate compares text ignoring (ASCII) case. Index order stays binary.
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool on) { caseSensitive_ = on; }
  bool AutoDatabaseName() const { return autoDatabaseName_; }
  void SetAutoDatabaseName(bool on) { autoDatabaseName_ = on; }

  // An empty database file (type 1) or directory (type 0).
  void CreateDatabase();
  QStringList GetTableNames();
  void Connect();
  void Disconnect();  // closes the open tables and every connection
  void Close() { Disconnect(); }
  bool Connected() const { return connected_; }
  // Open tables re-read their rows, so others' committed changes show.
  void RefreshDataSets();

  // Bulk work: posts inside are committed together at Commit.
  void StartTransaction();
  void Commit();
  void Rollback();
  bool InTransaction() const { return transactionDepth_ > 0; }
  // Whether SQLite undid the bulk work's transaction by itself in any file:
  // then nothing posted since StartTransaction is stored.
  bool TransactionLost() const;

  // Whether another workstation deleted or replaced a file this database has open.
  bool FileGone() const;

  // How long a statement waits for another program's lock; opening uses a
  // short wait so that it can tell the user and try again.
  void SetBusyTimeout(int milliseconds);

  // The file holding the table.
  QString TableFileName(const QString& table) const;
  bool TableFileExists(const QString& table) const;

  // For the table objects.
  TdbConnection& ConnectionFor(const QString& table, bool create = false);
  void Register(TTdbTable* table);
  void Unregister(TTdbTable* table);

 private:
  TdbConnection& Open(const QString& key, const QString& fileName, bool create);

  QString location_;
  int type_ = DirectoryDatabase;
  bool exclusive_ = false;
  bool readOnly_ = false;
  bool caseSensitive_ = true;
  bool autoDatabaseName_ = true;
  bool connected_ = false;
  int transactionDepth_ = 0;
  int busyTimeoutMs_;
  // A directory database has one connection per table file: tables stay
  // independent (a writer on one table does not block another) and there is
  // no limit on attached files.
  std::map<QString, std::unique_ptr<TdbConnection>> connections_;
  std::vector<TTdbTable*> tables_;
};
