#pragma once
// The suite's text-file codec. Written: UTF-16LE with byte-order mark and
// CR LF after every line. Read: UTF-16 (either order) or UTF-8 with
// byte-order mark, otherwise Windows-1252.
#include <QByteArray>
#include <QString>
#include <QStringList>

QString DecodeText(const QByteArray& bytes);
QByteArray EncodeText(const QString& text);  // byte-order mark + UTF-16LE
QString DecodeWindows1252(const QByteArray& bytes);

// Splits at CR LF, LF or CR; a final line break does not make an empty last line.
QStringList SplitLines(const QString& text);
// Every line followed by CR LF.
QString JoinLines(const QStringList& lines);

// Reads a whole file; false (and empty text) when it cannot be read.
bool ReadTextFile(const QString& path, QString& text);
bool ReadTextLines(const QString& path, QStringList& lines);
// Replaces the file as a whole: written to a temporary file beside it and
// renamed over it only when every byte reached the disk, so a failure (a
// full disk, say) keeps the old file. On false, error (when given) gets
// the system's reason.
bool WriteTextFile(const QString& path, const QString& text, QString* error = nullptr);
bool WriteTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);
// The same replacement for raw bytes; every "write beside and rename" goes through it.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// What the user is told when such a write failed: the file, that the old
// one is kept, and the system's reason on a line of its own.
QString FileNotWrittenText(const QString& path, const QString& reason);
