#include "DBAdressSearch.h"

#include <QChar>
#include <QList>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace AddressSearch {
namespace {
// What each Latin-1 character becomes: one character (single) or, where
// single holds 0, the spelled-out text.
struct FoldTable {
  std::array<char16_t, 256> single{};
  std::array<std::u16string, 256> text;
  explicit FoldTable(Form form) {
    for (char16_t c = 0; c < 256; ++c) text[c] = std::u16string(1, char16_t(QChar::toUpper(char32_t(c))));
    text[u'\u00E4'] = text[u'\u00C4'] = u"AE";
    text[u'\u00F6'] = text[u'\u00D6'] = u"OE";
    text[u'\u00FC'] = text[u'\u00DC'] = u"UE";
    text[u'\u00DF'] = u"SS";
    if (form == Form::Escaped) {
      text[u'&'] = u"&amp;", text[u'"'] = u"&quot;", text[u'\''] = u"&apos;";
      text[u'<'] = u"&lt;", text[u'>'] = u"&gt;", text[u'\r'] = u"&#13;", text[u'\n'] = u"&#10;";
      text[2] = u"&#2;", text[3] = u"&#3;";
    }
    for (std::size_t c = 0; c < 256; ++c) single[c] = text[c].size() == 1 ? text[c][0] : 0;
  }
};

const FoldTable& TableFor(Form form) {
  static const FoldTable plain(Form::Plain), escaped(Form::Escaped);
  return form == Form::Plain ? plain : escaped;
}

// Four characters at once in a 64-bit word: when all are ASCII, a-z are
// raised to A-Z and true is returned. Lanes stay below 0x100, so no carry
// crosses into the next character.
bool RaiseAsciiBlock(const char16_t* in, char16_t* out) {
  constexpr std::uint64_t kLanes = 0x0001000100010001ull;
  std::uint64_t x;
  std::memcpy(&x, in, sizeof x);
  if (x & (0xFF80 * kLanes)) return false;
  const std::uint64_t fromA = x + (0x80 - u'a') * kLanes;      // lane bit 7 set from 'a' on
  const std::uint64_t pastZ = x + (0x80 - u'z' - 1) * kLanes;  // lane bit 7 set past 'z'
  const std::uint64_t lower = (fromA & ~pastZ) & (0x80 * kLanes);
  x ^= lower >> 2;  // 0x20 per lower-case letter
  std::memcpy(out, &x, sizeof x);
  return true;
}
}  // namespace

// The longest text one character becomes ("&quot;").
constexpr std::size_t kMaxExpansion = 6;

char16_t* FoldBuffer::Room(std::size_t count) {
  if (data_.size() < size_ + count) data_.resize(std::max(2 * data_.size(), size_ + count));
  return data_.data() + size_;
}

void FoldBuffer::Append(char16_t c) { *Room(1) = c, ++size_; }

void FoldBuffer::AppendFolded(QStringView text, Form form) {
  const FoldTable& table = TableFor(form);
  const char16_t* p = text.utf16();
  const char16_t* const end = p + text.size();
  char16_t* const start = Room(std::size_t(text.size()) * kMaxExpansion);
  char16_t* out = start;
  while (p != end) {
    // Blocks of plain ASCII only need a-z raised; the XML is mostly that.
    if (form == Form::Plain && end - p >= 4 && RaiseAsciiBlock(p, out)) {
      p += 4, out += 4;
      continue;
    }
    const char16_t c = *p++;
    if (c >= 256) {
      *out++ = char16_t(QChar::toUpper(char32_t(c)));
    } else if (const char16_t single = table.single[c]; single != 0 || c == 0) {
      *out++ = single;
    } else {
      const std::u16string& spelled = table.text[c];
      out = std::copy(spelled.begin(), spelled.end(), out);
    }
  }
  size_ += std::size_t(out - start);
}

QString Folded(QStringView text, Form form) {
  FoldBuffer out;
  out.AppendFolded(text, form);
  const std::u16string_view view = out.View();
  return QString::fromUtf16(view.data(), qsizetype(view.size()));
}

// ---- Needle ----

Needle::Needle(std::u16string text) : text_(std::move(text)) {}

#if defined(__SSE2__)
// Eight positions at a time: candidates are where the first and the last
// character of the word both fit; only those are compared in full.
bool Needle::FoundIn(std::u16string_view haystack) const {
  const std::size_t m = text_.size();
  const std::size_t n = haystack.size();
  if (m <= 1 || m > n) return haystack.find(text_) != std::u16string_view::npos;
  const char16_t* h = haystack.data();
  const char16_t* t = text_.data();
  const __m128i first = _mm_set1_epi16(short(t[0]));
  const __m128i last = _mm_set1_epi16(short(t[m - 1]));
  std::size_t pos = 0;
  for (; pos + m - 1 + 8 <= n; pos += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + pos));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + pos + m - 1));
    unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, first), _mm_cmpeq_epi16(b, last))));
    while (mask != 0) {
      const int bit = __builtin_ctz(mask);
      if (std::char_traits<char16_t>::compare(h + pos + bit / 2 + 1, t + 1, m - 2) == 0) return true;
      mask &= ~(3u << bit);  // two mask bits per character
    }
  }
  return haystack.substr(pos).find(text_) != std::u16string_view::npos;
}
#else
bool Needle::FoundIn(std::u16string_view haystack) const {
  return haystack.find(text_) != std::u16string_view::npos;
}
#endif

// ---- Matcher ----

Matcher::Matcher(QStringView searchText) {
  const QString words = Folded(searchText, Form::Escaped);
  for (QStringView word : QStringView(words).split(u' ', Qt::SkipEmptyParts)) {
    std::u16string text(word.utf16(), size_t(word.size()));
    // A leading "." asks for a word of its own: blanks around it.
    if (text.front() == u'.') text = u' ' + text.substr(1) + u' ';
    needles_.emplace_back(std::move(text));
  }
  foundInRow_.resize(needles_.size());
}

bool Matcher::Matches(QStringView id, QStringView displayText, QStringView wvText, QStringView charact,
                      QStringView xml) {
  if (needles_.empty()) return false;
  // Both texts carry a blank before and after, so whole words match at the edges too.
  row_.Clear();
  row_.Append(u' ');
  for (QStringView part : {id, displayText, wvText, charact}) {
    row_.AppendFolded(part, Form::Escaped);
    row_.Append(u' ');
  }
  bool all = true;
  for (std::size_t i = 0; i < needles_.size(); ++i) {
    foundInRow_[i] = needles_[i].FoundIn(row_.View());
    all = all && foundInRow_[i];
  }
  if (all) return true;
  // The XML is folded only when the columns do not already decide.
  record_.Clear();
  record_.Append(u' ');
  record_.AppendFolded(xml, Form::Plain);
  record_.Append(u' ');
  for (std::size_t i = 0; i < needles_.size(); ++i)
    if (!foundInRow_[i] && !needles_[i].FoundIn(record_.View())) return false;
  return true;
}
}  // namespace AddressSearch
