// price.resolve: one price information (TKSPreisauskunft::Resolve) with
//   every pricing file present, own and standard: price groups, discount
//   groups in both sets, quantity discounts and article-price tables of
//   100,000 rows each. The article has no own entry, so both article tables
//   are searched. Median of 21 resolutions.
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchSupport.h"
#include "CmnCustomObjectLists.h"
#include "KSPRDatabase.h"
#include "KSRabDatabase.h"
#include "NumberText.h"
#include "Preisauskunft.h"
#include "TextFile.h"

namespace {
constexpr int kRows = 100000;
constexpr int kRuns = 21;
const QString kOwn = QStringLiteral("4711");
const QString kStd = QStringLiteral("__DEFAULT__");

QString Nr(int i) { return QStringLiteral("A%1").arg(i, 8, 10, QLatin1Char('0')); }

// Rows for every article but `skip`, each tenth with a scale.
bool FillArticles(const QString& file, int skip, QString* error) {
  TKSPRDatabase db([error](const std::exception*, const QString& place) { *error = place; });
  db.OpenFile(file, false);
  int i = 0;
  return db.SetArtikelBatched([&](TKSPRDatabaseObj& e) {
    if (i == skip) ++i;
    if (i >= kRows) return false;
    e.Katalog = QStringLiteral("K1");
    e.ArtikelNr = Nr(i);
    e.Bezeichnung = QStringLiteral("Kupferrohr %1 mm").arg(i % 54);
    e.Preis = Currency(i) * 37 + 10000;
    e.Rabatt = i % 20;
    if (i % 10 == 0)
      for (int k = 1; k <= 3; ++k) e.Mengenstaffel.Add(k * 10, k * 2.5, 0);
    ++i;
    return true;
  });
}

bool FillSmallFiles(const QString& adr, const QString& id, QString* error) {
  for (const char* folder : {"001", "004"}) {
    TKSRabDatabase db([error](const std::exception*, const QString& place) { *error = place; });
    db.OpenFile(adr + QLatin1String(folder) + u'/' + id + QStringLiteral(".TDBD"), false);
    for (int g = 0; g < 30; ++g) db.RabattGrpAppend(QStringLiteral("RG%1").arg(g));
  }
  TDoubleStringListObjectList mr;
  for (int q = 1; q <= 5; ++q) mr.Add(FormatGeneralNumber(q * 10), FormatGeneralNumber(q));
  if (!mr.SaveToFile(adr + QStringLiteral("002/") + id + QStringLiteral(".MR"), error)) return false;
  return WriteTextFile(adr + QStringLiteral("006/") + id + QStringLiteral(".PGRP"),
                       QStringLiteral("[Katalog]\r\nAktiv=1\r\nPreisgruppe=2\r\n[Kataloge]\r\nK1=3\r\n"));
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  if (!Selected(QStringLiteral("price.resolve"))) return 0;
  QTemporaryDir dir;
  const QString adr = dir.path() + QStringLiteral("/ADR/"), kat = dir.path() + QStringLiteral("/KAT/");
  for (const char* folder : {"001", "002", "003", "004", "006"}) QDir().mkpath(adr + QLatin1String(folder));
  QDir().mkpath(kat + QStringLiteral("K1"));
  const int wanted = kRows / 2;
  if (!MakeBenchData(2 * kRows, "article-price rows, own and standard", [&](QString* error) {
        return FillArticles(adr + QStringLiteral("003/") + kOwn + QStringLiteral(".TDBD"), wanted, error) &&
               FillArticles(adr + QStringLiteral("003/") + kStd + QStringLiteral(".TDBD"), -1, error) &&
               FillSmallFiles(adr, kOwn, error) && FillSmallFiles(adr, kStd, error);
      }))
    return 1;

  TKSPreisauskunftArtikel artikel;
  artikel.Katalog = QStringLiteral("K1");
  artikel.ArtikelNr = Nr(wanted);
  artikel.Rabattgruppe = QStringLiteral("RG7");
  artikel.ArtikeldatenBekannt = true;
  const TKSPreisauskunft resolver(adr, kat);
  // Measures real look-ups only: the standard table's entry must be found.
  bool found = false;
  for (const TKSPreisauskunftEintrag& e : resolver.Resolve(kOwn, artikel, 25))
    found = found || (e.Zahl && e.Quelle == TKSPreisauskunftQuelle::Standardtabelle && e.Was.startsWith(u"Artikelpreis"));
  if (!found) {
    std::fprintf(stderr, "price.resolve: the article's standard entry was not found\n");
    return 1;
  }
  const double ms = MedianMs(kRuns, [&] { resolver.Resolve(kOwn, artikel, 25); });
  PrintBench(QStringLiteral("price.resolve"), ms, QStringLiteral("ms"));
  return 0;
}
