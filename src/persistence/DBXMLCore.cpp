#include "DBXMLCore.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QStringEncoder>
#include <QSysInfo>
#include <QtEndian>
#include <cmath>
#include <cstring>

#include "Format.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "TextFile.h"
#include "Translation.h"

namespace {
void AppendUtf16Le(QByteArray& bytes, QStringView text) {
  const qsizetype start = bytes.size();
  bytes.resize(start + 2 * text.size());
  qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data() + start);
}

QString FromUtf16Le(const char* data, qsizetype units) {
  QString text(units, Qt::Uninitialized);
  qFromLittleEndian<char16_t>(data, units, text.data());
  return text;
}

// Reads up to count bytes from the device's position; the number read.
qint64 ReadInto(QIODevice& device, qint64 count, QByteArray& bytes) {
  bytes.resize(count);
  qint64 done = 0;
  while (done < count) {
    const qint64 n = device.read(bytes.data() + done, count - done);
    if (n <= 0) break;
    done += n;
  }
  bytes.resize(done);
  return done;
}

// The declaration every document written here begins with. A text load sets
// the encoding itself, so the declaration tells the parser nothing; reading
// it costs about a tenth of a small record's parse. Blanks in its place keep
// every line and column where it was.
void BlankOwnDeclaration(QByteArray& utf8) {
  static constexpr char kBom[] = "\xEF\xBB\xBF";
  static constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>";
  const qsizetype start = utf8.startsWith(kBom) ? 3 : 0;
  if (QByteArrayView(utf8).sliced(start).startsWith(kDeclaration))
    std::memset(utf8.data() + start, ' ', sizeof kDeclaration - 1);
}

// The byte order of a QString's memory, which the text load hands to expat.
const char* const kHostUtf16 = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

const char* EntityFor(char16_t c) {
  switch (c) {
    case u'&': return "&amp;";
    case u'\n': return "&#10;";
    case u'\r': return "&#13;";
    case u'"': return "&quot;";
    case u'\'': return "&apos;";
    case u'<': return "&lt;";
    case u'>': return "&gt;";
    // A tab in an attribute value would come back as a blank; as a
    // character reference it survives, and every XML reader understands it.
    case u'\t': return "&#9;";
    default: return nullptr;
  }
}

// Converts the attribute's UTF-8 value as it stands, without a QString.
template <class T, class Convert>
bool ReadAttribute(const SaxAttributes& attributes, QAnyStringView qName, T& field, Convert convert) {
  const char* utf8 = attributes.Utf8Value(qName);
  if (!utf8) return false;
  field = convert(QByteArrayView(utf8, qstrlen(utf8)));
  return true;
}

Currency CurrencyFromRead(double value, bool ok, Currency defaultValue) {
  constexpr double kLimit = 9.2e14;  // beyond this the ten-thousandths leave 64 bits
  if (!ok || !(std::fabs(value) < kLimit)) return defaultValue;
  return CurrencyFromDouble(value);
}
}  // namespace

// ---- TDBXMLWideStringStream ----

TDBXMLWideStringStream::TDBXMLWideStringStream(qint64 capacity) { SetCapacity(capacity); }

TDBXMLWideStringStream::TDBXMLWideStringStream(QStringView text) {
  SetCapacity(2 * text.size());
  WriteText(text);
  position_ = 0;
}

qint64 TDBXMLWideStringStream::GrownCapacity(qint64 requestedSize) {
  const qint64 capacity = qMax<qint64>(requestedSize + requestedSize / 4, 8);
  return capacity & ~qint64(3);
}

void TDBXMLWideStringStream::SetCapacity(qint64 capacity) {
  if (capacity < size_) throw EWideStringStreamError(QStringLiteral("Capacity cannot be less than size"));
  memory_.resize(capacity);
  capacity_ = capacity;
}

void TDBXMLWideStringStream::GrowFor(qint64 size) {
  if (size > capacity_) SetCapacity(GrownCapacity(size));
}

void TDBXMLWideStringStream::ZeroFill(qint64 from, qint64 to) {
  if (to > from) std::memset(memory_.data() + from, 0, to - from);
}

void TDBXMLWideStringStream::SetSize(qint64 size) {
  if (size < 0) throw EWideStringStreamError(QStringLiteral("Negative stream size invalid"));
  if (size % 2 != 0) throw EWideStringStreamError(QStringLiteral("Odd size not valid for WideString"));
  GrowFor(size);
  ZeroFill(size_, size);
  size_ = size;
  position_ = qMin(position_, size_);
}

void TDBXMLWideStringStream::Seek(qint64 position) { position_ = qMax<qint64>(position, 0); }

qint64 TDBXMLWideStringStream::Write(const void* data, qint64 count) {
  if (position_ % 2 != 0) throw EWideStringStreamError(QStringLiteral("Cannot Write WideString to odd byte position"));
  if (count <= 0) return 0;
  const qint64 end = position_ + count;
  if (end > size_) {
    const qint64 size = end + end % 2;
    GrowFor(size);
    ZeroFill(size_, size);
    size_ = size;
  }
  std::memcpy(memory_.data() + position_, data, count);
  position_ = end;
  return count;
}

void TDBXMLWideStringStream::WriteText(QStringView text) {
  if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
    Write(text.utf16(), 2 * text.size());
  } else {
    QByteArray bytes;
    AppendUtf16Le(bytes, text);
    Write(bytes.constData(), bytes.size());
  }
}

qint64 TDBXMLWideStringStream::Read(void* data, qint64 count) {
  const qint64 n = qBound<qint64>(0, qMin(count, size_ - position_), size_);
  if (n > 0) std::memcpy(data, memory_.constData() + position_, n);
  position_ += n;
  return n;
}

QString TDBXMLWideStringStream::Text() const { return FromUtf16Le(memory_.constData(), size_ / 2); }

void TDBXMLWideStringStream::Clear() {
  size_ = 0;
  position_ = 0;
}

// ---- escaping ----

namespace {
// Control characters other than tab, LF and CR, U+FFFE and U+FFFF: XML 1.0
// has no way to carry them, not even as a character reference.
bool XmlCannotCarry(char16_t c) { return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c >= 0xFFFE; }
}  // namespace

QString XMLEscape(QStringView text) {
  QString escaped;
  escaped.reserve(text.size());
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
      escaped += c;
      escaped += text[++i];
    } else if (c.isSurrogate() || XmlCannotCarry(c.unicode())) {
      // Left out: a reader would refuse the whole document, and every value after it with it.
    } else if (const char* entity = EntityFor(c.unicode())) {
      escaped += QLatin1String(entity);
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// ---- TDBXMLCoreObject ----

// Forwards the reader's events to the object.
class TDBXMLCoreObject::Handlers : public SaxContentHandler, public SaxErrorHandler {
 public:
  explicit Handlers(TDBXMLCoreObject& owner) : owner_(owner) {}

  void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override {
    owner_.StartElement(namespaceURI, localName, qName, attributes);
  }
  void Characters(QStringView text) override { owner_.Characters(text); }
  void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) override {
    owner_.EndElement(namespaceURI, localName, qName);
  }
  void Warning(const SaxParseError& error) override { owner_.ReportParseProblem(rlWarning, error); }
  void Error(const SaxParseError& error) override { owner_.ReportParseProblem(rlError, error); }
  void FatalError(const SaxParseError& error) override { owner_.ReportParseProblem(rlError, error); }

 private:
  TDBXMLCoreObject& owner_;
};

TDBXMLCoreObject::TDBXMLCoreObject() : handlers_(std::make_unique<Handlers>(*this)) {
  reader_.SetContentHandler(handlers_.get());
  reader_.SetErrorHandler(handlers_.get());
}

TDBXMLCoreObject::~TDBXMLCoreObject() = default;

QString TDBXMLCoreObject::ClassName() const { return DemangledClassName(typeid(*this)); }

// ---- writing ----

void TDBXMLCoreObject::Write(QStringView text) { AppendUtf16Le(output_, text); }

void TDBXMLCoreObject::WriteLine(QStringView text) {
  Write(text);
  Write(u"\r\n");
}

void TDBXMLCoreObject::WriteFormat(const QString& format, const QVariantList& args) {
  Write(FormatText(format, args));
}

void TDBXMLCoreObject::WriteFormatLine(const QString& format, const QVariantList& args) {
  WriteLine(FormatText(format, args));
}

void TDBXMLCoreObject::BuildDocument(bool flag) {
  output_.resize(0);
  output_.append("\xFF\xFE", 2);
  WriteLine(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
  WriteXML(flag);
}

QString TDBXMLCoreObject::GetXMLText(bool flag) {
  BuildDocument(flag);
  return FromUtf16Le(output_.constData(), output_.size() / 2);
}

bool TDBXMLCoreObject::SaveToFile(const QString& fileName, QString* error) {
  BuildDocument(true);
  return WriteFileAtomically(fileName, output_, error);
}

bool TDBXMLCoreObject::SaveToStream(QIODevice& stream) {
  BuildDocument(true);
  return stream.write(output_) == output_.size();
}

// ---- loading ----

void TDBXMLCoreObject::BeginLoad() {
  CurrentElement.clear();
  TextBuffer.Clear();
  HasError = false;
  ErrorText.clear();
  output_.resize(0);
  Clear();
}

void TDBXMLCoreObject::Parse(const char* data, qint64 size, const char* encoding) {
  const DecimalSeparatorScope oneLocaleLookup;
  reader_.Parse(data, size, encoding);
}

// Runs a load; a failure other than a cancel is shown as an analysis error.
template <class Load>
bool TDBXMLCoreObject::Guarded(bool withFileName, Load&& load) {
  try {
    load();
    return true;
  } catch (const EXMLCancelException&) {
    throw;
  } catch (const std::exception& e) {
    ReportLoadFailure(withFileName, &e);
  } catch (...) {
    ReportLoadFailure(withFileName, nullptr);
  }
  return false;
}

void TDBXMLCoreObject::ReportLoadFailure(bool withFileName, const std::exception* exception) {
  QString text = Tr("XML-Analysefehler.") + QLatin1Char('\n') + ClassName();
  if (withFileName) text += QLatin1Char('\n') + FileName;
  const ReportObject sender = ReportObject::Of(*this);
  if (exception)
    Report(rlError, text, &sender, *exception);
  else
    Report(rlError, text, &sender);
}

void TDBXMLCoreObject::ReportParseProblem(int level, const SaxParseError& error) {
  const QString text = error.message + QLatin1String(" Line ") + QString::number(error.line) +
                       QLatin1String(" Column ") + QString::number(error.column) + QLatin1Char('\n') + ClassName() +
                       QLatin1Char(' ') + FileName;
  if (level != rlWarning) {
    ErrorText = text;
    HasError = true;
  }
  const ReportObject sender = ReportObject::Of(*this);
  // The parser's own words go below, as detail for whoever looks into the file.
  Report(level, Tr("Die Datei ist beschaedigt und konnte nur bis zur genannten Stelle gelesen werden; die Angaben danach fehlen.") + QLatin1Char('\n') + text, &sender);
}

void TDBXMLCoreObject::LoadFromFile(const QString& fileName) {
  BeginLoad();
  if (!QFileInfo::exists(fileName)) return;
  FileName = fileName;
  struct ForgetFileName {
    QString& name;
    ~ForgetFileName() { name.clear(); }
  } forget{FileName};
  Guarded(true, [&] {
    // Read-only and unlocked: others may read the file at the same time.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
      throw Exception(QStringLiteral("Cannot open file \"%1\": %2").arg(fileName, file.errorString()));
    ReadInto(file, file.size(), output_);
    file.close();
    Parse(output_.constData(), output_.size(), nullptr);
  });
}

bool TDBXMLCoreObject::LoadFromStream(QIODevice& stream) {
  BeginLoad();
  if (stream.size() == 0) return false;
  return Guarded(false, [&] {
    if (!stream.seek(0)) throw Exception(QStringLiteral("Stream read error"));
    ReadInto(stream, stream.size(), output_);
    Parse(output_.constData(), output_.size(), nullptr);
  });
}

bool TDBXMLCoreObject::LoadFromStreamPart(QIODevice& stream, qint64 byteCount) {
  BeginLoad();
  if (byteCount <= 0) return false;
  return Guarded(false, [&] {
    if (ReadInto(stream, byteCount, output_) != byteCount) throw Exception(QStringLiteral("Stream read error"));
    Parse(output_.constData(), output_.size(), nullptr);
  });
}

bool TDBXMLCoreObject::LoadFromText(const QString& text) {
  BeginLoad();
  if (text.isEmpty()) return false;
  const QString kept = text;  // the parse may read this memory directly
  return Guarded(false, [&] {
    // Expat reads UTF-8 faster than UTF-16. Text that UTF-8 cannot carry
    // (a lone surrogate) goes as UTF-16, read as it always was.
    QStringEncoder toUtf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    output_.resize(toUtf8.requiredSpace(kept.size()));
    output_.resize(toUtf8.appendToBuffer(output_.data(), kept) - output_.data());
    if (toUtf8.hasError()) {
      Parse(reinterpret_cast<const char*>(kept.utf16()), 2 * kept.size(), kHostUtf16);
    } else {
      BlankOwnDeclaration(output_);
      Parse(output_.constData(), output_.size(), "UTF-8");
    }
  });
}

// ---- value readers ----

Currency TDBXMLCoreObject::CurrencyFromText(const QString& text, Currency defaultValue) {
  bool ok = false;
  const double value = ReadFloatLenient(text, 0.0, &ok);
  return CurrencyFromRead(value, ok, defaultValue);
}

QString TDBXMLCoreObject::CurrencyText(Currency value) { return FormatGeneralNumber(CurrencyToDouble(value)); }

QString TDBXMLCoreObject::BooleanText(bool value) {
  return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool TDBXMLCoreObject::ReadIntegerAttr(const SaxAttributes& attributes, QAnyStringView qName, int& field,
                                       int defaultValue) {
  return ReadAttribute(attributes, qName, field, [&](QByteArrayView t) { return ReadIntLenientUtf8(t, defaultValue); });
}

bool TDBXMLCoreObject::ReadInt64Attr(const SaxAttributes& attributes, QAnyStringView qName, qint64& field,
                                     qint64 defaultValue) {
  return ReadAttribute(attributes, qName, field,
                       [&](QByteArrayView t) { return ReadInt64LenientUtf8(t, defaultValue); });
}

bool TDBXMLCoreObject::ReadFloatAttr(const SaxAttributes& attributes, QAnyStringView qName, double& field,
                                     double defaultValue) {
  return ReadAttribute(attributes, qName, field,
                       [&](QByteArrayView t) { return ReadFloatLenientUtf8(t, defaultValue); });
}

bool TDBXMLCoreObject::ReadCurrencyAttr(const SaxAttributes& attributes, QAnyStringView qName, Currency& field,
                                        Currency defaultValue) {
  return ReadAttribute(attributes, qName, field, [&](QByteArrayView t) {
    bool ok = false;
    const double value = ReadFloatLenientUtf8(t, 0.0, &ok);
    return CurrencyFromRead(value, ok, defaultValue);
  });
}

bool TDBXMLCoreObject::ReadBooleanAttr(const SaxAttributes& attributes, QAnyStringView qName, bool& field,
                                       bool defaultValue) {
  return ReadAttribute(attributes, qName, field,
                       [&](QByteArrayView t) { return ReadBoolLenientUtf8(t, defaultValue); });
}

bool TDBXMLCoreObject::ReadTextAttr(const SaxAttributes& attributes, QAnyStringView qName, QString& field) {
  return attributes.Find(qName, field);
}

int TDBXMLCoreObject::BufferInteger(int defaultValue) const { return ReadIntLenient(BufferText(), defaultValue); }

qint64 TDBXMLCoreObject::BufferInt64(qint64 defaultValue) const {
  return ReadInt64Lenient(BufferText(), defaultValue);
}

double TDBXMLCoreObject::BufferFloat(double defaultValue) const {
  return ReadFloatLenient(BufferText(), defaultValue);
}

Currency TDBXMLCoreObject::BufferCurrency(Currency defaultValue) const {
  return CurrencyFromText(BufferText(), defaultValue);
}

bool TDBXMLCoreObject::BufferBoolean(bool defaultValue) const { return ReadBoolLenient(BufferText(), defaultValue); }
