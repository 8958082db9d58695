// Lock files between real processes: exclusion, crashed holders, waiting and giving up.
#include <QDir>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <iostream>
#include <string>

#include "ChildProcess.h"
#include "FileLock.h"
#include "QtDialogs.h"
#include "SuiteException.h"
#include "TestSupport.h"
#include "Translation.h"

namespace {
QString EntryOf(const QString& path) { return TDateischutz::ReadEntry(path); }

// Lets a test shorten the pause after a waited-for take; restores the defaults.
class ScopedTiming {
 public:
  explicit ScopedTiming(int pauseAfterWaitMs) : previous_(TDateischutz::Timing()) {
    TDateischutz::Timing().pauseAfterWaitMs = pauseAfterWaitMs;
  }
  ~ScopedTiming() { TDateischutz::Timing() = previous_; }

 private:
  TFileLockTiming previous_;
};

int ReadCounter(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
}

void WriteCounter(const QString& path, int value) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(QByteArray::number(value));
}
}  // namespace

// args: lock file, counter file, rounds, poll ms. Waits through the scripted (never cancelling)
// window, without the pause after a wait.
SUITE_CHILD_PROCESS(lock_counter) {
  TDateischutz::Timing() = TFileLockTiming{args.value(3).toInt(), 0};
  const int rounds = args.value(2).toInt();
  for (int i = 0; i < rounds; ++i) {
    TDateischutzWF lock;
    if (!lock.LockFile(args.value(0), QStringLiteral("Zaehler"), false, true)) return 2;
    WriteCounter(args.value(1), ReadCounter(args.value(1)) + 1);
  }
  return 0;
}

// args: lock file, holder text. Holds the lock until its standard input closes.
SUITE_CHILD_PROCESS(lock_holder) {
  TDateischutz lock;
  if (!lock.Lock(args.value(0), args.value(1), false)) return 2;
  std::cout << "held" << std::endl;
  std::string line;
  std::getline(std::cin, line);
  return 0;
}

class FileLock : public testing::Test {
 protected:
  QString LockPath() const { return dir_.filePath(QStringLiteral("LOCKDB.SRW")); }

  // A child process that holds the lock until ReleaseHolder.
  void StartHolder(const QString& text) {
    holder_ = StartChild(QStringLiteral("lock_holder"), {LockPath(), text});
    ASSERT_TRUE(holder_->waitForReadyRead(10000));
    ASSERT_EQ(holder_->readLine().trimmed(), QByteArray("held"));
  }
  void ReleaseHolder() {
    holder_->closeWriteChannel();
    ASSERT_TRUE(holder_->waitForFinished(10000));
    EXPECT_EQ(holder_->exitCode(), 0);
  }
  void TearDown() override {
    if (holder_ && holder_->state() != QProcess::NotRunning) ReleaseHolder();
  }

  QTemporaryDir dir_;
  std::unique_ptr<QProcess> holder_;
};

// Half the children retry without sleeping, so that takes race with releases.
TEST_F(FileLock, EightProcessesCountingUnderTheLockLoseNoIncrement) {
  const QString counter = dir_.filePath(QStringLiteral("counter.txt"));
  WriteCounter(counter, 0);
  std::vector<std::unique_ptr<QProcess>> children;
  for (int i = 0; i < 8; ++i)
    children.push_back(StartChild(QStringLiteral("lock_counter"), {LockPath(), counter, QStringLiteral("200"),
                                                                    QString::number(i % 2)}));
  for (auto& child : children) {
    ASSERT_TRUE(child->waitForFinished(120000));
    EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child->exitCode(), 0);
  }
  EXPECT_EQ(ReadCounter(counter), 1600);
  EXPECT_FALSE(QFile::exists(LockPath())) << "the last release deletes the file";
}

TEST_F(FileLock, HeldEntryIsTextAndTimeInThousandBytesCutAndReleaseDeletesIt) {
  {
    TDateischutz lock;
    ASSERT_TRUE(lock.Lock(LockPath(), QStringLiteral("Benutzer Meier"), false));
    EXPECT_TRUE(lock.IsLocked());
    const QByteArray bytes = ReadFileBytes(LockPath());
    ASSERT_EQ(bytes.size(), 1000);
    EXPECT_NE(bytes.left(2), QByteArray("\xFF\xFE", 2)) << "no byte-order mark";
    const QString entry = EntryOf(LockPath());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Benutzer Meier \\(\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d\\) +$"))
                    .match(entry).hasMatch())
        << entry.trimmed().toStdString();
    EXPECT_EQ(entry.size(), 500);
    // Left behind by a crash, any user of the share can take it over.
    EXPECT_EQ(QFile::permissions(LockPath()) & QFileDevice::WriteOther, QFileDevice::WriteOther);
  }
  EXPECT_FALSE(QFile::exists(LockPath()));

  // A holder text over five hundred characters is cut.
  const QString text = QString(320, QLatin1Char('a')) + QString(300, QChar(0x00FC));  // ü: two bytes each
  TDateischutz lock;
  ASSERT_TRUE(lock.Lock(LockPath(), text, false));
  EXPECT_EQ(ReadFileBytes(LockPath()).size(), 1000);
  EXPECT_EQ(EntryOf(LockPath()), text.left(500));
}

TEST_F(FileLock, LockInDirectoryKeepsTheCallersNameAndCase) {
  const QString lower = dir_.path() + QStringLiteral("/daten");
  ASSERT_TRUE(QDir().mkpath(lower));
  EXPECT_EQ(TDateischutzWF::LockPathInDirectory(lower, QStringLiteral("LOCKRECa_b")), lower + "/LOCKRECa_b.SRW");
  EXPECT_EQ(TDateischutzWF::LockPathInDirectory(lower + '/', QStringLiteral("X")), lower + "/X.SRW");
  TDateischutzWF lock;
  ASSERT_TRUE(lock.LockInDirectory(lower, QStringLiteral("LOCKRECa_b"), false, true, QStringLiteral("Text")));
  EXPECT_TRUE(QFile::exists(lower + "/LOCKRECa_b.SRW"));
}

TEST_F(FileLock, MissingDirectoryRaisesTheSystemError) {
  TDateischutz lock;
  try {
    lock.Lock(dir_.filePath(QStringLiteral("fehlt/LOCKDB.SRW")), QStringLiteral("x"), false);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("(Error %1) ").arg(ENOENT))) << e.what();
    EXPECT_GT(e.Message().size(), QStringLiteral("(Error 2) ").size()) << "carries the system message";
  }
  EXPECT_FALSE(lock.IsLocked());
}

TEST_F(FileLock, KilledHolderLeavesAFileThatIsTakenAtOnce) {
  StartHolder(QStringLiteral("Abgestuerzt"));
  holder_->kill();
  ASSERT_TRUE(holder_->waitForFinished(10000));
  ASSERT_TRUE(QFile::exists(LockPath()));
  QElapsedTimer timer;
  timer.start();
  TDateischutz lock;
  ASSERT_TRUE(lock.Lock(LockPath(), QStringLiteral("Neu"), false));
  EXPECT_LT(timer.elapsed(), 100);
  EXPECT_TRUE(EntryOf(LockPath()).startsWith(QStringLiteral("Neu (")));
}

TEST_F(FileLock, TakenLockWithoutWaitCallbackFailsAtOnceAndFreeingKeepsTheOthersFile) {
  StartHolder(QStringLiteral("Halter"));
  const QByteArray before = ReadFileBytes(LockPath());
  {
    QElapsedTimer timer;
    timer.start();
    TDateischutz lock;
    EXPECT_FALSE(lock.Lock(LockPath(), QStringLiteral("Zweiter"), false));
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_FALSE(lock.IsLocked());
  }
  EXPECT_EQ(ReadFileBytes(LockPath()), before);
}

TEST_F(FileLock, WaiterSeesTheHoldersEntryTrimmedAndCancellingLeavesItsFile) {
  StartHolder(QStringLiteral("  Benutzer Huber"));
  const QByteArray before = ReadFileBytes(LockPath());
  TestDialogs().lockWaitCancelAfter << 3 << 1;
  {
    TDateischutzWF lock;
    EXPECT_FALSE(lock.LockFile(LockPath(), QStringLiteral("Mein Text"), false, true));
    EXPECT_FALSE(lock.IsLocked());
  }
  {
    TDateischutzWF lock;
    EXPECT_FALSE(lock.LockFile(LockPath(), QStringLiteral("Mein Text"), true, true));
  }
  EXPECT_EQ(ReadFileBytes(LockPath()), before) << "neither waiting nor freeing touches the holder's file";
  const QList<ShownDialog>& shown = TestDialogs().shown;
  ASSERT_EQ(shown.size(), 2);
  EXPECT_EQ(shown[0].kind, QStringLiteral("lockwait"));
  EXPECT_EQ(shown[0].text, EntryOf(LockPath()).trimmed());
  EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Benutzer Huber (")));
  EXPECT_TRUE(shown[0].text.endsWith(QLatin1Char(')')));
  EXPECT_EQ(shown[1].text, QStringLiteral("Mein Text")) << "show own text";
}

TEST_F(FileLock, WaiterTakesTheLockWhenTheHolderEndsAndThenPauses) {
  ScopedTiming timing(150);
  StartHolder(QStringLiteral("Halter"));
  TDateischutz::TIdle idle = [this, calls = 0]() mutable {
    if (++calls == 5) holder_->closeWriteChannel();
  };
  TDateischutz lock([&](const QString&, TDateischutz::TCancel) { return idle; });
  QElapsedTimer timer;
  timer.start();
  ASSERT_TRUE(lock.Lock(LockPath(), QStringLiteral("Wartender"), false));
  EXPECT_GE(timer.elapsed(), 150);
  EXPECT_TRUE(EntryOf(LockPath()).startsWith(QStringLiteral("Wartender (")));
  ASSERT_TRUE(holder_->waitForFinished(10000));
  EXPECT_TRUE(QFile::exists(LockPath())) << "the ending holder deleted only its own file";
}

TEST(FileLockWaitWindow, StaysOnTopShowsTheHolderAndCancelsUntilDestroyed) {
  int cancels = 0;
  auto window = QtDialogs().ShowLockWait(QStringLiteral("Benutzer Huber (01.02.26 10:00)"), true, [&] { ++cancels; });
  ASSERT_TRUE(window);
  QWidget* shown = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QStringLiteral("LockWaitForm")) shown = w;
  ASSERT_TRUE(shown);
  EXPECT_TRUE(shown->isVisible());
  EXPECT_TRUE(shown->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("HolderText"))->text(),
            QStringLiteral("Benutzer Huber (01.02.26 10:00)"));
  auto* button = shown->findChild<QPushButton*>(QStringLiteral("CancelButton"));
  EXPECT_EQ(button->text(), Tr("Abbrechen"));
  button->click();
  window->ProcessEvents();
  EXPECT_EQ(cancels, 1);
  window.reset();
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_NE(w->objectName(), QStringLiteral("LockWaitForm"));
}

// The time left can turn negative between reading the clock and sleeping;
// msleep takes it unsigned and would sleep practically for ever.
TEST(FileLockPause, NeverNegativeAndNeverLongerThanThePollInterval) {
  const struct {
    qint64 poll, left;
    unsigned long pause;
  } cases[] = {{10, 25, 10}, {10, 3, 3}, {10, 0, 0}, {10, -2, 0}, {-1, 5, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(TDateischutz::PauseBeforeNextPoll(c.poll, c.left), c.pause) << c.poll << " " << c.left;
}
