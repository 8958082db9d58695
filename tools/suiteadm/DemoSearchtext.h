#pragma once
// The word index of a demo catalogue (STX.IDX and STX.0 … STX.36 in its
// directory) and the suite's synonym file, as the catalogue search reads them.
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

#include "SearchtextIndex.h"

// Writes an index word by word without holding it in memory: each word goes
// to the next line of its bucket, and STX.IDX names that line.
class TSearchtextIndexWriter {
 public:
  explicit TSearchtextIndexWriter(const QString& catalogueDir);
  ~TSearchtextIndexWriter();
  // word as the search reads it (see searchtext::NormalizeWord), without blanks.
  bool AddWord(const QString& word, const QStringList& articles, QString* error);
  bool Finish(QString* error);

 private:
  struct Output;
  bool Open(QString* error);
  bool Append(Output& out, const QString& line, QString* error);
  static bool Flush(Output& out, QString* error);

  QString dir_;
  bool opened_ = false;
  std::unique_ptr<Output> wordList_;
  std::array<std::unique_ptr<Output>, searchtext::kBucketCount> buckets_;
};

// The words under which an article text is indexed: split at every character
// that is neither letter nor digit, normalised, shorter than 3 left out.
QStringList IndexWordsOf(const QString& text);

// The index of the (article number, text) pairs.
bool WriteDemoSearchtext(const QString& catalogueDir, const QList<QPair<QString, QString>>& articleTexts,
                         QString* error);
// A few groups of trade words that stand for each other (ROHR,LEITUNG, …).
bool WriteDemoSynonyms(const QString& path, QString* error);
