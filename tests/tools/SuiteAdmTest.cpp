#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

#include "IniFilesSec.h"
#include "Katalog1DB.h"
#include "KSPRDatabase.h"
#include "ULAGConfig.h"
#include "ULAGUnit1Core.h"
#include "MemIniFile.h"
#include "PathUtils.h"
#include "SuiteAdmCommand.h"
#include "SuiteTree.h"
#include "TextFile.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
struct CommandResult {
  int code;
  QString out;
  QString err;
};

CommandResult RunSuiteAdm(const QStringList& args) {
  QString out, err;
  QTextStream outStream(&out), errStream(&err);
  const int code = SuiteAdmMain(args, outStream, errStream);
  outStream.flush();
  errStream.flush();
  return {code, out, err};
}
}  // namespace

TEST(SuiteAdmInit, MakesATreeThatTheStartUpAccepts) {
  QTemporaryDir dir;
  const QString root = dir.path() + QStringLiteral("/suite");
  const CommandResult r = RunSuiteAdm({QStringLiteral("init"), root, QStringLiteral("--client"), QStringLiteral("Firma"),
                               QStringLiteral("--user"), QStringLiteral("meier"), QStringLiteral("--password"),
                               QStringLiteral("geheim")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  ASSERT_TRUE(InitSystemFor(root + QStringLiteral("/BIN/MOD00100"), 1));
  EXPECT_TRUE(LoadSystem(QStringLiteral("Firma"), QStringLiteral("MEIER"), QStringLiteral("geheim"), true));
  EXPECT_FALSE(LoadSystem(QStringLiteral("Firma"), QStringLiteral("MEIER"), QStringLiteral("falsch"), true));
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  EXPECT_EQ(BenutzerEinstellungen()->UserClientEtcDir,
            NormalizePath(root, true) + QStringLiteral("USR/MEIER/ETC/FIRMA/"));
  EXPECT_TRUE(QFileInfo(BenutzerEinstellungen()->UserClientEtcDir).isDir());
  // The area values name the client's folder as it was made.
  EXPECT_EQ(SystemEinstellungen()->AddressDir, NormalizePath(root, true) + QStringLiteral("DATA/Firma/A1/ADRESSEN/"));
  EXPECT_TRUE(QFileInfo(SystemEinstellungen()->AddressDir).isDir());
  FinalizeSystem();
}

// suiteadm as a process of its own, whose application object set LC_NUMERIC.
TEST(SuiteAdmProcess, WritesRatesInTheProcessLocalesForm) {
  QTemporaryDir dir;
  QProcess suiteadm;
  suiteadm.start(QStringLiteral(SUITEADM_EXE), {QStringLiteral("init"), dir.path(), QStringLiteral("--client"),
                                                QStringLiteral("DEMO"), QStringLiteral("--user"), QStringLiteral("meier")});
  ASSERT_TRUE(suiteadm.waitForFinished(30000));
  ASSERT_EQ(suiteadm.exitCode(), 0) << suiteadm.readAllStandardError().toStdString();
  TIniFileSec ini(SysdataPath({NormalizePath(dir.path(), true), QStringLiteral("DEMO")}));
  EXPECT_EQ(ini.ReadString(QStringLiteral("System"), QStringLiteral("MwStErh"), QString()),
            ProcessLocaleNumber("10", "7"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("System"), QStringLiteral("WaehrFaktor2In"), QString()),
            ProcessLocaleNumber("0", "94"));
}

// A table that refuses to be re-filled: the discount list, the warehouse and
// an article-price table.
TEST(SuiteAdmDemo, AFailureIsReportedAsOne) {
  struct Case {
    const char* file;
    const char* trigger;
  };
  const Case cases[] = {
      {"DATA/DEMO/A1/ADRESSEN/001/__DEFAULT__.TDBD", "BEFORE DELETE ON KSR"},
      {"DATA/DEMO/LAGER/LAGER.DAT", "BEFORE UPDATE ON LAGER"},
      {"DATA/DEMO/A1/ADRESSEN/003/10001.TDBD", "BEFORE UPDATE ON KSP"},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/suite");
    const QStringList demo = {QStringLiteral("demo"), root, QStringLiteral("--addresses"), QStringLiteral("3"),
                              QStringLiteral("--warehouse-articles"), QStringLiteral("100")};
    ASSERT_EQ(RunSuiteAdm(demo).code, 0);
    const QString file = root + QLatin1Char('/') + QLatin1String(c.file);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    const QByteArray sql = QByteArray("CREATE TRIGGER refuse ") + c.trigger + " BEGIN SELECT RAISE(ABORT, 'refused'); END";
    EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << c.file;
    sqlite3_close(db);
    const CommandResult r = RunSuiteAdm(demo);
    EXPECT_EQ(r.code, 1) << c.file;
    EXPECT_TRUE(r.err.contains(QFileInfo(file).path())) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("ready"))) << r.out.toStdString();
  }
}

TEST(SuiteAdmIni, SetGetAndDumpProtectedValues) {
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/SYSDATA.INI");
  ASSERT_EQ(RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("set"), file, QStringLiteral("System"),
                 QStringLiteral("MwStNorm"), QStringLiteral("19")})
                .code,
            0);
  CommandResult get = RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("get"), file, QStringLiteral("System"),
                           QStringLiteral("MwStNorm")});
  EXPECT_EQ(get.code, 0);
  EXPECT_EQ(get.out, QStringLiteral("19\n"));
  EXPECT_EQ(TIniFileSec(file).ReadInteger(QStringLiteral("System"), QStringLiteral("MwStNorm"), 0), 19);

  // A value moved to another ident is refused.
  TMemIniFile raw(file);
  raw.WriteString(QStringLiteral("System"), QStringLiteral("MwStRed"),
                  raw.ReadString(QStringLiteral("System"), QStringLiteral("MwStNorm"), QString()));
  ASSERT_TRUE(raw.UpdateFile());
  get = RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("get"), file, QStringLiteral("System"), QStringLiteral("MwStRed")});
  EXPECT_EQ(get.code, 1);
  const CommandResult dump = RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("dump"), file});
  EXPECT_EQ(dump.code, 0);
  EXPECT_EQ(dump.out, QStringLiteral("[System]\nMwStNorm=19\nMwStRed=<invalid>\n"));
}

TEST(SuiteAdmUsage, BadArgumentsGiveUsageAndNonZeroExit) {
  for (const QStringList& args :
       {QStringList{}, QStringList{QStringLiteral("frobnicate")}, QStringList{QStringLiteral("init")},
        QStringList{QStringLiteral("init"), QStringLiteral("/tmp/x"), QStringLiteral("--client")},
        QStringList{QStringLiteral("init"), QStringLiteral("/tmp/x"), QStringLiteral("--client"), QStringLiteral("A")},
        QStringList{QStringLiteral("ini"), QStringLiteral("get"), QStringLiteral("f")},
        QStringList{QStringLiteral("demo")}}) {
    const CommandResult r = RunSuiteAdm(args);
    EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("usage:"))) << args.join(' ').toStdString();
  }
  EXPECT_EQ(RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("dump"), QStringLiteral("/nonexistent/file")}).code, 1);
}

// Quantity lists of the standard tables and some customers, in the process
// locale's number form, as the text files of the suite are written.
TEST(SuiteAdmProcess, DemoWritesQuantityListsInTheProcessLocalesForm) {
  QTemporaryDir dir;
  QProcess suiteadm;
  suiteadm.start(QStringLiteral(SUITEADM_EXE), {QStringLiteral("demo"), dir.path(), QStringLiteral("--addresses"),
                                                QStringLiteral("3")});
  ASSERT_TRUE(suiteadm.waitForFinished(60000));
  ASSERT_EQ(suiteadm.exitCode(), 0) << suiteadm.readAllStandardError().toStdString();
  const QString folder = dir.path() + QStringLiteral("/DATA/DEMO/A1/ADRESSEN/002/");
  const QByteArray bytes = ReadFileBytes(folder + QStringLiteral("__DEFAULT__.MR"));
  EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
  QStringList lines;
  ASSERT_TRUE(ReadTextLines(folder + QStringLiteral("__DEFAULT__.MR"), lines));
  EXPECT_EQ(lines.first(), QStringLiteral("10=2"));
  EXPECT_EQ(lines.last(), ProcessLocaleNumber("1000", "5") + QLatin1Char('=') + ProcessLocaleNumber("12", "5"));
  EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.MR")}).size(), 4);
}

namespace {
QString DemoWarehouseDir(const QString& root) { return root + QStringLiteral("/DATA/DEMO/LAGER/"); }

qint64 WarehouseArticleCount(const QString& root) {
  IModLagerDBServerObj db;
  db.Open(DemoWarehouseDir(root), true);
  return db.Lager->RecordCount();
}
}  // namespace

// The demo warehouse is found by its marker file and its articles use what the
// warehouse settings predefine; every article is complete enough to be priced.
TEST(SuiteAdmDemo, WarehouseArticlesReadBackWithThePredefinedGroups) {
  QTemporaryDir dir;
  QString error;
  ASSERT_TRUE(CreateDemoSuite(dir.path(), &error, 3)) << error.toStdString();
  ASSERT_TRUE(QFileInfo(DemoWarehouseDir(dir.path()) + QStringLiteral("LAGER.DAT")).isFile());
  TLagerConfig config;
  config.LoadFromFile(DemoWarehouseDir(dir.path()) + QStringLiteral("CONFIG.XML"));
  ASSERT_EQ(config.Rabattgruppen.Count(), 30);

  IModLagerDBServerObj db;
  db.Open(DemoWarehouseDir(dir.path()), true);
  int count = 0, serial = 0, coloured = 0;
  QSet<QString> discountGroups;
  EXPECT_TRUE(db.ForEachLagerArtikel([&](TLagerServerObj& a) {
    ++count;
    serial += a.SNPflicht;
    coloured += a.ViewColor != 0;
    discountGroups.insert(a.Rabattgruppen);
    EXPECT_TRUE(config.Rabattgruppen.ContainsFirst(a.Rabattgruppen)) << a.LagerArtikelNr.toStdString();
    EXPECT_TRUE(config.Artikelgruppen.contains(a.Gruppe)) << a.LagerArtikelNr.toStdString();
    EXPECT_TRUE(config.Lagerorte.contains(a.Lagerort)) << a.LagerArtikelNr.toStdString();
    EXPECT_GT(a.EKPreis, 0);
    EXPECT_GT(a.Vkp[4], a.EKPreis) << a.LagerArtikelNr.toStdString();
    EXPECT_FALSE(a.Bezeichnung.isEmpty());
  }));
  EXPECT_EQ(count, kDemoWarehouseArticleCount);
  EXPECT_GT(discountGroups.size(), 20);
  EXPECT_GT(serial, 0);
  EXPECT_LT(serial, count / 5);
  EXPECT_GT(coloured, 0);
  EXPECT_LT(coloured, count / 20);
  db.SetVisibleSN(QStringLiteral("100014"));
  EXPECT_EQ(db.LagerSN->RecordCount(), 2) << "a pump with its serial numbers";
}

// Customers 10000 to 10002 and the standard table have article prices, with
// scales, for warehouse articles that exist and for catalogue articles.
TEST(SuiteAdmDemo, ArticlePriceTablesReferToTheWarehouseAndTheCatalogues) {
  QTemporaryDir dir;
  QString error;
  ASSERT_TRUE(CreateDemoSuite(dir.path(), &error, 3)) << error.toStdString();
  IModLagerDBServerObj warehouse;
  warehouse.Open(DemoWarehouseDir(dir.path()), true);
  for (const QString id : {"__DEFAULT__", "10000", "10001", "10002"}) {
    TKSPRDatabase db;
    db.OpenFile(DemoAddressDir(dir.path()) + QStringLiteral("003/") + id + QStringLiteral(".TDBD"), false);
    ASSERT_TRUE(db.Opened) << id.toStdString();
    QSet<QString> catalogues;
    int scales = 0;
    for (db.Table->First(); !db.Table->Eof(); db.Table->Next()) {
      QString katalog, nr;
      ASSERT_TRUE(db.GetCurrentArtikel(katalog, nr));
      catalogues.insert(katalog);
      TKSPRDatabaseObj entry;
      ASSERT_TRUE(db.GetCurrentMengenstaffel(&entry));
      scales += entry.Mengenstaffel.Count() > 0;
      TLagerServerObj article;
      article.LagerArtikelNr = nr;
      if (katalog == QLatin1String("LAGER")) {
        EXPECT_EQ(warehouse.GetLagerArtikel(article), 0) << nr.toStdString();
      }
    }
    EXPECT_EQ(catalogues, (QSet<QString>{QStringLiteral("LAGER"), QStringLiteral("DATANORM_SHK"),
                                         QStringLiteral("LIEFERANT_MEIER")}))
        << id.toStdString();
    EXPECT_GT(scales, 5) << id.toStdString();
  }
}

TEST(SuiteAdmDemo, WarehouseArticlesOptionSetsTheWarehouseSize) {
  QTemporaryDir dir;
  const CommandResult r = RunSuiteAdm({QStringLiteral("demo"), dir.path(), QStringLiteral("--addresses"),
                                       QStringLiteral("1"), QStringLiteral("--warehouse-articles"),
                                       QStringLiteral("500")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_EQ(WarehouseArticleCount(dir.path()), 500);
  EXPECT_EQ(RunSuiteAdm({QStringLiteral("demo"), dir.path(), QStringLiteral("--warehouse-articles"),
                         QStringLiteral("-1")})
                .code,
            2);
}

// The demo article-price tables name material catalogue articles: the demo
// catalogue, of the size asked for, has each of them with that description.
TEST(SuiteAdmDemo, MaterialCatalogueHasTheArticlesThePriceTablesName) {
  QTemporaryDir dir;
  const CommandResult r = RunSuiteAdm({QStringLiteral("demo"), dir.path(), QStringLiteral("--addresses"),
                                       QStringLiteral("1"), QStringLiteral("--warehouse-articles"), QStringLiteral("30"),
                                       QStringLiteral("--catalogue-articles"), QStringLiteral("40")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  TKatalog1DB catalogue;
  catalogue.Open(dir.path() + QStringLiteral("/DATA/DEMO/KATALOGE/DATANORM_SHK/"), true);
  EXPECT_EQ(catalogue.Catalog->RecordCount(), 40);
  TKSPRDatabase prices;
  prices.OpenFile(DemoAddressDir(dir.path()) + QStringLiteral("003/__DEFAULT__.TDBD"), false);
  int referenced = 0;
  for (prices.Table->First(); !prices.Table->Eof(); prices.Table->Next()) {
    TKSPRDatabaseObj entry;
    ASSERT_TRUE(prices.GetCurrentMengenstaffel(&entry));
    if (entry.Katalog != QLatin1String("DATANORM_SHK")) continue;
    ++referenced;
    TKatalog1Artikel article;
    article.ID = entry.ArtikelNr;
    ASSERT_EQ(catalogue.Artikel_GetObject(article), 0) << entry.ArtikelNr.toStdString();
    EXPECT_EQ(article.KURZZEILE1 + u' ' + article.KURZZEILE2, entry.Bezeichnung);
  }
  EXPECT_GT(referenced, 0);
}
