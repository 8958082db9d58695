#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Format.h"
#include "Translation.h"
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {
// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeUtf16(const QByteArray& bytes, qsizetype start, bool littleEndian) {
  const qsizetype count = (bytes.size() - start) / 2;
  QString text(count, Qt::Uninitialized);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData() + start);
  QChar* out = text.data();
  for (qsizetype i = 0; i < count; ++i, p += 2)
    out[i] = QChar(littleEndian ? char16_t(p[0] | (p[1] << 8)) : char16_t((p[0] << 8) | p[1]));
  return text;
}
}  // namespace

QString DecodeWindows1252(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    out[i] = QChar(c >= 0x80 && c <= 0x9F ? kCp1252High[c - 0x80] : char16_t(c));
  }
  return text;
}

QString DecodeText(const QByteArray& bytes) {
  if (bytes.startsWith("\xFF\xFE")) return DecodeUtf16(bytes, 2, true);
  if (bytes.startsWith("\xFE\xFF")) return DecodeUtf16(bytes, 2, false);
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
  return DecodeWindows1252(bytes);
}

QByteArray EncodeText(const QString& text) {
  QByteArray bytes;
  bytes.resize(2 + text.size() * 2);
  auto* p = reinterpret_cast<unsigned char*>(bytes.data());
  *p++ = 0xFF;
  *p++ = 0xFE;
  for (QChar c : text) {
    *p++ = static_cast<unsigned char>(c.unicode() & 0xFF);
    *p++ = static_cast<unsigned char>(c.unicode() >> 8);
  }
  return bytes;
}

QStringList SplitLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c != u'\r' && c != u'\n') continue;
    lines.append(text.mid(start, i - start));
    if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.append(text.mid(start));
  return lines;
}

QString JoinLines(const QStringList& lines) {
  QString text;
  qsizetype size = 0;
  for (const QString& line : lines) size += line.size() + 2;
  text.reserve(size);
  for (const QString& line : lines) {
    text += line;
    text += QLatin1String("\r\n");
  }
  return text;
}

bool ReadTextFile(const QString& path, QString& text) {
  text.clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  text = DecodeText(bytes);
  return true;
}

bool ReadTextLines(const QString& path, QStringList& lines) {
  QString text;
  const bool ok = ReadTextFile(path, text);
  lines = SplitLines(text);
  return ok;
}

namespace {
bool Fail(QString* error, const QString& reason) {
  if (error) *error = reason;
  return false;
}

// Flushes the file's data to the disk; a network share or a full disk may
// report a failure only here. A file system that cannot sync at all is no failure.
bool SyncToDisk(QFile& file) {
#ifdef Q_OS_WIN
  return _commit(file.handle()) == 0;
#else
  return ::fsync(file.handle()) == 0 || errno == EINVAL || errno == ENOTSUP;
#endif
}

// A new, empty file beside path; created with the usual permissions, so
// others read it as they read a file made in place.
bool CreateBeside(const QString& path, QFile& file) {
  static int sequence = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    file.setFileName(path + QStringLiteral(".%1-%2.tmp").arg(QCoreApplication::applicationPid()).arg(++sequence));
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) return true;
    if (file.exists()) continue;  // taken by a writer of another process
    return false;
  }
  return false;
}

// Unbuffered: a failing write is seen at once, not first when closing.
bool WriteAll(QFile& file, const QByteArray& bytes) {
  qint64 done = 0;
  while (done < bytes.size()) {
    const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

bool ReplaceWith(const QString& temporary, const QString& path, QString* error) {
  std::error_code ec;
  std::filesystem::rename(temporary.toStdU16String(), path.toStdU16String(), ec);
  return !ec || Fail(error, QString::fromLocal8Bit(ec.message()));
}
}  // namespace

bool WriteFileAtomically(const QString& pathGiven, const QByteArray& bytes, QString* error) {
  // Through a symbolic link the file it names is replaced, not the link.
  const QFileInfo given(pathGiven);
  const QString path = given.isSymLink() ? given.symLinkTarget() : pathGiven;
  QFile file;
  if (!CreateBeside(path, file)) return Fail(error, file.errorString());
  const QFileInfo old(path);
  if (old.exists()) file.setPermissions(old.permissions());  // an INI others read stays readable
  bool ok = WriteAll(file, bytes);
  if (!ok) Fail(error, file.errorString());
  if (ok && !SyncToDisk(file)) ok = Fail(error, QString::fromLocal8Bit(std::strerror(errno)));
  file.close();
  if (ok && file.error() != QFileDevice::NoError) ok = Fail(error, file.errorString());
  if (ok && ReplaceWith(file.fileName(), path, error)) return true;
  QFile::remove(file.fileName());
  return false;
}

QString FileNotWrittenText(const QString& path, const QString& reason) {
  return FormatText(Tr("Die Datei \"%s\" konnte nicht geschrieben werden; die bisherige Datei bleibt unveraendert."),
                    {QDir::toNativeSeparators(path)}) +
         QLatin1Char('\n') + reason;
}

bool WriteTextFile(const QString& path, const QString& text, QString* error) {
  return WriteFileAtomically(path, EncodeText(text), error);
}

bool WriteTextLines(const QString& path, const QStringList& lines, QString* error) {
  return WriteTextFile(path, JoinLines(lines), error);
}
