#include "SearchtextManager.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "CommaText.h"
#include "PathUtils.h"
#include "TextFile.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
using Articles = std::vector<QStringView>;

std::unique_ptr<IWaitWindow> ShowWaitWindow(std::function<void()> cancel) {
  return Dialogs().ShowLockWait(Tr("Bitte warten ..."), true, std::move(cancel));
}

void ShowNoIndexMessage() {
  MessageDlg(Tr("Kein Suchtext zu diesem Katalog vorhanden.") + u'\n' +
                 Tr("Die muessen erst einen Suchtext zu diesem Katalog erstellen."),
             TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
}

const QStringList* GroupOf(const QString& word, const QList<QStringList>& groups) {
  for (const QStringList& group : groups)
    if (group.contains(word)) return &group;
  return nullptr;
}

std::unique_ptr<TSearchWordItem> MakeItem(QString word, const QList<QStringList>& groups) {
  auto item = std::make_unique<TSearchWordItem>();
  if (word.size() > 1 && word.startsWith(u'.')) {
    item->WordBeginOnly = true;
    word.remove(0, 1);
  }
  QStringList parts = word.indexOf(u'=', 1) > 0 ? word.split(u'=') : QStringList{word};
  item->Word = parts.takeFirst();
  if (const QStringList* group = GroupOf(item->Word, groups))
    for (const QString& synonym : *group)
      if (synonym != item->Word) item->Alternatives.append(synonym);
  parts.removeAll(QString());  // an empty alternative would stand for nothing
  item->Alternatives += parts;
  return item;
}

// Every article number of the lists once, sorted. A frequent word's long list
// is merged in as it is; only the others are sorted together.
Articles Union(std::vector<const Articles*> lists) {
  if (lists.empty()) return {};
  std::sort(lists.begin(), lists.end(), [](const Articles* a, const Articles* b) { return a->size() > b->size(); });
  const Articles& longest = *lists.front();
  Articles others;
  for (size_t i = 1; i < lists.size(); ++i) others.insert(others.end(), lists[i]->begin(), lists[i]->end());
  std::sort(others.begin(), others.end(), searchtext::ArticleBefore);
  Articles all;
  all.reserve(longest.size() + others.size());
  std::merge(longest.begin(), longest.end(), others.begin(), others.end(), std::back_inserter(all), searchtext::ArticleBefore);
  all.erase(std::unique(all.begin(), all.end()), all.end());
  return all;
}

// The first word's hits that every later word with hits has too. A first
// word without hits leaves nothing; a later one without hits is left out.
QStringList Intersect(const TSearchWordItemObjectList& items) {
  Articles common = items[0]->Hits;
  for (int i = 1; i < items.Count() && !common.empty(); ++i) {
    const Articles& hits = items[i]->Hits;
    if (hits.empty()) continue;
    Articles kept;
    std::set_intersection(common.begin(), common.end(), hits.begin(), hits.end(), std::back_inserter(kept), searchtext::ArticleBefore);
    common = std::move(kept);
  }
  QStringList result;
  result.reserve(static_cast<qsizetype>(common.size()));
  for (QStringView article : common) result.append(article.toString());
  return result;
}

// Seconds to hundredths.
double SecondsOf(const QElapsedTimer& clock) { return std::round(clock.elapsed() / 10.0) / 100.0; }
}  // namespace

void SplitSearchText(const QString& text, const QList<QStringList>& synonymGroups, TSearchWordItemObjectList& items) {
  for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
    items.Add(MakeItem(searchtext::NormalizeWord(word), synonymGroups));
}

QString SearchtextSynonymPath() {
  const TSystemEinstellungen* settings = SystemEinstellungen();
  return settings ? settings->EtcDir + searchtext::SynonymFile() : QString();
}

// Keeps the progress window responsive: it gets the user's input at most
// every few hundredths of a second, so that a cancel is seen at once while
// the search costs next to nothing for it.
class TSearchtextManager::Progress {
 public:
  Progress(const TSearchProgressOpener& opener, bool& cancelled) : cancelled_(cancelled) {
    if (opener) window_ = opener([&cancelled] { cancelled = true; });
    clock_.start();
  }
  bool Cancelled() {
    if (window_ && (!asked_ || clock_.elapsed() >= kIntervalMs)) {
      asked_ = true;
      window_->ProcessEvents();
      clock_.restart();
    }
    return cancelled_;
  }

 private:
  static constexpr qint64 kIntervalMs = 40;
  bool& cancelled_;
  std::unique_ptr<IWaitWindow> window_;
  QElapsedTimer clock_;
  bool asked_ = false;
};

TSearchtextManager::TSearchtextManager(const QString& catalogueDir, const QString& synonymPath)
    : catalogueDir_(NormalizePath(catalogueDir, true)), progressOpener_(ShowWaitWindow) {
  LoadSynonyms(synonymPath);
}

void TSearchtextManager::LoadSynonyms(const QString& path) {
  QStringList lines;
  if (path.isEmpty() || !QFileInfo::exists(path) || !ReadTextLines(path, lines)) return;
  for (const QString& line : lines) {
    QStringList group;
    for (const QString& word : SplitCommaText(line)) group.append(searchtext::NormalizeWord(word));
    if (!group.isEmpty()) synonymGroups_.append(group);
  }
}

bool TSearchtextManager::EnsureWordList() {
  const QString path = catalogueDir_ + searchtext::WordListFile();
  if (wordList_.LineCount() == 0 && QFileInfo::exists(path)) wordList_.Load(path);
  return wordList_.LineCount() > 0;
}

TSearchtextBucket& TSearchtextManager::Bucket(int bucket) {
  TSearchtextBucket& b = buckets_[static_cast<size_t>(bucket)];
  if (!b.IsLoaded()) b.Load(catalogueDir_ + searchtext::BucketFile(bucket));
  return b;
}

bool TSearchtextManager::CollectHits(TSearchWordItem& item, Progress& progress) {
  std::vector<int> entries;
  const auto keep = [&](int entry) {
    entries.push_back(entry);
    return !progress.Cancelled();
  };
  wordList_.ForEachMatch(item.Word, item.WordBeginOnly, keep);
  for (const QString& alternative : item.Alternatives) wordList_.ForEachMatch(alternative, item.WordBeginOnly, keep);
  if (progress.Cancelled()) return false;
  std::sort(entries.begin(), entries.end());
  entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
  std::vector<const Articles*> lists;
  for (int entry : entries) {
    const Articles& articles = Bucket(wordList_.Bucket(entry)).Articles(wordList_.BucketLine(entry));
    if (!articles.empty()) lists.push_back(&articles);
    if (progress.Cancelled()) return false;
  }
  item.Hits = Union(lists);
  return !progress.Cancelled();
}

bool TSearchtextManager::Search(const QString& text, bool showProgress) {
  QElapsedTimer clock;
  clock.start();
  ResultList.clear();
  cancelled_ = false;
  if (!EnsureWordList()) {
    ShowNoIndexMessage();
    return false;
  }
  TSearchWordItemObjectList items;
  SplitSearchText(text, synonymGroups_, items);
  if (items.IsEmpty()) return false;
  bool complete = true;
  {
    Progress progress(showProgress ? progressOpener_ : TSearchProgressOpener(), cancelled_);
    for (TSearchWordItem& item : items)
      if (!(complete = CollectHits(item, progress))) break;
  }
  if (complete) ResultList = Intersect(items);
  Duration = SecondsOf(clock);
  return complete;
}
