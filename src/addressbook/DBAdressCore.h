#pragma once
// The customer address record (document element "kundenadr") and the
// address list, the exchange file of the address program.
#include <QString>
#include <QStringList>
#include <memory>

#include "DBXMLCore.h"
#include "OwningObjectList.h"

using TDateTime = double;  // days since 30 December 1899, fraction = time of day (as stored in tables)

// One postal address of an address.
struct TCustomerAnschrift {
  QString Id, Name1, Name2, Name3, Name4, Strasse, Land, Plz, Ort;
  bool Std = false;  // the main postal address
  QString Aart;      // kind of postal address
};

struct TCustomerContactData {
  qint32 CdType = 0;
  QString CdName, CdValue, CdCaract;
};

struct TCustomerContact {
  QString Name;
  bool Std = false;  // the main contact
  TOwningObjectList<TCustomerContactData> Data;
};

struct TPaymentWay {
  qint32 PayWay = 0;
  QString Comm, Inst, BCode, Acc, Iban, Bic;
};

struct TPaymentTerm {
  qint32 Type = 0;
  double Perc = 0;
  qint32 Days = 0;
  qint32 Dpw = 0;
};

// A user-defined field; Type selects the value: 1 Text, 2 Integer,
// 3 Boolean, 4 to 6 Float (numbers and date-times).
struct TDsnElement {
  QString Name;
  qint32 Type = 0;
  QString Text;
  qint64 Integer = 0;
  bool Boolean = false;
  double Float = 0;
};

class TCustomerAddress : public TDBXMLCoreObject {
 public:
  TCustomerAddress();

  QString Id;
  TDateTime Cr = 0, Ch = 0;
  QString CrBy, ChBy, IdWeiterl;
  TDateTime Wv = 0;
  QString WvTxt, WvUser, AddrGrp, KndVerz, Sprache, UstIdNr, StNr;
  qint32 MwStAusw = 0;
  bool Paragr13b = false, Paragr14b = false, Paragr6a = false;
  qint32 MahnTyp = 0;
  QString OwnId, Info, At;
  QString DebitorNr, DebitorKreditLimit, DebitorVersicherung, DebitorBonitaet, KreditorNr, KreditorBearbeiter;
  bool Alarm = false;
  QString AlarmText, ZInfo;
  TOwningObjectList<TCustomerAnschrift> Anschriften;
  TOwningObjectList<TCustomerContact> Contacts;
  TOwningObjectList<TPaymentWay> PaymentWays;
  TOwningObjectList<TPaymentTerm> PaymentTerms;
  TOwningObjectList<TDsnElement> DsnElements;
  QStringList Kz;  // address marks

  bool FullForm = true;  // WriteXML writes the full form, or the database form without the column fields

  void Clear() override;
  void CopyFrom(const TCustomerAddress& other);  // deep copy

  // The first postal address marked std; none when there is none.
  const TCustomerAnschrift* MainAnschrift() const;
  // One line: names, street, country-post code, town; ". . . . ." when empty.
  QString BuildDisplayText() const;
  // The same text from the postal address at index (". . . . ." when there is none).
  QString BuildAnschriftText(int index) const;

  // The "kundenadr" element alone (no byte-order mark, no header), each
  // line ended by CR LF; for embedding the record in other documents.
  QString ElementText(bool full);

  // The SAX handlers, callable by a document that embeds "kundenadr"
  // subtrees and hands their events on.
  void HandleStartElement(const QString& qName, const SaxAttributes& attributes);
  void HandleCharacters(QStringView text);
  void HandleEndElement(const QString& qName);

  // The lines of a text broken at CR LF, CR or LF; a final break adds no empty line.
  static QStringList SplitLines(const QString& text);

 protected:
  void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override;
  void Characters(QStringView text) override;
  void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) override;
  // flag && FullForm: the full form; otherwise the database form.
  void WriteXML(bool flag) override;

 private:
  void ReadRootAttributes(const SaxAttributes& attributes);
  void ReadAnschrift(const SaxAttributes& attributes);
  void ReadContact(const SaxAttributes& attributes);
  void ReadContactData(const SaxAttributes& attributes);
  void ReadPaymentWay(const SaxAttributes& attributes);
  void ReadPaymentTerm(const SaxAttributes& attributes);
  void ReadDsnStart(const SaxAttributes& attributes);
  void TakeDsnValue();
  QString* DirectTextField(const QString& element);

  void WriteRootStart(bool full);
  void WriteAnschriften();
  void WriteBookkeeping(bool full);
  void WriteContacts();
  void WritePaymentWays();
  void WritePaymentTerms();
  void WriteDsnElements();

  TCustomerContact* openContact_ = nullptr;  // kontaktdata goes here; none outside a contact
};

// An address list: the exchange file of the address program.
//
//   <kundenadrliste>
//     <kundenadr ...> ... </kundenadr>   one per address, in the record's full form
//   </kundenadrliste>
//
// Each "kundenadr" subtree is read by a record object's own handlers.
class TCustomerAddressList : public TDBXMLCoreObject {
 public:
  TCustomerAddressList();

  TOwningObjectList<TCustomerAddress> Items;

  void Clear() override;
  // Removes the first address and hands it over; none when the list is empty.
  std::unique_ptr<TCustomerAddress> TakeFirst();

 protected:
  void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override;
  void Characters(QStringView text) override;
  void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) override;
  void WriteXML(bool flag) override;

 private:
  TCustomerAddress* reading_ = nullptr;  // the record whose subtree is being read
};
