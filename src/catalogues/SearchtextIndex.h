#pragma once
// The files of a catalogue's word index as the search reads them: the word
// list "STX.IDX" (one "WORD line" per indexed word) and the 37 bucket files
// "STX.0" … "STX.36", whose line n lists, as comma text, the article numbers
// of the word that points to n. Line numbers count from 0.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <deque>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace searchtext {
constexpr int kBucketCount = 37;
// By the first character: "A".."Z" 1..26, "0".."9" 27..36, anything else 0.
int BucketOf(QStringView word);
QString WordListFile();          // "STX.IDX"
QString BucketFile(int bucket);  // "STX.<bucket>"
QString SynonymFile();           // "STXSYNONYM.TXT"
// The order of article numbers in hit lists: by UTF-16 code units.
inline bool ArticleBefore(QStringView a, QStringView b) {
  return std::u16string_view(a.utf16(), size_t(a.size())) < std::u16string_view(b.utf16(), size_t(b.size()));
}
// Upper case, with Ä, Ö, Ü as AE, OE, UE and ß as SS: the form of indexed and searched words.
QString NormalizeWord(const QString& word);
}  // namespace searchtext

// The valid lines of the word list. Their words sit in one buffer, each after
// a line feed, so that one substring scan over the buffer finds every word
// that holds a search word: the same words a test of each line would find.
class TSearchtextWordList {
 public:
  // Replaces the list with the file's; false when the file cannot be read.
  bool Load(const QString& path);
  // Lines read, the skipped ones included.
  int LineCount() const { return lineCount_; }
  // Calls found(entry) once per entry whose word contains term (at its
  // beginning when wordBeginOnly), in list order; stops when found returns false.
  void ForEachMatch(QStringView term, bool wordBeginOnly, const std::function<bool(int)>& found) const;
  int Bucket(int entry) const { return buckets_[static_cast<size_t>(entry)]; }
  int BucketLine(int entry) const { return bucketLines_[static_cast<size_t>(entry)]; }

 private:
  void AddLine(QStringView line);

  int lineCount_ = 0;
  QString words_;
  std::vector<qsizetype> starts_;  // of each entry's word in words_
  std::vector<int> bucketLines_;
  std::vector<quint8> buckets_;
};

// One bucket file, read once; each line's article numbers are parsed when
// first asked for and kept.
class TSearchtextBucket {
 public:
  bool IsLoaded() const { return loaded_; }
  // A missing or unreadable file gives an empty bucket.
  void Load(const QString& path);
  // The article numbers of the line, sorted and unique; empty beyond the last line.
  const std::vector<QStringView>& Articles(int line);

 private:
  QStringView Line(int line) const;
  std::vector<QStringView> Parse(QStringView line);

  bool loaded_ = false;
  QString text_;
  std::vector<qsizetype> lineStarts_;  // and the text's end after the last line
  std::unordered_map<int, std::vector<QStringView>> parsed_;
  std::deque<QStringList> unquoted_;  // items of quoted lines, which the views point into
};
