#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "KSPreisgruppe.h"
#include "TestSupport.h"
#include "TextFile.h"

namespace {
// A folder "006" and a catalogue area with the directories K1, K2 and LIEF.
class KSPreisgruppeTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(Folder()));
    for (const char* name : {"K1", "K2", "LIEF"}) ASSERT_TRUE(QDir().mkpath(Catalogues() + QLatin1String(name)));
  }
  QString Folder() const { return dir.path() + QStringLiteral("/006/"); }
  QString Catalogues() const { return dir.path() + QStringLiteral("/KATALOGE/"); }
  QString File(const char* id) const { return Folder() + QLatin1String(id) + QStringLiteral(".PGRP"); }
  void Write(const char* id, const char* text) const {
    WriteFileBytes(File(id), Utf16LeWithBom(QString::fromUtf8(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))));
  }
  QString Text(const char* id) const { return DecodeText(ReadFileBytes(File(id))); }
  bool Load(const char* id) { return pg.Load(QLatin1String(id), dir.path() + QStringLiteral("/006"), Catalogues()); }

  QTemporaryDir dir;
  TKSPreisgruppe pg;
};

const char* const kStandard =
    "[Lager]\nAktiv=1\nPreisgruppe=2\n[Katalog]\nAktiv=1\nPreisgruppe=3\n[Kataloge]\nK1=5\nK2=0\nLIEF=-1\nWEG=4\n";
}  // namespace

TEST_F(KSPreisgruppeTest, AddressWithoutOwnFileLoadsTheStandardAndSavesItsOwn) {
  Write("__DEFAULT__", kStandard);
  const QByteArray standard = ReadFileBytes(File("__DEFAULT__"));
  ASSERT_TRUE(Load("4711"));
  EXPECT_TRUE(pg.Aktiv);
  EXPECT_TRUE(pg.LagerAktiv);
  EXPECT_EQ(pg.LagerPreisgruppe, 2);
  EXPECT_EQ(pg.KatalogPreisgruppe, 3);
  // 0 and negative groups, and catalogues without a directory, are not taken.
  ASSERT_EQ(pg.Kataloge.Count(), 1);
  EXPECT_EQ(pg.Kataloge[0]->String, QStringLiteral("K1"));

  ASSERT_TRUE(pg.Save(QStringLiteral(" 4711 "), dir.path() + QStringLiteral("/006")));
  EXPECT_TRUE(ReadFileBytes(File("4711")).startsWith(QByteArray("\xFF\xFE[\0", 4)));
  EXPECT_EQ(Text("4711"),
            QStringLiteral("[Lager]\r\nAktiv=1\r\nPreisgruppe=2\r\n\r\n[Katalog]\r\nAktiv=1\r\nPreisgruppe=3\r\n\r\n"
                           "[Kataloge]\r\nK1=5\r\n"));
  EXPECT_EQ(ReadFileBytes(File("__DEFAULT__")), standard);
}

TEST_F(KSPreisgruppeTest, WithoutAnyFileTheDefaultGroupIsReturned) {
  ASSERT_TRUE(Load("4711"));
  EXPECT_FALSE(pg.Aktiv);
  pg.KatalogAktiv = true;
  pg.KatalogPreisgruppe = 4;
  pg.Kataloge.Add(QStringLiteral("K1"), 5);
  EXPECT_EQ(pg.GetKatalogPreisgruppe(2, QStringLiteral("K1"), false), 2);
}

TEST_F(KSPreisgruppeTest, CatalogueGroupByKeyIgnoringCase) {
  Write("4711", "[Katalog]\nAktiv=1\nPreisgruppe=3\n[Kataloge]\nK1=5\n");
  ASSERT_TRUE(Load("4711"));
  struct Case { const char* key; bool keepDefault; int expected; };
  for (const Case& c : {Case{"k1", false, 5}, Case{"K1", true, 5}, Case{"K2", false, 3}, Case{"K2", true, 2}})
    EXPECT_EQ(pg.GetKatalogPreisgruppe(2, QLatin1String(c.key), c.keepDefault), c.expected) << c.key << c.keepDefault;
}

TEST_F(KSPreisgruppeTest, SaveKeepsForeignKeysAndSectionsAndDropsRemovedCatalogues) {
  Write("4711", "[Lager]\nAktiv=0\nPreisgruppe=1\nRabatt=7\n[Fremd]\nX=1\n[Kataloge]\nK2=4\nWEG=2\n");
  ASSERT_TRUE(Load("4711"));
  pg.LagerAktiv = true;
  ASSERT_TRUE(pg.Save(QStringLiteral("4711"), Folder()));
  EXPECT_EQ(Text("4711"), QStringLiteral("[Lager]\r\nAktiv=1\r\nPreisgruppe=1\r\nRabatt=7\r\n\r\n[Fremd]\r\nX=1\r\n\r\n"
                                         "[Katalog]\r\nAktiv=0\r\nPreisgruppe=1\r\n\r\n[Kataloge]\r\nK2=4\r\n"));
}

TEST_F(KSPreisgruppeTest, NothingIsWrittenWithoutIdentifierOrDirectory) {
  QString error;
  EXPECT_FALSE(pg.Save(QStringLiteral("  "), Folder(), &error));
  EXPECT_FALSE(pg.Save(QStringLiteral("4711"), dir.path() + QStringLiteral("/007"), &error));
  EXPECT_FALSE(pg.Save(QStringLiteral(".."), Folder(), &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(QDir(Folder()).isEmpty());
  EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/007")));
}

// A file that exists but cannot be read is neither taken for a missing one
// nor replaced, which would lose what other programs keep in it.
TEST_F(KSPreisgruppeTest, UnreadableFileIsAFailureAndStaysUntouched) {
  ASSERT_TRUE(QDir().mkpath(File("4711")));  // a directory where the file should be
  QString error;
  EXPECT_FALSE(pg.Load(QStringLiteral("4711"), Folder(), Catalogues(), &error));
  EXPECT_FALSE(pg.Aktiv);
  EXPECT_FALSE(pg.Save(QStringLiteral("4711"), Folder(), &error));
  EXPECT_TRUE(error.contains(QStringLiteral("4711.PGRP"))) << error.toStdString();
  EXPECT_TRUE(QFileInfo(File("4711")).isDir());
}

// The catalogue rows come by name, ignoring case, without dot directories.
TEST_F(KSPreisgruppeTest, CatalogueDirectoriesByNameWithoutDotDirectories) {
  for (const char* name : {"b", "A", ".versteckt", "c"}) ASSERT_TRUE(QDir().mkpath(Catalogues() + QLatin1String(name)));
  EXPECT_EQ(CatalogueDirectoryNames(Catalogues()),
            (QStringList{QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("K1"),
                         QStringLiteral("K2"), QStringLiteral("LIEF")}));
}
