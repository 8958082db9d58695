#include "SearchtextIndex.h"

#include <algorithm>

#include "CommaText.h"
#include "TextFile.h"

namespace searchtext {

int BucketOf(QStringView word) {
  if (word.isEmpty()) return 0;
  const char16_t c = word.front().unicode();
  if (c >= u'A' && c <= u'Z') return 1 + (c - u'A');
  if (c >= u'0' && c <= u'9') return 27 + (c - u'0');
  return 0;
}

QString WordListFile() { return QStringLiteral("STX.IDX"); }
QString BucketFile(int bucket) { return QStringLiteral("STX.%1").arg(bucket); }
QString SynonymFile() { return QStringLiteral("STXSYNONYM.TXT"); }

QString NormalizeWord(const QString& word) {
  QString upper = word.toUpper();
  upper.replace(QChar(0x00C4), QLatin1String("AE"));
  upper.replace(QChar(0x00D6), QLatin1String("OE"));
  upper.replace(QChar(0x00DC), QLatin1String("UE"));
  upper.replace(QChar(0x00DF), QLatin1String("SS"));
  return upper;
}

}  // namespace searchtext

namespace {
constexpr QChar kWordSeparator = u'\n';  // never inside a line's word

bool IsLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// Calls line(view) for every line of text, as SplitLines splits it.
template <typename LineFn>
void ForEachLine(QStringView text, LineFn line) {
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (!IsLineBreak(text[i])) continue;
    line(start, text.sliced(start, i - start));
    if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) line(start, text.sliced(start));
}

// A line number: digits only, blanks around them allowed; -1 otherwise.
int ParseLineNumber(QStringView text) {
  bool ok = false;
  const QStringView digits = text.trimmed();
  if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
    return -1;
  const int number = digits.toInt(&ok);
  return ok ? number : -1;
}
}  // namespace

bool TSearchtextWordList::Load(const QString& path) {
  *this = TSearchtextWordList();
  QString text;
  if (!ReadTextFile(path, text)) return false;
  words_.reserve(text.size());
  ForEachLine(text, [this](qsizetype, QStringView line) { AddLine(line); });
  words_.squeeze();
  return true;
}

void TSearchtextWordList::AddLine(QStringView line) {
  ++lineCount_;
  const qsizetype blank = line.indexOf(u' ');
  if (blank <= 0) return;  // no number, or an empty word
  const QStringView word = line.first(blank);
  const int number = ParseLineNumber(line.sliced(blank + 1));
  if (number < 0) return;
  words_ += kWordSeparator;
  starts_.push_back(words_.size());
  words_ += word;
  bucketLines_.push_back(number);
  buckets_.push_back(static_cast<quint8>(searchtext::BucketOf(word)));
}

void TSearchtextWordList::ForEachMatch(QStringView term, bool wordBeginOnly,
                                       const std::function<bool(int)>& found) const {
  // An empty word stands for nothing; no word holds a line feed.
  if (term.isEmpty() || term.contains(kWordSeparator)) return;
  // At a word's beginning means right after its separator.
  const QString beginning = wordBeginOnly ? kWordSeparator + term.toString() : QString();
  const QStringView needle = wordBeginOnly ? QStringView(beginning) : term;
  const QStringView haystack(words_);
  qsizetype from = 0;
  while (from < haystack.size()) {
    const qsizetype at = haystack.indexOf(needle, from);
    if (at < 0) return;
    // The entry whose word holds the match.
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), wordBeginOnly ? at + 1 : at);
    if (!found(static_cast<int>(next - starts_.begin()) - 1)) return;
    if (next == starts_.end()) return;
    from = *next - 1;  // on to the next word, its separator included
  }
}

void TSearchtextBucket::Load(const QString& path) {
  loaded_ = true;
  ReadTextFile(path, text_);
  ForEachLine(text_, [this](qsizetype start, QStringView) { lineStarts_.push_back(start); });
  lineStarts_.push_back(text_.size());
}

QStringView TSearchtextBucket::Line(int line) const {
  const size_t i = static_cast<size_t>(line);
  QStringView text = QStringView(text_).sliced(lineStarts_[i], lineStarts_[i + 1] - lineStarts_[i]);
  while (!text.isEmpty() && IsLineBreak(text.back())) text.chop(1);
  return text;
}

const std::vector<QStringView>& TSearchtextBucket::Articles(int line) {
  static const std::vector<QStringView> kNone;
  if (line < 0 || static_cast<size_t>(line) + 1 >= lineStarts_.size()) return kNone;
  auto known = parsed_.find(line);
  if (known != parsed_.end()) return known->second;
  return parsed_.emplace(line, Parse(Line(line))).first->second;
}

std::vector<QStringView> TSearchtextBucket::Parse(QStringView line) {
  std::vector<QStringView> articles;
  if (line.contains(u'"')) {
    unquoted_.push_back(SplitCommaText(line.toString()));
    for (const QString& item : unquoted_.back()) articles.emplace_back(item);
  } else {
    // Unquoted comma text without copies: the items as SplitCommaText gives them.
    for (QStringView item : line.tokenize(u',')) {
      item = item.trimmed();
      if (!item.isEmpty()) articles.push_back(item);
    }
  }
  const auto before = searchtext::ArticleBefore;
  if (!std::is_sorted(articles.begin(), articles.end(), before)) std::sort(articles.begin(), articles.end(), before);
  articles.erase(std::unique(articles.begin(), articles.end()), articles.end());
  return articles;
}
