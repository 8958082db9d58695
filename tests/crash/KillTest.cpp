// The real program killed with SIGKILL at random moments of a whole
// catalogue take-over, a discount import and a quantity-list write-back,
// spread over the time a full run spends writing (seen with inotify).
// After every kill the table is sound and holds whole batches only, the
// list file is the old or the new one byte for byte, nothing is left that
// the next run would read as data, and no lock file keeps anyone out; the
// next run on what the last kill left works to the end.
// Each scenario prints "BENCH crash.<name> <runs> runs corrupt <n>";
// SUITE_CRASH_RUNS=<n> kills n times per scenario instead of 20.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cstdio>
#include <functional>
#include <poll.h>
#include <random>
#include <sys/inotify.h>
#include <unistd.h>

#include "CmnCustomObjectLists.h"
#include "FileLock.h"
#include "KSPRDatabase.h"
#include "KSRabDatabase.h"
#include "MOD00100Unit1.h"
#include "MemIniFile.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "TypeUnit.h"

namespace {
constexpr int kDefaultKills = 20;
constexpr int kCatalogueArticles = 2000;
constexpr int kTakeOverBatch = 250;
constexpr int kDiscountGroups = 20000;
constexpr int kQuantities = 200000;

int Kills() {
  bool valid = false;
  const int kills = qEnvironmentVariableIntValue("SUITE_CRASH_RUNS", &valid);
  return valid && kills > 0 ? kills : kDefaultKills;
}

// A table file opened with SQLite itself, as the next program finds it: a
// journal that the killed one left is rolled back first.
class RawDatabase {
 public:
  explicit RawDatabase(const QString& path) {
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
      sqlite3_busy_timeout(db_, 5000);
  }
  ~RawDatabase() { sqlite3_close(db_); }
  RawDatabase(const RawDatabase&) = delete;
  RawDatabase& operator=(const RawDatabase&) = delete;

  // The first row of a query, its columns as texts joined by "|"; empty on an error.
  QString Row(const char* sql) const {
    sqlite3_stmt* statement = nullptr;
    QString row;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
      for (int i = 0; i < sqlite3_column_count(statement); ++i)
        row += (i ? QStringLiteral("|") : QString()) +
               QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
    sqlite3_finalize(statement);
    return row;
  }
  QString Fault() const {
    const QString check = Row("PRAGMA integrity_check");
    return check == QLatin1String("ok") ? QString() : QStringLiteral("integrity check: ") + check;
  }

 private:
  sqlite3* db_ = nullptr;
};

// Changes in the folder of the written file as they happen: the first one
// of a run is where its writing begins.
class FolderChanges {
 public:
  explicit FolderChanges(const QString& dir) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    inotify_add_watch(fd_, QFile::encodeName(dir).constData(), IN_CREATE | IN_MODIFY | IN_MOVED_TO | IN_DELETE);
  }
  ~FolderChanges() { close(fd_); }
  FolderChanges(const FolderChanges&) = delete;
  FolderChanges& operator=(const FolderChanges&) = delete;

  // Whether something changed within timeoutMs; what came is consumed.
  bool Wait(int timeoutMs) {
    pollfd ready{fd_, POLLIN, 0};
    if (poll(&ready, 1, timeoutMs) <= 0) return false;
    char events[4096];
    while (read(fd_, events, sizeof events) > 0) {
    }
    return true;
  }

 private:
  int fd_;
};

// One operation of the real program, run to its end and killed again and again.
struct KillScenario {
  QString name;
  QString file;       // the file the operation writes
  QStringList args;   // after client and user
  QList<QPair<QString, QString>> environment;
  std::function<QString()> fault;     // what is wrong after a kill, empty when sound
  std::function<QString()> complete;  // what is wrong after a run to the end
};

class CrashKillTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(suite_.Load());
    program_ = suite_.InstallProgram();
  }

  static QString PricingFile(const char* folder, const char* id, const char* extension) {
    return SystemEinstellungen()->AddressDir + QLatin1String(folder) + QLatin1Char('/') + QLatin1String(id) +
           QLatin1String(extension);
  }

  // The page the window opens on, and sales price 1 for take-overs.
  static void ShowPage(int page) {
    TMemIniFile ini(TMOD00100Form1::SettingsFileName());
    ini.WriteInteger(QStringLiteral("MOD00100"), QStringLiteral("PageControl1.ActivePageIndex"), page);
    ini.WriteInteger(QStringLiteral("MOD00100Form1"), QStringLiteral("cbImpPreis"), 1);
    ASSERT_TRUE(ini.UpdateFile());
  }

  static QStringList Arguments(const KillScenario& scenario) {
    return QStringList{QStringLiteral("DEMO"), QStringLiteral("ADMIN")} + scenario.args;
  }

  // Waits up to 30 s for the first change of the folder; false when the program ended before.
  static bool WaitForWriting(QProcess& process, FolderChanges& changes) {
    for (int waited = 0; waited < 30000; waited += 10) {
      if (changes.Wait(10)) return true;
      if (process.waitForFinished(0) || process.state() == QProcess::NotRunning) return false;
    }
    return false;
  }

  // A full run: from its first change of the folder to its last, in ms.
  qint64 WritingSpan(const KillScenario& scenario) {
    FolderChanges changes(QFileInfo(scenario.file).path());
    StartedProgram run(program_, Arguments(scenario), suite_.Root(), scenario.environment);
    QProcess* process = &run.Process();
    EXPECT_TRUE(WaitForWriting(*process, changes));
    QElapsedTimer timer;
    timer.start();
    qint64 last = 0;
    while (!process->waitForFinished(10) && timer.elapsed() < 60000)
      if (changes.Wait(0)) last = timer.elapsed();
    EXPECT_EQ(process->exitCode(), 0);
    return last;
  }

  // The file as it was before the operation; whatever a killed run left
  // beside it goes.
  void Restore(const KillScenario& scenario, const QByteArray& before, const QStringList& names) {
    const QDir dir = QFileInfo(scenario.file).dir();
    for (const QString& name : dir.entryList(QDir::Files))
      if (!names.contains(name)) QFile::remove(dir.filePath(name));
    WriteFileBytes(scenario.file, before);
  }

  // Left beside the file under a name the program reads as data, or a lock that is taken.
  static QString LeftOverFault(const KillScenario& scenario, const QStringList& names) {
    const QDir dir = QFileInfo(scenario.file).dir();
    const QString suffix = QLatin1Char('.') + QFileInfo(scenario.file).suffix();
    for (const QString& name : dir.entryList(QDir::Files)) {
      if (name.endsWith(QLatin1String(".SRW"))) {
        TDateischutz lock;
        if (!lock.Lock(dir.filePath(name), QStringLiteral("crash"), false)) return QStringLiteral("locked: ") + name;
      } else if (!names.contains(name) && name.endsWith(suffix, Qt::CaseInsensitive)) {
        return QStringLiteral("left over: ") + name;
      }
    }
    TDateischutz lock;
    return lock.Lock(scenario.file + QStringLiteral(".SRW"), QStringLiteral("crash"), false)
               ? QString()
               : QStringLiteral("the database lock is taken");
  }

  // Kills the program at moments spread over the operation: as long after
  // its first change of the folder as a full run writes.
  void KillRepeatedly(const KillScenario& scenario, quint32 seed) {
    const QByteArray before = ReadFileBytes(scenario.file);
    const QStringList names = QFileInfo(scenario.file).dir().entryList(QDir::Files);
    const qint64 span = WritingSpan(scenario);
    ASSERT_EQ(scenario.complete(), QString());
    std::mt19937 random(seed);
    std::uniform_int_distribution<qint64> moment(0, span);
    const int kills = Kills();
    int corrupt = 0;
    for (int i = 0; i < kills; ++i) {
      Restore(scenario, before, names);
      const qint64 at = moment(random);
      FolderChanges changes(QFileInfo(scenario.file).path());
      StartedProgram run(program_, Arguments(scenario), suite_.Root(), scenario.environment);
      QProcess* process = &run.Process();
      if (WaitForWriting(*process, changes)) QThread::msleep(static_cast<unsigned long>(at));
      process->kill();
      process->waitForFinished(30000);
      QString fault = scenario.fault();
      if (fault.isEmpty()) fault = LeftOverFault(scenario, names);
      if (fault.isEmpty()) continue;
      ++corrupt;
      ADD_FAILURE() << scenario.name.toStdString() << " killed " << at << " ms into its writing: "
                    << fault.toStdString();
    }
    std::printf("BENCH crash.%s %d runs corrupt %d\n", qPrintable(scenario.name), kills, corrupt);
    std::fflush(stdout);
    // The next run works on what the last kill left.
    QList<QPair<QString, QString>> environment = scenario.environment;
    environment.append({QStringLiteral("SUITE_DIALOG_ANSWERS"), QString::number(mrYesToAll)});
    EXPECT_EQ(RunProgram(program_, Arguments(scenario), suite_.Root(), environment).exitCode, 0);
    EXPECT_EQ(scenario.complete(), QString());
  }

  TempSuite suite_{20, 200, kCatalogueArticles};
  QString program_;
};

// A whole catalogue into a customer's article prices, in batches: a kill
// keeps the rows there before and whole batches of the new ones.
TEST_F(CrashKillTest, WholeCatalogueTakeOver) {
  KillScenario scenario;
  scenario.name = QStringLiteral("take_catalog");
  scenario.file = PricingFile("003", "10003", ".TDBD");
  constexpr int kBefore = 3;
  {
    TKSPRDatabase store;
    store.OpenFile(scenario.file, false);
    for (int i = 0; i < kBefore; ++i) {
      TKSPRDatabaseObj entry;
      entry.Katalog = QStringLiteral("LAGER");
      entry.ArtikelNr = QString::number(i);
      ASSERT_TRUE(store.SetArtikel(&entry));
    }
  }
  ShowPage(TMOD00100Form1::pgArtikelpreise);
  scenario.args = {QStringLiteral("-SA"), QStringLiteral("10003"), QStringLiteral("--click"), QStringLiteral("PM101")};
  scenario.environment = {{QStringLiteral("SUITE_CHOOSE_KATALOG"), QStringLiteral("DATANORM_SHK")},
                          {QStringLiteral("SUITE_TAKEOVER_BATCH"), QString::number(kTakeOverBatch)}};
  // Rows there before | rows taken over.
  const auto counts = [&] {
    const RawDatabase db(scenario.file);
    const QString fault = db.Fault();
    return fault.isEmpty() ? db.Row("SELECT SUM(KATALOG = 'LAGER'), SUM(KATALOG = 'DATANORM_SHK') FROM KSP") : fault;
  };
  scenario.fault = [&] {
    const QString found = counts();
    const QStringList parts = found.split(u'|');
    const int taken = parts.value(1).toInt();
    const bool whole = parts.size() == 2 && parts[0].toInt() == kBefore &&
                       (taken % kTakeOverBatch == 0 || taken == kCatalogueArticles);
    return whole ? QString() : found;
  };
  scenario.complete = [&] {
    const QString found = counts();
    return found == QStringLiteral("%1|%2").arg(kBefore).arg(kCatalogueArticles) ? QString() : found;
  };
  KillRepeatedly(scenario, 101);
}

// An exchange file imported into a customer's discount groups: one
// transaction, so a kill leaves every discount old or every one new.
TEST_F(CrashKillTest, DiscountImport) {
  KillScenario scenario;
  scenario.name = QStringLiteral("discount_import");
  scenario.file = PricingFile("001", "10001", ".TDBD");
  TDoubleStringListObjectList groups;
  QStringList lines;
  for (int i = 0; i < kDiscountGroups; ++i) {
    const QString key = QStringLiteral("G%1").arg(i, 5, 10, QLatin1Char('0'));
    groups.Add(key, QStringLiteral("Gruppe %1").arg(i));
    lines.append(key + QLatin1Char('=') + QString::number(i % 40 + 1));
  }
  {
    TKSRabDatabase store;
    store.OpenFile(scenario.file, false);
    ASSERT_TRUE(store.UpdateRabattListe(groups));
  }
  const QString exchange = suite_.Root() + QStringLiteral("rabatte.txt");
  ASSERT_TRUE(WriteTextLines(exchange, lines));
  ShowPage(TMOD00100Form1::pgRabatt);
  scenario.args = {QStringLiteral("-SA"), QStringLiteral("10001"), QStringLiteral("--click"),
                   QStringLiteral("TntButton2")};
  scenario.environment = {{QStringLiteral("SUITE_DIALOG_FILES"), exchange}};
  // Groups | groups still without discount.
  const auto counts = [&] {
    const RawDatabase db(scenario.file);
    const QString fault = db.Fault();
    return fault.isEmpty() ? db.Row("SELECT COUNT(*), SUM(RABATT = 0) FROM KSR") : fault;
  };
  const QString old = QStringLiteral("%1|%1").arg(kDiscountGroups);
  const QString imported = QStringLiteral("%1|0").arg(kDiscountGroups);
  scenario.fault = [&] {
    const QString found = counts();
    return found == old || found == imported ? QString() : found;
  };
  scenario.complete = [&] {
    const QString found = counts();
    return found == imported ? QString() : found;
  };
  KillRepeatedly(scenario, 102);
}

// A long quantity list, one quantity added on its page and the list written
// back to the customer's file when the window closes: the file is the old
// one or the new one.
TEST_F(CrashKillTest, QuantityListWriteBack) {
  KillScenario scenario;
  scenario.name = QStringLiteral("quantity_writeback");
  scenario.file = PricingFile("002", "10002", ".MR");
  QStringList lines;
  for (int i = 1; i <= kQuantities; ++i) lines.append(QString::number(i) + QLatin1Char('=') + QString::number(i % 30));
  ASSERT_TRUE(WriteTextLines(scenario.file, lines));
  const QByteArray old = ReadFileBytes(scenario.file);
  const QByteArray written = EncodeText(JoinLines(lines << QString::number(kQuantities + 1) + QStringLiteral("=0")));
  ShowPage(TMOD00100Form1::pgMengenrabatt);
  scenario.args = {QStringLiteral("-SA"), QStringLiteral("10002"), QStringLiteral("--click"),
                   QStringLiteral("RabMengenEditor/AddButton")};
  scenario.environment = {{QStringLiteral("SUITE_DIALOG_INPUTS"), QString::number(kQuantities + 1)}};
  scenario.fault = [&] {
    const QByteArray found = ReadFileBytes(scenario.file);
    return found == old || found == written ? QString() : QStringLiteral("%1 bytes").arg(found.size());
  };
  scenario.complete = [&] {
    return ReadFileBytes(scenario.file) == written ? QString() : QStringLiteral("not the list with the new quantity");
  };
  KillRepeatedly(scenario, 103);
}
}  // namespace
