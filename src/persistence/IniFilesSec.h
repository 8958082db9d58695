#pragma once
// The protected settings files (SYSDATA.INI, SYSDATB.INI): INI files whose
// values are stored as Base64(RC4(MD5hex(Section + Ident + Value) + Value)),
// the text in UTF-16LE, so that a value edited by hand is not taken.
#include <QString>
#include <QStringList>
#include <memory>

#include "MemIniFile.h"

class TProtectedValueCodec;  // cipher, digest and scratch buffers

// The typed reads over a store of verified values. No read ever fails to the
// caller: anything missing, damaged or unconvertible gives the default.
class TCustomIniFileSec {
 public:
  explicit TCustomIniFileSec(const QString& fileName);
  virtual ~TCustomIniFileSec();

  const QString& FileName() const;
  virtual bool SectionExists(const QString& section) const = 0;
  virtual bool ValueExists(const QString& section, const QString& ident) const = 0;
  virtual QStringList ReadSections() const = 0;
  virtual QStringList ReadSection(const QString& section) const = 0;

  // Whether the value is there and passes its digest check (a damaged one reads as the default).
  bool ValueIntact(const QString& section, const QString& ident);
  QString ReadString(const QString& section, const QString& ident, const QString& defaultValue);
  int ReadInteger(const QString& section, const QString& ident, int defaultValue);
  double ReadFloat(const QString& section, const QString& ident, double defaultValue);
  bool ReadBool(const QString& section, const QString& ident, bool defaultValue);

 protected:
  // The plain value when it is present and its digest matches.
  virtual bool ReadVerifiedValue(const QString& section, const QString& ident, QString& value) = 0;

 private:
  QString fileName_;
};

// Reads a protected file; the whole file is loaded once when it is made.
class TIniFileSec : public TCustomIniFileSec {
 public:
  explicit TIniFileSec(const QString& fileName);
  ~TIniFileSec() override;

  bool SectionExists(const QString& section) const override;
  bool ValueExists(const QString& section, const QString& ident) const override;
  QStringList ReadSections() const override;
  QStringList ReadSection(const QString& section) const override;
  // Why the file was not read although it is there; empty when it was read.
  const QString& LoadError() const { return raw_.LoadError(); }

 protected:
  bool ReadVerifiedValue(const QString& section, const QString& ident, QString& value) override;

 private:
  TMemIniFile raw_;
  std::unique_ptr<TProtectedValueCodec> codec_;
};

// The stored text of a value: Base64(RC4(MD5hex(S + I + V) + V)).
QString EncodeProtectedValue(const QString& section, const QString& ident, const QString& value);
// The two halves of that, for building deliberately damaged values.
QString ProtectedDigest(const QString& section, const QString& ident, const QString& value);  // MD5hex(S + I + V)
QString EncipherProtectedText(const QString& plainText);  // Base64(RC4(UTF-16LE))

// Writes protected files (the administrator tool, tests): keeps what the file
// holds, replaces values and writes the whole file back atomically.
class TIniFileSecWriter {
 public:
  explicit TIniFileSecWriter(const QString& fileName);

  void WriteString(const QString& section, const QString& ident, const QString& value);
  void WriteInteger(const QString& section, const QString& ident, int value);
  void WriteFloat(const QString& section, const QString& ident, double value);
  void WriteBool(const QString& section, const QString& ident, bool value);
  void DeleteKey(const QString& section, const QString& ident);
  void EraseSection(const QString& section);
  bool UpdateFile(QString* error = nullptr);

 private:
  TMemIniFile file_;
};
