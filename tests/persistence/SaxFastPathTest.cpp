// The reader's own scanner against expat: every document must give the same
// events and the same error either way, and the scanner must take exactly
// the plain documents.
#include <gtest/gtest.h>

#include <QStringEncoder>
#include <random>
#include <stdexcept>

#include "DBAdressCore.h"
#include "DemoWarehouse.h"
#include "KSPRDatabase.h"
#include "LagerServerObj.h"
#include "SaxFastScan.h"
#include "SaxReader.h"

namespace {
// Everything the handlers see, one line per call.
struct Recorder : SaxContentHandler, SaxErrorHandler {
  QStringList events;
  int startsBeforeThrow = -1;  // a handler that stops the load
  void StartElement(const QString& uri, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override {
    if (startsBeforeThrow-- == 0) throw std::runtime_error("stop");
    QString line = u'<' + uri + u'|' + localName + u'|' + qName;
    for (int i = 0; i < attributes.Count(); ++i) line += u' ' + attributes.QualifiedName(i) + u'=' + attributes.Value(i);
    events << line;
  }
  void Characters(QStringView text) override { events << u't' + text.toString(); }
  void EndElement(const QString& uri, const QString& localName, const QString& qName) override {
    events << u'/' + uri + u'|' + localName + u'|' + qName;
  }
  void Warning(const SaxParseError& e) override { Add("warning", e); }
  void Error(const SaxParseError& e) override { Add("error", e); }
  void FatalError(const SaxParseError& e) override { Add("fatal", e); }
  void Add(const char* level, const SaxParseError& e) {
    events << QLatin1String(level) + u' ' + e.message + u' ' + QString::number(e.line) + u':' + QString::number(e.column);
  }
};

// Two readers, kept over all documents as the objects keep theirs.
class BothWays {
 public:
  BothWays() { expat_.SetExpatOnly(true); }
  QStringList Fast(const QByteArray& document, const char* encoding, int startsBeforeThrow = -1) {
    return Events(fast_, document, encoding, startsBeforeThrow);
  }
  QStringList Expat(const QByteArray& document, const char* encoding, int startsBeforeThrow = -1) {
    return Events(expat_, document, encoding, startsBeforeThrow);
  }

 private:
  static QStringList Events(SaxReader& reader, const QByteArray& document, const char* encoding,
                            int startsBeforeThrow) {
    Recorder recorder;
    recorder.startsBeforeThrow = startsBeforeThrow;
    reader.SetContentHandler(&recorder);
    reader.SetErrorHandler(&recorder);
    try {
      reader.Parse(document.constData(), document.size(), encoding);
    } catch (const std::runtime_error& e) {
      recorder.events << QString::fromUtf8(e.what());
    }
    return recorder.events;
  }
  SaxReader fast_, expat_;
};

std::string Shown(const QByteArray& document) {
  std::string shown;
  for (char c : document) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) shown += c;
    else shown += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0').toStdString();
  }
  return shown;
}

QByteArray Utf8(const QString& text) { return text.toUtf8(); }

QByteArray LongText() {
  QByteArray text;
  const char* const lineEnds[] = {"\n", "\r\n", "\n", "\r"};
  for (int i = 0; i < 1000; ++i)
    text += "Zeile " + QByteArray::number(i) + (i % 7 ? " ]] \xC3\xA4" : " &amp;&#x41;") + lineEnds[i % 4];
  return "<a>" + text + "<b/>" + text + "</a>";
}

const struct {
  const char* what;
  QByteArray document;
  const char* encoding;
  bool fast;
} kDocuments[] = {
    {"empty root", "<a/>", nullptr, true},
    {"root with end tag", "<a></a>", nullptr, true},
    {"BOM, declaration, CR LF, nesting",
     "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a x=\"1\">\r\n  <b y='2' z=\"3\">t</b>\r\n</a>\r\n",
     nullptr, true},
    {"declaration with standalone and blanks",
     "<?xml version = '1.0' encoding='utf-8' standalone='yes' ?>\n<a/>", nullptr, true},
    {"declared UTF-16 under a given UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>", "UTF-8", true},
    {"blanked declaration", "\xEF\xBB\xBF                                       \r\n<a/>", "UTF-8", true},
    {"predefined entities", "<a v=\"&amp;&lt;&gt;&quot;&apos;\">&amp;&lt;&gt;&quot;&apos;</a>", nullptr, true},
    {"character references",
     "<a v=\"&#9;&#10;&#13;&#x41;\">&#65;&#x42;&#xe4;&#x20AC;&#x1F600;&#9;&#10;&#13;&#0065;</a>", nullptr, true},
    {"whitespace in values", "<a v=\"x\ty\nz\r\nw\rq\" w='  '/>", nullptr, true},
    {"line ends in text", "<a>1\r\n2\r3\n4\r\n\r\n</a>", nullptr, true},
    {"UTF-8 text and values",
     "<a v=\"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\">Gr\xC3\xBC\xC3\x9F" "e \xEF\xB7\x90\xC2\x80\x7F</a>", nullptr, true},
    {"names with colons, dots, dashes", "<x:a xmlns:x=\"urn:x\" x:val=\"1\" _b.c-d=\"2\"><:e/></x:a>", nullptr, true},
    {"blanks around root and in tags", "\r\n <a  x = \"1\"\n y='\"'\t></a >\r\n", nullptr, true},
    {"brackets and quotes in text", "<a>t1<b>]</b>]]x]>'\"<c/>]</a>", nullptr, true},
    {"long text in pieces", LongText(), nullptr, true},
    {"comment", "<a><!-- c --></a>", nullptr, false},
    {"DOCTYPE", "<!DOCTYPE a><a/>", nullptr, false},
    {"processing instruction", "<a><?pi x?></a>", nullptr, false},
    {"CDATA", "<a><![CDATA[x<y]]></a>", nullptr, false},
    {"unknown entity", "<a>&nbsp;</a>", nullptr, false},
    {"non-ASCII name", "<\xC3\xA4/>", nullptr, false},
    {"duplicate attribute", "<a x=\"1\" x=\"2\"/>", nullptr, false},
    {"attributes without blank", "<a x=\"1\"y=\"2\"/>", nullptr, false},
    {"attribute without value", "<a x/>", nullptr, false},
    {"mismatched end tag", "<a><b></a></b>", nullptr, false},
    {"unclosed", "<a><b/>text", nullptr, false},
    {"\"<\" in a value", "<a x=\"<\"/>", nullptr, false},
    {"\"]]>\" in text", "<a>x]]>y</a>", nullptr, false},
    {"control character", "<a>x\x01y</a>", nullptr, false},
    {"invalid UTF-8", "<a>\xC3\x28</a>", nullptr, false},
    {"overlong UTF-8", "<a>\xC0\xAF</a>", nullptr, false},
    {"UTF-8 surrogate", "<a>\xED\xA0\x80</a>", nullptr, false},
    {"U+FFFE", "<a>\xEF\xBF\xBE</a>", nullptr, false},
    {"bad character references", "<a>&#0;</a>", nullptr, false},
    {"reference to a surrogate", "<a v=\"&#xD800;\"/>", nullptr, false},
    {"reference beyond Unicode", "<a>&#x110000;</a>", nullptr, false},
    {"empty reference", "<a>&#;&#x;</a>", nullptr, false},
    {"second root", "<a/><b/>", nullptr, false},
    {"text after root", "<a/>x", nullptr, false},
    {"text before root", "x<a/>", nullptr, false},
    {"nothing but blanks", " \r\n", nullptr, false},
    {"declaration not at start", " <?xml version=\"1.0\"?><a/>", nullptr, false},
    {"version 1.1", "<?xml version=\"1.1\"?><a/>", nullptr, false},
    {"Latin-1 declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"\xE4\">\xE4</a>", nullptr, false},
    {"UTF-16 declared in UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>", nullptr, false},
    {"UTF-16 with byte-order mark", QByteArray("\xFF\xFE<\0a\0/\0>\0", 10), nullptr, false},
    {"UTF-16 given", QByteArray("<\0a\0/\0>\0", 8), "UTF-16LE", false},
};

// A scale of articles, an address and a warehouse article as written here.
QList<QByteArray> SystemDocuments() {
  const auto asUtf8 = [](TDBXMLCoreObject& object) {
    return Utf8(object.GetXMLText(false)).replace("encoding=\"UTF-16\"", "encoding=\"UTF-8\"");
  };
  TLagerServerObj article;
  MakeDemoArticle(7, article);
  article.Lt = QStringLiteral("Langtext mit <Zeichen> & \"Zitat\"\r\nzweite Zeile\t\u00E4\u20AC");
  TCustomerAddress address;
  auto* anschrift = address.Anschriften.Add(std::make_unique<TCustomerAnschrift>());
  anschrift->Name1 = QStringLiteral("M\u00FCller & S\u00F6hne GmbH");
  anschrift->Strasse = QStringLiteral("Hauptstra\u00DFe 5");
  anschrift->Ort = QStringLiteral("K\u00F6ln");
  address.Id = QStringLiteral("10001");
  address.Info = QStringLiteral("Tor <hinten>\r\nab 7 Uhr");
  address.Kz = QStringList{QStringLiteral("Stammkunde"), QStringLiteral("Gro\u00DFkunde")};
  TKSPRDatabaseObj price;
  price.Katalog = QStringLiteral("LAGER");
  price.ArtikelNr = QStringLiteral("L0000007");
  price.Bezeichnung = QStringLiteral("Kupferrohr 15 mm \"hart\"");
  price.Preis = 123456;
  price.Rabatt = 12.5;
  price.Mengenstaffel.Add(10, 5, 0);
  price.Mengenstaffel.Add(100, 0, 9.95);
  return {asUtf8(article), asUtf8(address), asUtf8(price)};
}

QByteArray Mutated(QByteArray document, std::mt19937& random) {
  static const char kBytes[] = "<>&;#x\"'/!?=] \t\r\n\x01\x80\xC3\xBF\xEF";
  const auto below = [&](qsizetype n) { return qsizetype(random() % quint32(qMax<qsizetype>(n, 1))); };
  for (int edits = 1 + int(random() % 3); edits > 0 && !document.isEmpty(); --edits) {
    const qsizetype at = below(document.size());
    switch (random() % 5) {
      case 0: document[at] = char(document[at] ^ (1 << (random() % 8))); break;
      case 1: document[at] = kBytes[below(sizeof kBytes - 1)]; break;
      case 2: document.insert(at, kBytes[below(sizeof kBytes - 1)]); break;
      case 3: document.remove(at, 1 + below(8)); break;
      default: document.truncate(at); break;
    }
  }
  return document;
}
}  // namespace

TEST(SaxFastPath, GivesExpatsEventsAndErrorsAndTakesOnlyPlainDocuments) {
  BothWays reader;
  SaxFastScan scan;
  for (const auto& d : kDocuments) {
    EXPECT_EQ(scan.Scan(d.document.constData(), d.document.size(), d.encoding), d.fast) << d.what;
    const QStringList expat = reader.Expat(d.document, d.encoding);
    EXPECT_EQ(reader.Fast(d.document, d.encoding), expat) << d.what;
  }
}

// A handler's exception ends the load at once, and the reader reads the next document in full.
TEST(SaxFastPath, AHandlerThatThrowsStopsTheLoadAsWithExpat) {
  BothWays reader;
  const QByteArray document = "<a>x<b/>y<c/>z</a>";
  const QStringList stopped = reader.Expat(document, nullptr, 2);
  EXPECT_EQ(stopped.last(), u"stop");
  EXPECT_EQ(reader.Fast(document, nullptr, 2), stopped);
  EXPECT_EQ(reader.Fast(document, nullptr), reader.Expat(document, nullptr));
}

TEST(SaxFastPath, MutatedSystemDocumentsReadAsExpatReadsThem) {
  BothWays reader;
  SaxFastScan scan;
  std::mt19937 random(20261206);
  const char* const encodings[] = {nullptr, "UTF-8"};
  for (const QByteArray& original : SystemDocuments()) {
    ASSERT_TRUE(scan.Scan(original.constData(), original.size(), nullptr)) << Shown(original);
    for (int i = 0; i < 1500; ++i) {
      const QByteArray document = Mutated(original, random);
      const char* encoding = encodings[i % 2];
      ASSERT_EQ(reader.Fast(document, encoding), reader.Expat(document, encoding)) << Shown(document);
    }
  }
}
