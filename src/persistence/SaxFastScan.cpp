#include "SaxFastScan.h"

#include <array>
#include <cstring>

namespace {
// Larger documents go to expat, which also takes them in pieces.
constexpr qint64 kLargest = qint64(1) << 30;
constexpr size_t kKeptBuffer = size_t(1) << 20;

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

template <class Predicate>
constexpr std::array<bool, 256> TableOf(Predicate predicate) {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[size_t(c)] = predicate(c);
  return table;
}

constexpr bool IsAsciiLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(int c) { return c >= '0' && c <= '9'; }
// ASCII names only: other name characters are left to expat.
constexpr auto kNameStart = TableOf([](int c) { return IsAsciiLetter(c) || c == '_' || c == ':'; });
constexpr auto kNameChar =
    TableOf([](int c) { return IsAsciiLetter(c) || IsDigit(c) || c == '_' || c == ':' || c == '.' || c == '-'; });
// Characters that stand for themselves; everything else needs a closer look.
constexpr auto kPlainText =
    TableOf([](int c) { return c == '\t' || (c >= 0x20 && c < 0x80 && c != '<' && c != '&' && c != ']'); });
constexpr auto kPlainValue = TableOf(
    [](int c) { return c >= 0x20 && c < 0x80 && c != '<' && c != '&' && c != '"' && c != '\''; });

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsContinuation(char c) { return (Byte(c) & 0xC0) == 0x80; }

// The characters a reference may name (XML 1.0).
bool IsXmlChar(std::uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool EqualsIgnoringAsciiCase(QByteArrayView a, QByteArrayView b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 32);
    if (y >= 'a' && y <= 'z') y = char(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool IsEncodingName(QByteArrayView name) {
  if (name.isEmpty() || !IsAsciiLetter(Byte(name[0]))) return false;
  for (char c : name)
    if (!kNameChar[Byte(c)] || c == ':') return false;
  return true;
}
}  // namespace

bool SaxFastScan::Scan(const char* data, qint64 size, const char* encoding) {
  // A very large document does not keep its buffers for the small ones after it.
  if (scratch_.capacity() > kKeptBuffer) std::string().swap(scratch_);
  if (events_.capacity() * sizeof(Event) > kKeptBuffer) std::vector<Event>().swap(events_);
  events_.clear();
  scratch_.clear();
  attributes_.clear();
  open_.clear();
  if (size <= 0 || size >= kLargest) return false;
  if (encoding && !EqualsIgnoringAsciiCase(encoding, "UTF-8")) return false;
  document_ = p_ = data;
  end_ = data + size;
  Consume("\xEF\xBB\xBF");
  if (end_ - p_ >= 2 && p_[0] == '<' && p_[1] == '?' && !ScanDeclaration(encoding != nullptr)) return false;
  SkipSpace();
  if (!Consume('<') || !ScanStartTag()) return false;
  while (!open_.empty()) {
    if (p_ == end_) return false;
    if (*p_ != '<') {
      if (!ScanText()) return false;
    } else if (++p_ != end_ && *p_ == '/') {
      ++p_;
      if (!ScanEndTag()) return false;
    } else if (!ScanStartTag()) {
      return false;
    }
  }
  SkipSpace();
  return p_ == end_;
}

const char** SaxFastScan::Attributes(const Event& start) {
  pointers_.clear();
  for (std::uint32_t i = 0; i < 2 * start.count; ++i) pointers_.push_back(scratch_.data() + attributes_[start.second + i]);
  pointers_.push_back(nullptr);
  return pointers_.data();
}

QByteArrayView SaxFastScan::Text(const Event& text) const {
  if (text.kind == Kind::Newline) return QByteArrayView("\n", 1);
  return QByteArrayView((text.inDocument ? document_ : scratch_.data()) + text.first, text.second);
}

// <?xml version="1.0" [encoding="..."] [standalone="yes|no"] ?>
bool SaxFastScan::ScanDeclaration(bool encodingGiven) {
  QByteArrayView value;
  if (!Consume("<?xml") || !SkipSpace() || !ScanPseudoAttribute("version", value) || value != "1.0") return false;
  bool spaced = SkipSpace();
  if (spaced && QByteArrayView(p_, end_ - p_).startsWith("encoding")) {
    if (!ScanPseudoAttribute("encoding", value)) return false;
    // A given encoding overrides the declared one, which need only be a name.
    if (encodingGiven ? !IsEncodingName(value) : !EqualsIgnoringAsciiCase(value, "UTF-8")) return false;
    spaced = SkipSpace();
  }
  if (spaced && QByteArrayView(p_, end_ - p_).startsWith("standalone")) {
    if (!ScanPseudoAttribute("standalone", value) || (value != "yes" && value != "no")) return false;
    SkipSpace();
  }
  return Consume("?>");
}

bool SaxFastScan::ScanPseudoAttribute(const char* name, QByteArrayView& value) {
  if (!Consume(name)) return false;
  SkipSpace();
  if (!Consume('=')) return false;
  SkipSpace();
  if (p_ == end_ || (*p_ != '"' && *p_ != '\'')) return false;
  const char quote = *p_++;
  const char* begin = p_;
  while (p_ != end_ && kNameChar[Byte(*p_)] && *p_ != ':') ++p_;
  value = QByteArrayView(begin, p_ - begin);
  return Consume(quote);
}

// After "<": the name, the attributes and ">" or "/>".
bool SaxFastScan::ScanStartTag() {
  Span name;
  if (!ScanName(name)) return false;
  const size_t index = events_.size();
  events_.push_back(Event{Kind::Start, false, 0, AddScratch(name.begin, name.begin + name.size),
                          std::uint32_t(attributes_.size())});
  tagAttributes_.clear();
  for (;;) {
    const bool spaced = SkipSpace();
    if (p_ == end_) return false;
    if (*p_ == '>') {
      ++p_;
      open_.push_back(name);
      break;
    }
    if (*p_ == '/') {
      if (!Consume("/>")) return false;
      events_.push_back(Event{Kind::End, false, 0, 0, 0});
      break;
    }
    if (!spaced || !ScanAttribute()) return false;
  }
  events_[index].count = std::uint32_t(tagAttributes_.size());
  return true;
}

bool SaxFastScan::ScanAttribute() {
  Span name;
  if (!ScanName(name)) return false;
  for (const Span& other : tagAttributes_)
    if (other.size == name.size && std::memcmp(other.begin, name.begin, name.size) == 0) return false;
  tagAttributes_.push_back(name);
  attributes_.push_back(AddScratch(name.begin, name.begin + name.size));
  SkipSpace();
  if (!Consume('=')) return false;
  SkipSpace();
  return ScanAttributeValue();
}

// Expat turns tab, line feed, carriage return and CR LF into one blank each;
// references keep the character they name.
bool SaxFastScan::ScanAttributeValue() {
  if (p_ == end_ || (*p_ != '"' && *p_ != '\'')) return false;
  const char quote = *p_++;
  attributes_.push_back(Offset());
  const char* run = p_;
  for (;;) {
    while (p_ != end_ && kPlainValue[Byte(*p_)]) ++p_;
    if (p_ == end_) return false;
    const char c = *p_;
    if (c == quote) break;
    if (c == '"' || c == '\'') {
      ++p_;
    } else if (Byte(c) >= 0x80) {
      if (!SkipUtf8Character()) return false;
    } else {
      scratch_.append(run, p_);
      if (c == '&') {
        if (!ScanReference()) return false;
      } else if (IsSpace(c)) {
        ++p_;
        if (c == '\r' && p_ != end_ && *p_ == '\n') ++p_;
        scratch_ += ' ';
      } else {
        return false;  // "<" or a control character
      }
      run = p_;
    }
  }
  scratch_.append(run, p_);
  scratch_ += '\0';
  ++p_;
  return true;
}

// After "</": the name of the innermost open element, blanks, ">".
bool SaxFastScan::ScanEndTag() {
  Span name;
  if (!ScanName(name)) return false;
  const Span& open = open_.back();
  if (open.size != name.size || std::memcmp(open.begin, name.begin, name.size) != 0) return false;
  SkipSpace();
  if (!Consume('>')) return false;
  open_.pop_back();
  events_.push_back(Event{Kind::End, false, 0, 0, 0});
  return true;
}

// Character data up to the next "<", in expat's pieces.
bool SaxFastScan::ScanText() {
  const char* run = p_;
  for (;;) {
    while (p_ != end_ && kPlainText[Byte(*p_)]) ++p_;
    if (p_ == end_) return false;  // the document ends inside an element
    const char c = *p_;
    if (Byte(c) >= 0x80) {
      if (!SkipUtf8Character()) return false;
      continue;
    }
    if (c == ']') {
      if (end_ - p_ >= 3 && p_[1] == ']' && p_[2] == '>') return false;
      ++p_;
      continue;
    }
    AddDocumentText(run, p_);
    if (c == '<') return true;
    if (c == '&') {
      const std::uint32_t begin = Offset();
      if (!ScanReference()) return false;
      events_.push_back(Event{Kind::Text, false, 0, begin, Offset() - begin});
    } else if (c == '\r' || c == '\n') {
      ++p_;
      if (c == '\r' && p_ != end_ && *p_ == '\n') ++p_;
      events_.push_back(Event{Kind::Newline, false, 0, 0, 1});
    } else {
      return false;  // a control character
    }
    run = p_;
  }
}

// At "&": a predefined entity or a character reference, decoded into scratch_.
bool SaxFastScan::ScanReference() {
  ++p_;
  if (p_ == end_ || *p_ != '#') {
    static constexpr struct {
      QByteArrayView name;
      char c;
    } kEntities[] = {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
    for (const auto& entity : kEntities)
      if (Consume(entity.name)) {
        scratch_ += entity.c;
        return true;
      }
    return false;
  }
  ++p_;
  const bool hex = p_ != end_ && *p_ == 'x';
  if (hex) ++p_;
  std::uint32_t value = 0;
  const char* digits = p_;
  for (; p_ != end_ && *p_ != ';'; ++p_) {
    const int digit = hex ? HexValue(*p_) : (IsDigit(*p_) ? *p_ - '0' : -1);
    if (digit < 0) return false;
    value = value * (hex ? 16 : 10) + std::uint32_t(digit);
    if (value > 0x10FFFF) return false;
  }
  if (p_ == digits || !Consume(';') || !IsXmlChar(value)) return false;
  AddCodePoint(value);
  return true;
}

bool SaxFastScan::ScanName(Span& name) {
  if (p_ == end_ || !kNameStart[Byte(*p_)]) return false;
  const char* begin = p_++;
  while (p_ != end_ && kNameChar[Byte(*p_)]) ++p_;
  name = Span{begin, std::uint32_t(p_ - begin)};
  return true;
}

bool SaxFastScan::SkipSpace() {
  const char* begin = p_;
  while (p_ != end_ && IsSpace(*p_)) ++p_;
  return p_ != begin;
}

bool SaxFastScan::Consume(char c) {
  if (p_ == end_ || *p_ != c) return false;
  ++p_;
  return true;
}

bool SaxFastScan::Consume(QByteArrayView bytes) {
  if (end_ - p_ < bytes.size() || std::memcmp(p_, bytes.data(), size_t(bytes.size())) != 0) return false;
  p_ += bytes.size();
  return true;
}

// One well-formed UTF-8 sequence of an XML character (no surrogates, no
// overlong forms, not U+FFFE or U+FFFF).
bool SaxFastScan::SkipUtf8Character() {
  const unsigned char c = Byte(*p_);
  const qint64 left = end_ - p_;
  int length = 0;
  if (c >= 0xC2 && c <= 0xDF)
    length = 2;
  else if (c >= 0xE0 && c <= 0xEF)
    length = 3;
  else if (c >= 0xF0 && c <= 0xF4)
    length = 4;
  if (length == 0 || left < length) return false;
  for (int i = 1; i < length; ++i)
    if (!IsContinuation(p_[i])) return false;
  const unsigned char second = Byte(p_[1]);
  if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0) || (c == 0xF0 && second < 0x90) ||
      (c == 0xF4 && second >= 0x90) || (c == 0xEF && second == 0xBF && Byte(p_[2]) >= 0xBE))
    return false;
  p_ += length;
  return true;
}

void SaxFastScan::AddDocumentText(const char* begin, const char* end) {
  if (begin != end)
    events_.push_back(
        Event{Kind::Text, true, 0, std::uint32_t(begin - document_), std::uint32_t(end - begin)});
}

std::uint32_t SaxFastScan::AddScratch(const char* begin, const char* end) {
  const std::uint32_t offset = Offset();
  scratch_.append(begin, end);
  scratch_ += '\0';
  return offset;
}

void SaxFastScan::AddCodePoint(std::uint32_t c) {
  if (c < 0x80) {
    scratch_ += char(c);
  } else if (c < 0x800) {
    scratch_ += char(0xC0 | (c >> 6));
    scratch_ += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    scratch_ += char(0xE0 | (c >> 12));
    scratch_ += char(0x80 | ((c >> 6) & 0x3F));
    scratch_ += char(0x80 | (c & 0x3F));
  } else {
    scratch_ += char(0xF0 | (c >> 18));
    scratch_ += char(0x80 | ((c >> 12) & 0x3F));
    scratch_ += char(0x80 | ((c >> 6) & 0x3F));
    scratch_ += char(0x80 | (c & 0x3F));
  }
}
