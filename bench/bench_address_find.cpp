// address.find_1word: the free-text search over 100,000 addresses (each
//   with two postal addresses and two contacts) for one word (a town).
// address.find_3words: the same for three words (street, town, name part).
// The reference is a raw SQLite loop reading ID, DISPLAYTXT, WVTXT, CHARACT
// and XMLDATA of every row as texts, timed in the same run.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

#include "BenchSupport.h"
#include "DBAdress.h"
#include "DemoAddresses.h"

namespace {
constexpr int kAddresses = 100000;
constexpr int kRounds = 5;

QString Column(sqlite3_stmt* s, int column) {
  return QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(s, column)),
                            sqlite3_column_bytes16(s, column) / 2);
}

// The reference: every row's texts read once, on a connection of its own.
class RawRead {
 public:
  explicit RawRead(const QString& file) {
    sqlite3_open_v2(file.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr);
  }
  ~RawRead() { sqlite3_close(db_); }
  double OnceMs() {
    const double start = NowMs();
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db_, "SELECT ID, DISPLAYTXT, WVTXT, CHARACT, XMLDATA FROM ADDRESS ORDER BY ID", -1, &select,
                       nullptr);
    qsizetype chars = 0;
    while (sqlite3_step(select) == SQLITE_ROW)
      for (int c = 0; c < 5; ++c) chars += Column(select, c).size();
    sqlite3_finalize(select);
    if (chars < 0) std::printf("impossible\n");
    return NowMs() - start;
  }

 private:
  sqlite3* db_ = nullptr;
};

void BenchFind(TDBAdress& db, RawRead& raw, const QString& name, const QString& text) {
  int hits = 0;
  BenchAgainst(
      name, kRounds,
      [&] {
        return TimedMs([&] {
          TDBAdressSearchResultObjectList results;
          db.FindAddress(text, results);
          hits = results.Count();
        });
      },
      [&] { return raw.OnceMs(); });
  std::printf("# %s: \"%s\" finds %d addresses\n", qPrintable(name), qPrintable(text), hits);
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  if (!Selected(QStringLiteral("address.find_1word")) && !Selected(QStringLiteral("address.find_3words"))) return 0;
  QTemporaryDir dir;
  const QString addressDir = dir.path() + QStringLiteral("/ADRESSEN/");
  if (!MakeBenchData(kAddresses, "demo addresses", [&](QString* error) {
        return FillDemoAddresses(addressDir, kAddresses, error, DemoAddressOptions{true});
      }))
    return 1;
  RawRead raw(addressDir + QStringLiteral("ADDRESS.DAT"));
  TDBAdress db;
  db.Open(addressDir);
  if (Selected(QStringLiteral("address.find_1word")))
    BenchFind(db, raw, QStringLiteral("address.find_1word"), QStringLiteral("Würzburg"));
  if (Selected(QStringLiteral("address.find_3words")))
    BenchFind(db, raw, QStringLiteral("address.find_3words"), QStringLiteral("mühlenweg münchen schäfer"));
  return 0;
}
