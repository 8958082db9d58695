#pragma once
// An INI file held in memory and read and written through the suite's text
// codec. Section and ident names match ignoring case; their original case
// and order are kept, and new ones go to the end.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class TMemIniFile {
 public:
  TMemIniFile();
  // Loads the file when it can be read; otherwise starts empty.
  explicit TMemIniFile(const QString& fileName);

  // Files larger than this are refused, not read.
  static constexpr qint64 kMaxFileBytes = qint64(16) << 20;
  // Why the file was not read although it is there; empty when it was read
  // or is missing. Such a file is not written over: UpdateFile refuses.
  const QString& LoadError() const;

  const QString& FileName() const;

  bool SectionExists(const QString& section) const;
  bool ValueExists(const QString& section, const QString& ident) const;

  QString ReadString(const QString& section, const QString& ident, const QString& defaultValue) const;
  // Decimal, "$hex" or "0xhex" (32 bits, so "$FFFFFFFF" is -1); else the default.
  int ReadInteger(const QString& section, const QString& ident, int defaultValue) const;
  double ReadFloat(const QString& section, const QString& ident, double defaultValue) const;
  bool ReadBool(const QString& section, const QString& ident, bool defaultValue) const;

  void WriteString(const QString& section, const QString& ident, const QString& value);
  void WriteInteger(const QString& section, const QString& ident, int value);
  void WriteFloat(const QString& section, const QString& ident, double value);
  void WriteBool(const QString& section, const QString& ident, bool value);

  QStringList ReadSections() const;
  QStringList ReadSection(const QString& section) const;
  QStringList ReadSectionValues(const QString& section) const;  // "ident=value"

  void EraseSection(const QString& section);
  void DeleteKey(const QString& section, const QString& ident);
  void Clear();

  QString Text() const;
  void SetText(const QString& text);

  // Replaces the file as a whole; false when that fails (the old file is
  // kept; error gets the reason) or there is no name.
  bool UpdateFile(QString* error = nullptr);
  void Rename(const QString& fileName, bool reload);

 private:
  struct Entry {
    QString ident;
    QString value;
  };
  struct Section {
    QString name;
    QList<Entry> entries;
    QHash<QString, qsizetype> entryIndex;  // folded ident -> position in entries
  };

  static QString Fold(const QString& name);
  const Section* FindSection(const QString& section) const;
  const Entry* FindEntry(const QString& section, const QString& ident) const;
  // Position of the section, appended when it does not exist yet.
  qsizetype SectionPosition(const QString& section);
  static void SetValue(Section& section, const QString& ident, const QString& value);
  static void AddEntry(Section& section, const QString& key, const QString& ident, const QString& value);
  static void ReindexEntries(Section& section);
  void ReindexSections();
  // current: position of the section the line belongs to, -1 before the first.
  void ParseLine(QStringView line, qsizetype& current);
  void Load();

  QString fileName_;
  QString loadError_;
  QList<Section> sections_;
  QHash<QString, qsizetype> sectionIndex_;  // folded name -> position in sections_
};

// Text of an INI integer: decimal, or hexadecimal after "$" or "0x", with an
// optional sign; false when it is not a 32-bit integer.
bool ParseIniInteger(const QString& text, int& value);
