#include "MemIniFile.h"

#include <QDir>
#include <QFileInfo>

#include "Format.h"
#include "NumberText.h"
#include "TextFile.h"
#include "Translation.h"

namespace {
int HexDigitValue(QChar c) {
  if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  return -1;
}

// Strips "$" or "0x"; returns the base of what is left.
int TakeRadixPrefix(QStringView& digits) {
  if (digits.startsWith(u'$')) {
    digits = digits.mid(1);
    return 16;
  }
  if (digits.startsWith(u"0x", Qt::CaseInsensitive)) {
    digits = digits.mid(2);
    return 16;
  }
  return 10;
}
}  // namespace

bool ParseIniInteger(const QString& text, int& value) {
  QStringView digits = QStringView(text).trimmed();
  bool negative = false;
  if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
    negative = digits.front() == u'-';
    digits = digits.mid(1);
  }
  const int base = TakeRadixPrefix(digits);
  if (digits.isEmpty()) return false;
  // Hexadecimal gives the bits of the 32-bit value, so its range is unsigned.
  const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  quint64 magnitude = 0;
  for (QChar c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || digit >= base) return false;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return false;
  }
  const quint32 bits = static_cast<quint32>(magnitude);
  value = static_cast<int>(negative ? 0u - bits : bits);
  return true;
}

TMemIniFile::TMemIniFile() = default;

TMemIniFile::TMemIniFile(const QString& fileName) : fileName_(fileName) { Load(); }

const QString& TMemIniFile::FileName() const { return fileName_; }

QString TMemIniFile::Fold(const QString& name) { return name.toCaseFolded(); }

const TMemIniFile::Section* TMemIniFile::FindSection(const QString& section) const {
  const auto it = sectionIndex_.constFind(Fold(section));
  return it == sectionIndex_.cend() ? nullptr : &sections_[*it];
}

const TMemIniFile::Entry* TMemIniFile::FindEntry(const QString& section, const QString& ident) const {
  const Section* found = FindSection(section);
  if (!found) return nullptr;
  const auto it = found->entryIndex.constFind(Fold(ident));
  return it == found->entryIndex.cend() ? nullptr : &found->entries[*it];
}

qsizetype TMemIniFile::SectionPosition(const QString& section) {
  const QString key = Fold(section);
  const auto it = sectionIndex_.constFind(key);
  if (it != sectionIndex_.cend()) return *it;
  sections_.append(Section{section, {}, {}});
  sectionIndex_.insert(key, sections_.size() - 1);
  return sections_.size() - 1;
}

void TMemIniFile::AddEntry(Section& section, const QString& key, const QString& ident, const QString& value) {
  section.entries.append(Entry{ident, value});
  section.entryIndex.insert(key, section.entries.size() - 1);
}

void TMemIniFile::SetValue(Section& section, const QString& ident, const QString& value) {
  const QString key = Fold(ident);
  const auto it = section.entryIndex.constFind(key);
  if (it == section.entryIndex.cend())
    AddEntry(section, key, ident, value);
  else
    section.entries[*it].value = value;
}

void TMemIniFile::ReindexEntries(Section& section) {
  section.entryIndex.clear();
  for (qsizetype i = 0; i < section.entries.size(); ++i) section.entryIndex.insert(Fold(section.entries[i].ident), i);
}

void TMemIniFile::ReindexSections() {
  sectionIndex_.clear();
  for (qsizetype i = 0; i < sections_.size(); ++i) sectionIndex_.insert(Fold(sections_[i].name), i);
}

bool TMemIniFile::SectionExists(const QString& section) const { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(const QString& section, const QString& ident) const {
  return FindEntry(section, ident) != nullptr;
}

QString TMemIniFile::ReadString(const QString& section, const QString& ident, const QString& defaultValue) const {
  const Entry* entry = FindEntry(section, ident);
  return entry ? entry->value : defaultValue;
}

int TMemIniFile::ReadInteger(const QString& section, const QString& ident, int defaultValue) const {
  const Entry* entry = FindEntry(section, ident);
  int value = 0;
  return entry && ParseIniInteger(entry->value, value) ? value : defaultValue;
}

double TMemIniFile::ReadFloat(const QString& section, const QString& ident, double defaultValue) const {
  const Entry* entry = FindEntry(section, ident);
  return entry ? ReadFloatLenient(entry->value, defaultValue) : defaultValue;
}

bool TMemIniFile::ReadBool(const QString& section, const QString& ident, bool defaultValue) const {
  const Entry* entry = FindEntry(section, ident);
  return entry ? ReadBoolLenient(entry->value, defaultValue) : defaultValue;
}

void TMemIniFile::WriteString(const QString& section, const QString& ident, const QString& value) {
  SetValue(sections_[SectionPosition(section)], ident, value);
}

void TMemIniFile::WriteInteger(const QString& section, const QString& ident, int value) {
  WriteString(section, ident, QString::number(value));
}

void TMemIniFile::WriteFloat(const QString& section, const QString& ident, double value) {
  WriteString(section, ident, FormatGeneralNumber(value));
}

void TMemIniFile::WriteBool(const QString& section, const QString& ident, bool value) {
  WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList TMemIniFile::ReadSections() const {
  QStringList names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) names.append(section.name);
  return names;
}

QStringList TMemIniFile::ReadSection(const QString& section) const {
  QStringList idents;
  if (const Section* found = FindSection(section))
    for (const Entry& entry : found->entries) idents.append(entry.ident);
  return idents;
}

QStringList TMemIniFile::ReadSectionValues(const QString& section) const {
  QStringList lines;
  if (const Section* found = FindSection(section))
    for (const Entry& entry : found->entries) lines.append(entry.ident + QLatin1Char('=') + entry.value);
  return lines;
}

void TMemIniFile::EraseSection(const QString& section) {
  const auto it = sectionIndex_.constFind(Fold(section));
  if (it == sectionIndex_.cend()) return;
  sections_.removeAt(*it);
  ReindexSections();
}

void TMemIniFile::DeleteKey(const QString& section, const QString& ident) {
  const auto sectionIt = sectionIndex_.constFind(Fold(section));
  if (sectionIt == sectionIndex_.cend()) return;
  Section& found = sections_[*sectionIt];
  const auto entryIt = found.entryIndex.constFind(Fold(ident));
  if (entryIt == found.entryIndex.cend()) return;
  found.entries.removeAt(*entryIt);
  ReindexEntries(found);
}

void TMemIniFile::Clear() {
  sections_.clear();
  sectionIndex_.clear();
}

QString TMemIniFile::Text() const {
  QStringList lines;
  for (const Section& section : sections_) {
    if (!lines.isEmpty()) lines.append(QString());  // a blank line between sections
    lines.append(QLatin1Char('[') + section.name + QLatin1Char(']'));
    for (const Entry& entry : section.entries) lines.append(entry.ident + QLatin1Char('=') + entry.value);
  }
  return JoinLines(lines);
}

void TMemIniFile::ParseLine(QStringView line, qsizetype& current) {
  const QStringView trimmed = line.trimmed();
  if (trimmed.isEmpty() || trimmed.startsWith(u';')) return;
  if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
    current = SectionPosition(trimmed.mid(1, trimmed.size() - 2).trimmed().toString());
    return;
  }
  const qsizetype equals = trimmed.indexOf(u'=');
  if (current < 0 || equals < 0) return;
  const QString ident = trimmed.left(equals).trimmed().toString();
  if (ident.isEmpty()) return;
  Section& section = sections_[current];
  const QString key = Fold(ident);
  // A repeated ident keeps its first value, as other readers of these files do.
  if (!section.entryIndex.contains(key)) AddEntry(section, key, ident, trimmed.mid(equals + 1).trimmed().toString());
}

void TMemIniFile::SetText(const QString& text) {
  Clear();
  qsizetype current = -1;
  for (const QString& line : SplitLines(text)) ParseLine(line, current);
}

// Settings files are a few kilobytes; one far beyond any of them is no
// settings file, and reading it would cost seconds and hundreds of megabytes.
void TMemIniFile::Load() {
  Clear();
  loadError_.clear();
  const QFileInfo file(fileName_);
  if (fileName_.isEmpty() || !file.exists()) return;
  const QString shown = QDir::toNativeSeparators(fileName_);
  QString text;
  if (file.size() > kMaxFileBytes)
    loadError_ = FormatText(Tr("Die Einstellungsdatei \"%s\" ist groesser als %s MB und wird nicht gelesen."),
                            {shown, QString::number(kMaxFileBytes >> 20)});
  else if (!ReadTextFile(fileName_, text))
    loadError_ = FormatText(Tr("Die Einstellungsdatei \"%s\" kann nicht gelesen werden."), {shown});
  else
    SetText(text);
}

const QString& TMemIniFile::LoadError() const { return loadError_; }

// A file that was there but not read is never written over: what it holds would be lost.
bool TMemIniFile::UpdateFile(QString* error) {
  if (fileName_.isEmpty()) return false;
  if (!loadError_.isEmpty()) {
    if (error) *error = loadError_;
    return false;
  }
  return WriteTextFile(fileName_, Text(), error);
}

void TMemIniFile::Rename(const QString& fileName, bool reload) {
  fileName_ = fileName;
  loadError_.clear();
  if (reload) Load();
}
