#include "SaxReader.h"

#include <random>

#include <expat.h>

#include <QStringDecoder>
#include <QUtf8StringView>
#include <climits>
#include <cstring>
#include <exception>
#include <type_traits>
#include <utility>
#include <vector>

#include "SuiteException.h"

static_assert(std::is_same_v<XML_Char, char>, "expat must deliver UTF-8 (built without XML_UNICODE)");

// ---- attributes ----

int SaxAttributes::Count() const {
  int count = 0;
  while (pairs_ && pairs_[2 * count]) ++count;
  return count;
}

QString SaxAttributes::QualifiedName(int index) const { return QString::fromUtf8(pairs_[2 * index]); }

QString SaxAttributes::Value(int index) const { return QString::fromUtf8(pairs_[2 * index + 1]); }

const char* SaxAttributes::RawValue(QAnyStringView qualifiedName) const {
  for (const char** p = pairs_; p && *p; p += 2)
    if (QAnyStringView::equal(QUtf8StringView(*p), qualifiedName)) return p[1];
  return nullptr;
}

bool SaxAttributes::Find(QAnyStringView qualifiedName, QString& value) const {
  const char* raw = RawValue(qualifiedName);
  if (!raw) return false;
  value = QString::fromUtf8(raw);
  return true;
}

bool SaxAttributes::Contains(QAnyStringView qualifiedName) const { return RawValue(qualifiedName) != nullptr; }

// ---- reader ----

namespace {
// Documents use a few dozen distinct names; converting each once keeps
// loading thousands of small records free of name allocations.
class NameCache {
 public:
  struct Name {
    QByteArray utf8;
    QString qualified;
    QString local;
  };

  const Name& Of(const char* utf8) {
    for (const Name& name : names_)
      if (std::strcmp(name.utf8.constData(), utf8) == 0) return name;
    if (names_.size() >= kLimit) names_.clear();
    const QString qualified = QString::fromUtf8(utf8);
    const qsizetype colon = qualified.indexOf(QLatin1Char(':'));
    names_.push_back(Name{QByteArray(utf8), qualified, colon >= 0 ? qualified.mid(colon + 1) : qualified});
    return names_.back();
  }

 private:
  static constexpr size_t kLimit = 256;
  std::vector<Name> names_;
};
}  // namespace

struct SaxReader::Impl {
  XML_Parser parser = XML_ParserCreate(nullptr);
  SaxReader* reader = nullptr;
  NameCache names;
  QStringDecoder utf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom};
  QString characters;  // reused for every character event
  std::exception_ptr pending;
  unsigned long salt = std::random_device{}() | 1u;

  ~Impl() { XML_ParserFree(parser); }

  // A handler's exception must not unwind through expat's C frames: it is
  // kept, the parse is stopped, and Parse throws it again.
  template <class F>
  void Deliver(F&& deliver) {
    if (pending) return;
    try {
      deliver();
    } catch (...) {
      pending = std::current_exception();
      XML_StopParser(parser, XML_FALSE);
    }
  }

  QStringView Decode(const char* s, int len) {
    const qsizetype need = utf8.requiredSpace(len);
    if (characters.size() < need) characters.resize(need);
    QChar* begin = characters.data();
    const QChar* end = utf8.appendToBuffer(begin, QByteArrayView(s, len));
    return QStringView(begin, end - begin);
  }

  static void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* self = static_cast<Impl*>(data);
    self->Deliver([&] {
      const NameCache::Name& n = self->names.Of(name);
      self->reader->content_->StartElement(QString(), n.local, n.qualified, SaxAttributes(attributes));
    });
  }

  static void XMLCALL OnEnd(void* data, const XML_Char* name) {
    auto* self = static_cast<Impl*>(data);
    self->Deliver([&] {
      const NameCache::Name& n = self->names.Of(name);
      self->reader->content_->EndElement(QString(), n.local, n.qualified);
    });
  }

  static void XMLCALL OnCharacters(void* data, const XML_Char* s, int len) {
    auto* self = static_cast<Impl*>(data);
    self->Deliver([&] { self->reader->content_->Characters(self->Decode(s, len)); });
  }

  void Reset(const char* encoding) {
    XML_ParserReset(parser, encoding);  // also drops the handlers
    // Without a salt expat asks the kernel for a new random one on every
    // document; one per reader keeps many small records cheap.
    XML_SetHashSalt(parser, salt);
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &Impl::OnStart, &Impl::OnEnd);
    XML_SetCharacterDataHandler(parser, &Impl::OnCharacters);
    pending = nullptr;
  }

  // Feeds the buffer in pieces that fit expat's int length; false on error.
  bool Feed(const char* data, qint64 size) {
    constexpr qint64 kPiece = qint64(1) << 30;
    do {
      const qint64 piece = qMin(size, kPiece);
      const bool last = piece == size;
      if (XML_Parse(parser, data, static_cast<int>(piece), last ? XML_TRUE : XML_FALSE) != XML_STATUS_OK)
        return false;
      data += piece;
      size -= piece;
    } while (size > 0);
    return true;
  }

  SaxParseError CurrentError() const {
    return SaxParseError{QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(parser))),
                         static_cast<qint64>(XML_GetCurrentLineNumber(parser)),
                         static_cast<qint64>(XML_GetCurrentColumnNumber(parser)) + 1};
  }
};

SaxReader::SaxReader() : impl_(std::make_unique<Impl>()) {
  if (!impl_->parser) throw std::bad_alloc();
  impl_->reader = this;
}

SaxReader::~SaxReader() = default;

namespace {
struct ParsingFlag {
  explicit ParsingFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ParsingFlag() { flag_ = false; }
  bool& flag_;
};
}  // namespace

void SaxReader::Parse(const char* data, qint64 size, const char* encoding) {
  if (parsing_) throw Exception(QStringLiteral("The XML reader is already parsing"));
  if (!content_) throw Exception(QStringLiteral("The XML reader has no content handler"));
  ParsingFlag flag(parsing_);
  impl_->Reset(encoding);
  const bool ok = impl_->Feed(data, size);
  if (impl_->pending) std::rethrow_exception(std::exchange(impl_->pending, nullptr));
  if (!ok && errors_) errors_->FatalError(impl_->CurrentError());
}
