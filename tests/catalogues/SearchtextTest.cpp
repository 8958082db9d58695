#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "DemoSearchtext.h"
#include "SearchtextManager.h"
#include "TestSupport.h"
#include "TextFile.h"

namespace {
const QList<QPair<QString, QString>> kArticles = {
    {QStringLiteral("A1"), QStringLiteral("Stahlrohr verzinkt 1/2 Zoll")},
    {QStringLiteral("A2"), QStringLiteral("Kupferrohr hart 15 mm")},
    {QStringLiteral("A3"), QStringLiteral("Größe 2, Kupfer-Fitting")},
    {QStringLiteral("A4"), QStringLiteral("Heizkörper Typ 22")},
    {QStringLiteral("A5"), QStringLiteral("Radiator Anschlussleitung")},
    {QStringLiteral("A6"), QStringLiteral("Rohrschelle verzinkt")},
};

class Searchtext : public testing::Test {
 protected:
  void SetUp() override {
    QString error;
    ASSERT_TRUE(WriteDemoSearchtext(dir.path(), kArticles, &error)) << error.toStdString();
    ASSERT_TRUE(WriteTextLines(synonyms(), {QStringLiteral("rohr, Leitung"), QStringLiteral("Heizkörper,RADIATOR")}));
  }
  QString synonyms() const { return dir.path() + QStringLiteral("/STXSYNONYM.TXT"); }
  QString file(const QString& name) const { return dir.path() + u'/' + name; }

  QTemporaryDir dir;
};

struct SearchCase {
  const char* text;
  QStringList expected;
};
}  // namespace

TEST_F(Searchtext, FindsTheArticlesThatHoldEverySearchWord) {
  const SearchCase cases[] = {
      {"kupfer rohr", {"A2"}},                   // both words, each also elsewhere
      {"Größe", {"A3"}},                         // written out as GROESSE
      {"rohr", {"A1", "A2", "A5", "A6"}},        // inside compounds, and its synonym LEITUNG
      {".rohr", {"A6"}},                         // only at the beginning of a word
      {"heizkörper", {"A4", "A5"}},              // synonym group read normalised
      {"stahl=kupfer", {"A1", "A2", "A3"}},      // "=" alternatives
      {"verzinkt stahl=kupfer", {"A1"}},
      {"xyz rohr", {}},                          // a first word without hits gives nothing
      {"rohr xyz", {"A1", "A2", "A5", "A6"}},    // a later one is left out
      {"  zoll   ", {"A1"}},
  };
  TSearchtextManager manager(dir.path(), synonyms());
  for (const SearchCase& c : cases) {
    EXPECT_TRUE(manager.Search(QString::fromUtf8(c.text), false)) << c.text;
    EXPECT_EQ(manager.ResultList, c.expected) << c.text;
  }
  EXPECT_FALSE(manager.Search(QStringLiteral("   "), false));
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST_F(Searchtext, WithoutIndexSaysSoAndFindsItOnceWritten) {
  QTemporaryDir empty;
  TSearchtextManager manager(empty.path(), QString());
  EXPECT_FALSE(manager.Search(QStringLiteral("rohr"), false));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text,
            QStringLiteral("Kein Suchtext zu diesem Katalog vorhanden.\n"
                           "Die muessen erst einen Suchtext zu diesem Katalog erstellen."));
  ASSERT_TRUE(WriteDemoSearchtext(empty.path(), kArticles, nullptr));
  EXPECT_TRUE(manager.Search(QStringLiteral("rohr"), false));
  EXPECT_EQ(manager.ResultList, QStringList({"A1", "A2", "A6"}));
}

TEST_F(Searchtext, MissingBucketFilesGiveNoHits) {
  for (int b = 0; b < searchtext::kBucketCount; ++b) QFile::remove(file(searchtext::BucketFile(b)));
  TSearchtextManager manager(dir.path(), QString());
  EXPECT_TRUE(manager.Search(QStringLiteral("rohr"), false));
  EXPECT_TRUE(manager.ResultList.isEmpty());
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST_F(Searchtext, SkipsLinesThatDoNotParseAndReadsQuotedCommaText) {
  WriteFileBytes(file(QStringLiteral("STX.IDX")),
                 "ROHR 0\r\nROHRX\r\n 1\r\nROHRZ -1\r\nROHRY 1x\r\nROHRW 9\r\nROHRQ 1\r\n");
  WriteFileBytes(file(QStringLiteral("STX.18")), "A2,A1, A2\r\n\"B,1\", B2\r\n");
  TSearchtextManager manager(dir.path(), QString());
  EXPECT_TRUE(manager.Search(QStringLiteral("rohr"), false));
  EXPECT_EQ(manager.ResultList, QStringList({"A1", "A2", "B,1", "B2"}));
}

TEST_F(Searchtext, CancelInTheWaitWindowStopsTheSearch) {
  TestDialogs().lockWaitCancelAfter.enqueue(0);
  TSearchtextManager manager(dir.path(), synonyms());
  EXPECT_FALSE(manager.Search(QStringLiteral("rohr"), true));
  EXPECT_TRUE(manager.ResultList.isEmpty());
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Bitte warten ..."));
  EXPECT_TRUE(manager.Search(QStringLiteral("rohr"), true));  // the next window is not cancelled
  EXPECT_EQ(manager.ResultList.size(), 4);
}

TEST(SearchtextWriter, IndexesNormalisedWordsInTheBucketOfTheirFirstCharacter) {
  EXPECT_EQ(IndexWordsOf(QStringLiteral("WC-Sitz, Größe 1/2\" Öl 0815")),
            QStringList({"SITZ", "GROESSE", "OEL", "0815"}));
  const QPair<const char*, int> buckets[] = {{"ABC", 1}, {"ZETA", 26}, {"0815", 27}, {"9X", 36}, {"ÉCRU", 0}};
  for (const auto& [word, bucket] : buckets) EXPECT_EQ(searchtext::BucketOf(QString::fromUtf8(word)), bucket) << word;
  QTemporaryDir dir;
  ASSERT_TRUE(WriteDemoSearchtext(dir.path(), {{"K1", "Zange"}, {"K2", "Zeta, Zange"}}, nullptr));
  QStringList words, bucket;
  ASSERT_TRUE(ReadTextLines(dir.path() + QStringLiteral("/STX.IDX"), words));
  ASSERT_TRUE(ReadTextLines(dir.path() + QStringLiteral("/STX.26"), bucket));
  EXPECT_EQ(words, QStringList({"ZANGE 0", "ZETA 1"}));
  EXPECT_EQ(bucket, QStringList({"K1,K2", "K2"}));
}
