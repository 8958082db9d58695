#include "TDBCore.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <QThread>

#include "Format.h"
#include "Msgdlg.h"
#include "PathUtils.h"
#include "SuiteException.h"
#include "TableEngineError.h"
#include "TdbConnection.h"
#include "TdbSchema.h"
#include "Translation.h"

namespace {
constexpr int kOpenAttempts = 9;

bool ContainsIgnoringCase(const QStringList& names, const QString& name) {
  return names.contains(name, Qt::CaseInsensitive);
}

QString WithoutExtension(const QString& indexName) {
  const qsizetype dot = indexName.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? indexName.left(dot) : indexName;
}

// Makes a table that the database lacks from the definitions the owner gives.
void CreateMissingTable(TTdbDatabase& database, const QString& name, bool readOnly,
                        const std::function<void(TTdbTable&)>& defineTable) {
  TTdbTable table(&database);
  table.SetReadOnly(readOnly);
  table.FieldDefs().Clear();
  table.IndexDefs().Clear();
  table.SetTableName(name);
  defineTable(table);
  table.CreateTable();
}
}  // namespace

// ---- shared ----

int& TDBCore::RetryPauseMs() {
  static int pause = 50;
  return pause;
}

int& TDBCore::OpenBusyTimeoutMs() {
  static int timeout = 500;
  return timeout;
}

namespace {
bool IsBusy(const std::exception& error) {
  const auto* engine = dynamic_cast<const ETableEngineError*>(&error);
  return engine && (engine->ErrorCode() == SQLITE_BUSY || engine->ErrorCode() == SQLITE_LOCKED);
}

// The open waits briefly per attempt; later work waits the normal time again.
struct TOpenBusyTimeout {
  TTdbDatabase& database;
  explicit TOpenBusyTimeout(TTdbDatabase& db) : database(db) { database.SetBusyTimeout(TDBCore::OpenBusyTimeoutMs()); }
  ~TOpenBusyTimeout() { database.SetBusyTimeout(TdbConnection::kBusyTimeoutMs); }
};
}  // namespace

void TDBCore::OpenWithRetries(TTdbDatabase& database, const std::function<void(QString& file)>& attempt,
                              const TOpenFailure& onFailure) {
  const TOpenBusyTimeout shortWaits(database);
  std::unique_ptr<IWaitWindow> window;
  bool cancelled = false;
  QString file = database.Location();
  for (int tried = 1;; ++tried) {
    try {
      attempt(file);
      return;
    } catch (const std::exception& e) {
      if (tried >= kOpenAttempts || cancelled) {
        // The text has always said 10 here, though nine attempts are made.
        const QString place = file + QStringLiteral(" OpenTables Versuch ") + QString::number(10);
        if (!IsBusy(e)) {
          onFailure(e, place);
          throw;
        }
        // Busy at an open: say that the file is in use, not that a change was lost.
        const ETableEngineError busy(file + QStringLiteral(": ") + dynamic_cast<const ETableEngineError&>(e).Technical(),
                                     TdbErrorCode::OpenBusy & 0xFF, TdbErrorCode::OpenBusy);
        onFailure(busy, place);
        throw busy;
      }
      if (IsBusy(e) && !window)
        window = Dialogs().ShowLockWait(
            FormatText(Tr("Bitte warten, die Datei \"%s\" wird gerade von einem anderen Programm benutzt."), {file}),
            true, [&cancelled] { cancelled = true; });
      QThread::msleep(RetryPauseMs());
      if (window) window->ProcessEvents();
    }
  }
}

void TDBCore::CreateMissingTables(TTdbDatabase& database, TTableEngineObjectList& tables, QString& file,
                                  const std::function<void(TTdbTable& table, int index)>& define) {
  const QStringList existing = database.GetTableNames();
  QStringList missing;
  for (const TTdbTable& table : tables)
    if (!ContainsIgnoringCase(existing, table.TableName())) missing << table.TableName();
  if (database.DatabaseType() == TTdbDatabase::FileDatabase) {
    if (!existing.isEmpty() && missing.size() == tables.Count())
      ThrowEngineError(SQLITE_NOTADB, QStringLiteral("%1 holds none of the tables %2")
                                          .arg(database.Location(), missing.join(QStringLiteral(", "))));
  } else {
    // A table file that is no such table is refused before anything is made beside it.
    for (const TTdbTable& table : tables) {
      const QString name = table.TableName();
      file = database.TableFileName(name);
      if (!missing.contains(name) && !TdbSchema::TableExists(database.ConnectionFor(name), name))
        ThrowEngineError(SQLITE_NOTADB,
                         QStringLiteral("table %1 does not exist in %2").arg(name, database.TableFileName(name)));
    }
  }
  for (int i = 0; i < tables.Count(); ++i) {
    if (!missing.contains(tables[i]->TableName())) continue;
    file = database.TableFileName(tables[i]->TableName());
    CreateMissingTable(database, tables[i]->TableName(), false, [&](TTdbTable& t) { define(t, i); });
  }
}

void TDBCore::ResetForOpen(TTdbTable& table, TTdbDatabase& database, bool exclusive) {
  table.SetExclusive(exclusive);
  table.SetReadOnly(false);
  table.SetTableLevel(4);
  table.SetDatabase(&database);
  table.SetIndexName(WithoutExtension(table.IndexName()));
}

Exception TDBCore::LockFileError(const QString& lockFile, const std::exception& error) {
  return Exception(FormatText(Tr("Die Sperrdatei \"%s\" kann weder angelegt noch gelesen werden; es wurde nichts geaendert."),
                              {lockFile}) +
                   QLatin1Char('\n') + QString::fromUtf8(error.what()));
}

TDBLock TDBCore::LockDatabase(const QString& lockFile, const QString& userName, TTdbTable* table,
                              const std::function<void(const std::exception&)>& onError) {
  const QString text =
      FormatText(Tr("Bitte warten, die Datenbank ist momentan durch den Benutzer \"%s\" gesperrt."), {userName});
  auto lock = std::make_unique<TDateischutzWF>();
  try {
    // Others read our text from the file; a waiting user sees the holder's.
    if (!lock->LockFile(lockFile, text, false, true)) return nullptr;
  } catch (const std::exception& e) {
    // Not obtained; unlike a cancelled wait the user must learn why.
    onError(LockFileError(lockFile, e));
    return nullptr;
  }
  if (!table) return lock;
  try {
    table->LockTable(0);
    lock->Table = table;
  } catch (const std::exception& e) {
    onError(e);
    return nullptr;
  }
  return lock;
}

// ---- TDatabaseWrapper ----

TDatabaseWrapper::TDatabaseWrapper(TDBLogCallback onLog)
    : Database(std::make_unique<TTdbDatabase>()), OnLog(std::move(onLog)) {}

TDatabaseWrapper::~TDatabaseWrapper() {
  // The tables go first: they belong to the database.
  Tables.Clear();
  Database.reset();
}

void TDatabaseWrapper::InitTables() {
  if (Tables.IsEmpty()) CreateTables();
}

QString TDatabaseWrapper::ClassName() const { return DemangledClassName(typeid(*this)); }

void TDatabaseWrapper::OpenDir(const QString& directory, bool modeFlag, bool readOnly) {
  Q_UNUSED(modeFlag);  // an engine setting this engine does not have
  Opened = false;
  const QString dir = NormalizePath(directory, true);
  if (!EnsureDirectory(dir)) throw Exception(dir);
  OpenDatabase(dir, TTdbDatabase::DirectoryDatabase, readOnly);
}

void TDatabaseWrapper::OpenFile(const QString& fileName, bool modeFlag, bool readOnly) {
  Q_UNUSED(modeFlag);
  Opened = false;
  OpenDatabase(NormalizePath(fileName, false), TTdbDatabase::FileDatabase, readOnly);
}

void TDatabaseWrapper::OpenDatabase(const QString& location, int type, bool readOnly) {
  InitTables();
  // Connections of a previous file must not serve the new one.
  Database->Disconnect();
  Database->SetAutoDatabaseName(true);
  Database->SetCaseSensitive(true);
  Database->SetExclusive(false);
  Database->SetReadOnly(readOnly);
  Database->SetDatabaseType(type);
  Database->SetLocation(location);
  const bool oneFile = type == TTdbDatabase::FileDatabase;
  LockFileName = oneFile ? location + QStringLiteral(".SRW") : location + QStringLiteral("LOCKDB.SRW");
  try {
    TDBCore::OpenWithRetries(
        *Database,
        [&](QString& file) {
          Database->Disconnect();  // what a failed attempt left open
          // Reading only must leave no trace: the file and its tables stay as found.
          const bool create = !(readOnly && oneFile);
          if (create && oneFile && !QFileInfo::exists(location)) Database->CreateDatabase();
          if (create)
            TDBCore::CreateMissingTables(*Database, Tables, file, [this](TTdbTable& t, int) { CreateTableDefs(t); });
          Database->Connect();
          OpenTables(file);
        },
        [this](const std::exception& e, const QString& text) {
          if (OnLog) OnLog(&e, text);
        });
  } catch (...) {
    LockFileName.clear();
    Database->Disconnect();
    throw;
  }
  Opened = true;
}

void TDatabaseWrapper::OpenTables(QString& file) {
  PrepareTables();
  for (TTdbTable& table : Tables) {
    TDBCore::ResetForOpen(table, *Database, false);
    file = table.GetTableFileName();
    table.Open();
  }
}

void TDatabaseWrapper::CloseDatabase() {
  try {
    Opened = false;
    LockFileName.clear();
    for (TTdbTable& table : Tables) table.Close();
    Database->Disconnect();
  } catch (const std::exception& e) {
    LogError(e, QStringLiteral("CloseDatabase"));
  }
}

void TDatabaseWrapper::RefreshTables() {
  try {
    Database->RefreshDataSets();
    for (TTdbTable& table : Tables)
      if (table.Active()) table.Refresh();
  } catch (const std::exception& e) {
    LogError(e, QStringLiteral("RefreshTables"));
  }
}

void TDatabaseWrapper::DisableControls() {
  for (TTdbTable& table : Tables) table.DisableControls();
}

void TDatabaseWrapper::EnableControls() {
  for (TTdbTable& table : Tables) table.EnableControls();
}

QString TDatabaseWrapper::GetDatabasePath() const {
  const QString location = Database->Location();
  return Database->DatabaseType() == TTdbDatabase::FileDatabase ? location : NormalizePath(location, true);
}

TDBLock TDatabaseWrapper::LockDBInternal(const QString& userName, TTdbTable* table) {
  const QString place = QStringLiteral("LockDBInternal ") + ClassName();
  if (LockFileName.isEmpty()) throw Exception(place);
  return TDBCore::LockDatabase(LockFileName, userName, table,
                               [this, &place](const std::exception& e) { LogError(e, place); });
}

QString TDatabaseWrapper::RecordKeyFileForm(const QString& key) {
  QString form = key.trimmed();
  for (QChar& c : form)
    if (QStringView(u"!\"*/:<>?\\|").contains(c)) c = QLatin1Char('_');
  return form;
}

TDBLock TDatabaseWrapper::LockRecord(const QString& userName, const QString& recordKey) {
  if (Database->DatabaseType() == TTdbDatabase::FileDatabase) throw Exception(QStringLiteral("LockRecord"));
  const QString text = FormatText(Tr("Bitte warten, der Datensatz \"%s\" ist momentan durch den Benutzer \"%s\" gesperrt."),
                                  {recordKey, userName});
  auto lock = std::make_unique<TDateischutzWF>();
  const QString lockName = QStringLiteral("LOCKREC") + RecordKeyFileForm(recordKey);
  try {
    if (lock->LockInDirectory(GetDatabasePath(), lockName, false, true, text)) return lock;
  } catch (const std::exception& e) {
    LogError(TDBCore::LockFileError(TDateischutzWF::LockPathInDirectory(GetDatabasePath(), lockName), e),
             QStringLiteral("LockRecord"));
  }
  return nullptr;
}

void TDatabaseWrapper::Unlock(TDBLock& lock) {
  if (!lock) return;
  if (lock->Table) {
    try {
      lock->Table->UnlockTable(0);
    } catch (const std::exception& e) {
      LogError(e, QStringLiteral("Unlock"));
    }
  }
  lock.reset();
}

TDatabaseWrapper::Restructured TDatabaseWrapper::RestructureTable(
    TTdbTable& table, const QString& place, const std::function<bool(TTdbFieldDefs& defs)>& addColumns) {
  return Guarded(table, place, Restructured::Failed, [&] {
    struct ReopenOnFailure {
      TTdbTable& table;
      bool pending;
      ~ReopenOnFailure() {
        try {
          if (pending) table.Open();
        } catch (...) {
          // The restructuring's own error is the one reported.
        }
      }
    } reopen{table, table.Active()};
    const bool wasOpen = reopen.pending;
    table.Close();
    table.ReadDefinitions();
    const bool changed = addColumns(table.FieldDefs());
    if (changed) table.AlterTable();
    reopen.pending = false;
    if (wasOpen) table.Open();
    return changed ? Restructured::Altered : Restructured::Unchanged;
  });
}

void TDatabaseWrapper::LogError(const std::exception& error, const QString& place) {
  const QString message = ClassName() + QLatin1Char('.') + place;
  if (OnLog) {
    OnLog(&error, message);
    return;
  }
  Report(rlError, message, nullptr, error);
}

// ---- TDatabaseMapper ----

TDatabaseMapper::TDatabaseMapper(bool oneFile)
    : OneFile(oneFile), Database(std::make_unique<TTdbDatabase>()), ErrorText(Tr("Datenbankfehler.")) {}

TDatabaseMapper::~TDatabaseMapper() {
  Tables.Clear();
  Database.reset();
}

void TDatabaseMapper::InitTables() {
  if (Tables.IsEmpty()) CreateTables();
}

int TDatabaseMapper::Open(bool exclusive, const QString& directory, const QString& databaseFileName,
                          const QString& furtherText) {
  InitTables();
  FurtherText = furtherText;
  Directory = NormalizePath(directory, true);
  if (!EnsureDirectory(Directory)) {
    MessageDlgFmt(Tr("Kann Verzeichnis nicht anlegen: %s"), {Directory}, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return -1;
  }
  const QString location = OneFile ? Directory + databaseFileName : Directory;
  LockFilePath = OneFile ? location + QStringLiteral(".SRW") : Directory + QStringLiteral("LOCKDB.SRW");
  try {
    Database->Disconnect();
    Database->SetExclusive(exclusive);
    Database->SetDatabaseType(OneFile ? TTdbDatabase::FileDatabase : TTdbDatabase::DirectoryDatabase);
    Database->SetLocation(location);
    TDBCore::OpenWithRetries(
        *Database,
        [&](QString& file) {
          Database->Disconnect();
          if (OneFile && !QFileInfo::exists(location)) Database->CreateDatabase();
          TDBCore::CreateMissingTables(*Database, Tables, file,
                                       [this](TTdbTable& t, int i) { CreateTableDefs(t, i); });
          Database->Connect();
          OpenTables(exclusive, file);
        },
        [](const std::exception& e, const QString& text) { Report(rlError, text, nullptr, e); });
  } catch (const ETableEngineError& e) {
    Report(rlError, ErrorText + FormatText(QStringLiteral(" ( %d %d )"), {e.ErrorCode(), e.ExtendedCode()}), nullptr,
           e);
    return -1;
  }
  if (AfterOpen) AfterOpen();
  return 0;
}

void TDatabaseMapper::OpenTables(bool exclusive, QString& file) {
  for (int i = 0; i < Tables.Count(); ++i) {
    TTdbTable& table = *Tables[i];
    PrepareTable(table, i);
    TDBCore::ResetForOpen(table, *Database, exclusive);
    file = table.GetTableFileName();
    table.Open();
  }
}

TDBLock TDatabaseMapper::LockDBInternal(const QString& userName, TTdbTable* table) {
  if (LockFilePath.isEmpty()) throw Exception(QStringLiteral("LockDBInternal ") + DemangledClassName(typeid(*this)));
  return TDBCore::LockDatabase(LockFilePath, userName, table,
                               [this](const std::exception& e) { Report(rlError, ErrorText, nullptr, e); });
}
