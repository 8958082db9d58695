#pragma once
// The free-text search of the address book, kept apart from the table so
// that its inner loop stays small: texts are folded into reusable buffers
// (upper case, umlauts and ß spelled out, optionally XML-escaped) and each
// search word is looked for eight positions at a time.
#include <QString>
#include <QStringView>
#include <string>
#include <string_view>
#include <vector>

namespace AddressSearch {

enum class Form { Plain, Escaped };

// Folded text, written into memory kept from row to row.
class FoldBuffer {
 public:
  void Clear() { size_ = 0; }
  void Append(char16_t c);
  void AppendFolded(QStringView text, Form form);
  std::u16string_view View() const { return {data_.data(), size_}; }

 private:
  char16_t* Room(std::size_t count);  // where count more characters may go

  std::vector<char16_t> data_;
  std::size_t size_ = 0;
};

QString Folded(QStringView text, Form form);

// One search word, prepared for repeated searches.
class Needle {
 public:
  explicit Needle(std::u16string text);
  bool FoundIn(std::u16string_view haystack) const;

 private:
  std::u16string text_;
};

class Matcher {
 public:
  explicit Matcher(QStringView searchText);
  bool IsEmpty() const { return needles_.empty(); }
  // Every word must occur in the row text (id, display text, resubmission
  // text and marks, escaped) or in the record text (the XML, plain).
  bool Matches(QStringView id, QStringView displayText, QStringView wvText, QStringView charact, QStringView xml);

 private:
  std::vector<Needle> needles_;
  std::vector<char> foundInRow_;
  FoldBuffer row_, record_;
};

}  // namespace AddressSearch
