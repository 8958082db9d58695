#pragma once
// The base of every database object: it owns one engine database and its
// table components, creates missing tables from the definitions the derived
// class supplies, opens the tables with retries, and locks the whole
// database or one record through lock files.
#include <QString>
#include <exception>
#include <functional>
#include <memory>

#include "FileLock.h"
#include "SuiteException.h"
#include "OwningObjectList.h"
#include "TdbDatabase.h"
#include "TdbTable.h"

// The table components of a database.
class TTableEngineObjectList : public TOwningObjectList<TTdbTable> {};

// Receives every error a database object catches: the exception and the text
// (class name, a full stop and the operation).
using TDBLogCallback = std::function<void(const std::exception* error, const QString& message)>;

// A lock taken by LockDBInternal or LockRecord; released by Unlock.
using TDBLock = std::unique_ptr<TDateischutzWF>;

class TDatabaseWrapper {
 public:
  explicit TDatabaseWrapper(TDBLogCallback onLog = {});
  virtual ~TDatabaseWrapper();
  TDatabaseWrapper(const TDatabaseWrapper&) = delete;
  TDatabaseWrapper& operator=(const TDatabaseWrapper&) = delete;

  // A directory with one file per table; the directory is made when missing.
  // Errors are passed on; Opened stays false then.
  void OpenDir(const QString& directory, bool modeFlag, bool readOnly);
  // One database file (".TDBD"), created when missing. Errors are passed on.
  // Read-only creates nothing: a missing file or table is an error then.
  void OpenFile(const QString& fileName, bool modeFlag, bool readOnly = false);
  void CloseDatabase();
  void RefreshTables();
  void DisableControls();
  void EnableControls();
  // The database file, or the directory with a trailing separator.
  QString GetDatabasePath() const;

  // Whole-database lock; none when not obtained. Throws when the database is not open.
  TDBLock LockDBInternal(const QString& userName, TTdbTable* table = nullptr);
  // Record lock (directory databases only; throws "LockRecord" otherwise).
  TDBLock LockRecord(const QString& userName, const QString& recordKey);
  void Unlock(TDBLock& lock);

  // The common error path: OnLog, or an error report.
  void LogError(const std::exception& error, const QString& place);
  QString ClassName() const;

  // The record key as it goes into a lock file name.
  static QString RecordKeyFileForm(const QString& key);

  TTableEngineObjectList Tables;
  std::unique_ptr<TTdbDatabase> Database;
  QString LockFileName;
  bool Opened = false;
  TDBLogCallback OnLog;

  // Adds the columns older files lack and restructures; 0 on success, -1 when
  // nothing was done or on failure. The open operations do not call it.
  virtual int AlterTables() = 0;

 protected:
  // Adds column and index definitions to a table about to be created, when it is one of ours.
  virtual void CreateTableDefs(TTdbTable& table) = 0;
  // Creates the table components and adds them to Tables.
  virtual void CreateTables() = 0;
  // Sets the index names before the tables are opened.
  virtual void PrepareTables() = 0;
  // Derived constructors call this once their own fields exist (a virtual
  // call from this constructor would not reach them).
  void InitTables();

  // Runs one operation of the object: an error cancels a row the table still
  // holds in edit (the next move would post it half written), goes to
  // LogError with its place, and gives failValue.
  template <class T, class Operation>
  T Guarded(TTdbTable& table, const QString& place, T failValue, Operation&& operation) {
    try {
      return operation();
    } catch (const std::exception& e) {
      try {
        if (table.State() == TdbState::Edit || table.State() == TdbState::Insert) table.Cancel();
      } catch (...) {
        // The first error is the one reported.
      }
      LogError(e, place);
      return failValue;
    }
  }

  enum class Restructured { Failed, Unchanged, Altered };
  // Closes the table, lets addColumns change its definitions as read from the
  // file (true when it did), restructures then, and opens the table again when
  // it was open, also after a failure. Errors go the Guarded way.
  Restructured RestructureTable(TTdbTable& table, const QString& place,
                                const std::function<bool(TTdbFieldDefs& defs)>& addColumns);

 private:
  void OpenDatabase(const QString& location, int type, bool readOnly);
  void OpenTables(QString& file);
};

// The later shape of the same idea, used by the text-phrase database.
class TDatabaseMapper {
 public:
  explicit TDatabaseMapper(bool oneFile);
  virtual ~TDatabaseMapper();
  TDatabaseMapper(const TDatabaseMapper&) = delete;
  TDatabaseMapper& operator=(const TDatabaseMapper&) = delete;

  // -1 on failure, 0 on success.
  int Open(bool exclusive, const QString& directory, const QString& databaseFileName, const QString& furtherText);
  TDBLock LockDBInternal(const QString& userName, TTdbTable* table = nullptr);

  std::function<void()> AfterOpen;
  TTableEngineObjectList Tables;
  const bool OneFile;
  std::unique_ptr<TTdbDatabase> Database;
  QString ErrorText;
  QString Directory;
  QString LockFilePath;
  QString FurtherText;

 protected:
  virtual void CreateTables() = 0;
  virtual void CreateTableDefs(TTdbTable& table, int index) = 0;
  virtual void PrepareTable(TTdbTable& table, int index) = 0;
  void InitTables();

 private:
  void OpenTables(bool exclusive, QString& file);
};

// Shared by both shapes.
namespace TDBCore {
using TOpenFailure = std::function<void(const std::exception&, const QString&)>;
// Runs an open (attempt names the file it works on), trying nine times
// RetryPauseMs() apart. Each try waits at most OpenBusyTimeoutMs() for
// another program's lock; while a file stays busy the wait window names it
// and lets the user give up. After the last failure onFailure gets the error
// and "<file> OpenTables Versuch 10"; then a file still busy is passed on as
// TdbErrorCode::OpenBusy, any other error as it is.
void OpenWithRetries(TTdbDatabase& database, const std::function<void(QString& file)>& attempt,
                     const TOpenFailure& onFailure);
// Takes the database lock file with the lock text that names the user and,
// when a table is given, the engine's table lock too; none when either fails
// (a lock file that cannot be made or read, or a failing table lock, goes to
// onError; a wait the user gave up does not).
TDBLock LockDatabase(const QString& lockFile, const QString& userName, TTdbTable* table,
                     const std::function<void(const std::exception&)>& onError);
// The failure of a lock file that can be neither made nor read, in German.
Exception LockFileError(const QString& lockFile, const std::exception& error);
// Creates the tables of the list that the database lacks (define fills the
// definitions of the table at that position; file names the file worked on).
// A file that is no database of these tables (a one-file database holding
// only others, a table file without its table) is refused before anything
// is written.
void CreateMissingTables(TTdbDatabase& database, TTableEngineObjectList& tables, QString& file,
                         const std::function<void(TTdbTable& table, int index)>& define);
// Resets a table component to the defaults of an open.
void ResetForOpen(TTdbTable& table, TTdbDatabase& database, bool exclusive);
// How long OpenWithRetries waits between attempts (tests shorten it).
int& RetryPauseMs();
// How long one attempt waits for a file another program keeps locked.
int& OpenBusyTimeoutMs();
}  // namespace TDBCore
