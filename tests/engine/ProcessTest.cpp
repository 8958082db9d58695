// Several real processes on one database file.
#include <signal.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <cstdio>

#include "ChildProcess.h"
#include "EngineFixture.h"
#include "TdbConnection.h"

namespace {
constexpr int kBatch = 1000;

void Say(const char* line) {
  std::fputs(line, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Reads the child's output until a line starts with prefix.
bool WaitForLine(QProcess& process, const QByteArray& prefix, int timeoutMs = 20000) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < timeoutMs) {
    while (process.canReadLine())
      if (process.readLine().startsWith(prefix)) return true;
    if (!process.waitForReadyRead(200) && process.state() == QProcess::NotRunning) return false;
  }
  return false;
}

}  // namespace

SUITE_CHILD_PROCESS(engine_append_one) {
  OpenedPrices p(args.at(0));
  AppendPrice(p.table, args.at(1), QStringLiteral("child"), 1.0);
  return 0;
}

// Holds a write transaction with one row for the given milliseconds.
SUITE_CHILD_PROCESS(engine_hold_write) {
  OpenedPrices p(args.at(0));
  p.db.StartTransaction();
  AppendPrice(p.table, QStringLiteral("held"), QStringLiteral("child"), 1.0);
  Say("locked");
  QThread::msleep(args.at(1).toULong());
  p.db.Commit();
  return 0;
}

// Inserts batches of rows, each batch one transaction, until killed; args: file, key prefix.
SUITE_CHILD_PROCESS(engine_bulk_insert) {
  OpenedPrices p(args.at(0));
  for (int batch = 0;; ++batch) {
    p.db.StartTransaction();
    for (int i = 0; i < kBatch; ++i)
      AppendPrice(p.table, QStringLiteral("%1-%2-%3").arg(args.at(1)).arg(batch, 6, 10, QLatin1Char('0')).arg(i),
                  QStringLiteral("bulk"), i);
    p.db.Commit();
    Say("batch");
  }
}

TEST_F(EngineTest, AnotherProcessesPostIsSeenAfterRefresh) {
  OpenPrices({{"1", "a", 1.0}, {"3", "c", 3.0}});
  table_.Last();
  ASSERT_EQ(RunChild("engine_append_one", {DatabaseFile(), "2"}), 0);
  db_.RefreshDataSets();
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "3");  // still on its row
  table_.Prior();  // the rows read ahead before must not hide the new one
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "2");
  EXPECT_EQ(table_.RecordCount(), 3);
  EXPECT_EQ(WalkIds(table_), QStringList({"1", "2", "3"}));
}

TEST_F(EngineTest, PostWaitsForAnotherProcessesWriteTransaction) {
  OpenPrices({});
  auto child = StartChild("engine_hold_write", {DatabaseFile(), "1500"});
  ASSERT_TRUE(WaitForLine(*child, "locked"));
  QElapsedTimer timer;
  timer.start();
  AppendPrice(table_, "mine", "parent", 2.0);
  EXPECT_GE(timer.elapsed(), 500);  // waited instead of failing at once
  ASSERT_TRUE(child->waitForFinished(20000));
  EXPECT_EQ(child->exitCode(), 0);
  db_.RefreshDataSets();
  EXPECT_EQ(WalkIds(table_), QStringList({"held", "mine"}));
}

// Kills a bulk-inserting child; true when it died inside a batch (its journal is left behind).
bool KillBulkInsertMidway(const QString& file, int attempt) {
  auto child = StartChild("engine_bulk_insert", {file, QString::number(attempt)});
  for (int i = 0; i < 2; ++i)
    if (!WaitForLine(*child, "batch")) return false;
  QThread::msleep(17);
  ::kill(pid_t(child->processId()), SIGKILL);
  child->waitForFinished(10000);
  return QFileInfo(file + "-journal").size() > 0;  // stat only: the file stays SQLite's
}

TEST_F(EngineTest, KilledBulkInsertLeavesWholeBatches) {
  OpenPrices({});
  table_.Close();
  bool midway = false;
  for (int attempt = 0; attempt < 5 && !midway; ++attempt) midway = KillBulkInsertMidway(DatabaseFile(), attempt);
  EXPECT_TRUE(midway) << "never killed inside a batch";

  table_.Open();  // rolls back the batch the child was writing
  {
    TdbStatement check = table_.Connection().Prepare(QStringLiteral("PRAGMA integrity_check"));
    ASSERT_TRUE(check.Step());
    EXPECT_EQ(check.Text(0), "ok");
  }
  const qint64 rows = table_.RecordCount();
  EXPECT_GE(rows, 2 * kBatch);
  EXPECT_EQ(rows % kBatch, 0);
  AppendPrice(table_, "after", "parent", 1.0);  // and the file takes writes again
  EXPECT_EQ(table_.RecordCount(), rows + 1);
}
