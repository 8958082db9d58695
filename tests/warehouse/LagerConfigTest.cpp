#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "TestSupport.h"
#include "TextFile.h"
#include "ULAGConfig.h"

namespace {
QString WriteConfig(const QTemporaryDir& dir, const QString& body) {
  const QString file = dir.path() + QStringLiteral("/CONFIG.XML");
  WriteFileBytes(file, Utf16LeWithBom(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n") + body));
  return file;
}

// Every entry as "first|second".
QStringList Pairs(const TDoubleStringListObjectList& list) {
  QStringList pairs;
  for (const TDoubleString& entry : list) pairs.append(entry.First + u'|' + entry.Second);
  return pairs;
}

void ExpectDefaults(const TLagerConfig& config) {
  EXPECT_TRUE(config.Artikelgruppen.isEmpty());
  EXPECT_TRUE(config.Lagerorte.isEmpty());
  EXPECT_TRUE(config.Pnk.isEmpty());
  EXPECT_EQ(config.Rabattgruppen.Count(), 0);
  EXPECT_EQ(config.StdUebernahmePreis, 1);
  EXPECT_EQ(config.VkpEurKgToVkp, 1);
  EXPECT_TRUE(config.StdMRabF);
  EXPECT_FALSE(config.SpEAN);
  EXPECT_FALSE(config.Vars);
}
}  // namespace

TEST(WarehouseConfig, EmptyRootAndMissingFileGiveDefaults) {
  QTemporaryDir dir;
  TLagerConfig config;
  config.LoadFromFile(WriteConfig(dir, QStringLiteral("<lagerconfig/>")));
  ExpectDefaults(config);
  TLagerConfig missing;
  missing.LoadFromFile(dir.path() + QStringLiteral("/NONE.XML"));
  ExpectDefaults(missing);
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST(WarehouseConfig, ReadsGroupsListsAndSwitchesByTheirRules) {
  QTemporaryDir dir;
  TLagerConfig config;
  config.LoadFromFile(WriteConfig(dir, QStringLiteral(
      "<lagerconfig>\r\n"
      "  <artikelgruppen>Rohre&#13;&#10;Fittings&#13;&#10;</artikelgruppen>\r\n"
      "  <rabattgruppe id=\"R1\"/>\r\n"
      "  <rabattgruppe>Nur Text</rabattgruppe>\r\n"
      "  <rabattgruppe id=\"R1\">Zweimal &amp; mehr</rabattgruppe>\r\n"
      "  <stduebernahmepreis val=\" 2x\" />\r\n"
      "  <vkpeurkgtovkp val=\"abc\" />\r\n"
      "  <stdmrabf val=\"\" />\r\n"
      "  <spean val=\"-1\" />\r\n"
      "  <vars val=\"TrUe\" />\r\n"
      "  <unbekannt val=\"9\" />\r\n"
      "</lagerconfig>")));
  EXPECT_EQ(config.Artikelgruppen, (QStringList{QStringLiteral("Rohre"), QStringLiteral("Fittings")}));
  EXPECT_EQ(Pairs(config.Rabattgruppen), QStringList({"R1|", "|Nur Text", "R1|Zweimal & mehr"}));
  EXPECT_EQ(config.StdUebernahmePreis, 2);
  EXPECT_EQ(config.VkpEurKgToVkp, 1);
  EXPECT_TRUE(config.StdMRabF);
  EXPECT_TRUE(config.SpEAN);
  EXPECT_TRUE(config.Vars);
  QStringList lines;
  config.FillRabattGruppen(lines);
  EXPECT_EQ(lines, (QStringList{QStringLiteral("R1 "), QStringLiteral(" Nur Text"), QStringLiteral("R1 Zweimal & mehr")}));
}

TEST(WarehouseConfig, WritesTheSharedLayoutAndReadsItBack) {
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/CONFIG.XML");
  TLagerConfig config;
  config.Lagerorte = {QStringLiteral("Halle 1"), QStringLiteral("Regal <3>")};
  config.Rabattgruppen.Add(QStringLiteral("A&B"), QStringLiteral("Kupfer <weich>"));
  config.Rabattgruppen.Add(QStringLiteral("C"), QStringLiteral("Stahl"));
  config.StdUebernahmePreis = 3;
  config.StdMRabF = false;
  config.SpEAN = true;
  ASSERT_TRUE(config.SaveToFile(file));
  const QString text = DecodeText(ReadFileBytes(file));
  EXPECT_TRUE(text.contains(QStringLiteral("  <lagerorte>Halle 1&#13;&#10;Regal &lt;3&gt;&#13;&#10;</lagerorte>\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("  <rabattgruppe id=\"A&amp;B\">Kupfer &lt;weich&gt;</rabattgruppe>\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("  <stduebernahmepreis val=\"3\" />\r\n  <vkpeurkgtovkp val=\"1\" />\r\n"
                                           "  <stdmrabf val=\"0\" />\r\n  <spean val=\"-1\" />\r\n")));
  TLagerConfig back;
  back.LoadFromFile(file);
  EXPECT_EQ(back.Lagerorte, config.Lagerorte);
  EXPECT_EQ(Pairs(back.Rabattgruppen), QStringList({"A&B|Kupfer <weich>", "C|Stahl"}));
  EXPECT_EQ(back.StdUebernahmePreis, 3);
  EXPECT_FALSE(back.StdMRabF);
  EXPECT_TRUE(back.SpEAN);
}

TEST(WarehouseConfig, MalformedFileKeepsWhatWasReadAndReports) {
  QTemporaryDir dir;
  TLagerConfig config;
  config.LoadFromFile(WriteConfig(dir, QStringLiteral("<lagerconfig><rabattgruppe id=\"X\">Gut</rabattgruppe><spean val=\"1\">")));
  ASSERT_EQ(config.Rabattgruppen.Count(), 1);
  EXPECT_TRUE(config.SpEAN);
  EXPECT_TRUE(config.HasError);
  EXPECT_EQ(TestDialogs().shown.size(), 1);
}
