#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>

#include "NumberText.h"
#include "TestSupport.h"
#include "TextFile.h"

TEST(NumberGeneralFormat, WritesLikeTheSuiteUnderBothLocales) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},           {7.5, "7,5"},       {-12, "-12"},       {0.1, "0,1"},
      {0.00001, "0,00001"}, {0.000001, "1E-6"}, {1.5e20, "1,5E20"}, {1e15, "1E15"},
      {123456789012345.0, "123456789012345"}, {1234567.891, "1234567,891"},
      {1.0 / 3.0, "0,333333333333333"},       {2.675, "2,675"}};
  for (auto [value, text] : cases) EXPECT_EQ(FormatGeneralNumber(value), QLatin1String(text)) << text;
  ScopedLocale english(DecimalPointLocale());
  EXPECT_EQ(FormatGeneralNumber(7.5), QStringLiteral("7.5"));
  EXPECT_EQ(FormatGeneralNumber(-2.5e-7), QStringLiteral("-2.5E-7"));
}

TEST(NumberLenientReading, DropsForeignCharactersAndFallsBackToDefault) {
  const std::pair<const char*, double> floats[] = {
      {" 7,5 ", 7.5}, {"1.234,5", 1234.5}, {"12 %", 12}, {"abc", -1}, {"", -1}, {"1,2,3", -1}, {"-", -1}};
  for (auto [text, value] : floats) EXPECT_DOUBLE_EQ(ReadFloatLenient(QLatin1String(text), -1), value) << text;
  EXPECT_EQ(ReadIntLenient(QStringLiteral("1.234"), 0), 1234);
  EXPECT_EQ(ReadIntLenient(QStringLiteral("12a3"), 0), 123);
  EXPECT_EQ(ReadIntLenient(QStringLiteral("99999999999"), 5), 5);
  EXPECT_EQ(ReadInt64Lenient(QStringLiteral("99999999999"), 5), 99999999999LL);
  EXPECT_TRUE(ReadBoolLenient(QStringLiteral("true"), false));
  EXPECT_FALSE(ReadBoolLenient(QStringLiteral("False"), true));
  EXPECT_FALSE(ReadBoolLenient(QStringLiteral("0"), true));
  EXPECT_TRUE(ReadBoolLenient(QStringLiteral("-1"), false));
  EXPECT_TRUE(ReadBoolLenient(QString(), true));
  EXPECT_FALSE(ReadBoolLenient(QStringLiteral("vielleicht"), false));
  ScopedLocale english(DecimalPointLocale());
  EXPECT_DOUBLE_EQ(ReadFloatLenient(QStringLiteral("7.5"), -1), 7.5);
  EXPECT_DOUBLE_EQ(ReadFloatLenient(QStringLiteral("7,5"), -1), 75);  // a comma is foreign here
}

// Every number the suite writes must read back to itself, exponent form included.
TEST(NumberLenientReading, ReadsBackEverythingTheWriterProduces) {
  for (const QLocale& locale : {GermanLocale(), DecimalPointLocale()}) {
    ScopedLocale scoped(locale);
    for (double v : {0.0, 7.5, -3.25, 1e-6, -2.5e-7, 1.5e20, 1e15, 123456789012345.0, 0.1, 1.0 / 3.0}) {
      const QString text = FormatGeneralNumber(v);
      bool ok = false;
      const double back = ReadFloatLenient(text, -99, &ok);
      EXPECT_TRUE(ok) << text.toStdString();
      EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << text.toStdString();
    }
  }
}

// The UTF-8 readers (XML attributes) take a fast way for plain numbers and
// must still give exactly what the text readers give.
TEST(NumberLenientReading, Utf8ReadersAgreeWithTextReaders) {
  const char* const texts[] = {"7,5",   "-7.5",   " 12 ",    "1,5E20",  "1E-6",  "-1",     "0",    "",
                               "abc",   "1.234,5", "12 %",   "1,2,3",   "-",     "E5",     "1e5",  "+3",
                               "7,5 \xE2\x82\xAC", "\xC2\xA0""8,25", "TRUE", "false", "99999999999",
                               "1--2",  "12a3",   "1E400",   "0,00000000000000000000000000000000000000001",
                               "46000,5123456789", "46000.5123456789", "-0", "-0,0", "2,675", "0,1", "1,",
                               "123456789012345", "1234567890123456", "0,3333333333333333", "9007199254740993"};
  for (const QLocale& locale : {GermanLocale(), DecimalPointLocale()}) {
    ScopedLocale scoped(locale);
    for (const char* utf8 : texts) {
      SCOPED_TRACE(utf8);
      const QString text = QString::fromUtf8(utf8);
      bool okText = false, okUtf8 = false;
      EXPECT_EQ(ReadFloatLenientUtf8(utf8, -99, &okUtf8), ReadFloatLenient(text, -99, &okText));
      EXPECT_EQ(okUtf8, okText);
      EXPECT_EQ(ReadIntLenientUtf8(utf8, -99, &okUtf8), ReadIntLenient(text, -99, &okText));
      EXPECT_EQ(okUtf8, okText);
      EXPECT_EQ(ReadInt64LenientUtf8(utf8, -99, &okUtf8), ReadInt64Lenient(text, -99, &okText));
      EXPECT_EQ(okUtf8, okText);
      EXPECT_EQ(ReadBoolLenientUtf8(utf8, true, &okUtf8), ReadBoolLenient(text, true, &okText));
      EXPECT_EQ(okUtf8, okText);
    }
  }
}

// Typed input: only a plain number in the locale's form; nothing is guessed.
TEST(NumberStrictReading, TakesOnlyAPlainNumberInTheLocalesForm) {
  struct Case {
    const char* text;
    bool taken;
    double value;
  };
  const Case german[] = {{"17,5", true, 17.5},   {" -7,25 ", true, -7.25}, {"1,5E-7", true, 1.5e-7},
                         {"12", true, 12},       {"3,", true, 3},          {"7.5", false, 0},
                         {"1.000", false, 0},    {"12 %", false, 0},       {"abc", false, 0},
                         {"1,2,3", false, 0},    {"", false, 0},           {"-", false, 0},
                         {"1E", false, 0},       {"E5", false, 0},         {"7,5a", false, 0},
                         {"--1", false, 0},      {"1E+5", false, 0}};
  for (const Case& c : german) {
    double value = 0;
    EXPECT_EQ(ReadNumberStrict(QLatin1String(c.text), value), c.taken) << c.text;
    if (c.taken) {
      EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
  }
  ScopedLocale point(DecimalPointLocale());
  double value = 0;
  EXPECT_TRUE(ReadNumberStrict(QStringLiteral("7.5"), value));
  EXPECT_DOUBLE_EQ(value, 7.5);
  EXPECT_FALSE(ReadNumberStrict(QStringLiteral("7,5"), value));
  EXPECT_FALSE(ReadNumberStrict(QStringLiteral("1,000"), value));
}

TEST(NumberRounding, HalfAwayFromZero) {
  EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(0.125, 2), 0.13);
  EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(-0.125, 2), -0.13);
  EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(2.5, 0), 3);
  EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(1.23449, 3), 1.234);
}

TEST(TextCodec, DecodesByByteOrderMarkElseWindows1252) {
  EXPECT_EQ(DecodeText(Utf16LeWithBom(QStringLiteral("Größe"))), QStringLiteral("Größe"));
  EXPECT_EQ(DecodeText(QByteArray("\xFE\xFF\x00\x41\x00\xDF", 6)), QStringLiteral("Aß"));
  EXPECT_EQ(DecodeText(QByteArray("\xEF\xBB\xBFStra\xC3\x9F" "e")), QStringLiteral("Straße"));
  EXPECT_EQ(DecodeText(QByteArray("\x80 M\xFC" "ller \x93x\x94")), QStringLiteral("€ Müller “x”"));
  // An odd byte count loses only the half character.
  EXPECT_EQ(DecodeText(Utf16LeWithBom(QStringLiteral("AB")) + QByteArray(1, 'C')), QStringLiteral("AB"));
  EXPECT_EQ(DecodeText(QByteArray()), QString());
  EXPECT_EQ(EncodeText(QStringLiteral("A€")), QByteArray("\xFF\xFE" "A\x00\xAC\x20", 6));
}

TEST(TextCodec, LinesSplitAtEveryLineEndAndJoinWithCrLf) {
  EXPECT_EQ(SplitLines(QStringLiteral("a\r\nb\nc\rd")),
            (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
  EXPECT_EQ(SplitLines(QStringLiteral("a\r\n\r\n")), (QStringList{QStringLiteral("a"), QString()}));
  EXPECT_EQ(JoinLines({QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("a\r\nb\r\n"));
}

TEST(TextFileWriting, ReplacesWholeFileAndFailsCleanly) {
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/list.txt");
  ASSERT_TRUE(WriteTextLines(file, {QStringLiteral("10=5"), QStringLiteral("20=7,5")}));
  EXPECT_EQ(ReadFileBytes(file), Utf16LeWithBom(QStringLiteral("10=5\r\n20=7,5\r\n")));
  ASSERT_TRUE(WriteTextLines(file, {QStringLiteral("x")}));
  QStringList lines;
  ASSERT_TRUE(ReadTextLines(file, lines));
  EXPECT_EQ(lines, QStringList{QStringLiteral("x")});
  const QString link = dir.path() + QStringLiteral("/link.txt");
  ASSERT_TRUE(QFile::link(file, link));
  ASSERT_TRUE(WriteTextFile(link, QStringLiteral("y")));
  EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the file behind the link is replaced";
  EXPECT_EQ(ReadFileBytes(file), Utf16LeWithBom(QStringLiteral("y")));
  EXPECT_FALSE(WriteTextFile(dir.path() + QStringLiteral("/missing/dir/f.txt"), QStringLiteral("x")));
  EXPECT_FALSE(ReadTextLines(dir.path() + QStringLiteral("/none.txt"), lines));
  EXPECT_TRUE(lines.isEmpty());
}
