#include "Katalog1Artikel.h"

#include "NumberText.h"

namespace {
QString Number(double value) { return FormatGeneralNumber(value); }
}  // namespace

void TKatalog1Artikel::ReadByteAttr(const SaxAttributes& a, const char* name, quint8& field) {
  int value = field;
  if (ReadIntegerAttr(a, name, value, 0)) field = quint8(value);
}

TKatalog1Artikel::TKatalog1Artikel() { Clear(); }

void TKatalog1Artikel::Clear() {
  Katalog.clear(), Zusatztext1.clear(), Zusatztext2.clear();
  ID.clear(), KURZZEILE1.clear(), KURZZEILE2.clear();
  TEXTKZ = 0;
  LISTENPREIS = 0, RABATT = 0, NETTO = 0;
  PREISKZ = 0;
  PREISEINHEIT = 1;
  LASTNETTO = 0, LASTNETTOCHANGED = 0;
  VKPREIS2 = VKPREIS3 = VKPREIS4 = VKPREIS5 = 0;
  ME.clear();
  MEKALKULATIONSPEZIAL = false;
  MEKALKULATION.clear();
  MEKALKULATIONUMRECHFAKT = 0;
  OBERFLAECHE = VOLUMEN = ABWICKLUNG = GEWICHT = 0;
  MATCHCODE.clear(), KATALOGSEITE.clear(), RABATTGR.clear(), HAUPTWARENGR.clear(), WARENGR.clear(),
      KOSTENART.clear();
  ARBEITSZEIT = 0;
  ALTERNATIVARTIKELNRERSTELLER.clear(), ALTERNATIVARTIKELNR.clear(), HERSTELLERNRERSTELLER.clear(),
      HERSTELLERNR.clear(), HERSTELLERTYPE.clear(), REFERENZNRERSTELLER.clear(), REFERENZNR.clear(), EAN.clear();
  MWSTMERKER = LAGERMERKER = 0;
  VERPACKUNGSMENGE = 1;
  LANGTEXTNR.clear(), ANBINDNR.clear();
  ClearDetails();
}

void TKatalog1Artikel::ClearDetails() {
  Langtext.clear();
  Verkaufszuschlag = 0;
  AnbindObjekte.Clear();
  Dimensionslangtexte.Clear();
  Staffelpreise.Clear();
  Rohstoffe.Clear();
  Sonderkosten.Clear();
}

bool TKatalog1Artikel::HasXMLData() const {
  return !Dimensionslangtexte.IsEmpty() || !Staffelpreise.IsEmpty() || !Rohstoffe.IsEmpty() || !Sonderkosten.IsEmpty();
}

// ---- writing ----

void TKatalog1Artikel::WriteXML(bool) {
  WriteLine(u"<ukat1>");
  WriteGroups();
  WriteLine(u"</ukat1>");
}

void TKatalog1Artikel::WriteGroups() {
  if (!Dimensionslangtexte.IsEmpty()) {
    WriteLine(u"  <dlt>");
    for (const TKatalog1Dimensionslangtext& d : Dimensionslangtexte)
      WriteFormatLine(QStringLiteral("    <dlti type=\"%d\" txt=\"%s\" instxt=\"%s\"/>"),
                      {d.Typ, XMLEscape(d.Text), XMLEscape(d.EinfuegeText)});
    WriteLine(u"  </dlt>");
  }
  if (!Staffelpreise.IsEmpty()) {
    WriteLine(u"  <stp>");
    for (const TKatalog1Staffelpreis& s : Staffelpreise)
      WriteFormatLine(QStringLiteral("    <stpi nr=\"%d\" txt=\"%s\" addtxt=\"%s\" za=\"%d\" pkz=\"%d\" pe=\"%d\" "
                                     "val=\"%s\" sam=\"%d\" bm=\"%d\" frval=\"%d\" toval=\"%d\" frdat=\"%s\" "
                                     "todat=\"%s\"/>"),
                      {s.Nr, XMLEscape(s.Text), XMLEscape(s.ZusatzText), s.Za, s.Pkz, s.Preiseinheit, Number(s.Wert),
                       s.Sam, s.Bm, s.MengeVon, s.MengeBis, Number(s.GueltigVon), Number(s.GueltigBis)});
    WriteLine(u"  </stp>");
  }
  if (!Rohstoffe.IsEmpty()) {
    WriteLine(u"  <rohst>");
    for (const TKatalog1Rohstoff& r : Rohstoffe)
      WriteFormatLine(QStringLiteral("    <rohsti rt=\"%d\" pe=\"%d\" rbm2bpb=\"%s\" rbm2fbpb=\"%s\" rbm2g=\"%s\" "
                                     "rbm2fg=\"%s\" />"),
                      {r.RohstoffTyp, r.Preiseinheit, Number(r.Rbm2bpb), Number(r.Rbm2fbpb), Number(r.Rbm2g),
                       Number(r.Rbm2fg)});
    WriteLine(u"  </rohst>");
  }
  if (!Sonderkosten.IsEmpty()) {
    WriteLine(u"  <sonderkosten>");
    for (const TKatalog1Sonderkosten& k : Sonderkosten)
      WriteFormatLine(QStringLiteral("    <sonderkosteni nr=\"%d\" bez=\"%s\" val=\"%s\" type=\"%d\" />"),
                      {k.Nr, XMLEscape(k.Bezeichnung), Number(k.Wert), k.Typ});
    WriteLine(u"  </sonderkosten>");
  }
}

// ---- reading ----

void TKatalog1Artikel::ReadStaffelpreis(const SaxAttributes& a) {
  TKatalog1Staffelpreis* s = Staffelpreise.Add(std::make_unique<TKatalog1Staffelpreis>());
  ReadIntegerAttr(a, "nr", s->Nr, 0);
  ReadTextAttr(a, "txt", s->Text);
  ReadTextAttr(a, "addtxt", s->ZusatzText);
  ReadByteAttr(a, "za", s->Za);
  ReadByteAttr(a, "pkz", s->Pkz);
  ReadIntegerAttr(a, "pe", s->Preiseinheit, 0);
  ReadFloatAttr(a, "val", s->Wert, 0);
  ReadIntegerAttr(a, "sam", s->Sam, 0);
  ReadByteAttr(a, "bm", s->Bm);
  ReadIntegerAttr(a, "frval", s->MengeVon, 0);
  ReadIntegerAttr(a, "toval", s->MengeBis, 0);
  ReadFloatAttr(a, "frdat", s->GueltigVon, 0);
  ReadFloatAttr(a, "todat", s->GueltigBis, 0);
}

void TKatalog1Artikel::ReadRohstoff(const SaxAttributes& a) {
  TKatalog1Rohstoff* r = Rohstoffe.Add(std::make_unique<TKatalog1Rohstoff>());
  ReadByteAttr(a, "rt", r->RohstoffTyp);
  ReadIntegerAttr(a, "pe", r->Preiseinheit, 0);
  ReadFloatAttr(a, "rbm2bpb", r->Rbm2bpb, 0);
  ReadFloatAttr(a, "rbm2fbpb", r->Rbm2fbpb, 0);
  ReadFloatAttr(a, "rbm2g", r->Rbm2g, 0);
  ReadFloatAttr(a, "rbm2fg", r->Rbm2fg, 0);
}

void TKatalog1Artikel::StartElement(const QString&, const QString&, const QString& qName, const SaxAttributes& a) {
  CurrentElement = qName;
  if (qName == u"dlti") {
    TKatalog1Dimensionslangtext* d = Dimensionslangtexte.Add(std::make_unique<TKatalog1Dimensionslangtext>());
    ReadIntegerAttr(a, "type", d->Typ, 0);
    ReadTextAttr(a, "txt", d->Text);
    ReadTextAttr(a, "instxt", d->EinfuegeText);
  } else if (qName == u"stpi") {
    ReadStaffelpreis(a);
  } else if (qName == u"rohsti") {
    ReadRohstoff(a);
  } else if (qName == u"sonderkosteni") {
    TKatalog1Sonderkosten* k = Sonderkosten.Add(std::make_unique<TKatalog1Sonderkosten>());
    ReadIntegerAttr(a, "nr", k->Nr, 0);
    ReadTextAttr(a, "bez", k->Bezeichnung);
    ReadFloatAttr(a, "val", k->Wert, 0);
    ReadByteAttr(a, "type", k->Typ);
  }
}

void TKatalog1Artikel::Characters(QStringView) {}

void TKatalog1Artikel::EndElement(const QString&, const QString&, const QString&) { CurrentElement.clear(); }
