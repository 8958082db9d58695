#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "DBAdressSearch.h"

using AddressSearch::Needle;

// The block-wise search must agree with a plain search at every position,
// including the ends of the text and the edges of the eight-character blocks.
TEST(AddressSearchNeedle, AgreesWithAPlainSearchEverywhere) {
  QRandomGenerator random(17);
  for (int round = 0; round < 3000; ++round) {
    std::u16string hay(random.bounded(0, 40), u'A');
    for (char16_t& c : hay) c = char16_t(u'A' + random.bounded(3));
    std::u16string word(random.bounded(1, 6), u'A');
    for (char16_t& c : word) c = char16_t(u'A' + random.bounded(3));
    const bool expected = hay.find(word) != std::u16string::npos;
    ASSERT_EQ(Needle(word).FoundIn(hay), expected) << round;
  }
  for (std::size_t at = 0; at + 3 <= 27; ++at) {
    std::u16string hay(27, u'.');
    hay.replace(at, 3, u"XYZ");
    EXPECT_TRUE(Needle(u"XYZ").FoundIn(hay)) << at;
    EXPECT_FALSE(Needle(u"XYZZ").FoundIn(hay)) << at;
  }
}

TEST(AddressSearchFold, RaisesAsciiBlocksAndSpellsOutTheRest) {
  // Mixed so that ASCII blocks and single characters alternate at every offset.
  const QString text = QStringLiteral("abcdefghijklmnopqrstuvwxyz{}`@ äöüß ÄÖÜ straße <&> 0123456789 ǆ");
  EXPECT_EQ(AddressSearch::Folded(text, AddressSearch::Form::Plain),
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ{}`@ AEOEUESS AEOEUE STRASSE <&> 0123456789 Ǆ"));
  for (int cut = 0; cut < text.size(); ++cut)
    EXPECT_EQ(AddressSearch::Folded(QStringView(text).mid(cut), AddressSearch::Form::Plain),
              AddressSearch::Folded(text, AddressSearch::Form::Plain).right(
                  AddressSearch::Folded(QStringView(text).mid(cut), AddressSearch::Form::Plain).size()))
        << cut;
}
