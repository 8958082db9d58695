#pragma once
// A thin SAX binding over expat: one reader (one expat parser) that parses
// whole byte buffers and hands elements, character data and errors to
// handler interfaces. Names are qualified names as written; there is no
// namespace processing (the namespace URI is always empty, the local name is
// the part after the prefix).
#include <QAnyStringView>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <memory>

// The attributes of one start tag, valid during the StartElement call only.
class SaxAttributes {
 public:
  // Expat's list of UTF-8 texts: name, value, name, value, ..., null.
  explicit SaxAttributes(const char** pairs) : pairs_(pairs) {}

  int Count() const;
  QString QualifiedName(int index) const;
  QString Value(int index) const;
  // The value of the attribute with exactly this qualified name; false
  // (and value untouched) when the tag has no such attribute.
  bool Find(QAnyStringView qualifiedName, QString& value) const;
  bool Contains(QAnyStringView qualifiedName) const;
  // The value as expat gives it (UTF-8, null-terminated); null when missing.
  const char* Utf8Value(QAnyStringView qualifiedName) const;

 private:
  const char** pairs_;
};

class SaxContentHandler {
 public:
  virtual ~SaxContentHandler() = default;
  virtual void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                            const SaxAttributes& attributes) = 0;
  // Character data, possibly in several pieces per element.
  virtual void Characters(QStringView text) = 0;
  virtual void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) = 0;
};

struct SaxParseError {
  QString message;
  qint64 line = 0;
  qint64 column = 0;  // 1-based
};

class SaxErrorHandler {
 public:
  virtual ~SaxErrorHandler() = default;
  virtual void Warning(const SaxParseError& error) = 0;
  virtual void Error(const SaxParseError& error) = 0;
  virtual void FatalError(const SaxParseError& error) = 0;
};

class SaxReader {
 public:
  SaxReader();
  ~SaxReader();
  SaxReader(const SaxReader&) = delete;
  SaxReader& operator=(const SaxReader&) = delete;

  void SetContentHandler(SaxContentHandler* handler) { content_ = handler; }
  void SetErrorHandler(SaxErrorHandler* handler) { errors_ = handler; }

  // Parses one whole document. encoding null: detected from the byte-order
  // mark and the XML declaration (UTF-8, UTF-16 in either order); otherwise
  // the given encoding ("UTF-16LE") overrides the declaration.
  // An exception thrown by a handler stops the parse and leaves here.
  void Parse(const char* data, qint64 size, const char* encoding = nullptr);
  bool IsParsing() const { return parsing_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  SaxContentHandler* content_ = nullptr;
  SaxErrorHandler* errors_ = nullptr;
  bool parsing_ = false;
};
