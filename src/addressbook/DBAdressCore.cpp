#include "DBAdressCore.h"

#include <QRegularExpression>

#include "NumberText.h"

namespace {
const QString kNoDisplayText = QStringLiteral(". . . . .");
const QString kRoot = QStringLiteral("kundenadr");

// ` name="value"` with the value escaped.
QString Attr(QStringView name, const QString& value) {
  return QLatin1Char(' ') + name.toString() + QStringLiteral("=\"") + XMLEscape(value) + QLatin1Char('"');
}

// The same, left out for an empty value.
QString AttrIfSet(QStringView name, const QString& value) { return value.isEmpty() ? QString() : Attr(name, value); }

QString BoolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

// Date-times and other stored floats: the shortest decimal form that gives
// the value back, with the locale's decimal separator.
QString FloatText(double value) {
  QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
  const QChar separator = DecimalSeparator();
  if (separator != QLatin1Char('.')) text.replace(QLatin1Char('.'), separator);
  return text;
}

QString JoinNonEmpty(std::initializer_list<QString> parts) {
  QStringList kept;
  for (const QString& part : parts) {
    const QString trimmed = part.trimmed();
    if (!trimmed.isEmpty()) kept << trimmed;
  }
  return kept.join(QLatin1Char(' '));
}

QString CutWithEllipsis(const QString& text, qsizetype limit) {
  if (text.size() <= limit) return text;
  return text.left(qMax<qsizetype>(limit - 3, 0)) + QStringLiteral("...");
}

QString DisplayTextOf(const TCustomerAnschrift* a) {
  if (!a) return kNoDisplayText;
  const QString names = JoinNonEmpty({a->Name1, a->Name2, a->Name3, a->Name4});
  const QString land = a->Land.trimmed();
  const QString plz = a->Plz.trimmed();
  const QString landPlz = (!land.isEmpty() && !plz.isEmpty()) ? land + QLatin1Char('-') + plz : land + plz;
  const QString place = CutWithEllipsis(JoinNonEmpty({a->Strasse, landPlz, a->Ort}), 150);
  const QString text = CutWithEllipsis(names, 250 - place.size()) + QLatin1Char(' ') + place;
  return text.trimmed().isEmpty() ? kNoDisplayText : text;
}

template <class T>
void CopyList(TOwningObjectList<T>& to, const TOwningObjectList<T>& from) {
  to.Clear();
  for (const T& item : from) to.Add(std::make_unique<T>(item));
}
}  // namespace

TCustomerAddress::TCustomerAddress() { Clear(); }

void TCustomerAddress::Clear() {
  Id.clear();
  Cr = Ch = Wv = 0;
  CrBy.clear(), ChBy.clear(), IdWeiterl.clear(), WvTxt.clear(), WvUser.clear(), AddrGrp.clear();
  KndVerz.clear(), Sprache.clear(), UstIdNr.clear(), StNr.clear();
  MwStAusw = MahnTyp = 0;
  Paragr13b = Paragr14b = Paragr6a = false;
  OwnId.clear(), Info.clear(), At.clear();
  DebitorNr.clear(), DebitorKreditLimit.clear(), DebitorVersicherung.clear(), DebitorBonitaet.clear();
  KreditorNr.clear(), KreditorBearbeiter.clear();
  Alarm = false;
  AlarmText.clear(), ZInfo.clear();
  Anschriften.Clear(), Contacts.Clear(), PaymentWays.Clear(), PaymentTerms.Clear(), DsnElements.Clear();
  Kz.clear();
  openContact_ = nullptr;
}

void TCustomerAddress::CopyFrom(const TCustomerAddress& o) {
  if (&o == this) return;
  Id = o.Id, Cr = o.Cr, Ch = o.Ch, CrBy = o.CrBy, ChBy = o.ChBy, IdWeiterl = o.IdWeiterl;
  Wv = o.Wv, WvTxt = o.WvTxt, WvUser = o.WvUser, AddrGrp = o.AddrGrp, KndVerz = o.KndVerz, Sprache = o.Sprache;
  UstIdNr = o.UstIdNr, StNr = o.StNr, MwStAusw = o.MwStAusw;
  Paragr13b = o.Paragr13b, Paragr14b = o.Paragr14b, Paragr6a = o.Paragr6a, MahnTyp = o.MahnTyp;
  OwnId = o.OwnId, Info = o.Info, At = o.At;
  DebitorNr = o.DebitorNr, DebitorKreditLimit = o.DebitorKreditLimit;
  DebitorVersicherung = o.DebitorVersicherung, DebitorBonitaet = o.DebitorBonitaet;
  KreditorNr = o.KreditorNr, KreditorBearbeiter = o.KreditorBearbeiter;
  Alarm = o.Alarm, AlarmText = o.AlarmText, ZInfo = o.ZInfo;
  CopyList(Anschriften, o.Anschriften);
  Contacts.Clear();
  for (const TCustomerContact& c : o.Contacts) {
    auto* copy = Contacts.Add(std::make_unique<TCustomerContact>());
    copy->Name = c.Name;
    copy->Std = c.Std;
    CopyList(copy->Data, c.Data);
  }
  CopyList(PaymentWays, o.PaymentWays);
  CopyList(PaymentTerms, o.PaymentTerms);
  CopyList(DsnElements, o.DsnElements);
  Kz = o.Kz;
  FullForm = o.FullForm;
  openContact_ = nullptr;
}

const TCustomerAnschrift* TCustomerAddress::MainAnschrift() const {
  const int i = Anschriften.FindIndex([](const TCustomerAnschrift& a) { return a.Std; });
  return i < 0 ? nullptr : Anschriften[i];
}

QString TCustomerAddress::BuildDisplayText() const { return DisplayTextOf(MainAnschrift()); }

QString TCustomerAddress::BuildAnschriftText(int index) const {
  return DisplayTextOf(index >= 0 && index < Anschriften.Count() ? Anschriften[index] : nullptr);
}

QStringList TCustomerAddress::SplitLines(const QString& text) {
  if (text.isEmpty()) return {};
  static const QRegularExpression kLineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = text.split(kLineBreak);
  if (lines.last().isEmpty()) lines.removeLast();  // a final line break ends the last line
  return lines;
}

// ---- writing ----

void TCustomerAddress::WriteXML(bool flag) {
  const bool full = flag && FullForm;
  WriteRootStart(full);
  WriteAnschriften();
  WriteBookkeeping(full);
  WriteContacts();
  WritePaymentWays();
  WritePaymentTerms();
  WriteDsnElements();
  if (full && !Kz.isEmpty())
    WriteLine(QStringLiteral("  <kz>") + XMLEscape(Kz.join(QStringLiteral("\r\n")).trimmed()) +
              QStringLiteral("</kz>"));
  WriteLine(u"</kundenadr>");
}

void TCustomerAddress::WriteRootStart(bool full) {
  QString tag = QStringLiteral("<kundenadr");
  if (full) {
    tag += AttrIfSet(u"id", Id) + Attr(u"cr", FloatText(Cr)) + Attr(u"crby", CrBy) + Attr(u"ch", FloatText(Ch)) +
           Attr(u"chby", ChBy) + AttrIfSet(u"idweiterl", IdWeiterl) + Attr(u"wv", FloatText(Wv)) +
           Attr(u"wvtxt", WvTxt) + Attr(u"wvuser", WvUser) + AttrIfSet(u"addrgrp", AddrGrp);
  }
  tag += AttrIfSet(u"kndverz", KndVerz) + AttrIfSet(u"sprache", Sprache) + AttrIfSet(u"ustidnr", UstIdNr) +
         AttrIfSet(u"stnr", StNr) + Attr(u"mwstausw", QString::number(MwStAusw)) +
         Attr(u"paragr13b", BoolText(Paragr13b)) + Attr(u"paragr14b", BoolText(Paragr14b)) +
         Attr(u"paragr6a", BoolText(Paragr6a)) + Attr(u"mahntyp", QString::number(MahnTyp)) +
         AttrIfSet(u"ownid", OwnId) + QLatin1Char('>');
  WriteLine(tag);
}

void TCustomerAddress::WriteAnschriften() {
  for (const TCustomerAnschrift& a : Anschriften)
    WriteLine(QStringLiteral("  <adr") + AttrIfSet(u"id", a.Id) + AttrIfSet(u"name1", a.Name1) +
              AttrIfSet(u"name2", a.Name2) + AttrIfSet(u"name3", a.Name3) + AttrIfSet(u"name4", a.Name4) +
              AttrIfSet(u"strasse", a.Strasse) + AttrIfSet(u"land", a.Land) + AttrIfSet(u"plz", a.Plz) +
              AttrIfSet(u"ort", a.Ort) + Attr(u"std", BoolText(a.Std)) + Attr(u"aart", a.Aart) +
              QStringLiteral(" />"));
}

void TCustomerAddress::WriteBookkeeping(bool full) {
  if (!Info.isEmpty()) WriteLine(QStringLiteral("  <info>") + XMLEscape(Info) + QStringLiteral("</info>"));
  if (full && !At.isEmpty()) WriteLine(QStringLiteral("  <at>") + XMLEscape(At) + QStringLiteral("</at>"));
  const QString debitor = AttrIfSet(u"debitornr", DebitorNr) + AttrIfSet(u"debitorkreditlimit", DebitorKreditLimit) +
                          AttrIfSet(u"debitorversicherung", DebitorVersicherung) +
                          AttrIfSet(u"debitorbonitaet", DebitorBonitaet);
  if (!debitor.isEmpty()) WriteLine(QStringLiteral("  <debitor") + debitor + QStringLiteral(" />"));
  const QString kreditor = AttrIfSet(u"kreditornr", KreditorNr) + AttrIfSet(u"kreditorbearbeiter", KreditorBearbeiter);
  if (!kreditor.isEmpty()) WriteLine(QStringLiteral("  <kreditor") + kreditor + QStringLiteral(" />"));
  WriteLine(QStringLiteral("  <alarm val=\"") + BoolText(Alarm) + QStringLiteral("\">") + XMLEscape(AlarmText) +
            QStringLiteral("</alarm>"));
  WriteLine(QStringLiteral("  <zinfo>") + XMLEscape(ZInfo) + QStringLiteral("</zinfo>"));
}

void TCustomerAddress::WriteContacts() {
  WriteLine(u"  <kontakte>");
  for (const TCustomerContact& c : Contacts) {
    WriteLine(QStringLiteral("    <kontakt") + Attr(u"name", c.Name) + Attr(u"std", BoolText(c.Std)) +
              QLatin1Char('>'));
    for (const TCustomerContactData& d : c.Data)
      WriteLine(QStringLiteral("      <kontaktdata") + Attr(u"cdtype", QString::number(d.CdType)) +
                Attr(u"cdname", d.CdName) + Attr(u"cdvalue", d.CdValue) + Attr(u"cdcaract", d.CdCaract) +
                QStringLiteral("/>"));
    WriteLine(u"    </kontakt>");
  }
  WriteLine(u"  </kontakte>");
}

void TCustomerAddress::WritePaymentWays() {
  WriteLine(u"  <pwl>");
  for (const TPaymentWay& w : PaymentWays)
    WriteLine(QStringLiteral("    <pw") + Attr(u"payway", QString::number(w.PayWay)) + Attr(u"comm", w.Comm) +
              Attr(u"inst", w.Inst) + Attr(u"bcode", w.BCode) + Attr(u"acc", w.Acc) + Attr(u"iban", w.Iban) +
              Attr(u"bic", w.Bic) + QStringLiteral("/>"));
  WriteLine(u"  </pwl>");
}

void TCustomerAddress::WritePaymentTerms() {
  WriteLine(u"<ptl>");
  for (const TPaymentTerm& t : PaymentTerms)
    WriteLine(QStringLiteral("  <pt") + Attr(u"type", QString::number(t.Type)) + Attr(u"perc", FloatText(t.Perc)) +
              Attr(u"days", QString::number(t.Days)) + Attr(u"dpw", QString::number(t.Dpw)) + QStringLiteral("/>"));
  WriteLine(u"</ptl>");
}

void TCustomerAddress::WriteDsnElements() {
  for (const TDsnElement& e : DsnElements) {
    QString value;
    switch (e.Type) {
      case 1: value = XMLEscape(e.Text); break;
      case 2: value = QString::number(e.Integer); break;
      case 3: value = e.Boolean ? QStringLiteral("-1") : QStringLiteral("0"); break;
      case 4: case 5: case 6: value = FloatText(e.Float); break;
      default: break;
    }
    WriteLine(QStringLiteral("  <dsnobj") + Attr(u"name", e.Name) + Attr(u"type", QString::number(e.Type)) +
              QStringLiteral(" >") + value + QStringLiteral("</dsnobj>"));
  }
}

QString TCustomerAddress::ElementText(bool full) {
  const QString document = GetXMLText(full);
  const qsizetype bodyStart = document.indexOf(QStringLiteral("\r\n")) + 2;  // after the header line
  return document.mid(bodyStart);
}

// ---- reading ----

void TCustomerAddress::StartElement(const QString&, const QString&, const QString& qName,
                                    const SaxAttributes& attributes) {
  HandleStartElement(qName, attributes);
}

void TCustomerAddress::Characters(QStringView text) { HandleCharacters(text); }

void TCustomerAddress::EndElement(const QString&, const QString&, const QString& qName) { HandleEndElement(qName); }

void TCustomerAddress::HandleStartElement(const QString& qName, const SaxAttributes& attributes) {
  CurrentElement = qName;
  if (qName == kRoot) {
    ReadRootAttributes(attributes);
  } else if (qName == u"adr") {
    ReadAnschrift(attributes);
  } else if (qName == u"debitor") {
    ReadTextAttr(attributes, "debitornr", DebitorNr);
    ReadTextAttr(attributes, "debitorkreditlimit", DebitorKreditLimit);
    ReadTextAttr(attributes, "debitorversicherung", DebitorVersicherung);
    ReadTextAttr(attributes, "debitorbonitaet", DebitorBonitaet);
  } else if (qName == u"kreditor") {
    ReadTextAttr(attributes, "kreditornr", KreditorNr);
    ReadTextAttr(attributes, "kreditorbearbeiter", KreditorBearbeiter);
  } else if (qName == u"alarm") {
    ReadBooleanAttr(attributes, "val", Alarm, false);
  } else if (qName == u"kontakt") {
    ReadContact(attributes);
  } else if (qName == u"kontaktdata") {
    ReadContactData(attributes);
  } else if (qName == u"pw") {
    ReadPaymentWay(attributes);
  } else if (qName == u"pt") {
    ReadPaymentTerm(attributes);
  } else if (qName == u"dsnobj") {
    ReadDsnStart(attributes);
  } else if (qName == u"kz") {
    TextBuffer.Clear();
  }
}

// info, at, alarm and zinfo take their text directly, so repeats concatenate.
QString* TCustomerAddress::DirectTextField(const QString& element) {
  if (element == u"info") return &Info;
  if (element == u"at") return &At;
  if (element == u"alarm") return &AlarmText;
  if (element == u"zinfo") return &ZInfo;
  return nullptr;
}

void TCustomerAddress::HandleCharacters(QStringView text) {
  if (CurrentElement.isEmpty()) return;
  if (QString* field = DirectTextField(CurrentElement)) {
    field->append(text);
    if (CurrentElement == u"alarm" && !text.isEmpty()) Alarm = true;  // any alarm text switches it on
  } else if (CurrentElement == u"kz" || CurrentElement == u"dsnobj") {
    TextBuffer.WriteText(text);
  }
}

void TCustomerAddress::HandleEndElement(const QString& qName) {
  if (qName == u"kz") {
    Kz = SplitLines(BufferText());
  } else if (qName == u"dsnobj") {
    TakeDsnValue();
  } else if (qName == u"kontakt") {
    openContact_ = nullptr;
  }
  CurrentElement.clear();
}

void TCustomerAddress::ReadRootAttributes(const SaxAttributes& a) {
  ReadTextAttr(a, "id", Id);
  ReadFloatAttr(a, "cr", Cr, 0);
  ReadTextAttr(a, "crby", CrBy);
  ReadFloatAttr(a, "ch", Ch, 0);
  ReadTextAttr(a, "chby", ChBy);
  ReadTextAttr(a, "idweiterl", IdWeiterl);
  ReadFloatAttr(a, "wv", Wv, 0);
  ReadTextAttr(a, "wvtxt", WvTxt);
  ReadTextAttr(a, "wvuser", WvUser);
  ReadTextAttr(a, "addrgrp", AddrGrp);
  ReadTextAttr(a, "kndverz", KndVerz);
  ReadTextAttr(a, "sprache", Sprache);
  ReadTextAttr(a, "ustidnr", UstIdNr);
  ReadTextAttr(a, "stnr", StNr);
  ReadIntegerAttr(a, "mwstausw", MwStAusw, 0);
  ReadBooleanAttr(a, "paragr13b", Paragr13b, false);
  ReadBooleanAttr(a, "paragr14b", Paragr14b, false);
  ReadBooleanAttr(a, "paragr6a", Paragr6a, false);
  ReadIntegerAttr(a, "mahntyp", MahnTyp, 0);
  ReadTextAttr(a, "ownid", OwnId);
}

void TCustomerAddress::ReadAnschrift(const SaxAttributes& a) {
  TCustomerAnschrift* adr = Anschriften.Add(std::make_unique<TCustomerAnschrift>());
  ReadTextAttr(a, "id", adr->Id);
  ReadTextAttr(a, "name1", adr->Name1);
  ReadTextAttr(a, "name2", adr->Name2);
  ReadTextAttr(a, "name3", adr->Name3);
  ReadTextAttr(a, "name4", adr->Name4);
  ReadTextAttr(a, "strasse", adr->Strasse);
  ReadTextAttr(a, "land", adr->Land);
  ReadTextAttr(a, "plz", adr->Plz);
  ReadTextAttr(a, "ort", adr->Ort);
  ReadBooleanAttr(a, "std", adr->Std, false);
  ReadTextAttr(a, "aart", adr->Aart);
}

void TCustomerAddress::ReadContact(const SaxAttributes& a) {
  openContact_ = Contacts.Add(std::make_unique<TCustomerContact>());
  ReadTextAttr(a, "name", openContact_->Name);
  ReadBooleanAttr(a, "std", openContact_->Std, false);
}

void TCustomerAddress::ReadContactData(const SaxAttributes& a) {
  if (!openContact_) return;
  TCustomerContactData* d = openContact_->Data.Add(std::make_unique<TCustomerContactData>());
  ReadIntegerAttr(a, "cdtype", d->CdType, 0);
  ReadTextAttr(a, "cdname", d->CdName);
  ReadTextAttr(a, "cdvalue", d->CdValue);
  ReadTextAttr(a, "cdcaract", d->CdCaract);
}

void TCustomerAddress::ReadPaymentWay(const SaxAttributes& a) {
  TPaymentWay* w = PaymentWays.Add(std::make_unique<TPaymentWay>());
  ReadIntegerAttr(a, "payway", w->PayWay, 0);
  ReadTextAttr(a, "comm", w->Comm);
  ReadTextAttr(a, "inst", w->Inst);
  ReadTextAttr(a, "bcode", w->BCode);
  ReadTextAttr(a, "acc", w->Acc);
  ReadTextAttr(a, "iban", w->Iban);
  ReadTextAttr(a, "bic", w->Bic);
}

void TCustomerAddress::ReadPaymentTerm(const SaxAttributes& a) {
  TPaymentTerm* t = PaymentTerms.Add(std::make_unique<TPaymentTerm>());
  ReadIntegerAttr(a, "type", t->Type, 0);
  ReadFloatAttr(a, "perc", t->Perc, 0);
  ReadIntegerAttr(a, "days", t->Days, 0);
  ReadIntegerAttr(a, "dpw", t->Dpw, 0);
}

void TCustomerAddress::ReadDsnStart(const SaxAttributes& a) {
  TDsnElement* e = DsnElements.Add(std::make_unique<TDsnElement>());
  ReadTextAttr(a, "name", e->Name);
  ReadIntegerAttr(a, "type", e->Type, 0);
  TextBuffer.Clear();
}

void TCustomerAddress::TakeDsnValue() {
  if (DsnElements.IsEmpty()) return;
  TDsnElement* e = DsnElements[DsnElements.Count() - 1];
  switch (e->Type) {
    case 1: e->Text = BufferText(); break;
    case 2: e->Integer = BufferInt64(0); break;
    case 3: e->Boolean = BufferBoolean(false); break;
    case 4: case 5: case 6: e->Float = BufferFloat(0); break;
    default: break;  // unknown kinds keep no value
  }
}

// ---- TCustomerAddressList ----

TCustomerAddressList::TCustomerAddressList() { Clear(); }

void TCustomerAddressList::Clear() {
  Items.Clear();
  reading_ = nullptr;
}

std::unique_ptr<TCustomerAddress> TCustomerAddressList::TakeFirst() {
  return Items.IsEmpty() ? nullptr : Items.Extract(0);
}

void TCustomerAddressList::StartElement(const QString&, const QString&, const QString& qName,
                                        const SaxAttributes& attributes) {
  if (qName == kRoot) reading_ = Items.Add(std::make_unique<TCustomerAddress>());
  if (reading_) reading_->HandleStartElement(qName, attributes);
}

void TCustomerAddressList::Characters(QStringView text) {
  if (reading_) reading_->HandleCharacters(text);
}

void TCustomerAddressList::EndElement(const QString&, const QString&, const QString& qName) {
  if (!reading_) return;
  reading_->HandleEndElement(qName);
  if (qName == kRoot) reading_ = nullptr;
}

void TCustomerAddressList::WriteXML(bool) {
  WriteLine(u"<kundenadrliste>");
  for (TCustomerAddress& address : Items) {
    const QStringList lines = address.ElementText(true).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (const QString& line : lines) WriteLine(QStringLiteral("  ") + line);
  }
  WriteLine(u"</kundenadrliste>");
}
