// lock.take_release: take and release without contention.
// lock.handover: from the holder's release to the waiter holding the lock
// (the waiter's pause after a waited-for take is set to 0 and not counted).
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <iostream>
#include <string>

#include "BenchSupport.h"
#include "FileLock.h"

namespace {
// Child: takes the lock, says "held", waits for a line, notes the time and releases.
int HolderMain(const QString& file) {
  auto lock = std::make_unique<TDateischutz>();
  if (!lock->Lock(file, QStringLiteral("bench holder"), false)) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  std::string line;
  while (std::getline(std::cin, line)) {
    const double releasedAt = NowMs();
    lock.reset();
    std::printf("%s\n", PointNumber(releasedAt, 6).constData());  // read back locale-free
    std::fflush(stdout);
    return 0;
  }
  return 2;
}

double OneHandover(const QString& program, const QString& file) {
  QProcess holder;
  holder.start(program, {QStringLiteral("--holder"), file});
  if (!holder.waitForReadyRead(10000)) return -1;
  holder.readLine();  // "held"
  TDateischutz waiter([&holder](const QString&, TDateischutz::TCancel) {
    // The holder releases once the waiter is really waiting.
    holder.write("release\n");
    holder.waitForBytesWritten(1000);
    return TDateischutz::TIdle();
  });
  const bool taken = waiter.Lock(file, QStringLiteral("bench waiter"), false);
  const double takenAt = NowMs();
  holder.waitForFinished(10000);
  const double releasedAt = holder.readAll().trimmed().toDouble();
  return taken ? takenAt - releasedAt : -1;
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 3 && QByteArray(argv[1]) == "--holder") return HolderMain(QString::fromLocal8Bit(argv[2]));
  SetSelection(argc, argv);
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/LOCKDB.SRW");
  if (Selected(QStringLiteral("lock.take_release"))) {
    const double ms = MedianMs(500, [&] {
      TDateischutz lock;
      lock.Lock(file, QStringLiteral("bench"), false);
    });
    PrintBench(QStringLiteral("lock.take_release"), ms, QStringLiteral("ms"));
  }
  if (Selected(QStringLiteral("lock.handover"))) {
    TDateischutz::Timing().pauseAfterWaitMs = 0;
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
      const double ms = OneHandover(QCoreApplication::applicationFilePath(), file);
      if (ms >= 0) times.push_back(ms);
    }
    PrintBench(QStringLiteral("lock.handover"), Median(times), QStringLiteral("ms"));
  }
  return 0;
}
