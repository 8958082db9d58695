#pragma once
// Address records shared by the address book tests.
#include <memory>

#include "DBAdressCore.h"

namespace AddressTestData {

inline TCustomerAnschrift* AddAnschrift(TCustomerAddress& a, const QString& name1, const QString& strasse,
                                        const QString& plz, const QString& ort, bool std) {
  auto* adr = a.Anschriften.Add(std::make_unique<TCustomerAnschrift>());
  adr->Name1 = name1;
  adr->Strasse = strasse;
  adr->Land = QStringLiteral("D");
  adr->Plz = plz;
  adr->Ort = ort;
  adr->Std = std;
  return adr;
}

// A record with every part filled.
inline void FillComplete(TCustomerAddress& a, const QString& id = QStringLiteral("K100")) {
  a.Clear();
  a.Id = id;
  a.Cr = 45000.25;
  a.Ch = 45100.5;
  a.CrBy = QStringLiteral("ADMIN");
  a.ChBy = QStringLiteral("MEIER");
  a.IdWeiterl = QStringLiteral("K200");
  a.Wv = 45200.75;
  a.WvTxt = QStringLiteral("Rückruf");
  a.WvUser = QStringLiteral("ADMIN");
  a.AddrGrp = QStringLiteral("KUNDE");
  a.KndVerz = QStringLiteral("V1");
  a.Sprache = QStringLiteral("de");
  a.UstIdNr = QStringLiteral("DE123456789");
  a.StNr = QStringLiteral("12/345/67890");
  a.MwStAusw = 2;
  a.Paragr13b = true;
  a.Paragr6a = true;
  a.MahnTyp = 3;
  a.OwnId = QStringLiteral("KD-77");
  a.Info = QStringLiteral("Zeile 1\r\nZeile <2> & \"3\"");
  a.DebitorNr = QStringLiteral("10001");
  a.DebitorBonitaet = QStringLiteral("gut");
  a.KreditorBearbeiter = QStringLiteral("Schulz");
  a.Alarm = true;
  a.AlarmText = QStringLiteral("Nur gegen Vorkasse!");
  a.ZInfo = QStringLiteral("Zusatz");
  AddAnschrift(a, QStringLiteral("Müller & Söhne GmbH"), QStringLiteral("Hauptstraße 1"), QStringLiteral("80331"),
               QStringLiteral("München"), true)
      ->Aart = QStringLiteral("Rechnungsanschrift");
  AddAnschrift(a, QStringLiteral("Lager"), QStringLiteral("Am Hafen 3"), QStringLiteral("20095"),
               QStringLiteral("Hamburg"), false);
  auto* contact = a.Contacts.Add(std::make_unique<TCustomerContact>());
  contact->Name = QStringLiteral("Jürgen Weiß");
  contact->Std = true;
  *contact->Data.Add(std::make_unique<TCustomerContactData>()) = {1, QStringLiteral("Telefon"),
                                                                  QStringLiteral("089 1234"), QStringLiteral("Notfall")};
  a.Contacts.Add(std::make_unique<TCustomerContact>())->Name = QStringLiteral("Ohne Daten");
  *a.PaymentWays.Add(std::make_unique<TPaymentWay>()) = {
      2, QStringLiteral("Lastschrift"), QStringLiteral("Sparkasse"), QStringLiteral("70050000"),
      QStringLiteral("123"), QStringLiteral("DE89370400440532013000"), QStringLiteral("COBADEFFXXX")};
  *a.PaymentTerms.Add(std::make_unique<TPaymentTerm>()) = {1, 2.5, 10, 30};
  *a.DsnElements.Add(std::make_unique<TDsnElement>()) = {QStringLiteral("Text"), 1, QStringLiteral("a < b"), 0, false, 0};
  *a.DsnElements.Add(std::make_unique<TDsnElement>()) = {QStringLiteral("Zahl"), 2, QString(), -42, false, 0};
  *a.DsnElements.Add(std::make_unique<TDsnElement>()) = {QStringLiteral("Ja"), 3, QString(), 0, true, 0};
  *a.DsnElements.Add(std::make_unique<TDsnElement>()) = {QStringLiteral("Datum"), 5, QString(), 0, false, 45123.5};
  a.Kz = QStringList{QStringLiteral("Stammkunde"), QStringLiteral("Großkunde")};
  a.At = a.BuildDisplayText();
}

}  // namespace AddressTestData
