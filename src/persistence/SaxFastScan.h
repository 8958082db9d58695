#pragma once
// A strict scanner for the plain XML this system writes itself: UTF-8, an
// optional leading declaration, elements with attributes, text, the five
// predefined entities and character references. It reads the whole document
// into events first and accepts it only when it is certainly well-formed;
// anything else (comments, DOCTYPE, CDATA, unusual names, any fault) is left
// to expat, which then reads and reports it as always. Expat spends most of
// a small record's time on set-up and name tables that these documents do
// not need.
//
// The events are the ones expat would deliver: the same names, attributes in
// order with whitespace in values turned into blanks, and text in the same
// pieces (a run of characters, one reference, one line end as "\n").
#include <QByteArrayView>
#include <QtGlobal>
#include <cstdint>
#include <string>
#include <vector>

class SaxFastScan {
 public:
  enum class Kind : std::uint8_t { Start, End, Text, Newline };
  struct Event {
    Kind kind;
    bool inDocument;       // Text: the bytes stand in the document as they are
    std::uint32_t count;   // Start: number of attributes
    std::uint32_t first;   // Start: offset of the name; Text: offset of the bytes
    std::uint32_t second;  // Start: index of the first attribute; Text: length
  };

  // True when the whole document is within the subset. encoding: as for
  // SaxReader::Parse; only UTF-8 (given or detected) is read here.
  bool Scan(const char* data, qint64 size, const char* encoding);

  const std::vector<Event>& Events() const { return events_; }
  const char* Name(const Event& start) const { return scratch_.data() + start.first; }
  // Name, value, name, value, ..., null (UTF-8, null-terminated), as expat
  // hands them over; valid until the next call.
  const char** Attributes(const Event& start);
  // The bytes of a Text or Newline event.
  QByteArrayView Text(const Event& text) const;

 private:
  struct Span {
    const char* begin;
    std::uint32_t size;
  };

  bool ScanDeclaration(bool encodingGiven);
  bool ScanPseudoAttribute(const char* name, QByteArrayView& value);
  bool ScanStartTag();
  bool ScanAttribute();
  bool ScanAttributeValue();
  bool ScanEndTag();
  bool ScanText();
  bool ScanReference();
  bool ScanName(Span& name);
  bool SkipSpace();
  bool Consume(char c);
  bool Consume(QByteArrayView bytes);
  bool SkipUtf8Character();

  void AddDocumentText(const char* begin, const char* end);
  std::uint32_t AddScratch(const char* begin, const char* end);
  void AddCodePoint(std::uint32_t c);
  std::uint32_t Offset() const { return std::uint32_t(scratch_.size()); }

  const char* document_ = nullptr;
  const char* p_ = nullptr;
  const char* end_ = nullptr;
  std::vector<Event> events_;
  std::string scratch_;                  // names and decoded texts, null-terminated where expat's are
  std::vector<std::uint32_t> attributes_;  // offsets in scratch_: name, value, name, value, ...
  std::vector<Span> tagAttributes_;      // the attribute names of the tag being read
  std::vector<Span> open_;               // the elements started and not yet ended
  std::vector<const char*> pointers_;
};
