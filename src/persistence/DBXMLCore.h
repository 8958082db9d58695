#pragma once
// XML-backed records and settings: the common base TDBXMLCoreObject. It owns
// the SAX reader, the output buffer and the error state; a subclass says how
// to clear itself, how to write its XML and how to react to the SAX events.
//
// Subclass convention:
//  - StartElement stores qName in CurrentElement, takes scalar values from
//    attributes (ReadIntegerAttr & co.: a missing attribute leaves the field
//    unchanged) and, for an element carrying text, empties TextBuffer;
//  - Characters appends to TextBuffer (TextBuffer.WriteText) only while
//    CurrentElement is one of those text elements (text may come in pieces);
//  - EndElement clears CurrentElement and, for a text element, takes the
//    buffer (BufferText, BufferInteger, ...).
//  Names compare exactly; unknown elements are ignored. WriteXML writes the
//  root start and end tags on lines of their own and one child element per
//  line indented by two blanks, every text passed through XMLEscape.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QVariantList>
#include <memory>

#include "CurrencyValue.h"
#include "SaxReader.h"
#include "SuiteException.h"

class QIODevice;

// Raised by a handler to stop a load early; every load passes it on.
class EXMLCancelException : public Exception {
 public:
  explicit EXMLCancelException(QString message = QStringLiteral("XML load cancelled"))
      : Exception(std::move(message)) {}
  QString ClassName() const override { return QStringLiteral("EXMLCancelException"); }
};

class EWideStringStreamError : public Exception {
 public:
  using Exception::Exception;
  QString ClassName() const override { return QStringLiteral("EWideStringStreamError"); }
};

// A memory stream of UTF-16LE code units: its size is always even.
class TDBXMLWideStringStream {
 public:
  explicit TDBXMLWideStringStream(qint64 capacity = 0);
  explicit TDBXMLWideStringStream(QStringView text);  // position at the start

  qint64 Size() const { return size_; }
  void SetSize(qint64 size);
  qint64 Capacity() const { return capacity_; }
  void SetCapacity(qint64 capacity);
  qint64 Position() const { return position_; }
  void Seek(qint64 position);

  // Writes at the position; past the end the size grows to the end of the
  // write rounded up to even.
  qint64 Write(const void* data, qint64 count);
  void WriteText(QStringView text);
  qint64 Read(void* data, qint64 count);

  QString Text() const;  // Size() / 2 characters
  void Clear();          // empty, position 0; the capacity stays for reuse

  // The capacity a stream grows to for the given size.
  static qint64 GrownCapacity(qint64 requestedSize);

 private:
  void GrowFor(qint64 size);
  void ZeroFill(qint64 from, qint64 to);

  QByteArray memory_;  // capacity_ bytes
  qint64 size_ = 0;
  qint64 capacity_ = 0;
  qint64 position_ = 0;
};

// The XML text escaping of attribute values and element content: & LF CR
// " ' < > and tab become entities; characters XML 1.0 cannot carry (other
// control characters, U+FFFE, U+FFFF, lone surrogates) are left out; every
// other character stays. Every XML writer goes through it.
QString XMLEscape(QStringView text);

class TDBXMLCoreObject {
 public:
  TDBXMLCoreObject();
  virtual ~TDBXMLCoreObject();
  TDBXMLCoreObject(const TDBXMLCoreObject&) = delete;
  TDBXMLCoreObject& operator=(const TDBXMLCoreObject&) = delete;

  // Resets the data to its defaults; called before every load.
  virtual void Clear() = 0;

  // Loads never throw, except EXMLCancelException: a parser error is shown
  // and kept in ErrorText/HasError, any other failure is shown as
  // "XML-Analysefehler."; the object keeps what was read before it.
  // A missing file keeps the defaults silently.
  virtual void LoadFromFile(const QString& fileName);
  // Replaces the file as a whole; false when it could not be written (the
  // old file is kept; error gets the reason).
  virtual bool SaveToFile(const QString& fileName, QString* error = nullptr);
  // The whole stream from its start; false when empty or on a failure.
  virtual bool LoadFromStream(QIODevice& stream);
  // Writes the document at the stream's position.
  virtual bool SaveToStream(QIODevice& stream);

  // The document as text, beginning with the byte-order mark U+FEFF.
  QString GetXMLText(bool flag);
  // False when the text is empty or the load failed (parser errors only set HasError).
  bool LoadFromText(const QString& text);
  // Parses byteCount bytes from the stream's current position.
  bool LoadFromStreamPart(QIODevice& stream, qint64 byteCount);

  QString ClassName() const;
  // Every load through expat, also of the plain documents the reader's own
  // scanner takes: for comparing the two.
  void SetExpatOnly(bool on) { reader_.SetExpatOnly(on); }

  QString FileName;  // only during a file load
  QString ErrorText;
  bool HasError = false;

 protected:
  virtual void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                            const SaxAttributes& attributes) = 0;
  virtual void Characters(QStringView text) = 0;
  virtual void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) = 0;
  // Writes the element tree; the flag comes from the caller (saves pass true).
  virtual void WriteXML(bool flag) = 0;

  // Output for WriteXML.
  void Write(QStringView text);
  void WriteLine(QStringView text);  // followed by CR LF
  void WriteFormat(const QString& format, const QVariantList& args);  // %s %d
  void WriteFormatLine(const QString& format, const QVariantList& args);

  // Attribute readers: false, field unchanged, when the attribute is
  // missing; a value that does not convert gives the default.
  static bool ReadIntegerAttr(const SaxAttributes& attributes, QAnyStringView qName, int& field, int defaultValue);
  static bool ReadInt64Attr(const SaxAttributes& attributes, QAnyStringView qName, qint64& field,
                            qint64 defaultValue);
  static bool ReadFloatAttr(const SaxAttributes& attributes, QAnyStringView qName, double& field,
                            double defaultValue);
  static bool ReadCurrencyAttr(const SaxAttributes& attributes, QAnyStringView qName, Currency& field,
                               Currency defaultValue);
  static bool ReadBooleanAttr(const SaxAttributes& attributes, QAnyStringView qName, bool& field,
                              bool defaultValue);
  static bool ReadTextAttr(const SaxAttributes& attributes, QAnyStringView qName, QString& field);

  // The text buffer's content, converted.
  QString BufferText() const { return TextBuffer.Text(); }
  int BufferInteger(int defaultValue) const;
  qint64 BufferInt64(qint64 defaultValue) const;
  double BufferFloat(double defaultValue) const;
  Currency BufferCurrency(Currency defaultValue) const;
  bool BufferBoolean(bool defaultValue) const;

  // Lenient currency reading: as a float, to ten-thousandths.
  static Currency CurrencyFromText(const QString& text, Currency defaultValue);
  static QString CurrencyText(Currency value);  // general number format
  static QString BooleanText(bool value);       // "True" / "False"

  QString CurrentElement;
  TDBXMLWideStringStream TextBuffer{10000};

 private:
  class Handlers;

  void BeginLoad();
  void BuildDocument(bool flag);
  void Parse(const char* data, qint64 size, const char* encoding);
  template <class Load>
  bool Guarded(bool withFileName, Load&& load);
  void ReportLoadFailure(bool withFileName, const std::exception* exception);
  void ReportParseProblem(int level, const SaxParseError& error);

  std::unique_ptr<Handlers> handlers_;
  SaxReader reader_;
  QByteArray output_;  // the document written, or the bytes being parsed
};
