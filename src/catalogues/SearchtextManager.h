#pragma once
// The full-text search of a catalogue: the article numbers whose indexed
// words hold every word of a search text, read from the catalogue's word
// index (SearchtextIndex.h) with the suite's synonym groups.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "Msgdlg.h"
#include "OwningObjectList.h"
#include "SearchtextIndex.h"

// One word of a search text.
class TSearchWordItem {
 public:
  QString Word;               // upper case, umlauts and sharp s written out
  QStringList Alternatives;   // the other words of its synonym group, then its "=" parts
  bool WordBeginOnly = false; // matches only at the beginning of an indexed word
  std::vector<QStringView> Hits;  // article numbers, sorted and unique once collected
};

class TSearchWordItemObjectList : public TOwningObjectList<TSearchWordItem> {};

// The words of a search text: split at blanks, normalised, each with the
// synonym group that holds it. "ROHR=LEITUNG" searches ROHR or LEITUNG; a
// leading "." (".ROHR") restricts the word to the beginnings of indexed words.
void SplitSearchText(const QString& text, const QList<QStringList>& synonymGroups, TSearchWordItemObjectList& items);

// The synonym file of the suite: STXSYNONYM.TXT in the suite's settings
// directory (EtcDir); empty before the system settings exist.
QString SearchtextSynonymPath();

// Opens the window shown while a search runs; its cancel button calls cancel.
// May give none (no window to show).
using TSearchProgressOpener = std::function<std::unique_ptr<IWaitWindow>(std::function<void()> cancel)>;

class TSearchtextManager {
 public:
  // catalogueDir with or without trailing separator; a synonym file that
  // does not exist gives no groups.
  TSearchtextManager(const QString& catalogueDir, const QString& synonymPath);

  // Fills ResultList with the article numbers that match every word of text
  // which has hits, if the first word has any. False when there is no index
  // (after its message), no word, or the user cancelled.
  bool Search(const QString& text, bool showProgress);
  void Cancel() { cancelled_ = true; }

  // The window side may put in its own progress window; by default the
  // suite's wait window is shown.
  void SetProgressOpener(TSearchProgressOpener opener) { progressOpener_ = std::move(opener); }

  QStringList ResultList;
  double Duration = 0;  // of the last search, in seconds, to hundredths

 private:
  class Progress;
  bool EnsureWordList();
  bool CollectHits(TSearchWordItem& item, Progress& progress);
  TSearchtextBucket& Bucket(int bucket);
  void LoadSynonyms(const QString& path);

  QString catalogueDir_;
  QList<QStringList> synonymGroups_;
  TSearchtextWordList wordList_;
  std::array<TSearchtextBucket, searchtext::kBucketCount> buckets_;
  bool cancelled_ = false;
  TSearchProgressOpener progressOpener_;
};
