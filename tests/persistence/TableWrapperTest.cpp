#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <optional>

#include "FileLock.h"
#include "TDBCore.h"
#include "TableEngineError.h"
#include "TestSupport.h"

namespace {
// A small store of two tables, counting how often it defines a table.
class TTestStore : public TDatabaseWrapper {
 public:
  explicit TTestStore(TDBLogCallback onLog = {}) : TDatabaseWrapper(std::move(onLog)) { InitTables(); }
  int AlterTables() override { return -1; }
  using TDatabaseWrapper::Restructured;
  using TDatabaseWrapper::RestructureTable;

  TTdbTable* Artikel = nullptr;
  int definedTables = 0;

 protected:
  void CreateTables() override {
    Artikel = new TTdbTable(Database.get());
    Artikel->SetTableName(QStringLiteral("ARTIKEL"));
    Tables.Add(Artikel);
    auto* notiz = new TTdbTable(Database.get());
    notiz->SetTableName(QStringLiteral("NOTIZ"));
    Tables.Add(notiz);
  }
  void CreateTableDefs(TTdbTable& table) override {
    ++definedTables;
    if (table.TableName() == QLatin1String("ARTIKEL")) {
      table.FieldDefs().Add(QStringLiteral("ID"), TdbFieldKind::WideString, 40, true);
      table.FieldDefs().Add(QStringLiteral("PREIS"), TdbFieldKind::Float);
      table.IndexDefs().Add(QStringLiteral("IDX_ID"), QStringLiteral("ID"), ixPrimary | ixUnique);
    } else {
      table.FieldDefs().Add(QStringLiteral("TEXT"), TdbFieldKind::WideMemo);
    }
  }
  void PrepareTables() override { Artikel->SetIndexName(QStringLiteral("IDX_ID.IDX")); }
};

void AppendArtikel(TTdbTable& table, const QString& id, double price) {
  table.Append();
  table.FieldByName(QStringLiteral("ID")).SetAsString(id);
  table.FieldByName(QStringLiteral("PREIS")).SetAsFloat(price);
  table.Post();
}

struct RetryPause {
  int previous = TDBCore::RetryPauseMs();
  RetryPause() { TDBCore::RetryPauseMs() = 1; }
  ~RetryPause() { TDBCore::RetryPauseMs() = previous; }
};
// Every entry below the folder with its bytes (folders with none).
std::map<QString, QByteArray> Snapshot(const QString& folder) {
  std::map<QString, QByteArray> entries;
  for (QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
       it.hasNext();) {
    const QString path = it.next();
    entries[path] = QFileInfo(path).isDir() ? QByteArray("<dir>") : ReadFileBytes(path);
  }
  return entries;
}

// Makes a file or folder read-only for this process, also for root (who
// ignores permissions): then by a read-only bind mount of it on itself.
class ReadOnlyPlace {
 public:
  explicit ReadOnlyPlace(const QString& path) : path_(QFile::encodeName(path)) {
    struct stat info {};
    if (::stat(path_.constData(), &info) != 0) return;
    mode_ = info.st_mode & 07777;
    if (::geteuid() != 0) {
      made_ = ::chmod(path_.constData(), mode_ & ~mode_t(0222)) == 0 ? How::Chmod : How::None;
    } else if (::mount(path_.constData(), path_.constData(), nullptr, MS_BIND, nullptr) == 0) {
      made_ = How::Mount;
      if (::mount(nullptr, path_.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) Undo();
    }
  }
  ~ReadOnlyPlace() { Undo(); }
  bool Made() const { return made_ != How::None; }

 private:
  enum class How { None, Chmod, Mount };
  void Undo() {
    if (made_ == How::Chmod) ::chmod(path_.constData(), mode_);
    if (made_ == How::Mount) ::umount2(path_.constData(), MNT_DETACH);
    made_ = How::None;
  }
  QByteArray path_;
  mode_t mode_ = 0;
  How made_ = How::None;
};

QByteArray ForeignDatabase() {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("foreign.db"));
  sqlite3* db = nullptr;
  sqlite3_open(file.toUtf8().constData(), &db);
  sqlite3_exec(db, "CREATE TABLE KUNDEN(NAME TEXT); INSERT INTO KUNDEN VALUES('Meier')", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return ReadFileBytes(file);
}
}  // namespace

TEST(TableWrapperOpen, DirectoryDatabaseIsMadeWithEveryTableOnce) {
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/neu/tiefer");
  {
    TTestStore store;
    store.OpenDir(path, false, false);
    EXPECT_TRUE(store.Opened);
    EXPECT_EQ(store.definedTables, 2);
    EXPECT_EQ(store.GetDatabasePath(), path + QLatin1Char('/'));
    EXPECT_EQ(store.LockFileName, path + QStringLiteral("/LOCKDB.SRW"));
    EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral("/ARTIKEL.DAT")));
    EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral("/NOTIZ.DAT")));
    EXPECT_EQ(store.Artikel->IndexName(), QStringLiteral("IDX_ID"));
    AppendArtikel(*store.Artikel, QStringLiteral("A1"), 2.5);
    store.CloseDatabase();
    EXPECT_FALSE(store.Opened);
    EXPECT_TRUE(store.LockFileName.isEmpty());
  }
  TTestStore again;
  again.OpenDir(path, false, false);
  EXPECT_EQ(again.definedTables, 0);
  EXPECT_EQ(again.Artikel->RecordCount(), 1);
}

TEST(TableWrapperOpen, OneFileDatabaseIsMadeAndItsLockFileAppendsSrw) {
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/4711.TDBD");
  TTestStore store;
  store.OpenFile(file, false);
  EXPECT_TRUE(store.Opened);
  EXPECT_TRUE(QFileInfo(file).isFile());
  EXPECT_EQ(store.LockFileName, file + QStringLiteral(".SRW"));
  EXPECT_EQ(store.GetDatabasePath(), file);
  EXPECT_EQ(store.definedTables, 2);
  AppendArtikel(*store.Artikel, QStringLiteral("B"), 1);
  EXPECT_THROW(store.LockRecord(QStringLiteral("ADMIN"), QStringLiteral("B")), Exception);
}

TEST(TableWrapperOpen, PresentTableIsNeverRecreated) {
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/alt.TDBD");
  {
    TTdbDatabase db;
    db.SetDatabaseType(TTdbDatabase::FileDatabase);
    db.SetLocation(file);
    db.CreateDatabase();
    TTdbTable old(&db);
    old.SetTableName(QStringLiteral("ARTIKEL"));
    old.FieldDefs().Add(QStringLiteral("ID"), TdbFieldKind::WideString, 10);
    old.IndexDefs().Add(QStringLiteral("IDX_ID"), QStringLiteral("ID"), ixPrimary | ixUnique);
    old.CreateTable();
    db.Connect();
    old.Open();
    old.Append();
    old.FieldByName(QStringLiteral("ID")).SetAsString(QStringLiteral("ALT"));
    old.Post();
  }
  TTestStore store;
  store.OpenFile(file, false);
  EXPECT_EQ(store.definedTables, 1);  // only NOTIZ
  EXPECT_EQ(store.Artikel->RecordCount(), 1);
  EXPECT_EQ(store.Artikel->FindField(QStringLiteral("PREIS")), nullptr);
}

TEST(TableWrapperOpen, UnopenableTableIsTriedNineTimesAndReportedWithTen) {
  RetryPause fast;
  QTemporaryDir dir;
  {
    TTestStore store;
    store.OpenDir(dir.path(), false, false);
  }
  WriteFileBytes(dir.path() + QStringLiteral("/ARTIKEL.DAT"), QByteArray(4096, 'x'));
  QStringList logged;
  TTestStore store([&](const std::exception*, const QString& text) { logged.append(text); });
  EXPECT_ANY_THROW(store.OpenDir(dir.path(), false, false));
  EXPECT_FALSE(store.Opened);
  ASSERT_EQ(logged.size(), 1);
  EXPECT_TRUE(logged[0].endsWith(QStringLiteral(" OpenTables Versuch 10"))) << logged[0].toStdString();
  EXPECT_TRUE(logged[0].contains(QStringLiteral("ARTIKEL.DAT")));
}

// Another program holds the file with a write lock: each attempt waits only
// briefly, the wait window names the file, and the end is a German message.
TEST(TableWrapperOpen, BusyFileIsWaitedForBrieflyWithTheWaitWindowAndReportedInGerman) {
  RetryPause fast;
  const int previousBusy = TDBCore::OpenBusyTimeoutMs();
  TDBCore::OpenBusyTimeoutMs() = 20;
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("HELD.TDBD"));
  { TTestStore(nullptr).OpenFile(file, false); }
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  QStringList logged;
  TTestStore store([&](const std::exception*, const QString& text) { logged.append(text); });
  QElapsedTimer timer;
  timer.start();
  try {
    store.OpenFile(file, false);
    ADD_FAILURE() << "opened a file held by another writer";
  } catch (const ETableEngineError& e) {
    EXPECT_EQ(e.ExtendedCode(), TdbErrorCode::OpenBusy);
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Die Datei wird von einem anderen Programm benutzt")));
  }
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_FALSE(store.Opened);
  ASSERT_EQ(logged.size(), 1);
  ASSERT_FALSE(TestDialogs().shown.isEmpty());
  EXPECT_EQ(TestDialogs().shown[0].kind, QStringLiteral("lockwait"));
  EXPECT_TRUE(TestDialogs().shown[0].text.contains(QStringLiteral("HELD.TDBD")));
  sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  TDBCore::OpenBusyTimeoutMs() = previousBusy;
  store.OpenFile(file, false);  // free again: opens, and later work waits the normal time
  EXPECT_TRUE(store.Opened);
}

TEST(TableWrapperOpen, DirectoryThatCannotBeMadeIsPassedOn) {
  QTemporaryDir dir;
  WriteFileBytes(dir.path() + QStringLiteral("/datei"), "x");
  TTestStore store;
  try {
    store.OpenDir(dir.path() + QStringLiteral("/datei/sub"), false, false);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), dir.path() + QStringLiteral("/datei/sub/"));
  }
  EXPECT_FALSE(store.Opened);
}

// Files that are no database of this store, or cannot be made: the open
// fails with a German account, the log names the file, and nothing on disk changes.
TEST(TableWrapperOpen, HostileFilesAreRefusedInGermanAndLeftAsTheyWere) {
  RetryPause fast;
  const QString notADatabase = QStringLiteral("Die Datei ist beschaedigt oder keine Datenbank dieses Programms.");
  const struct {
    const char* what;
    bool oneFile;
    QByteArray content;  // of PREISE.TDBD or ARTIKEL.DAT; null: none, and the folder is read-only
    QString expected;
  } cases[] = {
      {"random bytes", true, QByteArray(5000, '\xA7'), notADatabase},
      {"a text file", true, QByteArray("[Fenster]\r\nSeite=2\r\n").repeated(200), notADatabase},
      {"an empty file", true, QByteArray(""), notADatabase},
      {"another program's database", true, ForeignDatabase(), notADatabase},
      {"another program's table file", false, ForeignDatabase(), notADatabase},
      {"an empty table file", false, QByteArray(""), notADatabase},
      {"a new file in a read-only folder", true, QByteArray(),
       QStringLiteral("In diesem Ordner darf nicht geschrieben werden.")},
      {"a new table in a read-only folder", false, QByteArray(),
       QStringLiteral("In diesem Ordner darf nicht geschrieben werden.")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString file = c.oneFile ? dir.filePath(QStringLiteral("PREISE.TDBD")) : dir.filePath(QStringLiteral("ARTIKEL.DAT"));
    if (!c.content.isNull()) WriteFileBytes(file, c.content);
    std::optional<ReadOnlyPlace> readOnly;
    if (c.content.isNull() && !readOnly.emplace(dir.path()).Made()) {
      ADD_FAILURE() << "the folder cannot be made read-only here";
      continue;
    }
    const auto before = Snapshot(dir.path());
    QStringList logged;  // what the report shows: the place and the error
    TTestStore store([&](const std::exception* e, const QString& text) {
      logged.append(text + QLatin1Char('\n') + QString::fromUtf8(e ? e->what() : ""));
    });
    try {
      if (c.oneFile) store.OpenFile(file, false);
      else store.OpenDir(dir.path(), false, false);
      ADD_FAILURE() << "opened";
    } catch (const ETableEngineError& e) {
      EXPECT_TRUE(e.Message().startsWith(c.expected)) << e.Message().toStdString();
    }
    EXPECT_FALSE(store.Opened);
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains(QFileInfo(file).fileName())) << logged[0].toStdString();
    EXPECT_EQ(Snapshot(dir.path()), before);
  }
}

// A read-only file is read as it is; a post is refused in German and the file stays unchanged.
TEST(TableWrapperOpen, ReadOnlyFileIsReadAndRefusesPostsInGerman) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("PREISE.TDBD"));
  {
    TTestStore store;
    store.OpenFile(file, false);
    AppendArtikel(*store.Artikel, QStringLiteral("A1"), 2.5);
  }
  const QByteArray before = ReadFileBytes(file);
  const ReadOnlyPlace readOnly(file);
  ASSERT_TRUE(readOnly.Made());
  TTestStore store;
  store.OpenFile(file, false);
  EXPECT_EQ(store.Artikel->RecordCount(), 1);
  try {
    AppendArtikel(*store.Artikel, QStringLiteral("A2"), 3);
    ADD_FAILURE() << "posted into a read-only file";
  } catch (const ETableEngineError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Die Datei ist schreibgeschuetzt."))) << e.Message().toStdString();
  }
  store.Artikel->Cancel();
  store.CloseDatabase();
  EXPECT_EQ(ReadFileBytes(file), before);
}

TEST(TableWrapperLocks, RecordLockFileUsesTheFileFormOfTheKey) {
  QTemporaryDir dir;
  TTestStore store;
  store.OpenDir(dir.path(), false, false);
  TDBLock lock = store.LockRecord(QStringLiteral("ADMIN"), QStringLiteral(" K:1*2 "));
  ASSERT_TRUE(lock);
  const QString file = dir.path() + QStringLiteral("/LOCKRECK_1_2.SRW");
  ASSERT_TRUE(QFileInfo::exists(file));
  EXPECT_TRUE(TDateischutz::ReadEntry(file).startsWith(QStringLiteral(
      "Bitte warten, der Datensatz \" K:1*2 \" ist momentan durch den Benutzer \"ADMIN\" gesperrt. (")));
  store.Unlock(lock);
  EXPECT_FALSE(lock);
  EXPECT_FALSE(QFileInfo::exists(file));
  store.Unlock(lock);  // an empty reference does nothing
  EXPECT_EQ(TDatabaseWrapper::RecordKeyFileForm(QStringLiteral("a!\"*/:<>?\\|b")), QStringLiteral("a__________b"));
  EXPECT_EQ(TDatabaseWrapper::RecordKeyFileForm(QStringLiteral("  ")), QString());
}

TEST(TableWrapperLocks, DatabaseLockNamesTheUserAndIsExclusive) {
  QTemporaryDir dir;
  TTestStore closed;
  try {
    closed.LockDBInternal(QStringLiteral("ADMIN"));
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("LockDBInternal TTestStore"));
  }
  TTestStore first, second;
  first.OpenDir(dir.path(), false, false);
  second.OpenDir(dir.path(), false, false);
  TDBLock held = first.LockDBInternal(QStringLiteral("MEIER"), first.Artikel);
  ASSERT_TRUE(held);
  EXPECT_EQ(held->Table, first.Artikel);
  TestDialogs().lockWaitCancelAfter.enqueue(2);
  EXPECT_FALSE(second.LockDBInternal(QStringLiteral("ADMIN")));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].kind, QStringLiteral("lockwait"));
  EXPECT_TRUE(TestDialogs().shown[0].text.startsWith(
      QStringLiteral("Bitte warten, die Datenbank ist momentan durch den Benutzer \"MEIER\" gesperrt. (")));
  first.Unlock(held);
  TDBLock now = second.LockDBInternal(QStringLiteral("ADMIN"));
  EXPECT_TRUE(now);
  second.Unlock(now);
}

// A folder where the lock file belongs: no wait (it would never end), the
// German account goes to the log, nothing is written.
TEST(TableWrapperLocks, LockFileThatIsAFolderIsReportedNotWaitedFor) {
  QTemporaryDir dir;
  QStringList logged;
  TTestStore store([&](const std::exception* e, const QString& text) {
    logged.append(text + QLatin1Char('|') + QString::fromUtf8(e ? e->what() : ""));
  });
  store.OpenDir(dir.path(), false, false);
  const struct {
    const char* what;
    QString lockFile;
    std::function<TDBLock()> lock;
  } cases[] = {
      {"database", store.LockFileName, [&] { return store.LockDBInternal(QStringLiteral("ADMIN")); }},
      {"record", dir.filePath(QStringLiteral("LOCKREC4711.SRW")),
       [&] { return store.LockRecord(QStringLiteral("ADMIN"), QStringLiteral("4711")); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    logged.clear();
    ASSERT_TRUE(QDir().mkpath(c.lockFile + QStringLiteral("/inhalt")));
    const auto before = Snapshot(dir.path());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(c.lock());
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_TRUE(TestDialogs().shown.isEmpty()) << "no wait window";
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains(QStringLiteral("Die Sperrdatei \"%1\" kann weder angelegt noch gelesen werden")
                                       .arg(c.lockFile)))
        << logged[0].toStdString();
    EXPECT_EQ(Snapshot(dir.path()), before);
  }
}

TEST(TableWrapperErrors, LogErrorGoesToTheCallbackOrAReport) {
  QStringList logged;
  TTestStore withLog([&](const std::exception* e, const QString& text) {
    logged.append(text + QLatin1Char('|') + QString::fromUtf8(e ? e->what() : ""));
  });
  withLog.LogError(std::runtime_error("kaputt"), QStringLiteral("ImportFromFile"));
  EXPECT_EQ(logged, QStringList{QStringLiteral("TTestStore.ImportFromFile|kaputt")});
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  TTestStore silent;
  silent.LogError(std::runtime_error("kaputt"), QStringLiteral("CloseDatabase"));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.startsWith(
      QStringLiteral("TTestStore.CloseDatabase\nException-Message (runtime_error): kaputt\n")));
}

TEST(TableWrapperRestructure, OpenAgainAfterwardsAlsoWhenTheRestructuringFails) {
  QTemporaryDir dir;
  QStringList logged;
  TTestStore store([&](const std::exception*, const QString& text) { logged.append(text); });
  store.OpenDir(dir.path(), false, false);
  AppendArtikel(*store.Artikel, QStringLiteral("A1"), 2.5);
  const auto fails = [](TTdbFieldDefs&) -> bool { throw std::runtime_error("kaputt"); };
  EXPECT_EQ(store.RestructureTable(*store.Artikel, QStringLiteral("AlterTables"), fails),
            TTestStore::Restructured::Failed);
  EXPECT_EQ(logged, QStringList{QStringLiteral("TTestStore.AlterTables")});
  EXPECT_TRUE(store.Artikel->Active());
  const auto addsNote = [](TTdbFieldDefs& f) {
    f.Add(QStringLiteral("NOTIZ"), TdbFieldKind::WideString, 20);
    return true;
  };
  EXPECT_EQ(store.RestructureTable(*store.Artikel, QStringLiteral("AlterTables"), addsNote),
            TTestStore::Restructured::Altered);
  ASSERT_TRUE(store.Artikel->Active());
  EXPECT_NE(store.Artikel->FindField(QStringLiteral("NOTIZ")), nullptr);
  EXPECT_EQ(store.Artikel->RecordCount(), 1);
}

namespace {
class TTestMapper : public TDatabaseMapper {
 public:
  explicit TTestMapper(bool oneFile) : TDatabaseMapper(oneFile) { InitTables(); }
  QList<int> prepared;

 protected:
  void CreateTables() override {
    auto* table = new TTdbTable(Database.get());
    table->SetTableName(QStringLiteral("PHRASEN"));
    Tables.Add(table);
  }
  void CreateTableDefs(TTdbTable& table, int) override {
    table.FieldDefs().Add(QStringLiteral("KURZ"), TdbFieldKind::WideString, 20);
  }
  void PrepareTable(TTdbTable&, int index) override { prepared.append(index); }
};
}  // namespace

TEST(TableWrapperMapper, OpensBothShapesAndReportsFailures) {
  QTemporaryDir dir;
  TTestMapper oneFile(true);
  bool afterOpen = false;
  oneFile.AfterOpen = [&] { afterOpen = true; };
  EXPECT_EQ(oneFile.Open(false, dir.path(), QStringLiteral("PHRASEN.TDBD"), QStringLiteral("x")), 0);
  EXPECT_TRUE(afterOpen);
  EXPECT_EQ(oneFile.prepared, QList<int>{0});
  EXPECT_EQ(oneFile.LockFilePath, dir.path() + QStringLiteral("/PHRASEN.TDBD.SRW"));
  EXPECT_TRUE(QFileInfo::exists(dir.path() + QStringLiteral("/PHRASEN.TDBD")));

  TTestMapper directory(false);
  EXPECT_EQ(directory.Open(false, dir.path() + QStringLiteral("/d"), QString(), QString()), 0);
  EXPECT_EQ(directory.LockFilePath, dir.path() + QStringLiteral("/d/LOCKDB.SRW"));

  WriteFileBytes(dir.path() + QStringLiteral("/datei"), "x");
  TTestMapper blocked(false);
  EXPECT_EQ(blocked.Open(false, dir.path() + QStringLiteral("/datei/sub"), QString(), QString()), -1);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text,
            QStringLiteral("Kann Verzeichnis nicht anlegen: %1/datei/sub/").arg(dir.path()));

  WriteFileBytes(dir.path() + QStringLiteral("/kaputt.TDBD"), QByteArray(4096, 'x'));
  TTestMapper broken(true);
  EXPECT_EQ(broken.Open(false, dir.path(), QStringLiteral("kaputt.TDBD"), QString()), -1);
  // Every try failed: the "Versuch 10" report, then the engine error's.
  ASSERT_EQ(TestDialogs().shown.size(), 3);
  EXPECT_TRUE(TestDialogs().shown[1].text.contains(QStringLiteral("kaputt.TDBD OpenTables Versuch 10")));
  EXPECT_TRUE(TestDialogs().shown[2].text.startsWith(QStringLiteral("Datenbankfehler. ( 26 26 )")))
      << TestDialogs().shown[2].text.toStdString();
}
