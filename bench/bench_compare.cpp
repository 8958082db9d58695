// compare.page_open: a discount-group page opening on a customer's table of
// 100,000 groups with "Vergleich mit Standard" on, beside a standard table
// of 100,000 groups (5,000 only in one of them, 10,000 only in the other):
// the standard read, the keys of both compared, the first rows painted.
// compare.quantity_page_open: the same for the quantity page on lists of
// 100,000 steps each (the list file read included).
// The reference is the same page opening without the comparison.
#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

#include "BenchSupport.h"
#include "CompareWithStandard.h"
#include "DBGrid.h"
#include "DiscountGroupPage.h"
#include "KSRabDatabase.h"
#include "NumberText.h"
#include "PricingFiles.h"
#include "QuantityDiscountPage.h"
#include "RawSqlite.h"
#include "ScriptedDialogs.h"
#include "SuiteTree.h"
#include "TypeUnit.h"
#include "ULAGConfig.h"

namespace {
const int kGroups = qEnvironmentVariableIntValue("COMPARE_GROUPS") > 0 ? qEnvironmentVariableIntValue("COMPARE_GROUPS") : 100000;
constexpr int kRounds = 5;

// Groups first..first+count-1, every tenth left out when sparse, with discounts.
bool FillGroups(const QString& file, int first, int count, bool sparse) {
  {
    TKSRabDatabase db(&LogToStderr);
    db.OpenFile(file, false);
    TDoubleStringListObjectList groups;
    for (int i = first; i < first + count; ++i)
      if (!sparse || i % 10 != 0) groups.Add(QStringLiteral("RG%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("Gruppe %1").arg(i));
    if (!db.UpdateRabattListe(groups)) return false;
  }
  sqlite3* raw = nullptr;
  if (sqlite3_open(file.toUtf8().constData(), &raw) != SQLITE_OK) return false;
  RawExec(raw, "UPDATE KSR SET RABATT = (rowid % 40) * 0.5");
  sqlite3_close(raw);
  return true;
}

// Steps of first, first+step, ... with discounts.
bool FillSteps(const QString& file, int first, int step) {
  TDoubleStringListObjectList steps;
  for (int i = 0; i < kGroups; ++i)
    steps.Add(FormatGeneralNumber(first + i * step), FormatGeneralNumber(i % 40 * 0.5));
  return steps.SaveToFile(file);
}

template <class Page>
double OpenPage(Page& page, QWidget& sheet, bool comparing) {
  page.Reset();
  page.Compare->CheckBox->setChecked(comparing);
  QApplication::processEvents();
  const double start = NowMs();
  page.Load(QStringLiteral("10000"));
  sheet.repaint();
  return NowMs() - start;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString name = QStringLiteral("compare.page_open");
  const QString quantityName = QStringLiteral("compare.quantity_page_open");
  if (!Selected(name) && !Selected(quantityName)) return 0;
  SetDialogs(std::make_unique<ScriptedDialogs>());
  QTemporaryDir dir;
  QString error;
  if (!CreateDemoSuite(dir.path(), &error, 10, 10, 10) ||
      !InitSystemFor(dir.path() + QStringLiteral("/BIN/MOD00100"), 1) ||
      !LoadSystem(QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QString(), false)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  const QString addressDir = SystemEinstellungen()->AddressDir;
  const auto file = [&](const char* id) {
    return PricingFilePath(addressDir, QStringLiteral("001"), QLatin1String(id), QStringLiteral(".TDBD"));
  };
  const double fillStart = NowMs();
  if (!FillGroups(file("10000"), 0, kGroups, true) || !FillGroups(file(kDefaultAddressId), kGroups / 20, kGroups, false)) {
    std::fprintf(stderr, "the tables could not be filled\n");
    return 1;
  }
  std::printf("# two tables of %d groups made in %s ms\n", kGroups, PointNumber(NowMs() - fillStart, 0).constData());

  if (Selected(quantityName)) {
    const auto steps = [&](const char* id) {
      return PricingFilePath(addressDir, QStringLiteral("002"), QLatin1String(id), QStringLiteral(".MR"));
    };
    if (!FillSteps(steps("10000"), 1, 2) || !FillSteps(steps(kDefaultAddressId), 1, 3)) return 1;
    QWidget sheet;
    sheet.setObjectName(QStringLiteral("TabSheet2"));
    sheet.resize(1000, 400);
    auto* page = new TQuantityDiscountPage(&sheet);
    sheet.show();
    BenchAgainst(quantityName, kRounds, [&] { return OpenPage(*page, sheet, true); },
                 [&] { return OpenPage(*page, sheet, false); });
    delete page;
  }
  if (!Selected(name)) return 0;
  TLagerConfig lagerConfig;
  QWidget sheet;
  sheet.setObjectName(QStringLiteral("TabSheet1"));
  sheet.resize(1000, 400);
  TDiscountGroupPageParts parts{"001", "DBGrid1", "Button5", "Button6", "TntButton1", "TntButton2", "TntButton9", "TntButton10"};
  auto* page = new TDiscountGroupPage(&sheet, parts, lagerConfig);
  sheet.show();
  BenchAgainst(name, kRounds, [&] { return OpenPage(*page, sheet, true); }, [&] { return OpenPage(*page, sheet, false); });
  OpenPage(*page, sheet, true);
  std::vector<QString> keys;
  TStandardComparison comparison;
  const double readMs = TimedMs([&] { SetStandardDiscountGroups(comparison, file(kDefaultAddressId)); });
  const double keysMs = TimedMs([&] { keys = ReadDiscountGroupKeys(*page->Store->Table); });
  const double matchMs = TimedMs([&] { comparison.SetCustomerKeys(keys); });
  std::printf("# standard keys %s ms, customer keys %s ms, match %s ms\n", PointNumber(readMs, 1).constData(),
              PointNumber(keysMs, 1).constData(), PointNumber(matchMs, 1).constData());
  std::printf("# %d rows only in the standard, %d painted rows read\n",
              page->Compare->Comparison.OnlyStandardCount(), int(page->Grid->Model()->RowsRead()));
  delete page;
  return 0;
}
