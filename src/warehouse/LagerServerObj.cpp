#include "LagerServerObj.h"

#include <QDateTime>

#include "NumberText.h"
#include "TextFile.h"

namespace {
const QString kImg = QStringLiteral("img");

// ' name="value"', the value escaped.
QString Attr(const char16_t* name, const QString& value) {
  return u' ' + QString::fromUtf16(name) + QStringLiteral("=\"") + XMLEscape(value) + u'"';
}
// Numbers and texts are written only when they are not 0 or empty.
QString NumberAttr(const char16_t* name, double value) {
  return value == 0 ? QString() : Attr(name, FormatGeneralNumber(value));
}
QString CurrencyAttr(const char16_t* name, Currency value) { return NumberAttr(name, CurrencyToDouble(value)); }
QString TextAttr(const char16_t* name, const QString& value) { return value.isEmpty() ? QString() : Attr(name, value); }
// A switch on is written as -1.
QString FlagAttr(const char16_t* name, bool on) { return on ? Attr(name, QStringLiteral("-1")) : QString(); }
// A CDATA section cannot hold "]]>": it is split across two sections.
QString CData(const QString& text) {
  QString body = text;
  body.replace(QStringLiteral("]]>"), QStringLiteral("]]]]><![CDATA[>"));
  return QStringLiteral("<![CDATA[") + body + QStringLiteral("]]>");
}
QString TwoDigits(int value) { return QString::number(value).rightJustified(2, u'0'); }
}  // namespace

TLagerDateTime LagerNow() {
  // Every record read starts from "now", so the time zone (which the C
  // library looks up in the file system) is asked at most once a minute.
  static qint64 offsetMs = 0, offsetTakenAt = 0;
  static bool taken = false;  // "never" as a time would overflow the difference below
  const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
  if (!taken || utcMs < offsetTakenAt || utcMs - offsetTakenAt > 60000) {
    offsetMs = qint64(QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc()) * 1000;
    offsetTakenAt = utcMs;
    taken = true;
  }
  constexpr qint64 kEpochToDayZeroMs = 25569LL * 86400000LL;  // 1899-12-30 to 1970-01-01
  return double(utcMs + offsetMs + kEpochToDayZeroMs) / 86400000.0;
}

TLagerServerObj::TLagerServerObj() { Clear(); }

void TLagerServerObj::Clear() {
  LagerArtikelNr.clear(), EAN.clear(), AlternativArtikelNr.clear(), Katalog.clear(), Bezeichnung.clear();
  BuchungsBestand = SummeWareneingangMe = 0;
  Gruppe.clear(), Lagerort.clear();
  Inventurartikel = false;
  Anfangsbestand = InventurErfassung = Inventurdifferenz = 0;
  Rabattgruppen.clear(), ME.clear();
  DEinstandsPreisbildung = false;
  EKPreis = 0;
  VKZuschlag = 0;
  MwStSatz = 0;
  SNPflicht = false;
  STKL.clear();
  ViewColor = 0;
  IsNotBestandsArtikel = false;

  Created = Changed = LagerNow();
  CreatedBy.clear(), ChangedBy.clear();
  Gew = GewQm = Obf = Laenge = Breite = Dicke = Dichte = Vol = 0;
  EkPkg = 0;
  Uf = 1;
  UfMe.clear();
  Pe = 1;
  Vkp.fill(0);
  Lt.clear(), Kt.clear(), Et.clear();
  Az = 0;
  L = 0;
  Orab = Oprov = Eksp = Vksp = Ncek = false;
  MinDB.clear();
  Lsrnr.clear();
  Images.Clear();
  KatRefs.Clear();
  ExtensionData.clear();
  currentImage_ = nullptr;
}

QString TLagerServerObj::MinBestandLine(int fromDay, int fromMonth, int toDay, int toMonth, double minimum,
                                        double order) {
  return QStringLiteral("<from>") + TwoDigits(fromDay) + TwoDigits(fromMonth) + QStringLiteral("</from><to>") +
         TwoDigits(toDay) + TwoDigits(toMonth) + QStringLiteral("</to><mb>") + FormatGeneralNumber(minimum) +
         QStringLiteral("</mb><bm>") + FormatGeneralNumber(order) + QStringLiteral("</bm>");
}

// ---- writing ----

void TLagerServerObj::WriteTextLine(const QString& tag, const QString& text) {
  if (!text.isEmpty())
    WriteLine(QStringLiteral("  <") + tag + u'>' + XMLEscape(text) + QStringLiteral("</") + tag + u'>');
}

void TLagerServerObj::WriteXML(bool) {
  WriteLine(QStringLiteral("<lagerartikel") + Attr(u"nr", LagerArtikelNr) + Attr(u"c", FormatGeneralNumber(Created)) +
            Attr(u"cby", CreatedBy) + Attr(u"ch", FormatGeneralNumber(Changed)) + Attr(u"chby", ChangedBy) + u'>');
  // uf is written even when 0: a missing one reads as 1.
  WriteLine(QStringLiteral("  <ainfo") + NumberAttr(u"gew", Gew) + NumberAttr(u"gewqm", GewQm) +
            NumberAttr(u"obf", Obf) + NumberAttr(u"laenge", Laenge) + CurrencyAttr(u"ekpkg", EkPkg) +
            NumberAttr(u"breite", Breite) + NumberAttr(u"dicke", Dicke) + NumberAttr(u"dichte", Dichte) +
            NumberAttr(u"vol", Vol) + Attr(u"uf", FormatGeneralNumber(Uf)) + TextAttr(u"ufme", UfMe) + QStringLiteral(" />"));
  WriteLine(QStringLiteral("  <pinfo") + (Pe > 0 ? NumberAttr(u"pe", Pe) : QString()) + CurrencyAttr(u"vkp1", Vkp[0]) +
            CurrencyAttr(u"vkp2", Vkp[1]) + CurrencyAttr(u"vkp3", Vkp[2]) + CurrencyAttr(u"vkp4", Vkp[3]) +
            CurrencyAttr(u"vkp5", Vkp[4]) + QStringLiteral(" />"));
  WriteTextLine(QStringLiteral("lt"), Lt);
  WriteTextLine(QStringLiteral("kt"), Kt);
  WriteTextLine(QStringLiteral("et"), Et);
  WriteLine(QStringLiteral("  <minfo") + NumberAttr(u"az", Az) + CurrencyAttr(u"l", L) + FlagAttr(u"orab", Orab) +
            FlagAttr(u"oprov", Oprov) + FlagAttr(u"eksp", Eksp) + FlagAttr(u"vksp", Vksp) + FlagAttr(u"ncek", Ncek) +
            QStringLiteral(" />"));
  WriteTextLine(QStringLiteral("mindb"), MinDB.join(QStringLiteral("\r\n")));
  if (!Lsrnr.isEmpty()) WriteLine(QStringLiteral("  <lsrnr") + Attr(u"val", Lsrnr) + QStringLiteral("/>"));
  for (const TDoubleString& image : Images)
    WriteLine(QStringLiteral("  <img") + Attr(u"key", image.First) + u'>' + XMLEscape(image.Second) +
              QStringLiteral("</img>"));
  if (KatRefs.Count() > 0) {
    WriteLine(QStringLiteral("  <katrefs>"));
    for (const TDoubleString& ref : KatRefs)
      WriteLine(QStringLiteral("    <katref") + Attr(u"key", ref.First) + Attr(u"val", ref.Second) +
                QStringLiteral("/>"));
    WriteLine(QStringLiteral("  </katrefs>"));
  }
  if (!ExtensionData.isEmpty())
    WriteLine(QStringLiteral("<extensiondata>") + CData(ExtensionData) + QStringLiteral("</extensiondata>"));
  WriteLine(QStringLiteral("</lagerartikel>"));
}

// ---- reading ----

QString* TLagerServerObj::TextFieldFor(const QString& element) {
  if (element == QLatin1String("lt")) return &Lt;
  if (element == QLatin1String("kt")) return &Kt;
  if (element == QLatin1String("et")) return &Et;
  if (element == QLatin1String("extensiondata")) return &ExtensionData;
  return nullptr;
}

void TLagerServerObj::ReadAInfo(const SaxAttributes& a) {
  ReadFloatAttr(a, "gew", Gew, 0);
  ReadFloatAttr(a, "gewqm", GewQm, 0);
  ReadFloatAttr(a, "obf", Obf, 0);
  ReadFloatAttr(a, "laenge", Laenge, 0);
  ReadCurrencyAttr(a, "ekpkg", EkPkg, 0);
  ReadFloatAttr(a, "breite", Breite, 0);
  ReadFloatAttr(a, "dicke", Dicke, 0);
  ReadFloatAttr(a, "dichte", Dichte, 0);
  ReadFloatAttr(a, "vol", Vol, 0);
  ReadFloatAttr(a, "uf", Uf, 1);
  ReadTextAttr(a, "ufme", UfMe);
}

void TLagerServerObj::ReadPInfo(const SaxAttributes& a) {
  ReadIntegerAttr(a, "pe", Pe, 1);
  if (Pe < 1) Pe = 1;
  const char* names[] = {"vkp1", "vkp2", "vkp3", "vkp4", "vkp5"};
  for (size_t i = 0; i < Vkp.size(); ++i) ReadCurrencyAttr(a, names[i], Vkp[i], 0);
}

void TLagerServerObj::ReadMInfo(const SaxAttributes& a) {
  ReadFloatAttr(a, "az", Az, 0);
  ReadCurrencyAttr(a, "l", L, 0);
  ReadBooleanAttr(a, "orab", Orab, false);
  ReadBooleanAttr(a, "oprov", Oprov, false);
  ReadBooleanAttr(a, "eksp", Eksp, false);
  ReadBooleanAttr(a, "vksp", Vksp, false);
  ReadBooleanAttr(a, "ncek", Ncek, false);
}

void TLagerServerObj::StartElement(const QString&, const QString&, const QString& qName, const SaxAttributes& a) {
  CurrentElement = qName;
  if (qName == QLatin1String("lagerartikel")) {
    ReadTextAttr(a, "nr", LagerArtikelNr);
    ReadFloatAttr(a, "c", Created, LagerNow());
    ReadTextAttr(a, "cby", CreatedBy);
    ReadFloatAttr(a, "ch", Changed, LagerNow());
    ReadTextAttr(a, "chby", ChangedBy);
  } else if (qName == QLatin1String("ainfo")) {
    ReadAInfo(a);
  } else if (qName == QLatin1String("pinfo")) {
    ReadPInfo(a);
  } else if (qName == QLatin1String("minfo")) {
    ReadMInfo(a);
  } else if (qName == QLatin1String("lsrnr")) {
    ReadTextAttr(a, "val", Lsrnr);
  } else if (qName == kImg) {
    currentImage_ = Images.Add(QString(), QString());
    ReadTextAttr(a, "key", currentImage_->First);
  } else if (qName == QLatin1String("katref")) {
    TDoubleString* ref = KatRefs.Add(QString(), QString());
    ReadTextAttr(a, "key", ref->First);
    ReadTextAttr(a, "val", ref->Second);
  } else if (TextFieldFor(qName) || qName == QLatin1String("mindb")) {
    TextBuffer.Clear();
  }
}

void TLagerServerObj::Characters(QStringView text) {
  if (CurrentElement == kImg && currentImage_)
    currentImage_->Second += text;
  else if (TextFieldFor(CurrentElement) || CurrentElement == QLatin1String("mindb"))
    TextBuffer.WriteText(text);
}

void TLagerServerObj::EndElement(const QString&, const QString&, const QString& qName) {
  CurrentElement.clear();
  if (QString* field = TextFieldFor(qName))
    *field = BufferText();
  else if (qName == QLatin1String("mindb"))
    MinDB = SplitLines(BufferText());
  else if (qName == kImg)
    currentImage_ = nullptr;
}
