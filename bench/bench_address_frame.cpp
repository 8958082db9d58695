// address.frame_open: creating the address frame on 100,000 addresses and
//   showing its first screen of rows (until the grid has painted).
// address.frame_rss: the process's resident memory right after that.
// address.scroll_loads: 100 Down keys through HandleKey, about 30 ms apart,
//   then 400 ms: how many records were loaded for the selection (1 expected).
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QVBoxLayout>
#include <cstdio>

#include "BenchSupport.h"
#include "DBAdressViewFrameUnit1.h"
#include "SuiteTree.h"
#include "TypeUnit.h"

namespace {
constexpr int kAddresses = 100000;
constexpr int kDownKeys = 100;

class PaintWatch : public QObject {
 public:
  bool painted = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void RunEventsFor(double ms) {
  const double end = NowMs() + ms;
  while (NowMs() < end) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

bool LoadSuite(const QString& root) {
  QString error;
  const double start = NowMs();
  if (!CreateDemoSuite(root, &error, kAddresses)) {
    std::printf("# cannot create the suite: %s\n", qPrintable(error));
    return false;
  }
  std::printf("# %d demo addresses written in %s ms\n", kAddresses, PointNumber(NowMs() - start, 0).constData());
  return InitSystemFor(root + QStringLiteral("/BIN/MOD00100"), 1) &&
         LoadSystem(QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QString(), false);
}

int ScrollLoads(TDBAdressViewFrame1& frame) {
  frame.GotoAddress(QString());
  RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 100);
  const int before = frame.RecordsLoaded();
  for (int i = 0; i < kDownKeys; ++i) {
    frame.HandleKey(Qt::Key_Down, Qt::NoModifier);
    RunEventsFor(30);
  }
  RunEventsFor(400);
  std::printf("# selection stopped at %s\n", qPrintable(frame.CurrentAddress->Id));
  return frame.RecordsLoaded() - before;
}
}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetSelection(argc, argv);
  const bool open = Selected(QStringLiteral("address.frame_open")) || Selected(QStringLiteral("address.frame_rss"));
  const bool scroll = Selected(QStringLiteral("address.scroll_loads"));
  if (!open && !scroll) return 0;
  QTemporaryDir dir;
  if (!LoadSuite(dir.path())) return 1;

  TAddressConfig config;
  config.LoadFromFile(TAddressConfig::FileNameIn(SystemEinstellungen()->AddressDir));
  QWidget host;
  new QVBoxLayout(&host);
  host.resize(1024, 337);
  PaintWatch watch;
  const double start = NowMs();
  auto* frame = new TDBAdressViewFrame1(&host, &config);
  frame->VDBGrid->viewport()->installEventFilter(&watch);
  host.show();
  while (!watch.painted) QCoreApplication::processEvents();
  const double openMs = NowMs() - start;
  const double rss = ResidentMb();
  if (Selected(QStringLiteral("address.frame_open"))) PrintBench(QStringLiteral("address.frame_open"), openMs, QStringLiteral("ms"));
  if (Selected(QStringLiteral("address.frame_rss"))) PrintBench(QStringLiteral("address.frame_rss"), rss, QStringLiteral("MB"));
  if (scroll) PrintBench(QStringLiteral("address.scroll_loads"), ScrollLoads(*frame), QStringLiteral("records"));
  frame->Close();
  delete frame;
  FinalizeSystem();
  return 0;
}
