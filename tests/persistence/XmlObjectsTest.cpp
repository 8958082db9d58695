#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <stdexcept>

#include "DBXMLCore.h"
#include "TestSupport.h"

namespace {
struct Posten {
  QString id;
  QString text;
  bool operator==(const Posten&) const = default;
};

// A record in the shape of the suite's settings: scalar attributes, a text
// element and a list.
class TTestXmlObject : public TDBXMLCoreObject {
 public:
  int Anzahl = 0;
  bool Aktiv = false;
  Currency Preis = 0;
  QString Bemerkung;
  QList<Posten> PostenListe;
  int characterEvents = 0;
  std::function<void(const QString&)> onStart;  // lets a test fail a handler

  TTestXmlObject() { Clear(); }

  void Clear() override {
    Anzahl = 7;
    Aktiv = true;
    Preis = 0;
    Bemerkung = QStringLiteral("standard");
    PostenListe.clear();
    characterEvents = 0;
  }

 protected:
  void StartElement(const QString&, const QString&, const QString& qName, const SaxAttributes& attributes) override {
    if (onStart) onStart(qName);
    CurrentElement = qName;
    if (qName == u"anzahl") {
      ReadIntegerAttr(attributes, "val", Anzahl, 7);
    } else if (qName == u"aktiv") {
      ReadBooleanAttr(attributes, "val", Aktiv, true);
    } else if (qName == u"preis") {
      ReadCurrencyAttr(attributes, "val", Preis, 0);
    } else if (qName == u"bemerkung") {
      TextBuffer.Clear();
    } else if (qName == u"posten") {
      PostenListe.append(Posten{});
      ReadTextAttr(attributes, "id", PostenListe.last().id);
      TextBuffer.Clear();
    }
  }

  void Characters(QStringView text) override {
    if (CurrentElement != u"bemerkung" && CurrentElement != u"posten") return;
    ++characterEvents;
    TextBuffer.WriteText(text);
  }

  void EndElement(const QString&, const QString&, const QString& qName) override {
    if (qName == u"bemerkung") Bemerkung = BufferText();
    if (qName == u"posten") PostenListe.last().text = BufferText();
    CurrentElement.clear();
  }

  void WriteXML(bool) override {
    WriteLine(u"<testobj>");
    WriteFormatLine(QStringLiteral("  <anzahl val=\"%d\" />"), {Anzahl});
    WriteFormatLine(QStringLiteral("  <aktiv val=\"%s\" />"), {BooleanText(Aktiv)});
    WriteFormatLine(QStringLiteral("  <preis val=\"%s\" />"), {CurrencyText(Preis)});
    WriteFormatLine(QStringLiteral("  <bemerkung>%s</bemerkung>"), {XMLEscape(Bemerkung)});
    for (const Posten& p : PostenListe)
      WriteFormatLine(QStringLiteral("  <posten id=\"%s\">%s</posten>"), {XMLEscape(p.id), XMLEscape(p.text)});
    WriteLine(u"</testobj>");
  }
};

QString Document(const QString& body) {
  return QStringLiteral("\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<testobj>") + body +
         QStringLiteral("</testobj>\r\n");
}

class XmlObjectFileTest : public testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("CONFIG.XML"));
  TTestXmlObject object;

  void WriteDocument(const QString& body) { WriteFileBytes(path, Utf16LeWithBom(Document(body).mid(1))); }
};
}  // namespace

TEST_F(XmlObjectFileTest, MissingFileOrUnknownRootKeepsDefaultsSilently) {
  WriteFileBytes(path, Utf16LeWithBom(QStringLiteral("<fremd><x val=\"1\">text</x></fremd>")));
  for (const QString& file : {dir.filePath(QStringLiteral("NONE.XML")), path}) {
    object.Anzahl = 99;
    object.LoadFromFile(file);
    EXPECT_EQ(object.Anzahl, 7);
    EXPECT_EQ(object.Bemerkung, u"standard");
    EXPECT_FALSE(object.HasError);
  }
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST_F(XmlObjectFileTest, SpecialCharactersSurviveSaveAndLoad) {
  // The tab would become a blank in an attribute value if it were written as it is.
  const QString tricky = QStringLiteral("a<b & \"c\" 'd' >e\r\nzweite\ndritte\rvierte\tf\u00FCnfte \U0001F600 \u00E4");
  object.Bemerkung = tricky;
  object.PostenListe = {Posten{tricky, tricky}, Posten{QString(), QString()}};
  object.Anzahl = -3;
  object.Aktiv = false;
  ASSERT_TRUE(object.SaveToFile(path));

  TTestXmlObject loaded;
  loaded.LoadFromFile(path);
  EXPECT_FALSE(loaded.HasError);
  EXPECT_EQ(loaded.Bemerkung, tricky);
  EXPECT_EQ(loaded.PostenListe, object.PostenListe);
  EXPECT_EQ(loaded.Anzahl, -3);
  EXPECT_FALSE(loaded.Aktiv);
  EXPECT_TRUE(loaded.FileName.isEmpty());
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST_F(XmlObjectFileTest, SavedBytesAreUtf16LeWithBomHeaderAndCrLf) {
  object.PostenListe = {Posten{QStringLiteral("1"), QStringLiteral("x")}};
  ASSERT_TRUE(object.SaveToFile(path));
  const QByteArray bytes = ReadFileBytes(path);
  const QByteArray header = Utf16LeWithBom(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"));
  ASSERT_TRUE(bytes.startsWith(header));
  const QString text(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
  EXPECT_EQ(text, object.GetXMLText(true));
  EXPECT_TRUE(text.endsWith(u"</testobj>\r\n"));
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') {
      EXPECT_EQ(text[i - 1], u'\r') << "bare line feed at " << i;
    }
  }
}

// A repeated element takes the last value, a missing attribute keeps the one
// before, and an unreadable value gives the reader's default.
TEST_F(XmlObjectFileTest, RepeatedMissingAndUnreadableValues) {
  WriteDocument(QStringLiteral("<anzahl val=\"1\"/><bemerkung>erste</bemerkung><anzahl val=\" 1a2 \"/><anzahl/>"
                               "<bemerkung>zweite</bemerkung><aktiv val=\"vielleicht\"/><preis val=\"12,5\"/>"));
  object.Aktiv = false;
  object.LoadFromFile(path);
  EXPECT_EQ(object.Anzahl, 12);
  EXPECT_EQ(object.Bemerkung, u"zweite");
  EXPECT_TRUE(object.Aktiv);
  EXPECT_EQ(object.Preis, 125000);  // German locale: decimal comma
  WriteDocument(QStringLiteral("<anzahl val=\"abc\"/>"));
  object.LoadFromFile(path);
  EXPECT_EQ(object.Anzahl, 7);
}

TEST_F(XmlObjectFileTest, TextInSeveralCharacterEventsIsJoined) {
  const QString large(30000, QChar(u'x'));  // beyond the buffer's first capacity
  WriteDocument(QStringLiteral("<bemerkung>a&amp;b&lt;c&#10;d</bemerkung><posten id=\"p\">") + large +
                QStringLiteral("</posten>"));
  object.LoadFromFile(path);
  EXPECT_EQ(object.Bemerkung, u"a&b<c\nd");
  ASSERT_EQ(object.PostenListe.size(), 1);
  EXPECT_EQ(object.PostenListe[0].text, large);
  EXPECT_GT(object.characterEvents, 3);
}

TEST_F(XmlObjectFileTest, MalformedFileShowsOneReportAndKeepsEarlierValues) {
  WriteDocument(QStringLiteral("\r\n<anzahl val=\"5\" />\r\n<bemerkung>x</bemerkunk>\r\n<aktiv val=\"False\"/>"));
  object.LoadFromFile(path);
  EXPECT_EQ(object.Anzahl, 5);
  EXPECT_TRUE(object.Aktiv);
  EXPECT_TRUE(object.HasError);
  EXPECT_TRUE(object.FileName.isEmpty());
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  const ShownDialog& report = TestDialogs().shown[0];
  EXPECT_EQ(report.caption, u"Fehler");
  EXPECT_TRUE(report.text.contains(u" Line 4 Column ")) << report.text.toStdString();
  EXPECT_TRUE(report.text.contains(QStringLiteral("\nTTestXmlObject ") + path)) << report.text.toStdString();
  // German first, the parser's words as detail.
  EXPECT_TRUE(report.text.startsWith(QStringLiteral("Die Datei ist beschaedigt"))) << report.text.toStdString();
  EXPECT_TRUE(report.text.contains(object.ErrorText));
}

// Entity declarations are refused: an external entity is never read, an
// expansion never multiplies, and the report says why in German.
TEST_F(XmlObjectFileTest, EntityDeclarationsAreRefusedBeforeAnythingIsReadOrExpanded) {
  const QString secret = dir.filePath(QStringLiteral("geheim.txt"));
  WriteFileBytes(secret, "GEHEIMNIS");
  QString laughs = QStringLiteral("<!ENTITY l0 \"hahahahahahahahahaha\">");
  for (int i = 1; i < 10; ++i)
    laughs += QStringLiteral("<!ENTITY l%1 \"%2\">").arg(i).arg(QStringLiteral("&l%1;").arg(i - 1).repeated(10));
  const struct {
    const char* what;
    QString doctype;
    QString reference;
  } cases[] = {
      {"external entity", QStringLiteral("<!ENTITY x SYSTEM \"file://%1\">").arg(secret), QStringLiteral("&x;")},
      {"external parameter entity", QStringLiteral("<!ENTITY % p SYSTEM \"%1\"> %p;").arg(secret), QString()},
      {"billion laughs", laughs, QStringLiteral("&l9;")},
  };
  // UTF-8 is what the fast scanner reads; it must leave these to expat.
  for (const bool utf8 : {false, true})
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.what) + (utf8 ? " in UTF-8" : " in UTF-16"));
    TestDialogs().shown.clear();
    const QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\r\n<!DOCTYPE testobj [")
                             .arg(utf8 ? QStringLiteral("UTF-8") : QStringLiteral("UTF-16")) +
                         c.doctype + QStringLiteral("]>\r\n<testobj><bemerkung>") + c.reference +
                         QStringLiteral("</bemerkung></testobj>\r\n");
    const QByteArray document = utf8 ? text.toUtf8() : Utf16LeWithBom(text);
    WriteFileBytes(path, document);
    QElapsedTimer timer;
    timer.start();
    object.LoadFromFile(path);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(object.Bemerkung, QStringLiteral("standard"));
    EXPECT_TRUE(object.HasError);
    ASSERT_EQ(TestDialogs().shown.size(), 1);
    EXPECT_TRUE(TestDialogs().shown[0].text.contains(QStringLiteral(
        "Die XML-Datei deklariert Entitaeten; solche Dateien werden aus Sicherheitsgruenden nicht gelesen.")))
        << TestDialogs().shown[0].text.toStdString();
    EXPECT_EQ(ReadFileBytes(path), document);
  }
}

// ---- text and stream loads ----

// Empty text is false and resets to the defaults; malformed text loads what
// comes before the fault and reports once.
TEST(XmlObjectText, EmptyTextIsFalseMalformedTextLoadsWithHasError) {
  TTestXmlObject object;
  object.Anzahl = 1;
  EXPECT_FALSE(object.LoadFromText(QString()));
  EXPECT_EQ(object.Anzahl, 7);
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  EXPECT_TRUE(object.LoadFromText(QStringLiteral("<testobj><anzahl val=\"3\"/>")));
  EXPECT_TRUE(object.HasError);
  EXPECT_EQ(object.Anzahl, 3);
  EXPECT_EQ(TestDialogs().shown.size(), 1);
}

TEST(XmlObjectText, TextIsUtf16WhateverItsDeclarationSays) {
  for (const QString& declaration : {QString(), QStringLiteral("<?xml version=\"1.0\"?>"),
                                     QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")}) {
    SCOPED_TRACE(declaration.toStdString());
    TTestXmlObject object;
    EXPECT_TRUE(object.LoadFromText(declaration + QStringLiteral("<testobj><bemerkung>\u00FC\U0001F600</bemerkung></testobj>")));
    EXPECT_EQ(object.Bemerkung, QStringLiteral("\u00FC\U0001F600"));
    EXPECT_FALSE(object.HasError);
  }
}

TEST(XmlObjectStream, DetectsEncodingFromBomAndDeclaration) {
  const QString body = QStringLiteral("<testobj><bemerkung>Gr\u00FC\u00DFe</bemerkung></testobj>");
  const QString utf16Decl = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
  QByteArray utf16Be("\xFE\xFF", 2);
  for (QChar c : utf16Decl + body) utf16Be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
  const QList<QByteArray> forms = {
      Utf16LeWithBom(utf16Decl + body),
      Utf16LeWithBom(utf16Decl + body).mid(2),  // no byte-order mark
      utf16Be,
      QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + body.toUtf8(),
      QByteArray("\xEF\xBB\xBF") + body.toUtf8(),
  };
  for (const QByteArray& bytes : forms) {
    SCOPED_TRACE(bytes.toHex().left(40).toStdString());
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(bytes.size());  // a stream load starts at the stream's start
    TTestXmlObject object;
    EXPECT_TRUE(object.LoadFromStream(buffer));
    EXPECT_FALSE(object.HasError);
    EXPECT_EQ(object.Bemerkung, QStringLiteral("Gr\u00FC\u00DFe"));
  }
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST(XmlObjectStream, SaveToStreamWritesAtThePositionAndPartLoadReadsIt) {
  TTestXmlObject object;
  object.Anzahl = 77;
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  buffer.write("JUNK");
  ASSERT_TRUE(object.SaveToStream(buffer));
  const qint64 documentSize = buffer.pos() - 4;
  buffer.write("TRAILING GARBAGE");

  buffer.seek(4);
  TTestXmlObject loaded;
  EXPECT_TRUE(loaded.LoadFromStreamPart(buffer, documentSize));
  EXPECT_EQ(loaded.Anzahl, 77);
  EXPECT_EQ(buffer.pos(), 4 + documentSize);
  EXPECT_FALSE(loaded.HasError);

  buffer.seek(buffer.size() - 4);
  EXPECT_FALSE(loaded.LoadFromStreamPart(buffer, 100));  // not that many bytes left
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.startsWith(u"XML-Analysefehler.\nTTestXmlObject\n"));
}

// ---- exceptions from handlers ----

TEST_F(XmlObjectFileTest, CancelPassesThroughEveryLoad) {
  WriteDocument(QStringLiteral("<anzahl val=\"1\"/><stop/>"));
  object.onStart = [](const QString& qName) {
    if (qName == u"stop") throw EXMLCancelException();
  };
  EXPECT_THROW(object.LoadFromFile(path), EXMLCancelException);
  EXPECT_TRUE(object.FileName.isEmpty());
  EXPECT_THROW(object.LoadFromText(Document(QStringLiteral("<stop/>"))), EXMLCancelException);
  EXPECT_TRUE(TestDialogs().shown.isEmpty());

  object.onStart = nullptr;  // the reader works again after an aborted parse
  EXPECT_TRUE(object.LoadFromText(Document(QStringLiteral("<anzahl val=\"2\"/>"))));
  EXPECT_EQ(object.Anzahl, 2);
  EXPECT_FALSE(object.HasError);
}

TEST_F(XmlObjectFileTest, OtherHandlerExceptionIsReportedAsAnalysisError) {
  WriteDocument(QStringLiteral("<anzahl val=\"1\"/><stop/><anzahl val=\"2\"/>"));
  object.onStart = [](const QString& qName) {
    if (qName == u"stop") throw std::runtime_error("kaputt");
  };
  object.LoadFromFile(path);
  EXPECT_EQ(object.Anzahl, 1);
  EXPECT_TRUE(object.FileName.isEmpty());
  EXPECT_FALSE(object.LoadFromText(Document(QStringLiteral("<stop/>"))));

  object.onStart = [](const QString&) { throw 42; };
  EXPECT_FALSE(object.LoadFromText(Document(QString())));

  const QList<ShownDialog>& shown = TestDialogs().shown;
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(shown[0].caption, u"Fehler");
  EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("XML-Analysefehler.\nTTestXmlObject\n") + path + u'\n'));
  EXPECT_TRUE(shown[0].text.contains(u"kaputt"));
  // a text load names no file
  EXPECT_TRUE(shown[1].text.startsWith(u"XML-Analysefehler.\nTTestXmlObject\nException-Message"));
  EXPECT_TRUE(shown[2].text.startsWith(u"XML-Analysefehler.\nTTestXmlObject\nObject: TTestXmlObject"));
}

TEST(XmlObjectReuse, TenThousandTextsThroughOneObject) {
  TTestXmlObject object;
  qint64 sum = 0;
  for (int i = 0; i < 10000; ++i) {
    const bool ok = object.LoadFromText(
        Document(QStringLiteral("<anzahl val=\"%1\"/><posten id=\"%1\">t%1</posten>").arg(i)));
    if (!ok || object.HasError || object.PostenListe.size() != 1 || object.PostenListe[0].text != u't' + QString::number(i))
      FAIL() << "text " << i;
    sum += object.Anzahl;
  }
  EXPECT_EQ(sum, 9999LL * 10000 / 2);
}

// One parser serves every load: nothing of a broken text (open elements,
// text not yet handed over) may reach the next one. A lone surrogate goes
// the UTF-16 way, as before.
TEST(XmlObjectReuse, AfterABrokenTextTheNextReadsRight) {
  TTestXmlObject object;
  const std::pair<QString, bool> broken[] = {
      {QStringLiteral("<testobj><posten id=\"a\">x&amp;y"), true},
      {QStringLiteral("<testobj><anzahl val=\"3\"/></testobj><zweite/>"), true},
      {Document(QStringLiteral("<bemerkung>a") + QChar(0xD800) + QStringLiteral("b</bemerkung>")), false}};
  for (const auto& [text, hasError] : broken) {
    SCOPED_TRACE(text.toStdString());
    object.LoadFromText(text);
    EXPECT_EQ(object.HasError, hasError);
    ASSERT_TRUE(object.LoadFromText(Document(QStringLiteral("<posten id=\"p\">t&lt;u</posten>"))));
    EXPECT_FALSE(object.HasError);
    EXPECT_EQ(object.Anzahl, 7);
    ASSERT_EQ(object.PostenListe.size(), 1);
    EXPECT_EQ(object.PostenListe[0], (Posten{QStringLiteral("p"), QStringLiteral("t<u")}));
  }
}

// A text load may read the document differently from a file load, but it
// must report a fault at the same line and column.
TEST_F(XmlObjectFileTest, MalformedTextReportsThePlaceAFileLoadReports) {
  const QString body = QStringLiteral("\r\n  <anzahl val=\"5\" />\r\n  <bemerkung>\u00FCx</bemerkunk>");
  WriteDocument(body);
  object.LoadFromFile(path);
  const QRegularExpression place(QStringLiteral(" Line \\d+ Column \\d+"));
  const QString fromFile = place.match(object.ErrorText).captured();
  ASSERT_FALSE(fromFile.isEmpty()) << object.ErrorText.toStdString();
  object.LoadFromText(Document(body));
  EXPECT_EQ(place.match(object.ErrorText).captured(), fromFile);
}

// ---- the reader itself ----

namespace {
struct RecordingHandler : SaxContentHandler {
  QStringList events;
  void StartElement(const QString& uri, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override {
    QString value;
    attributes.Find("x:val", value);
    events << uri + u'|' + localName + u'|' + qName + u'|' + value + u'|' + QString::number(attributes.Count());
  }
  void Characters(QStringView) override {}
  void EndElement(const QString&, const QString& localName, const QString&) override { events << u'/' + localName; }
};
}  // namespace

TEST(XmlSaxReader, PrefixedNamesGiveLocalPartAndAttributesByQualifiedName) {
  RecordingHandler handler;
  SaxReader reader;
  reader.SetContentHandler(&handler);
  const QByteArray document = "<x:a xmlns:x=\"urn:x\" x:val=\"1\" val=\"2\"><b/></x:a>";
  reader.Parse(document.constData(), document.size());
  reader.Parse(document.constData(), document.size());  // the same parser again
  const QStringList once = {QStringLiteral("|a|x:a|1|3"), QStringLiteral("|b|b||0"), QStringLiteral("/b"),
                            QStringLiteral("/a")};
  EXPECT_EQ(handler.events, once + once);
}

// ---- the wide string stream ----

TEST(XmlWideStringStream, RefusesOddWritesAndSizes) {
  TDBXMLWideStringStream stream;
  auto message = [](auto&& call) {
    try {
      call();
    } catch (const EWideStringStreamError& e) {
      return e.Message();
    }
    return QString();
  };
  EXPECT_EQ(message([&] { stream.SetSize(3); }), u"Odd size not valid for WideString");
  EXPECT_EQ(message([&] { stream.SetSize(-2); }), u"Negative stream size invalid");
  stream.Write("abc", 3);  // size rounds up to 4, position 3
  EXPECT_EQ(stream.Size(), 4);
  EXPECT_EQ(message([&] { stream.Write("d", 1); }), u"Cannot Write WideString to odd byte position");
  EXPECT_EQ(message([&] { stream.SetCapacity(2); }), u"Capacity cannot be less than size");
}

TEST(XmlWideStringStream, GrowsByAQuarterRoundedDownToFour) {
  for (auto [from, to] : {std::pair{2, 8}, {10, 12}, {14, 16}, {100, 124}})
    EXPECT_EQ(TDBXMLWideStringStream::GrownCapacity(from), to) << from;

  TDBXMLWideStringStream stream;
  stream.WriteText(u"a");
  EXPECT_EQ(stream.Capacity(), 8);
  stream.WriteText(u"bcde");
  EXPECT_EQ(stream.Capacity(), 12);
  stream.SetSize(20);
  EXPECT_EQ(stream.Capacity(), 24);
  EXPECT_EQ(stream.Text(), QStringLiteral("abcde") + QString(5, QChar(0)));
}

TEST(XmlWideStringStream, HoldsTextAndKeepsCapacityWhenCleared) {
  TDBXMLWideStringStream stream(QStringLiteral("Gr\u00FC\u00DFe"));
  EXPECT_EQ(stream.Size(), 10);
  EXPECT_EQ(stream.Position(), 0);
  char16_t first = 0;
  EXPECT_EQ(stream.Read(&first, 2), 2);
  EXPECT_EQ(first, u'G');
  stream.Seek(stream.Size());
  stream.WriteText(u"!");
  EXPECT_EQ(stream.Text(), QStringLiteral("Gr\u00FC\u00DFe!"));
  stream.SetCapacity(10000);
  stream.Clear();
  EXPECT_EQ(stream.Text(), QString());
  EXPECT_EQ(stream.Capacity(), 10000);
}

TEST(XmlEscape, EscapesExactlyTheTable) {
  EXPECT_EQ(XMLEscape(u"&\n\r\"'<>\t"), u"&amp;&#10;&#13;&quot;&apos;&lt;&gt;&#9;");
  const QString untouched = QStringLiteral("a \u00E4\u20AC\U0001F600;#");
  EXPECT_EQ(XMLEscape(untouched), untouched);
}

// Characters XML 1.0 cannot carry are left out on writing; otherwise the
// reader refuses the document and every value after them is lost.
TEST_F(XmlObjectFileTest, CharactersXmlCannotCarryAreLeftOutSoTheFileReadsBack) {
  const struct {
    const char* what;
    QString written, read;
  } cases[] = {
      {"control characters", QStringLiteral("a\x01" "b\x1F" "c\x0B" "d\x7F" "e"), QStringLiteral("abcd\x7F" "e")},
      {"U+FFFE and U+FFFF", QStringLiteral("a\uFFFEb\uFFFFc"), QStringLiteral("abc")},
      {"lone surrogates", QString::fromUtf16(u"a\xD800" "b\xDC00" "c\xD83D", 6), QStringLiteral("abc")},
      {"a surrogate pair stays", QStringLiteral("a\U0001F600b"), QStringLiteral("a\U0001F600b")},
  };
  for (const auto& c : cases) {
    object.Bemerkung = c.written;
    object.PostenListe = {Posten{c.written, QStringLiteral("danach")}};
    ASSERT_TRUE(object.SaveToFile(path)) << c.what;
    TTestXmlObject loaded;
    loaded.LoadFromFile(path);
    EXPECT_FALSE(loaded.HasError) << c.what << ": " << loaded.ErrorText.toStdString();
    EXPECT_EQ(loaded.Bemerkung, c.read) << c.what;
    EXPECT_EQ(loaded.PostenListe, (QList<Posten>{Posten{c.read, QStringLiteral("danach")}})) << c.what;
  }
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}
