#include "SaxReader.h"

#include <random>

#include <expat.h>

#include <QStringDecoder>
#include <QUtf8StringView>
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <climits>
#include <cstring>
#include <deque>
#include <exception>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "SaxFastScan.h"
#include "SuiteException.h"
#include "Translation.h"

static_assert(std::is_same_v<XML_Char, char>, "expat must deliver UTF-8 (built without XML_UNICODE)");

// ---- attributes ----

int SaxAttributes::Count() const {
  int count = 0;
  while (pairs_ && pairs_[2 * count]) ++count;
  return count;
}

QString SaxAttributes::QualifiedName(int index) const { return QString::fromUtf8(pairs_[2 * index]); }

QString SaxAttributes::Value(int index) const { return QString::fromUtf8(pairs_[2 * index + 1]); }

namespace {
char16_t Unit(char c) { return char16_t(static_cast<unsigned char>(c)); }
char16_t Unit(QChar c) { return c.unicode(); }

// A name asked for, as bytes that compare with expat's UTF-8 names: a UTF-8
// name as it is, an ASCII one copied; others are compared the slow way.
class WantedName {
 public:
  explicit WantedName(QAnyStringView name) {
    name.visit([&](auto view) {
      if constexpr (std::is_same_v<decltype(view), QUtf8StringView>) {
        bytes_ = view.data();
        size_ = view.size();
      } else if (view.size() < qsizetype(sizeof copy_) && CopyAscii(view)) {
        bytes_ = copy_;
      }
    });
  }
  bool Comparable() const { return bytes_ != nullptr; }
  bool Names(const char* utf8) const {
    for (qsizetype i = 0; i < size_; ++i)
      if (utf8[i] != bytes_[i] || utf8[i] == 0) return false;
    return utf8[size_] == 0;
  }

 private:
  template <class View>
  bool CopyAscii(View view) {
    for (const auto unit : view) {
      const char16_t c = Unit(unit);
      if (c == 0 || c >= 0x80) return false;
      copy_[size_++] = char(c);
    }
    return true;
  }

  const char* bytes_ = nullptr;
  qsizetype size_ = 0;
  char copy_[64];
};
}  // namespace

const char* SaxAttributes::Utf8Value(QAnyStringView qualifiedName) const {
  const WantedName wanted(qualifiedName);
  for (const char** p = pairs_; p && *p; p += 2)
    if (wanted.Comparable() ? wanted.Names(*p) : QAnyStringView::equal(QUtf8StringView(*p), qualifiedName))
      return p[1];
  return nullptr;
}

bool SaxAttributes::Find(QAnyStringView qualifiedName, QString& value) const {
  const char* raw = Utf8Value(qualifiedName);
  if (!raw) return false;
  value = QString::fromUtf8(raw);
  return true;
}

bool SaxAttributes::Contains(QAnyStringView qualifiedName) const { return Utf8Value(qualifiedName) != nullptr; }

// ---- reader ----

namespace {
// Documents use a few dozen distinct names; converting each once keeps
// loading thousands of small records free of name allocations. Names stay
// where they are during a document, so open elements can point at them.
class NameCache {
 public:
  struct Name {
    QByteArray utf8;
    QString qualified;
    QString local;
  };

  const Name& Of(const char* utf8) {
    const QByteArrayView wanted(utf8, qsizetype(std::strlen(utf8)));
    // Records of one kind repeat their order of elements: try the one after the last first.
    if (next_ < Searched() && names_[next_].utf8 == wanted) return names_[next_++];
    for (size_t i = 0; i < Searched(); ++i)
      if (names_[i].utf8 == wanted) {
        next_ = i + 1;
        return names_[i];
      }
    const QString qualified = QString::fromUtf8(wanted);
    const qsizetype colon = qualified.indexOf(QLatin1Char(':'));
    names_.push_back(Name{wanted.toByteArray(), qualified, colon >= 0 ? qualified.mid(colon + 1) : qualified});
    next_ = names_.size();
    return names_.back();
  }

  // Between documents only: a document with very many names does not slow down the next.
  void ForgetIfMany() {
    if (names_.size() > kLimit) names_.clear();
    next_ = 0;
  }

 private:
  static constexpr size_t kLimit = 256;
  // Beyond the limit names are kept for the document but not looked up again.
  size_t Searched() const { return std::min(names_.size(), kLimit); }

  std::deque<Name> names_;
  size_t next_ = 0;
};
}  // namespace

namespace {
// Every reset empties expat's name tables, and the next document fills them
// again: the same few dozen small blocks per record. Blocks of up to 256
// bytes are kept on the thread for the next document instead of going back
// to malloc each time.
class ExpatBlocks {
 public:
  static void* Allocate(size_t size) {
    const size_t capacity = CapacityFor(size);
    if (IsSmall(capacity) && tAlive) {
      std::vector<Header*>& kept = Lists().kept[ClassOf(capacity)];
      if (!kept.empty()) {
        Header* block = kept.back();
        kept.pop_back();
        return block + 1;
      }
    }
    auto* block = static_cast<Header*>(std::malloc(sizeof(Header) + capacity));
    if (!block) return nullptr;
    block->capacity = capacity;
    return block + 1;
  }

  static void Release(void* memory) {
    if (!memory) return;
    Header* block = static_cast<Header*>(memory) - 1;
    if (IsSmall(block->capacity) && tAlive) {
      std::vector<Header*>& kept = Lists().kept[ClassOf(block->capacity)];
      if (kept.size() < kKeptPerClass) {
        kept.push_back(block);  // reserved: cannot throw
        return;
      }
    }
    std::free(block);
  }

  static void* Reallocate(void* memory, size_t size) {
    if (!memory) return Allocate(size);
    const size_t capacity = (static_cast<Header*>(memory) - 1)->capacity;
    if (size <= capacity) return memory;
    void* grown = Allocate(size);
    if (!grown) return nullptr;
    std::memcpy(grown, memory, capacity);
    Release(memory);
    return grown;
  }

  static constexpr XML_Memory_Handling_Suite kSuite{&Allocate, &Reallocate, &Release};

 private:
  struct alignas(std::max_align_t) Header {
    size_t capacity;
  };
  static constexpr size_t kStep = 16, kClasses = 16, kKeptPerClass = 256;

  struct KeptLists {
    std::vector<Header*> kept[kClasses];
    KeptLists() {
      for (auto& list : kept) list.reserve(kKeptPerClass);
    }
    ~KeptLists() {
      tAlive = false;  // parsers freed later (static objects) go straight to free
      for (auto& list : kept)
        for (Header* block : list) std::free(block);
    }
  };

  static size_t CapacityFor(size_t size) { return size <= kStep ? kStep : (size + kStep - 1) / kStep * kStep; }
  static bool IsSmall(size_t capacity) { return capacity <= kStep * kClasses; }
  static size_t ClassOf(size_t capacity) { return capacity / kStep - 1; }
  static KeptLists& Lists() {
    thread_local KeptLists lists;
    return lists;
  }
  static thread_local bool tAlive;
};

thread_local bool ExpatBlocks::tAlive = true;
}  // namespace

namespace {
unsigned long ProcessSalt() {
  static const unsigned long salt = std::random_device{}() | 1u;
  return salt;
}
}  // namespace

struct SaxReader::Impl {
  XML_Parser parser = XML_ParserCreate_MM(nullptr, &ExpatBlocks::kSuite, nullptr);
  SaxReader* reader = nullptr;
  NameCache names;
  std::vector<const NameCache::Name*> open;  // the elements started and not yet ended
  QStringDecoder utf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom};
  // Expat cuts text at every entity and line end; the pieces are joined
  // and handed over as one before the next tag, or when they grow long.
  static constexpr size_t kJoinedText = 4096;
  std::string text;
  QString characters;  // reused for every delivery
  std::exception_ptr pending;
  bool expatParsing = false;
  SaxFastScan fast;
  bool expatOnly = false;
  // One salt per process: seeding a random device per document cost more than the parse.
  unsigned long salt = ProcessSalt();

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
      if (expatParsing) XML_StopParser(parser, XML_FALSE);
    }
  }

  QStringView Decode(QByteArrayView bytes) {
    const qsizetype need = utf8.requiredSpace(bytes.size());
    if (characters.size() < need) characters.resize(need);
    QChar* begin = characters.data();
    const QChar* end = utf8.appendToBuffer(begin, bytes);
    return QStringView(begin, end - begin);
  }

  void DeliverText() {
    if (text.empty()) return;
    Deliver([&] { reader->content_->Characters(Decode(QByteArrayView(text.data(), qsizetype(text.size())))); });
    text.clear();  // keeps the capacity
  }

  static void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* self = static_cast<Impl*>(data);
    self->DeliverText();
    self->Deliver([&] {
      const NameCache::Name& n = self->names.Of(name);
      self->open.push_back(&n);
      self->reader->content_->StartElement(QString(), n.local, n.qualified, SaxAttributes(attributes));
    });
  }

  // Expat ends the innermost open element: its name is known already.
  static void XMLCALL OnEnd(void* data, const XML_Char*) {
    auto* self = static_cast<Impl*>(data);
    self->DeliverText();
    if (self->pending || self->open.empty()) return;  // after a stop expat may still end an element
    const NameCache::Name& n = *self->open.back();
    self->open.pop_back();
    self->Deliver([&] { self->reader->content_->EndElement(QString(), n.local, n.qualified); });
  }

  static void XMLCALL OnCharacters(void* data, const XML_Char* s, int len) {
    auto* self = static_cast<Impl*>(data);
    if (self->pending) return;
    self->text.append(s, size_t(len));
    if (self->text.size() >= kJoinedText) self->DeliverText();  // long text still goes in pieces
  }

  // No file of this system declares entities. Refusing every declaration
  // means no external entity is ever read and no expansion can multiply a
  // small file into gigabytes; expat's own amplification limit stays on too.
  bool entityRefused = false;
  static void XMLCALL OnEntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                          const XML_Char*, const XML_Char*, const XML_Char*) {
    auto* self = static_cast<Impl*>(data);
    self->entityRefused = true;
    XML_StopParser(self->parser, XML_FALSE);
  }

  void BeginDocument() {
    entityRefused = false;
    pending = nullptr;
    expatParsing = false;
    open.clear();
    names.ForgetIfMany();
    text.clear();
  }

  void ResetExpat(const char* encoding) {
    XML_ParserReset(parser, encoding);  // also drops the handlers
    // Without a salt expat asks the kernel for a new random one on every
    // document; one per reader keeps many small records cheap.
    XML_SetHashSalt(parser, salt);
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &Impl::OnStart, &Impl::OnEnd);
    XML_SetCharacterDataHandler(parser, &Impl::OnCharacters);
    XML_SetEntityDeclHandler(parser, &Impl::OnEntityDeclaration);
  }

  // Hands the scanned events over through the same handlers expat calls.
  void Replay() {
    for (const SaxFastScan::Event& event : fast.Events()) {
      if (pending) break;
      switch (event.kind) {
        case SaxFastScan::Kind::Start: OnStart(this, fast.Name(event), fast.Attributes(event)); break;
        case SaxFastScan::Kind::End: OnEnd(this, nullptr); break;
        case SaxFastScan::Kind::Text:
        case SaxFastScan::Kind::Newline: {
          const QByteArrayView bytes = fast.Text(event);
          OnCharacters(this, bytes.data(), int(bytes.size()));
          break;
        }
      }
    }
    DeliverText();
  }

  // The document through expat; false on a fault.
  bool ParseWithExpat(const char* data, qint64 size, const char* encoding) {
    ResetExpat(encoding);
    expatParsing = true;
    const bool ok = Feed(data, size);
    expatParsing = false;
    return ok;
  }

  // Feeds the buffer in pieces that fit expat's int length; false on error.
  // Text before an error is handed over before the error is.
  bool Feed(const char* data, qint64 size) {
    constexpr qint64 kPiece = qint64(1) << 30;
    bool ok = true;
    do {
      const qint64 piece = qMin(size, kPiece);
      const bool last = piece == size;
      ok = XML_Parse(parser, data, static_cast<int>(piece), last ? XML_TRUE : XML_FALSE) == XML_STATUS_OK;
      data += piece;
      size -= piece;
    } while (ok && size > 0);
    DeliverText();
    return ok;
  }

  SaxParseError CurrentError() const {
    const QString message =
        entityRefused ? Tr("Die XML-Datei deklariert Entitaeten; solche Dateien werden aus Sicherheitsgruenden nicht gelesen.")
                      : QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(parser)));
    return SaxParseError{message,
                         static_cast<qint64>(XML_GetCurrentLineNumber(parser)),
                         static_cast<qint64>(XML_GetCurrentColumnNumber(parser)) + 1};
  }
};

SaxReader::SaxReader() : impl_(std::make_unique<Impl>()) {
  if (!impl_->parser) throw std::bad_alloc();
  impl_->reader = this;
}

SaxReader::~SaxReader() = default;

void SaxReader::SetExpatOnly(bool on) { impl_->expatOnly = on; }

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
  impl_->BeginDocument();
  // The documents this system writes are read without expat. The scanner
  // calls no handler before it has taken the whole document, so any other
  // goes to expat as it is.
  bool ok = true;
  if (!impl_->expatOnly && impl_->fast.Scan(data, size, encoding))
    impl_->Replay();
  else
    ok = impl_->ParseWithExpat(data, size, encoding);
  if (impl_->pending) std::rethrow_exception(std::exchange(impl_->pending, nullptr));
  if (!ok && errors_) errors_->FatalError(impl_->CurrentError());
}
