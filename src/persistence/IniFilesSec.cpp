#include "IniFilesSec.h"

#include <nettle/arcfour.h>
#include <nettle/md5.h>

#include <array>
#include <cstdint>

#include "NumberText.h"

#ifndef SUITE_INI_KEY
#error "SUITE_INI_KEY (40 hexadecimal digits) must be defined by the build"
#endif

namespace {
constexpr int kKeySize = 20;
constexpr qsizetype kDigestChars = 32;  // MD5 as upper-case hexadecimal
static_assert(sizeof(SUITE_INI_KEY) == 2 * kKeySize + 1, "SUITE_INI_KEY must be 40 hexadecimal digits");

int HexNibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;  // the build checks the digits
}

const std::array<uint8_t, kKeySize>& SuiteKey() {
  static const std::array<uint8_t, kKeySize> key = [] {
    const char* hex = SUITE_INI_KEY;
    std::array<uint8_t, kKeySize> bytes{};
    for (int i = 0; i < kKeySize; ++i) bytes[i] = uint8_t(HexNibble(hex[2 * i]) << 4 | HexNibble(hex[2 * i + 1]));
    return bytes;
  }();
  return key;
}

int Base64Value(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'A' && u <= u'Z') return u - u'A';
  if (u >= u'a' && u <= u'z') return u - u'a' + 26;
  if (u >= u'0' && u <= u'9') return u - u'0' + 52;
  if (u == u'+') return 62;
  if (u == u'/') return 63;
  return -1;
}

// Every character outside the alphabet (padding, line noise) is skipped; a
// final group of three characters gives two bytes, of two characters one.
void DecodeBase64Lenient(const QString& text, QByteArray& out) {
  out.resize(0);
  out.reserve(text.size() * 3 / 4 + 1);
  quint32 bits = 0;
  int pending = 0;
  for (QChar c : text) {
    const int value = Base64Value(c);
    if (value < 0) continue;
    bits = (bits << 6) | quint32(value);
    pending += 6;
    if (pending >= 8) {
      pending -= 8;
      out.append(char((bits >> pending) & 0xFF));
    }
  }
}

void AppendUtf16Le(QByteArray& bytes, const QString& text) {
  for (QChar c : text) {
    bytes.append(char(c.unicode() & 0xFF));
    bytes.append(char(c.unicode() >> 8));
  }
}

char16_t Utf16LeAt(const uint8_t* bytes, qsizetype index) {
  return char16_t(bytes[2 * index] | (bytes[2 * index + 1] << 8));
}

QString Utf16LeToString(const uint8_t* bytes, qsizetype count) {
  QString text(count, Qt::Uninitialized);
  QChar* out = text.data();
  for (qsizetype i = 0; i < count; ++i) out[i] = QChar(Utf16LeAt(bytes, i));
  return text;
}

void HexUpper(const uint8_t (&digest)[MD5_DIGEST_SIZE], char (&hex)[kDigestChars]) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (int i = 0; i < MD5_DIGEST_SIZE; ++i) {
    hex[2 * i] = kDigits[digest[i] >> 4];
    hex[2 * i + 1] = kDigits[digest[i] & 0x0F];
  }
}
}  // namespace

// Keyed once; the key stream restarts from that state for every value.
class TProtectedValueCodec {
 public:
  TProtectedValueCodec() { arcfour_set_key(&keyed_, kKeySize, SuiteKey().data()); }

  // The value inside stored text, when it holds more than a digest and the
  // digest matches the caller's section and ident.
  bool Decode(const QString& section, const QString& ident, const QString& stored, QString& value) {
    DecodeBase64Lenient(stored, cipherBytes_);
    const qsizetype chars = cipherBytes_.size() / 2;
    if (chars <= kDigestChars) return false;
    Crypt(cipherBytes_, plainBytes_);
    const auto* plain = reinterpret_cast<const uint8_t*>(plainBytes_.constData());
    const uint8_t* valueBytes = plain + 2 * kDigestChars;
    const qsizetype valueChars = chars - kDigestChars;
    BeginDigest(section, ident);
    md5_update(&md5_, size_t(2 * valueChars), valueBytes);
    char expected[kDigestChars];
    FinishDigest(expected);
    for (qsizetype i = 0; i < kDigestChars; ++i)
      if (Utf16LeAt(plain, i) != char16_t(uint8_t(expected[i]))) return false;
    value = Utf16LeToString(valueBytes, valueChars);
    return true;
  }

  QString Digest(const QString& section, const QString& ident, const QString& value) {
    BeginDigest(section, ident);
    UpdateUtf16Le(value);
    char hex[kDigestChars];
    FinishDigest(hex);
    return QString::fromLatin1(hex, kDigestChars);
  }

  QString Encipher(const QString& plainText) {
    plainBytes_.resize(0);
    AppendUtf16Le(plainBytes_, plainText);
    Crypt(plainBytes_, cipherBytes_);
    return QString::fromLatin1(cipherBytes_.toBase64());
  }

 private:
  void Crypt(const QByteArray& in, QByteArray& out) {
    out.resize(in.size());
    arcfour_ctx stream = keyed_;
    arcfour_crypt(&stream, size_t(in.size()), reinterpret_cast<uint8_t*>(out.data()),
                  reinterpret_cast<const uint8_t*>(in.constData()));
  }

  void BeginDigest(const QString& section, const QString& ident) {
    md5_init(&md5_);
    UpdateUtf16Le(section);
    UpdateUtf16Le(ident);
  }

  void UpdateUtf16Le(const QString& text) {
    uint8_t chunk[256];
    qsizetype used = 0;
    for (QChar c : text) {
      chunk[used++] = uint8_t(c.unicode() & 0xFF);
      chunk[used++] = uint8_t(c.unicode() >> 8);
      if (used == qsizetype(sizeof chunk)) {
        md5_update(&md5_, size_t(used), chunk);
        used = 0;
      }
    }
    md5_update(&md5_, size_t(used), chunk);
  }

  void FinishDigest(char (&hex)[kDigestChars]) {
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&md5_, MD5_DIGEST_SIZE, digest);
    HexUpper(digest, hex);
  }

  arcfour_ctx keyed_;
  md5_ctx md5_;
  QByteArray cipherBytes_;
  QByteArray plainBytes_;
};

TCustomIniFileSec::TCustomIniFileSec(const QString& fileName) : fileName_(fileName) {}

TCustomIniFileSec::~TCustomIniFileSec() = default;

const QString& TCustomIniFileSec::FileName() const { return fileName_; }

bool TCustomIniFileSec::ValueIntact(const QString& section, const QString& ident) {
  QString value;
  return ReadVerifiedValue(section, ident, value);
}

QString TCustomIniFileSec::ReadString(const QString& section, const QString& ident, const QString& defaultValue) {
  QString value;
  return ReadVerifiedValue(section, ident, value) ? value : defaultValue;
}

int TCustomIniFileSec::ReadInteger(const QString& section, const QString& ident, int defaultValue) {
  QString value;
  return ReadVerifiedValue(section, ident, value) ? ReadIntLenient(value, defaultValue) : defaultValue;
}

double TCustomIniFileSec::ReadFloat(const QString& section, const QString& ident, double defaultValue) {
  QString value;
  return ReadVerifiedValue(section, ident, value) ? ReadFloatLenient(value, defaultValue) : defaultValue;
}

bool TCustomIniFileSec::ReadBool(const QString& section, const QString& ident, bool defaultValue) {
  QString value;
  return ReadVerifiedValue(section, ident, value) ? ReadBoolLenient(value, defaultValue) : defaultValue;
}

TIniFileSec::TIniFileSec(const QString& fileName)
    : TCustomIniFileSec(fileName), raw_(fileName), codec_(std::make_unique<TProtectedValueCodec>()) {}

TIniFileSec::~TIniFileSec() = default;

bool TIniFileSec::SectionExists(const QString& section) const { return raw_.SectionExists(section); }

bool TIniFileSec::ValueExists(const QString& section, const QString& ident) const {
  return raw_.ValueExists(section, ident);
}

QStringList TIniFileSec::ReadSections() const { return raw_.ReadSections(); }

QStringList TIniFileSec::ReadSection(const QString& section) const { return raw_.ReadSection(section); }

bool TIniFileSec::ReadVerifiedValue(const QString& section, const QString& ident, QString& value) {
  const QString stored = raw_.ReadString(section, ident, QString());
  return !stored.isEmpty() && codec_->Decode(section, ident, stored, value);
}

QString ProtectedDigest(const QString& section, const QString& ident, const QString& value) {
  return TProtectedValueCodec().Digest(section, ident, value);
}

QString EncipherProtectedText(const QString& plainText) { return TProtectedValueCodec().Encipher(plainText); }

QString EncodeProtectedValue(const QString& section, const QString& ident, const QString& value) {
  TProtectedValueCodec codec;
  return codec.Encipher(codec.Digest(section, ident, value) + value);
}

TIniFileSecWriter::TIniFileSecWriter(const QString& fileName) : file_(fileName) {}

void TIniFileSecWriter::WriteString(const QString& section, const QString& ident, const QString& value) {
  file_.WriteString(section, ident, EncodeProtectedValue(section, ident, value));
}

void TIniFileSecWriter::WriteInteger(const QString& section, const QString& ident, int value) {
  WriteString(section, ident, QString::number(value));
}

void TIniFileSecWriter::WriteFloat(const QString& section, const QString& ident, double value) {
  WriteString(section, ident, FormatGeneralNumber(value));
}

void TIniFileSecWriter::WriteBool(const QString& section, const QString& ident, bool value) {
  WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFileSecWriter::DeleteKey(const QString& section, const QString& ident) { file_.DeleteKey(section, ident); }

void TIniFileSecWriter::EraseSection(const QString& section) { file_.EraseSection(section); }

bool TIniFileSecWriter::UpdateFile(QString* error) { return file_.UpdateFile(error); }
