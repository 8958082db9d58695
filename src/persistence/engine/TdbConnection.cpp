#include "TdbConnection.h"

#include <sqlite3.h>

#include <sys/stat.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include "TableEngineError.h"

TdbStatement::TdbStatement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}

TdbStatement::~TdbStatement() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

void TdbStatement::Bind(int index, const QVariant& value) {
  int rc = SQLITE_OK;
  if (value.isNull()) {
    rc = sqlite3_bind_null(stmt_, index);
  } else {
    switch (value.typeId()) {
      case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::ULongLong:
      case QMetaType::Bool:
        rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
        break;
      case QMetaType::Double: case QMetaType::Float:
        rc = sqlite3_bind_double(stmt_, index, value.toDouble());
        break;
      case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob64(stmt_, index, bytes.constData(), bytes.size(), SQLITE_TRANSIENT);
        break;
      }
      default:
        return BindText(index, value.toString());
    }
  }
  if (rc != SQLITE_OK) ThrowEngineError(db_, QStringLiteral("bind"));
}

namespace {
bool StoredAsGiven(QStringView text, qsizetype& i) {
  const QChar c = text[i];
  if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) return ++i, true;
  return !c.isSurrogate() && c.unicode() < 0xFFFE;
}
}  // namespace

QString StorableText(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && StoredAsGiven(text, i)) ++i;
  if (i == text.size()) return text;
  QString stored = text;
  for (; i < stored.size(); ++i)
    if (!StoredAsGiven(stored, i)) stored[i] = QChar::ReplacementCharacter;
  return stored;
}

void TdbStatement::BindText(int index, const QString& given) {
  const QString text = StorableText(given);
  int rc = SQLITE_OK;
  // SQLite drops a leading byte-order mark of UTF-16 text; the XML texts begin with one.
  if (text.startsWith(QChar(0xFEFF))) {
    const QByteArray utf8 = text.toUtf8();
    rc = sqlite3_bind_text64(stmt_, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                             SQLITE_UTF8);
  } else {
    rc = sqlite3_bind_text16(stmt_, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
  }
  if (rc != SQLITE_OK) ThrowEngineError(db_, QStringLiteral("bind"));
}

void TdbStatement::BindDouble(int index, double value) {
  if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) ThrowEngineError(db_, QStringLiteral("bind"));
}

void TdbStatement::BindAll(const QVariantList& values, int first) {
  for (int i = 0; i < values.size(); ++i) Bind(first + i, values[i]);
}

bool TdbStatement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  ThrowEngineError(db_, QString::fromUtf8(sqlite3_sql(stmt_)));
}

void TdbStatement::Run() {
  while (Step()) {
  }
}

int TdbStatement::ColumnCount() const { return sqlite3_column_count(stmt_); }

QVariant TdbStatement::Column(int index) const { return ColumnValue(stmt_, index); }

QVariant ColumnValue(sqlite3_stmt* stmt, int index) {
  switch (sqlite3_column_type(stmt, index)) {
    case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(stmt, index)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(stmt, index));
    case SQLITE_TEXT: return QVariant(ColumnText(stmt, index));
    case SQLITE_BLOB:
      return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, index)),
                                 sqlite3_column_bytes(stmt, index)));
    default: return QVariant();
  }
}

qint64 TdbStatement::Int64(int index) const { return sqlite3_column_int64(stmt_, index); }
double TdbStatement::Double(int index) const { return sqlite3_column_double(stmt_, index); }
bool TdbStatement::IsNull(int index) const { return sqlite3_column_type(stmt_, index) == SQLITE_NULL; }

QString TdbStatement::Text(int index) const { return ColumnText(stmt_, index); }

QString ColumnText(sqlite3_stmt* stmt, int index) {
  const auto* data = static_cast<const char16_t*>(sqlite3_column_text16(stmt, index));
  return QString::fromUtf16(data, sqlite3_column_bytes16(stmt, index) / 2);
}

namespace {
// Device and inode of the file a path names; false when there is none.
bool FileIdentity(const QString& path, quint64& device, quint64& inode) {
  struct stat info {};
  if (stat(QFile::encodeName(path).constData(), &info) != 0) return false;
  device = quint64(info.st_dev);
  inode = quint64(info.st_ino);
  return true;
}
}  // namespace

TdbConnection::TdbConnection(const QString& fileName, bool create, bool readOnly, int busyTimeoutMs)
    : fileName_(fileName) {
  const QFileInfo before(fileName);
  const bool fresh = create && !readOnly && (!before.exists() || before.size() == 0);
  const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                    (create && !readOnly ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(fileName.toUtf8().constData(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    const QString message = QStringLiteral("cannot open %1: %2").arg(fileName, QString::fromUtf8(sqlite3_errstr(rc)));
    sqlite3_close_v2(db_);
    db_ = nullptr;
    ThrowEngineError(rc, message);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, busyTimeoutMs);
  // SQLite holds the file open from here on: this is the file we write into.
  identityKnown_ = FileIdentity(fileName, device_, inode_);
  try {
    // The files may sit on a network share: no WAL (needs shared memory, and
    // the mode is stored in the file for every other workstation too).
    if (!readOnly) Exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    Exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // All text here is UTF-16: stored so, it is read without conversion.
    if (fresh) Exec(QStringLiteral("PRAGMA encoding='UTF-16le'"));
    // Pages of a table that is walked or searched again stay in memory.
    Exec(QStringLiteral("PRAGMA cache_size=-16384"));
  } catch (...) {
    sqlite3_close_v2(db_);
    throw;
  }
}

TdbConnection::~TdbConnection() {
  for (auto& [sql, stmt] : cache_) sqlite3_finalize(stmt);
  sqlite3_close_v2(db_);
}

sqlite3_stmt* TdbConnection::Cached(const QString& sql) {
  const std::string key = sql.toStdString();
  auto it = cache_.find(key);
  if (it == cache_.end()) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, key.c_str(), int(key.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
      ThrowEngineError(db_, sql);
    it = cache_.emplace(key, stmt).first;
  }
  return it->second;
}

TdbStatement TdbConnection::Prepare(const QString& sql) { return TdbStatement(db_, Cached(sql)); }

void TdbConnection::Exec(const QString& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
    sqlite3_free(error);
    ThrowEngineError(db_, sql);
  }
}

// Inner levels are savepoints, so a failing write inside bulk work undoes
// only itself and keeps what was posted before it.
void TdbConnection::Begin() {
  if (depth_ == 0) RequireSameFile();
  RequireLiveTransaction();  // a savepoint would autocommit
  Exec(depth_ == 0 ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT tdb%1").arg(depth_));
  ++depth_;
}

void TdbConnection::Commit() {
  if (depth_ == 0) return;
  if (TransactionLost()) {
    try {
      RequireLiveTransaction();
    } catch (...) {
      depth_ = 0;  // nothing left to commit
      throw;
    }
  }
  if (depth_ > 1) {
    Exec(QStringLiteral("RELEASE tdb%1").arg(depth_ - 1));
    --depth_;
    return;
  }
  try {
    Exec(QStringLiteral("COMMIT"));
  } catch (...) {
    // A COMMIT that failed (busy) leaves the transaction open: later posts
    // would never be committed and the file stays locked for everyone.
    try {
      RollbackAll();
    } catch (...) {
    }
    depth_ = 0;
    throw;
  }
  depth_ = 0;
}

void TdbConnection::Rollback() {
  if (depth_ == 0) return;
  if (TransactionLost()) return void(depth_ = 0);
  if (depth_ == 1 || sqlite3_get_autocommit(db_)) return RollbackAll();
  --depth_;
  Exec(QStringLiteral("ROLLBACK TO tdb%1").arg(depth_));
  Exec(QStringLiteral("RELEASE tdb%1").arg(depth_));
}

void TdbConnection::RollbackAll() {
  depth_ = 0;
  if (!sqlite3_get_autocommit(db_)) Exec(QStringLiteral("ROLLBACK"));
}

bool TdbConnection::TransactionLost() const { return depth_ > 0 && sqlite3_get_autocommit(db_); }

void TdbConnection::RequireLiveTransaction() const {
  if (!TransactionLost()) return;
  ThrowEngineError(TdbErrorCode::TransactionLost,
                   QStringLiteral("transaction on %1 was rolled back by SQLite").arg(fileName_));
}

// A file whose identity could not be read at the open (an in-memory database)
// is taken as the same: nothing to compare it with.
bool TdbConnection::SameFile() const {
  if (!identityKnown_) return true;
  quint64 device = 0, inode = 0;
  return FileIdentity(fileName_, device, inode) && device == device_ && inode == inode_;
}

void TdbConnection::RequireSameFile() const {
  if (!SameFile())
    ThrowEngineError(TdbErrorCode::FileGone, QStringLiteral("%1 was deleted or replaced").arg(fileName_));
}

void TdbConnection::SetBusyTimeout(int milliseconds) { sqlite3_busy_timeout(db_, milliseconds); }

QString QuoteIdentifier(const QString& name) {
  QString quoted = name;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}
