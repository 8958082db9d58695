#include "ULAGConfig.h"

#include "PathUtils.h"
#include "TextFile.h"
#include "TypeUnit.h"

namespace {
const QString kRabattgruppe = QStringLiteral("rabattgruppe");

// Booleans of this file are written as -1 and 0.
QString FlagText(bool value) { return value ? QStringLiteral("-1") : QStringLiteral("0"); }

// A line list as the whole text: every line followed by a line break.
QString ListText(const QStringList& lines) { return XMLEscape(JoinLines(lines)); }
}  // namespace

TLagerConfig::TLagerConfig() { Clear(); }

void TLagerConfig::Clear() {
  Artikelgruppen.clear();
  Lagerorte.clear();
  Pnk.clear();
  Rabattgruppen.Clear();
  currentGroup_ = nullptr;
  StdUebernahmePreis = 1;
  VkpEurKgToVkp = 1;
  StdMRabF = true;
  SpEAN = false;
  Vars = false;
}

QString TLagerConfig::ConfigFileName() {
  const TSystemEinstellungen* system = SystemEinstellungen();
  return system ? NormalizePath(system->AreaDir(TAreaDir::Lager), true) + QStringLiteral("CONFIG.XML") : QString();
}

void TLagerConfig::FillRabattGruppen(QStringList& list) const {
  list.clear();
  for (const TDoubleString& group : Rabattgruppen) list.append(group.First + QLatin1Char(' ') + group.Second);
}

QStringList* TLagerConfig::LineListFor(const QString& element) {
  if (element == QLatin1String("artikelgruppen")) return &Artikelgruppen;
  if (element == QLatin1String("lagerorte")) return &Lagerorte;
  if (element == QLatin1String("pnk")) return &Pnk;
  return nullptr;
}

void TLagerConfig::StartElement(const QString&, const QString&, const QString& qName,
                                const SaxAttributes& attributes) {
  CurrentElement = qName;
  if (qName == kRabattgruppe) {
    // Appended at once: an element without text still is a group.
    currentGroup_ = Rabattgruppen.Add(QString(), QString());
    ReadTextAttr(attributes, "id", currentGroup_->First);
  } else if (LineListFor(qName)) {
    TextBuffer.Clear();
  } else if (qName == QLatin1String("stduebernahmepreis")) {
    ReadIntegerAttr(attributes, "val", StdUebernahmePreis, 1);
  } else if (qName == QLatin1String("vkpeurkgtovkp")) {
    ReadIntegerAttr(attributes, "val", VkpEurKgToVkp, 1);
  } else if (qName == QLatin1String("stdmrabf")) {
    ReadBooleanAttr(attributes, "val", StdMRabF, true);
  } else if (qName == QLatin1String("spean")) {
    ReadBooleanAttr(attributes, "val", SpEAN, false);
  } else if (qName == QLatin1String("vars")) {
    ReadBooleanAttr(attributes, "val", Vars, false);
  }
}

void TLagerConfig::Characters(QStringView text) {
  if (LineListFor(CurrentElement)) {
    TextBuffer.WriteText(text);
  } else if (CurrentElement == kRabattgruppe && currentGroup_) {
    currentGroup_->Second += text;
  }
}

void TLagerConfig::EndElement(const QString&, const QString&, const QString& qName) {
  CurrentElement.clear();
  if (QStringList* list = LineListFor(qName)) *list = SplitLines(BufferText());
  if (qName == kRabattgruppe) currentGroup_ = nullptr;
}

void TLagerConfig::WriteXML(bool) { WriteXMLIndented(QString()); }

void TLagerConfig::WriteXMLIndented(const QString& indent) {
  WriteLine(indent + QStringLiteral("<lagerconfig>"));
  WriteFormatLine(indent + QStringLiteral("  <artikelgruppen>%s</artikelgruppen>"), {ListText(Artikelgruppen)});
  WriteFormatLine(indent + QStringLiteral("  <lagerorte>%s</lagerorte>"), {ListText(Lagerorte)});
  WriteFormatLine(indent + QStringLiteral("  <pnk>%s</pnk>"), {ListText(Pnk)});
  for (const TDoubleString& group : Rabattgruppen)
    WriteFormatLine(indent + QStringLiteral("  <rabattgruppe id=\"%s\">%s</rabattgruppe>"),
                    {XMLEscape(group.First), XMLEscape(group.Second)});
  WriteFormatLine(QStringLiteral("  <stduebernahmepreis val=\"%d\" />"), {StdUebernahmePreis});
  WriteFormatLine(QStringLiteral("  <vkpeurkgtovkp val=\"%d\" />"), {VkpEurKgToVkp});
  WriteFormatLine(QStringLiteral("  <stdmrabf val=\"%s\" />"), {FlagText(StdMRabF)});
  WriteFormatLine(QStringLiteral("  <spean val=\"%s\" />"), {FlagText(SpEAN)});
  WriteFormatLine(QStringLiteral("  <vars val=\"%s\" />"), {FlagText(Vars)});
  WriteLine(indent + QStringLiteral("</lagerconfig>"));
}
