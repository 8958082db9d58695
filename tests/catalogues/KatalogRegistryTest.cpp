// The catalogue registry and pool: kinds of directories, SUPPLIER.INI, the
// pool's items and databases.
#include <QDir>
#include <QTemporaryDir>

#include "KatalogDBPool.h"
#include "KatalogTypes.h"
#include "MemIniFile.h"
#include "PathUtils.h"
#include "SuiteException.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"
#include "UKAT.h"
#include "ULAGUnit1Core.h"

namespace {
class CatalogueArea : public testing::Test {
 protected:
  QString Area() const { return dir_.path() + "/KATALOGE/"; }
  QString Lager() const { return dir_.path() + "/LAGER/"; }
  // A catalogue directory holding the given files; "SUPPLIER.INI" entries as ini text.
  QString MakeCatalogue(const QString& name, const QStringList& markers, const QString& ini = QString()) const {
    const QString dir = Area() + name + u'/';
    EXPECT_TRUE(QDir().mkpath(dir));
    for (const QString& marker : markers) WriteFileBytes(dir + marker, QByteArray());
    if (!ini.isNull()) WriteFileBytes(dir + "SUPPLIER.INI", Utf16LeWithBom(ini));
    return dir;
  }
  static QString Ini(const QString& type, const QString& id = QString()) {
    QString text = QStringLiteral("[Catalog]\r\nType=%1\r\nDescription=Katalog\r\n").arg(type);
    if (!id.isNull()) text += QStringLiteral("[Supplier]\r\nID=%1\r\n").arg(id);
    return text;
  }

  QTemporaryDir dir_;
};

const QStringList kNoMarker;
}  // namespace

TEST_F(CatalogueArea, KindByMarkerFilesThenIniAndPoolItemKindFromIniOnly) {
  struct Case {
    QStringList markers;
    QString ini;  // null: no SUPPLIER.INI
    int type, poolType;
  };
  const Case cases[] = {
      {{"LAGER.DAT", "CATALOG.DAT"}, {}, katalogtyp::Lager, katalogtyp::Einfach},
      {{"SCATALOG.DAT", "CATALOG.DAT", "ECATALOG.DAT"}, {}, katalogtyp::Einfach, katalogtyp::Einfach},
      {{"CATALOG.DAT", "ECATALOG.DAT"}, Ini("0"), katalogtyp::Datanorm, katalogtyp::Einfach},
      {{"ECATALOG.DAT"}, Ini("2"), katalogtyp::Eldanorm, katalogtyp::Eldanorm},
      {kNoMarker, Ini("1"), katalogtyp::Datanorm, katalogtyp::Datanorm},
      {kNoMarker, Ini("7"), 7, katalogtyp::Einfach},
      {kNoMarker, Ini("-1"), katalogtyp::Unbekannt, katalogtyp::Einfach},
      {kNoMarker, "[Catalog]\r\nDescription=ohne Art\r\n", katalogtyp::Unbekannt, katalogtyp::Einfach},
      {kNoMarker, {}, katalogtyp::Unbekannt, katalogtyp::Einfach},
  };
  int n = 0;
  for (const Case& c : cases) {
    const QString dir = MakeCatalogue(QStringLiteral("K%1").arg(n++), c.markers, c.ini);
    EXPECT_EQ(TUKATKatalogTypeHelper::GetCatalogType(dir), c.type) << dir.toStdString();
    EXPECT_EQ(TKatalogDBPoolItem("K", dir, {}).KatalogTyp, c.poolType) << dir.toStdString();
  }
  EXPECT_EQ(TUKATKatalogTypeHelper::GetCatalogType(Area() + "FEHLT"), katalogtyp::Unbekannt);
}

TEST_F(CatalogueArea, SupplierNumberIsCutAtTheFirstUnderscore) {
  const QString cases[][2] = {{"1234_56", "1234"}, {"_12", ""}, {"70001", "70001"}, {"1_2_3", "1"}};
  for (const auto& [stored, number] : cases) {
    const QString dir = MakeCatalogue("S" + stored, kNoMarker, Ini("0", stored));
    TUKATKatalogAuswahlItem item;
    item.ReadFromDirectory("S", dir, 0);
    EXPECT_EQ(item.Lieferant.Nr, number);
    EXPECT_EQ(TKatalogDBPoolItem("S", dir, {}).Lieferant.Nr, number);
  }
}

TEST_F(CatalogueArea, SelectionEntryWritesEveryKeyAndReadsItBack) {
  const QString dir = MakeCatalogue("MEIER", kNoMarker,
                                    "[Fremd]\r\nSchluessel=bleibt\r\n");
  TUKATKatalogAuswahlItem written;
  written.Katalog = "MEIER";
  written.KatalogTyp = katalogtyp::Datanorm;
  written.Beschreibung = "Großhandel Süd – Ø 15";
  written.Lieferant = {"70001", "01", "Info"};
  TKatalogOnlineUpdate& o = written.Online;
  o.Enabled = o.SimpleLoginEnabled = true;
  o.SimpleURL = "https://a", o.SimpleLogin = "l", o.SimplePassword = "p", o.DNURL = "https://d";
  o.DNParam1 = "1", o.DNParam2 = "2", o.DNParam3 = "3", o.DNParam1Txt = "t1", o.DNParam2Txt = "t2";
  o.DNParam3Txt = "t3", o.DNFileAccesstype = "ftp", o.DNhtAccessUsername = "u", o.DNhtAccessPassword = "pw";
  ASSERT_TRUE(written.WriteToDirectory(dir));

  EXPECT_TRUE(ReadFileBytes(dir + "SUPPLIER.INI").startsWith("\xFF\xFE"));
  EXPECT_EQ(TMemIniFile(dir + "SUPPLIER.INI").ReadString("Fremd", "Schluessel", ""), "bleibt");
  EXPECT_EQ(TUKATKatalogTypeHelper::GetCatalogType(dir), katalogtyp::Datanorm);
  TUKATKatalogAuswahlItem read;
  read.ReadFromDirectory("MEIER", dir, katalogtyp::Eldanorm);
  EXPECT_EQ(read.KatalogTyp, katalogtyp::Eldanorm);  // the caller's kind, not the file's
  EXPECT_EQ(read.Beschreibung, written.Beschreibung);
  EXPECT_EQ(read.Lieferant.Nr, "70001");
  EXPECT_EQ(read.Lieferant.SubNr, "01");
  EXPECT_EQ(read.Lieferant.Info, "Info");
  const TKatalogOnlineUpdate& r = read.Online;
  EXPECT_TRUE(r.Enabled && r.SimpleLoginEnabled);
  EXPECT_EQ(QStringList({r.SimpleURL, r.SimpleLogin, r.SimplePassword, r.DNURL, r.DNParam1, r.DNParam2, r.DNParam3,
                         r.DNParam1Txt, r.DNParam2Txt, r.DNParam3Txt, r.DNFileAccesstype, r.DNhtAccessUsername,
                         r.DNhtAccessPassword}),
            QStringList({"https://a", "l", "p", "https://d", "1", "2", "3", "t1", "t2", "t3", "ftp", "u", "pw"}));

  // Reading resets what an earlier directory left.
  read.ReadFromDirectory("LEER", MakeCatalogue("LEER", kNoMarker), 3);
  EXPECT_TRUE(read.Beschreibung.isEmpty() && read.Lieferant.Nr.isEmpty() && !read.Online.Enabled);
}

TEST(CatalogueSelectionList, IndexOfKatalogFindsTheFirstExactKey) {
  TUKATKatalogAuswahlItemObjectList list;
  for (const char* key : {"LAGER", "Meier", "MEIER", "MEIER"}) list.Add(std::make_unique<TUKATKatalogAuswahlItem>())->Katalog = key;
  EXPECT_EQ(list.IndexOfKatalog("MEIER"), 2);
  EXPECT_EQ(list.IndexOfKatalog("meier"), -1);
}

TEST_F(CatalogueArea, CatalogueInfoOnlyIntoAnExistingDirectory) {
  const QString missing = Area() + "NEU";
  EXPECT_FALSE(TUKATKatalogTypeHelper::WriteCatalogInfo(missing, "Neu", 0));
  EXPECT_FALSE(QDir(missing).exists());
  const QString dir = MakeCatalogue("NEU", kNoMarker, "[Supplier]\r\nID=9_1\r\n");
  EXPECT_TRUE(TUKATKatalogTypeHelper::WriteCatalogInfo(dir, "Neu", katalogtyp::Datanorm));
  EXPECT_EQ(TUKATKatalogTypeHelper::GetCatalogType(dir), katalogtyp::Datanorm);
  TKatalogDBPoolItem item("NEU", dir, {});
  EXPECT_EQ(item.Lieferant.Nr, "9");
}

// ---------------------------------------------------------------- the pool

TEST_F(CatalogueArea, PoolHoldsTheWarehouseThenEveryDirectoryButDotOnes) {
  for (const char* name : {"b_kat", "A_KAT", ".versteckt", "C KAT"}) MakeCatalogue(name, kNoMarker);
  TKatalogDBPool pool(Area(), Lager(), {});
  QStringList keys;
  for (const TKatalogDBPoolItem& item : pool.Items) keys.append(item.Katalog);
  EXPECT_EQ(keys, QStringList({"LAGER", "A_KAT", "b_kat", "C KAT"}));
  EXPECT_EQ(pool.Items[0]->KatalogTyp, katalogtyp::Lager);
  EXPECT_EQ(pool.Items[0]->Verzeichnis, Lager());
  EXPECT_FALSE(pool.Items[1]->DatabaseOpened());
  EXPECT_EQ(pool.GetItemByName(".versteckt", true), nullptr);
}

TEST_F(CatalogueArea, PoolFindsKeysTrimmedIgnoringCaseAndTakesInNewDirectories) {
  TKatalogDBPool pool(Area(), Lager(), {});
  pool.Items.Clear();
  EXPECT_EQ(pool.GetItemByName("Lager", true), nullptr);  // the warehouse only when its directory exists
  ASSERT_TRUE(QDir().mkpath(Lager()));
  ASSERT_NE(pool.GetItemByName("Lager", true), nullptr);
  TDatabaseWrapper* lager = pool.GetDBByName(" lager ", false);
  ASSERT_NE(dynamic_cast<IModLagerDBServerObj*>(lager), nullptr);
  EXPECT_TRUE(lager->Opened);
  EXPECT_EQ(pool.GetDBByName("LAGER", false), lager);

  MakeCatalogue("SPAETER", kNoMarker, Ini("1", "4711_01"));
  EXPECT_EQ(pool.GetItemByName("SPAETER", false), nullptr);
  TKatalogDBPoolItem* item = pool.GetItemByName(" spaeter", true);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Katalog, "SPAETER");  // as the directory is named
  EXPECT_EQ(item->KatalogTyp, katalogtyp::Datanorm);
  EXPECT_EQ(item->Lieferant.Nr, "4711");
  EXPECT_EQ(pool.GetItemByName("Spaeter", false), item);
  EXPECT_EQ(pool.Items.Count(), 2);

  const int before = pool.Items.Count();
  for (const char* key : {"", "   ", "FEHLT", "../LAGER", "SPAETER/.."}) EXPECT_EQ(pool.GetDBByName(key, true), nullptr) << key;
  EXPECT_EQ(pool.Items.Count(), before);
}

TEST_F(CatalogueArea, DatabaseOfAKindWithoutClassIsRefusedWithItsText) {
  const QString dir = MakeCatalogue("ELEKTRO", {"ECATALOG.DAT"}, Ini("2"));
  TKatalogDBPool pool(Area(), Lager(), {});
  try {
    pool.GetDBByName("ELEKTRO", false);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Unbekannter Katalogtyp: TKatalogDBPoolItem.GetDB");
  }
  EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList({"ECATALOG.DAT", "SUPPLIER.INI"}));
}

// The demo suite's catalogue area, through the pool made from the system settings.
TEST(DemoCatalogues, KindsAndSuppliersOfTheDemoSuite) {
  TempSuite suite;
  ASSERT_TRUE(suite.Load());
  TKatalogDBPool pool({});
  struct Expected {
    const char* key;
    int type, poolType;
    bool supplier, opens;
  };
  const Expected expected[] = {{"DATANORM_SHK", katalogtyp::Datanorm, katalogtyp::Datanorm, true, true},
                               {"LIEFERANT_MEIER", katalogtyp::Einfach, katalogtyp::Einfach, true, true},
                               {"ELDANORM_ELEKTRO", katalogtyp::Eldanorm, katalogtyp::Eldanorm, false, false},
                               {"ALTE_PREISLISTE", katalogtyp::Unbekannt, katalogtyp::Einfach, false, false}};
  for (const Expected& e : expected) {
    TKatalogDBPoolItem* item = pool.GetItemByName(e.key, false);
    ASSERT_NE(item, nullptr) << e.key;
    EXPECT_EQ(TUKATKatalogTypeHelper::GetCatalogType(item->Verzeichnis), e.type) << e.key;
    EXPECT_EQ(item->KatalogTyp, e.poolType) << e.key;
    // Suppliers are addresses of the demo address book.
    EXPECT_EQ(item->Lieferant.Nr.toInt() >= 10000, e.supplier) << e.key;
    bool opened = false;
    try {
      opened = item->GetDB()->Opened;
    } catch (const Exception&) {
    }
    EXPECT_EQ(opened, e.opens) << e.key;
  }
  EXPECT_EQ(pool.Items[0]->Verzeichnis, NormalizePath(SystemEinstellungen()->AreaDir(TAreaDir::Lager), true));
}
