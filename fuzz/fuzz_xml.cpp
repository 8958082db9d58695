// Every XML-backed object, each read through the reader's own scanner and
// through expat alone; and the two readers' events side by side.
#include <QBuffer>
#include <QRegularExpression>
#include <functional>
#include <memory>

#include "DBAdressConfig.h"
#include "DBAdressCore.h"
#include "FuzzSupport.h"
#include "KSPRDatabase.h"
#include "Katalog1Artikel.h"
#include "Katalog2Artikel.h"
#include "LagerServerObj.h"
#include "SaxReader.h"
#include "TextFile.h"
#include "ULAGConfig.h"

namespace {
using MakeObject = std::function<std::unique_ptr<TDBXMLCoreObject>()>;

template <class T>
MakeObject Maker() {
  return [] { return std::make_unique<T>(); };
}

const std::vector<MakeObject>& Objects() {
  static const std::vector<MakeObject> objects{
      Maker<TCustomerAddress>(), Maker<TCustomerAddressList>(), Maker<TAddressConfig>(),
      Maker<TLagerConfig>(),     Maker<TLagerServerObj>(),      Maker<TKSPRDatabaseObj>(),
      Maker<TKatalog2Artikel>(), Maker<TKatalog1Artikel>()};
  return objects;
}

// What the object holds after reading the bytes, as it writes it.
struct Read {
  QString written;
  bool hasError = false;
};

Read ReadBytes(TDBXMLCoreObject& object, const QByteArray& bytes) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  object.LoadFromStream(buffer);
  return {object.GetXMLText(true), object.HasError};
}

// A warehouse article without its creation and change times gets the
// clock's, which may have moved on between two loads.
QString WithoutClock(QString written) {
  const qsizetype start = written.indexOf(QLatin1String("<lagerartikel"));
  if (start < 0) return written;
  const qsizetype end = written.indexOf(u'>', start);
  static const QRegularExpression times(QStringLiteral("(\\sch?=\")[^\"]*\""));
  QString tag = written.mid(start, end - start);
  tag.replace(times, QStringLiteral("\\1now\""));
  return written.left(start) + tag + written.mid(end);
}

// An address's alarm text switches its alarm on when read, whatever "val"
// says; repeated alarm elements can leave the switch off beside a text.
QString WithAlarmTextSwitchingOn(QString written) {
  static const QRegularExpression offWithText(QStringLiteral("<alarm val=\"False\">(?!</alarm>)"));
  return written.replace(offWithText, QStringLiteral("<alarm val=\"True\">"));
}

// What an object writes, it reads back without fault, and writes the same again.
void CheckWrittenReadsBack(const MakeObject& make, const QString& written) {
  const std::unique_ptr<TDBXMLCoreObject> again = make();
  FUZZ_CHECK(again->LoadFromText(written));
  FUZZ_CHECK(!again->HasError);
  FUZZ_CHECK(again->GetXMLText(true) == WithAlarmTextSwitchingOn(written));
}

void CheckObject(const MakeObject& make, const QByteArray& bytes) {
  const std::unique_ptr<TDBXMLCoreObject> fast = make();
  const std::unique_ptr<TDBXMLCoreObject> expat = make();
  expat->SetExpatOnly(true);
  const Read first = ReadBytes(*fast, bytes);
  const Read second = ReadBytes(*expat, bytes);
  FUZZ_CHECK(first.written == second.written || WithoutClock(first.written) == WithoutClock(second.written));
  FUZZ_CHECK(first.hasError == second.hasError);
  CheckWrittenReadsBack(make, first.written);
  // The same bytes as a table column's text.
  const std::unique_ptr<TDBXMLCoreObject> column = make();
  column->LoadFromText(DecodeText(bytes));
  CheckWrittenReadsBack(make, column->GetXMLText(true));
}

// Every call as one line; text pieces joined, as the objects join them.
struct Recorder : SaxContentHandler, SaxErrorHandler {
  QStringList events;
  void StartElement(const QString& uri, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override {
    QString line = u'<' + uri + u'|' + localName + u'|' + qName;
    for (int i = 0; i < attributes.Count(); ++i)
      line += u' ' + attributes.QualifiedName(i) + u'=' + attributes.Value(i);
    events << line;
  }
  void Characters(QStringView text) override {
    if (!events.isEmpty() && events.back().startsWith(u't'))
      events.back() += text;
    else
      events << u't' + text.toString();
  }
  void EndElement(const QString& uri, const QString& localName, const QString& qName) override {
    events << u'/' + uri + u'|' + localName + u'|' + qName;
  }
  void Warning(const SaxParseError& e) override { Add(u"warning", e); }
  void Error(const SaxParseError& e) override { Add(u"error", e); }
  void FatalError(const SaxParseError& e) override { Add(u"fatal", e); }
  void Add(QStringView level, const SaxParseError& e) {
    events << level.toString() + u' ' + e.message + u' ' + QString::number(e.line) + u':' +
                  QString::number(e.column);
  }
};

QStringList Events(SaxReader& reader, const QByteArray& bytes) {
  Recorder recorder;
  reader.SetContentHandler(&recorder);
  reader.SetErrorHandler(&recorder);
  reader.Parse(bytes.constData(), bytes.size());
  return recorder.events;
}

void CheckReaders(const QByteArray& bytes) {
  static SaxReader fast;
  static SaxReader expat;
  expat.SetExpatOnly(true);
  FUZZ_CHECK(Events(fast, bytes) == Events(expat, bytes));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  const FuzzSelected input = FuzzSelect(data, size);
  const size_t choice = input.selector % (Objects().size() + 1);
  if (choice < Objects().size())
    CheckObject(Objects()[choice], input.rest);
  else
    CheckReaders(input.rest);
  return 0;
}
