#include "DemoSearchtext.h"

#include <QMap>
#include <algorithm>

#include "CommaText.h"
#include "DemoSupport.h"
#include "PathUtils.h"
#include "TextFile.h"

namespace {

constexpr qsizetype kFlushBytes = 1 << 20;
}  // namespace

struct TSearchtextIndexWriter::Output {
  QFile file;
  QByteArray pending;
  int lines = 0;
};

TSearchtextIndexWriter::TSearchtextIndexWriter(const QString& catalogueDir)
    : dir_(NormalizePath(catalogueDir, true)) {}

TSearchtextIndexWriter::~TSearchtextIndexWriter() = default;

bool TSearchtextIndexWriter::Open(QString* error) {
  opened_ = true;
  auto open = [&](std::unique_ptr<Output>& out, const QString& name) {
    out = std::make_unique<Output>();
    out->file.setFileName(dir_ + name);
    out->pending = EncodeText(QString());  // the byte-order mark
    return out->file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
           Fail(error, QStringLiteral("cannot write %1: %2").arg(out->file.fileName(), out->file.errorString()));
  };
  if (!open(wordList_, searchtext::WordListFile())) return false;
  for (int b = 0; b < searchtext::kBucketCount; ++b)
    if (!open(buckets_[static_cast<size_t>(b)], searchtext::BucketFile(b))) return false;
  return true;
}

bool TSearchtextIndexWriter::Flush(Output& out, QString* error) {
  if (out.file.write(out.pending) != out.pending.size())
    return Fail(error, QStringLiteral("cannot write %1: %2").arg(out.file.fileName(), out.file.errorString()));
  out.pending.clear();
  return true;
}

bool TSearchtextIndexWriter::Append(Output& out, const QString& line, QString* error) {
  out.pending += EncodeText(line + QLatin1String("\r\n")).sliced(2);
  ++out.lines;
  return out.pending.size() < kFlushBytes || Flush(out, error);
}

bool TSearchtextIndexWriter::AddWord(const QString& word, const QStringList& articles, QString* error) {
  if (!opened_ && !Open(error)) return false;
  Output& bucket = *buckets_[static_cast<size_t>(searchtext::BucketOf(word))];
  const int line = bucket.lines;
  return Append(bucket, JoinCommaText(articles), error) &&
         Append(*wordList_, word + u' ' + QString::number(line), error);
}

bool TSearchtextIndexWriter::Finish(QString* error) {
  if (!opened_ && !Open(error)) return false;
  bool ok = Flush(*wordList_, error);
  wordList_->file.close();
  for (auto& bucket : buckets_) {
    ok = ok && Flush(*bucket, error);
    bucket->file.close();
  }
  return ok;
}

QStringList IndexWordsOf(const QString& text) {
  QStringList words;
  QString word;
  const auto take = [&] {
    const QString normal = searchtext::NormalizeWord(word);
    if (normal.size() >= 3) words.append(normal);
    word.clear();
  };
  for (QChar c : text) {
    if (c.isLetterOrNumber())
      word += c;
    else
      take();
  }
  take();
  return words;
}

bool WriteDemoSearchtext(const QString& catalogueDir, const QList<QPair<QString, QString>>& articleTexts,
                         QString* error) {
  QMap<QString, QStringList> articlesOfWord;
  for (const auto& [article, text] : articleTexts)
    for (const QString& word : IndexWordsOf(text)) articlesOfWord[word].append(article);
  TSearchtextIndexWriter writer(catalogueDir);
  for (auto it = articlesOfWord.begin(); it != articlesOfWord.end(); ++it) {
    QStringList& articles = it.value();
    std::sort(articles.begin(), articles.end());
    articles.erase(std::unique(articles.begin(), articles.end()), articles.end());
    if (!writer.AddWord(it.key(), articles, error)) return false;
  }
  return writer.Finish(error);
}

bool WriteDemoSynonyms(const QString& path, QString* error) {
  const QStringList groups = {
      QStringLiteral("ROHR,LEITUNG"),          QStringLiteral("WC,TOILETTE,KLOSETT"),
      QStringLiteral("HEIZKOERPER,RADIATOR"),  QStringLiteral("ABSPERRHAHN,ABSPERRVENTIL"),
      QStringLiteral("DICHTUNG,DICHTRING"),    QStringLiteral("MUFFE,KUPPLUNG"),
      QStringLiteral("WASCHTISCH,WASCHBECKEN"), QStringLiteral("STECKDOSE,SCHUKODOSE")};
  QString why;
  if (!WriteTextLines(path, groups, &why)) return Fail(error, QStringLiteral("cannot write %1: %2").arg(path, why));
  return true;
}
