#pragma once
// One SQLite connection with our fixed settings, a cache of prepared
// statements and nested transactions.
#include <QString>
#include <QVariant>
#include <memory>
#include <unordered_map>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

// A cached prepared statement in use: bind, step, read; reset on destruction
// so no read lock outlives the use.
class TdbStatement {
 public:
  TdbStatement(sqlite3* db, sqlite3_stmt* stmt);
  TdbStatement(const TdbStatement&) = delete;
  TdbStatement& operator=(const TdbStatement&) = delete;
  ~TdbStatement();

  void Bind(int index, const QVariant& value);  // 1-based
  // The same for a known kind, without a variant (bulk writes bind per row).
  void BindText(int index, const QString& text);
  void BindDouble(int index, double value);
  void BindAll(const QVariantList& values, int first = 1);
  bool Step();  // true when a row is there; throws on errors
  void Run();   // steps to the end
  int ColumnCount() const;
  QVariant Column(int index) const;
  qint64 Int64(int index) const;
  double Double(int index) const;
  bool IsNull(int index) const;
  QString Text(int index) const;
  sqlite3_stmt* Handle() const { return stmt_; }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_;
};

class TdbConnection {
 public:
  // Opens (and with create, creates) the file; never switches to WAL.
  TdbConnection(const QString& fileName, bool create, bool readOnly, int busyTimeoutMs = kBusyTimeoutMs);
  ~TdbConnection();
  TdbConnection(const TdbConnection&) = delete;
  TdbConnection& operator=(const TdbConnection&) = delete;

  TdbStatement Prepare(const QString& sql);
  // The cached statement itself, for callers that keep it for their lifetime
  // on this connection (it lives as long as the connection).
  sqlite3_stmt* Cached(const QString& sql);
  void Exec(const QString& sql);
  sqlite3* Handle() const { return db_; }
  const QString& FileName() const { return fileName_; }

  // Nested. Writes start with BEGIN IMMEDIATE so a writer waits for the
  // lock up front, not at commit. Begin and Commit throw TransactionLost when
  // SQLite has rolled the transaction back by itself.
  void Begin();
  void Commit();
  void Rollback();  // the innermost level
  void RollbackAll();
  bool InTransaction() const { return depth_ > 0; }
  // Disk full, I/O errors and lack of memory can make SQLite undo the whole
  // transaction; our depth then still counts levels that no longer exist,
  // until the owner of the transaction commits or rolls back.
  bool TransactionLost() const;
  // Throws TransactionLost when it was.
  void RequireLiveTransaction() const;

  // Whether the path still names the file opened; when another workstation
  // deleted or replaced it, writing would go nowhere.
  bool SameFile() const;
  // Throws FileGone when it does not.
  void RequireSameFile() const;

  void SetBusyTimeout(int milliseconds);
  static constexpr int kBusyTimeoutMs = 10000;

 private:
  sqlite3* db_ = nullptr;
  QString fileName_;
  int depth_ = 0;
  quint64 device_ = 0;
  quint64 inode_ = 0;
  bool identityKnown_ = false;  // device and inode were read at the open
  std::unordered_map<std::string, sqlite3_stmt*> cache_;
};

// Runs one write statement in its own transaction unless one is already open.
// Inside bulk work no savepoint is needed: SQLite undoes a failing statement
// alone and keeps what was posted before it.
class TdbWriteScope {
 public:
  explicit TdbWriteScope(TdbConnection& connection)
      : connection_(connection), owns_(!connection.InTransaction()) {
    // Never autocommit a post that belongs to bulk work SQLite has undone.
    if (owns_) connection_.Begin();
    else connection_.RequireLiveTransaction();
  }
  ~TdbWriteScope() {
    if (owns_ && !done_) {
      try { connection_.Rollback(); } catch (...) {}
    }
  }
  void Commit() {
    if (owns_) connection_.Commit();
    done_ = true;
  }

 private:
  TdbConnection& connection_;
  bool owns_;
  bool done_ = false;
};

QString QuoteIdentifier(const QString& name);
// The column of the statement's current row as a Qt value.
QVariant ColumnValue(sqlite3_stmt* stmt, int index);
// The column as text (the database keeps UTF-16, so nothing is converted).
QString ColumnText(sqlite3_stmt* stmt, int index);
// The text as it is stored and read back: lone surrogates and the
// noncharacters U+FFFE and U+FFFF become U+FFFD, as SQLite reads them from a
// UTF-8 file. Every bound text goes through it, so that a key read and bound
// again names the row it came from.
QString StorableText(const QString& text);
