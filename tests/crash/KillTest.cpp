// The real program killed with SIGKILL at random moments of a whole
// catalogue take-over, a discount import and a quantity-list write-back.
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
#include <random>

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

  QStringList Arguments(const QStringList& args) const {
    return QStringList{QStringLiteral("DEMO"), QStringLiteral("ADMIN")} + args;
  }

  // The time from the start to the end of a run, in ms.
  qint64 TimedRun(const QStringList& args, const QList<QPair<QString, QString>>& environment) {
    QElapsedTimer timer;
    timer.start();
    const ProgramRun run = RunProgram(program_, Arguments(args), suite_.Root(), environment);
    EXPECT_EQ(run.exitCode, 0) << run.dialogs.join(u'\n').toStdString();
    return timer.elapsed();
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

  // Kills the program at moments spread over the operation: between the end
  // of a run that only starts and closes and the end of a full run.
  void KillRepeatedly(const KillScenario& scenario, quint32 seed) {
    const QByteArray before = ReadFileBytes(scenario.file);
    const QStringList names = QFileInfo(scenario.file).dir().entryList(QDir::Files);
    const qint64 idle = TimedRun({QStringLiteral("-SA"), scenario.args[1], QStringLiteral("--click"),
                                  QStringLiteral("TntButton1")},
                                 {});
    const qint64 full = TimedRun(scenario.args, scenario.environment);
    ASSERT_EQ(scenario.complete(), QString());
    std::mt19937 random(seed);
    std::uniform_int_distribution<qint64> moment(idle * 3 / 4, std::max(full, idle));
    const int kills = Kills();
    int corrupt = 0;
    for (int i = 0; i < kills; ++i) {
      Restore(scenario, before, names);
      const qint64 at = moment(random);
      QElapsedTimer timer;
      timer.start();
      const std::unique_ptr<QProcess> process =
          StartProgram(program_, Arguments(scenario.args), suite_.Root(), scenario.environment);
      QThread::msleep(static_cast<unsigned long>(std::max<qint64>(at - timer.elapsed(), 0)));
      process->kill();
      process->waitForFinished(30000);
      QString fault = scenario.fault();
      if (fault.isEmpty()) fault = LeftOverFault(scenario, names);
      if (fault.isEmpty()) continue;
      ++corrupt;
      ADD_FAILURE() << scenario.name.toStdString() << " killed after " << at << " ms: " << fault.toStdString();
    }
    std::printf("BENCH crash.%s %d runs corrupt %d\n", qPrintable(scenario.name), kills, corrupt);
    std::fflush(stdout);
    // The next run works on what the last kill left.
    QList<QPair<QString, QString>> environment = scenario.environment;
    environment.append({QStringLiteral("SUITE_DIALOG_ANSWERS"), QString::number(mrYesToAll)});
    TimedRun(scenario.args, environment);
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

// A quantity list imported on its page and written back to the customer's
// file when the window closes: the file is the old one or the new one.
TEST_F(CrashKillTest, QuantityListWriteBack) {
  KillScenario scenario;
  scenario.name = QStringLiteral("quantity_writeback");
  scenario.file = PricingFile("002", "10002", ".MR");
  const QByteArray old = ReadFileBytes(scenario.file);
  ASSERT_FALSE(old.isEmpty());
  QStringList lines;
  for (int i = 1; i <= kQuantities; ++i) lines.append(QString::number(i) + QLatin1Char('=') + QString::number(i % 30));
  const QString list = suite_.Root() + QStringLiteral("mengen.txt");
  ASSERT_TRUE(WriteTextLines(list, lines));
  const QByteArray written = ReadFileBytes(list);
  ShowPage(TMOD00100Form1::pgMengenrabatt);
  scenario.args = {QStringLiteral("-SA"), QStringLiteral("10002"), QStringLiteral("--click"), QStringLiteral("Button3")};
  scenario.environment = {{QStringLiteral("SUITE_DIALOG_FILES"), list}};
  scenario.fault = [&] {
    const QByteArray found = ReadFileBytes(scenario.file);
    return found == old || found == written ? QString() : QStringLiteral("%1 bytes").arg(found.size());
  };
  scenario.complete = [&] {
    return ReadFileBytes(scenario.file) == written ? QString() : QStringLiteral("not the imported list");
  };
  KillRepeatedly(scenario, 103);
}
}  // namespace
