// searchtext.search_cold: a two-word search with a new manager, which reads
//   the word list and the bucket files it needs.
// searchtext.search_warm: the same search repeated on one manager (median).
// The index: 500,000 words over 1,000,000 articles, words made of 1 to 3 of
// 4,000 stems (as compound words are), article counts falling off as 1/rank.
// It is written once into a temporary folder, or kept in BENCH_STX_DIR.
// The reference, for information, reads the index plainly: every line of the
// word list tested with QString::contains, bucket lines split as comma text.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

#include "BenchSupport.h"
#include "CommaText.h"
#include "DemoSearchtext.h"
#include "SearchtextManager.h"
#include "TextFile.h"

namespace {
constexpr int kWords = 500000;
constexpr int kArticles = 1000000;
constexpr int kStems = 4000;
constexpr double kTopCount = 300000;  // articles of the most frequent word
constexpr int kColdRounds = 5;
constexpr int kWarmRounds = 9;

QString MakeStem(std::mt19937& rng) {
  static const char kConsonants[] = "BCDFGHKLMNPRSTVWZ";
  static const char kVowels[] = "AEIOU";
  std::uniform_int_distribution<int> syllables(1, 3), consonant(0, 16), vowel(0, 4), coda(0, 2), start(0, 4);
  QString stem;
  if (start(rng) == 0) stem += QLatin1Char(kVowels[vowel(rng)]);  // some begin with a vowel
  for (int n = syllables(rng); n > 0 || stem.size() < 3; --n) {
    stem += QLatin1Char(kConsonants[consonant(rng)]);
    stem += QLatin1Char(kVowels[vowel(rng)]);
    if (coda(rng) == 0) stem += QLatin1Char(kConsonants[consonant(rng)]);
  }
  return stem;
}

struct Vocabulary {
  QStringList stems;
  QStringList byRank;  // the words, most frequent first
};

Vocabulary MakeVocabulary() {
  std::mt19937 rng(4711);
  Vocabulary v;
  QSet<QString> seen;
  while (v.stems.size() < kStems) {
    const QString stem = MakeStem(rng);
    if (!seen.contains(stem)) seen.insert(stem), v.stems.append(stem);
  }
  std::uniform_int_distribution<int> pick(0, kStems - 1), parts(1, 10);
  seen.clear();
  while (v.byRank.size() < kWords) {
    const int n = parts(rng);
    QString word = v.stems[pick(rng)];
    for (int i = n <= 2 ? 1 : n <= 7 ? 2 : 3; i > 1; --i) word += v.stems[pick(rng)];
    if (!seen.contains(word)) seen.insert(word), v.byRank.append(word);
  }
  return v;
}

// Sorted article numbers: each article taken with the probability count/kArticles.
QStringList ArticlesOf(int rank, std::mt19937& rng) {
  const double p = std::min(1.0, std::max(kTopCount / (rank + 1), 1.0) / kArticles);
  std::geometric_distribution<int> skip(p);
  QStringList articles;
  for (int a = skip(rng); a < kArticles; a += 1 + skip(rng)) articles.append(QStringLiteral("%1").arg(a, 7, 10, QLatin1Char('0')));
  if (articles.isEmpty()) articles.append(QStringLiteral("%1").arg(rank % kArticles, 7, 10, QLatin1Char('0')));
  return articles;
}

bool WriteIndex(const QString& dir, const Vocabulary& v) {
  std::vector<int> order(kWords);
  for (int i = 0; i < kWords; ++i) order[size_t(i)] = i;
  std::sort(order.begin(), order.end(), [&](int a, int b) { return v.byRank[a] < v.byRank[b]; });
  std::mt19937 rng(815);
  TSearchtextIndexWriter writer(dir);
  QString error;
  for (int rank : order)
    if (!writer.AddWord(v.byRank[rank], ArticlesOf(rank, rng), &error)) break;
  if (error.isEmpty()) writer.Finish(&error);
  if (!error.isEmpty()) std::fprintf(stderr, "searchtext: %s\n", qPrintable(error));
  return error.isEmpty();
}

// The search as a plain reading of the index does it.
class PlainSearch {
 public:
  explicit PlainSearch(const QString& dir) : dir_(dir + u'/') {}
  QStringList Search(const QStringList& terms) {
    if (words_.isEmpty()) ReadTextLines(dir_ + searchtext::WordListFile(), words_);
    QList<QStringList> hitLists;
    for (const QString& term : terms) hitLists.append(Hits(term));
    QStringList common = hitLists.takeFirst();
    for (const QStringList& hits : hitLists) {
      if (hits.isEmpty()) continue;
      QStringList kept;
      std::set_intersection(common.begin(), common.end(), hits.begin(), hits.end(), std::back_inserter(kept));
      common = kept;
    }
    return common;
  }

 private:
  QStringList Hits(const QString& term) {
    QStringList hits;
    for (const QString& line : words_) {
      const qsizetype blank = line.indexOf(u' ');
      bool ok = false;
      const int n = line.mid(blank + 1).toInt(&ok);
      if (blank <= 0 || !ok || n < 0) continue;
      const QString word = line.left(blank);
      const size_t b = size_t(searchtext::BucketOf(word));
      if (!loaded_[b]) loaded_[b] = true, ReadTextLines(dir_ + searchtext::BucketFile(int(b)), buckets_[b]);
      if (word.contains(term) && n < buckets_[b].size()) hits += SplitCommaText(buckets_[b][n]);
    }
    std::sort(hits.begin(), hits.end());
    hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
    return hits;
  }

  QString dir_;
  QStringList words_;
  std::array<QStringList, searchtext::kBucketCount> buckets_;
  std::array<bool, searchtext::kBucketCount> loaded_{};
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString coldName = QStringLiteral("searchtext.search_cold"), warmName = QStringLiteral("searchtext.search_warm");
  if (!Selected(coldName) && !Selected(warmName)) return 0;
  QTemporaryDir temporary;
  const QString dir = qEnvironmentVariableIsSet("BENCH_STX_DIR") ? qEnvironmentVariable("BENCH_STX_DIR") : temporary.path();
  const Vocabulary v = MakeVocabulary();
  QDir().mkpath(dir);
  if (!QFileInfo::exists(dir + QStringLiteral("/STX.IDX")) && !WriteIndex(dir, v)) return 1;
  // The beginnings of a frequent word and of a word of middle rank, as a user types them.
  const QString text = v.byRank[3].left(4).toLower() + u' ' + v.byRank[700].left(5).toLower();
  const QStringList terms = text.toUpper().split(u' ');
  QStringList ours;
  const auto cold = [&] {
    return TimedMs([&] {
      TSearchtextManager manager(dir, QString());
      manager.Search(text, false);
      ours = manager.ResultList;
    });
  };
  if (Selected(coldName))
    BenchAgainst(coldName, kColdRounds, cold,
                 [&] { return TimedMs([&] { PlainSearch(dir).Search(terms); }); });
  if (Selected(warmName)) {
    TSearchtextManager manager(dir, QString());
    PlainSearch plain(dir);
    manager.Search(text, false);
    const QStringList reference = plain.Search(terms);
    if (manager.ResultList != reference) std::fprintf(stderr, "searchtext: results differ from the plain reading\n");
    std::fprintf(stderr, "searchtext: \"%s\" gives %d articles\n", qPrintable(text), int(reference.size()));
    BenchAgainst(warmName, kWarmRounds,
                 [&] { return TimedMs([&] { manager.Search(text, false); }); },
                 [&] { return TimedMs([&] { plain.Search(terms); }); });
  }
  return 0;
}
