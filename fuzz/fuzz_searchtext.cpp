// The word index of a catalogue: the word list, the bucket files, the
// synonym file, and a whole search over them.
#include <QDir>
#include <QFile>
#include <algorithm>
#include <set>

#include "CommaText.h"
#include "FuzzSupport.h"
#include "SearchtextIndex.h"
#include "SearchtextManager.h"
#include "TextFile.h"

namespace {
struct Entry {
  QString word;
  int bucketLine = 0;
};

// The valid lines of a word list, read line by line: "WORD number".
std::vector<Entry> EntriesOf(const QString& text) {
  std::vector<Entry> entries;
  for (const QString& line : SplitLines(text)) {
    const qsizetype blank = line.indexOf(u' ');
    if (blank <= 0) continue;
    const QString number = line.mid(blank + 1).trimmed();
    bool ok = !number.isEmpty() && std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
    const int value = ok ? number.toInt(&ok) : -1;
    if (ok) entries.push_back({line.left(blank), value});
  }
  return entries;
}

std::vector<int> Matches(const TSearchtextWordList& list, const QString& term, bool wordBeginOnly) {
  std::vector<int> found;
  list.ForEachMatch(term, wordBeginOnly, [&](int entry) {
    found.push_back(entry);
    return true;
  });
  return found;
}

// The one scan over all words finds what a test of each word finds.
void CheckWordList(const QByteArray& bytes) {
  TSearchtextWordList list;
  FUZZ_CHECK(list.Load(FuzzWriteTemp(QStringLiteral("STX.IDX"), bytes)));
  const std::vector<Entry> entries = EntriesOf(DecodeText(bytes));
  for (size_t i = 0; i < entries.size(); ++i) {
    FUZZ_CHECK(list.BucketLine(int(i)) == entries[i].bucketLine);
    FUZZ_CHECK(list.Bucket(int(i)) == searchtext::BucketOf(entries[i].word));
  }
  QStringList terms;
  for (size_t i = 0; i < entries.size() && terms.size() < 8; ++i)
    terms << entries[i].word << entries[i].word.mid(entries[i].word.size() / 2, 2);
  for (const QString& term : terms) {
    for (const bool wordBeginOnly : {false, true}) {
      std::vector<int> expected;
      for (size_t i = 0; i < entries.size(); ++i) {
        const bool hit = wordBeginOnly ? entries[i].word.startsWith(term) : entries[i].word.contains(term);
        if (hit && !term.isEmpty()) expected.push_back(int(i));
      }
      FUZZ_CHECK(Matches(list, term, wordBeginOnly) == expected);
    }
  }
}

// A bucket line's article numbers: its comma text, sorted, each once.
void CheckBucket(const QByteArray& bytes) {
  TSearchtextBucket bucket;
  bucket.Load(FuzzWriteTemp(QStringLiteral("STX.0"), bytes));
  const QStringList lines = SplitLines(DecodeText(bytes));
  for (int i = 0; i <= lines.size(); ++i) {
    QStringList expected = i < lines.size() ? SplitCommaText(lines[i]) : QStringList();
    std::sort(expected.begin(), expected.end(),
              [](const QString& a, const QString& b) { return searchtext::ArticleBefore(a, b); });
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    QStringList articles;
    for (QStringView article : bucket.Articles(i)) articles.append(article.toString());
    FUZZ_CHECK(articles == expected);
  }
}

// Input: synonyms, word list, one bucket file and the search text, apart by NUL bytes.
void CheckSearch(const QByteArray& bytes) {
  const QList<QByteArray> parts = bytes.split('\0');
  const auto part = [&](int i) { return i < parts.size() ? parts[i] : QByteArray(); };
  static const QString dir = [] {
    const QString path = FuzzTempPath(QStringLiteral("catalogue"));
    QDir().mkpath(path);
    return path + QLatin1Char('/');
  }();
  const QString synonyms = FuzzWriteTemp(QStringLiteral("STXSYNONYM.TXT"), part(0));
  FuzzWriteTemp(QStringLiteral("catalogue/STX.IDX"), part(1));
  // The bucket file stands for every bucket the words point to; others are empty.
  std::set<int> used;
  for (const Entry& entry : EntriesOf(DecodeText(part(1)))) used.insert(searchtext::BucketOf(entry.word));
  for (int b = 0; b < searchtext::kBucketCount; ++b) {
    const QString name = QStringLiteral("catalogue/") + searchtext::BucketFile(b);
    if (used.count(b))
      FuzzWriteTemp(name, part(2));
    else
      QFile::remove(FuzzTempPath(name));
  }
  TSearchtextManager manager(dir, synonyms);
  manager.SetProgressOpener({});
  if (!manager.Search(DecodeText(part(3)), false)) return;
  QStringList sorted = manager.ResultList;
  std::sort(sorted.begin(), sorted.end(),
            [](const QString& a, const QString& b) { return searchtext::ArticleBefore(a, b); });
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  FUZZ_CHECK(sorted == manager.ResultList);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzDispatch(data, size, {CheckWordList, CheckBucket, CheckSearch});
}
