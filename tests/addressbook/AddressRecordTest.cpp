#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "AddressTestData.h"
#include "DBAdressConfig.h"
#include "DBAdressCore.h"
#include "TestSupport.h"

using AddressTestData::AddAnschrift;
using AddressTestData::FillComplete;

namespace {
const QString kNone = QStringLiteral(". . . . .");

QString Document(const QString& body) {
  return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n") + body;
}

// The record loaded from the other's text.
void Reload(TCustomerAddress& from, TCustomerAddress& into, bool full = true) {
  ASSERT_TRUE(into.LoadFromText(from.GetXMLText(full)));
  ASSERT_FALSE(into.HasError) << into.ErrorText.toStdString();
}
}  // namespace

// ---- display text ----

TEST(AddressDisplayText, WithoutAMainPostalAddressIsDots) {
  TCustomerAddress a;
  EXPECT_EQ(a.BuildDisplayText(), kNone);
  AddAnschrift(a, QStringLiteral("Meier"), QStringLiteral("Weg 1"), QStringLiteral("1"), QStringLiteral("Ort"), false);
  EXPECT_EQ(a.BuildDisplayText(), kNone);
  EXPECT_EQ(a.MainAnschrift(), nullptr);
  AddAnschrift(a, QStringLiteral("  "), QString(), QString(), QStringLiteral(" "), true)->Land.clear();
  EXPECT_EQ(a.BuildDisplayText(), kNone) << "blank parts only";
  EXPECT_EQ(a.BuildAnschriftText(5), kNone);
  EXPECT_EQ(a.BuildAnschriftText(-1), kNone);
}

TEST(AddressDisplayText, JoinsTrimmedPartsOfTheFirstStdAddress) {
  TCustomerAddress a;
  AddAnschrift(a, QStringLiteral("Neben"), QStringLiteral("Gasse 2"), QStringLiteral("2"), QStringLiteral("B"), false);
  TCustomerAnschrift* main = AddAnschrift(a, QStringLiteral(" Müller GmbH "), QStringLiteral(" Hauptstr. 1 "),
                                          QStringLiteral("80331"), QStringLiteral("München "), true);
  main->Name3 = QStringLiteral("z. Hd. Frau Weiß");
  AddAnschrift(a, QStringLiteral("Zweite"), QString(), QString(), QString(), true);
  EXPECT_EQ(a.MainAnschrift(), main);
  EXPECT_EQ(a.BuildDisplayText(), QStringLiteral("Müller GmbH z. Hd. Frau Weiß Hauptstr. 1 D-80331 München"));
  EXPECT_EQ(a.BuildAnschriftText(0), QStringLiteral("Neben Gasse 2 D-2 B"));
  main->Land.clear();
  EXPECT_EQ(a.BuildDisplayText(), QStringLiteral("Müller GmbH z. Hd. Frau Weiß Hauptstr. 1 80331 München"));
  main->Plz.clear();
  main->Land = QStringLiteral("A");
  EXPECT_EQ(a.BuildDisplayText(), QStringLiteral("Müller GmbH z. Hd. Frau Weiß Hauptstr. 1 A München"));
}

TEST(AddressDisplayText, CutsLongPartsToAtMost251Characters) {
  TCustomerAddress a;
  TCustomerAnschrift* adr = AddAnschrift(a, QString(200, QLatin1Char('N')), QString(200, QLatin1Char('S')),
                                         QString(), QString(), true);
  adr->Land.clear();
  const QString text = a.BuildDisplayText();
  EXPECT_EQ(text.size(), 251);
  EXPECT_EQ(text, QString(97, QLatin1Char('N')) + QStringLiteral("... ") + QString(147, QLatin1Char('S')) +
                      QStringLiteral("..."));
  adr->Strasse = QString(150, QLatin1Char('S'));  // exactly 150 stays whole
  EXPECT_EQ(a.BuildDisplayText(), QString(97, QLatin1Char('N')) + QStringLiteral("... ") + QString(150, QLatin1Char('S')));
  adr->Name1 = QString(100, QLatin1Char('N'));  // 250 - 150 fits exactly
  EXPECT_EQ(a.BuildDisplayText().size(), 251);
  EXPECT_FALSE(a.BuildDisplayText().contains(QStringLiteral("...")));
}

// ---- document layout ----

TEST(AddressXml, FullFormRoundTripKeepsEveryPart) {
  TCustomerAddress a, b;
  FillComplete(a);
  Reload(a, b);
  EXPECT_EQ(b.GetXMLText(true), a.GetXMLText(true));
  EXPECT_EQ(b.Info, a.Info);
  EXPECT_TRUE(b.Alarm);
  EXPECT_EQ(b.Kz, a.Kz);
  ASSERT_EQ(b.DsnElements.Count(), 4);
  EXPECT_EQ(b.DsnElements[0]->Text, QStringLiteral("a < b"));
  EXPECT_EQ(b.DsnElements[1]->Integer, -42);
  EXPECT_TRUE(b.DsnElements[2]->Boolean);
  EXPECT_DOUBLE_EQ(b.DsnElements[3]->Float, 45123.5);
  ASSERT_EQ(b.Contacts.Count(), 2);
  EXPECT_EQ(b.Contacts[0]->Data[0]->CdCaract, QStringLiteral("Notfall"));
  EXPECT_TRUE(b.Contacts[1]->Data.IsEmpty());
  EXPECT_DOUBLE_EQ(b.PaymentTerms[0]->Perc, 2.5);
  EXPECT_EQ(b.PaymentWays[0]->Iban, QStringLiteral("DE89370400440532013000"));
}

TEST(AddressXml, WritesTheDocumentLineByLine) {
  ScopedLocale german(GermanLocale());
  TCustomerAddress a;
  a.Id = QStringLiteral("A1");
  a.Cr = 45000.25;
  AddAnschrift(a, QStringLiteral("Meier"), QStringLiteral("Weg 1"), QStringLiteral("12345"), QStringLiteral("Ort"), true);
  *a.DsnElements.Add(std::make_unique<TDsnElement>()) = {QStringLiteral("B"), 3, QString(), 0, false, 0};
  const QString text = a.GetXMLText(true);
  EXPECT_TRUE(text.startsWith(QChar(0xFEFF) + QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral(
      "<kundenadr id=\"A1\" cr=\"45000,25\" crby=\"\" ch=\"0\" chby=\"\" wv=\"0\" wvtxt=\"\" wvuser=\"\" "
      "mwstausw=\"0\" paragr13b=\"False\" paragr14b=\"False\" paragr6a=\"False\" mahntyp=\"0\">\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral(
      "  <adr name1=\"Meier\" strasse=\"Weg 1\" land=\"D\" plz=\"12345\" ort=\"Ort\" std=\"True\" aart=\"\" />\r\n"
      "  <alarm val=\"False\"></alarm>\r\n  <zinfo></zinfo>\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("  <dsnobj name=\"B\" type=\"3\" >0</dsnobj>\r\n</kundenadr>\r\n")));
  EXPECT_FALSE(text.contains(QStringLiteral("<kz>"))) << "no marks, no element";
}

TEST(AddressXml, EmptyBlocksWriteNoElementButContactsStayFramed) {
  TCustomerAddress a;
  const QString text = a.GetXMLText(true);
  EXPECT_FALSE(text.contains(QStringLiteral("<debitor")));
  EXPECT_FALSE(text.contains(QStringLiteral("<kreditor")));
  EXPECT_FALSE(text.contains(QStringLiteral("<info>")));
  EXPECT_TRUE(text.contains(QStringLiteral("  <kontakte>\r\n  </kontakte>\r\n  <pwl>\r\n  </pwl>\r\n<ptl>\r\n</ptl>\r\n")));
  a.KreditorNr = QStringLiteral("7");
  EXPECT_TRUE(a.GetXMLText(true).contains(QStringLiteral("  <kreditor kreditornr=\"7\" />\r\n")));
}

TEST(AddressXml, DatabaseFormLeavesOutTheColumnFields) {
  TCustomerAddress a, b;
  FillComplete(a);
  const QString dbForm = a.GetXMLText(false);
  for (const char* absent : {" id=", " cr=", " ch=", " crby=", " wv=", " addrgrp=", "<at>", "<kz>", "idweiterl"})
    EXPECT_FALSE(dbForm.contains(QLatin1String(absent))) << absent;
  EXPECT_TRUE(dbForm.contains(QStringLiteral(" kndverz=\"V1\"")));
  a.FullForm = false;
  EXPECT_EQ(a.GetXMLText(true), dbForm) << "FullForm off writes the database form";
  a.FullForm = true;

  Reload(a, b, false);
  // What the table's columns give back.
  b.Id = a.Id, b.Cr = a.Cr, b.Ch = a.Ch, b.CrBy = a.CrBy, b.ChBy = a.ChBy, b.IdWeiterl = a.IdWeiterl;
  b.Wv = a.Wv, b.WvTxt = a.WvTxt, b.WvUser = a.WvUser, b.AddrGrp = a.AddrGrp, b.At = a.At, b.Kz = a.Kz;
  EXPECT_EQ(b.GetXMLText(true), a.GetXMLText(true));
}

TEST(AddressXml, SpecialCharactersAndLocalesRoundTrip) {
  for (const QLocale& locale : {GermanLocale(), DecimalPointLocale()}) {
    ScopedLocale scoped(locale);
    TCustomerAddress a, b;
    FillComplete(a);
    a.Anschriften[0]->Strasse = QStringLiteral("Weg 1 & 2 <hinten> \"A\" 'B'");
    a.Cr = 45000.123456789;
    EXPECT_TRUE(a.GetXMLText(true).contains(QStringLiteral("strasse=\"Weg 1 &amp; 2 &lt;hinten&gt; &quot;A&quot; &apos;B&apos;\"")));
    Reload(a, b);
    EXPECT_EQ(b.Anschriften[0]->Strasse, a.Anschriften[0]->Strasse);
    EXPECT_DOUBLE_EQ(b.Cr, a.Cr);
  }
}

// ---- reading rules ----

TEST(AddressXmlReading, FollowsTheElementRules) {
  TCustomerAddress a;
  const QString text = Document(QStringLiteral(
      "<kundenadr id=\"X\" mwstausw=\"1a2\">"
      "<kontaktdata cdtype=\"1\" cdname=\"vor jedem Kontakt\"/>"
      "<alarm val=\"False\">Achtung</alarm>"
      "<info>eins</info><info>zwei</info><zinfo>z</zinfo><zinfo>z</zinfo>"
      "<kontakte><kontakt name=\"K\" std=\"True\"><kontaktdata cdtype=\"5\" cdvalue=\"v\"/></kontakt>"
      "<kontaktdata cdtype=\"9\" cdname=\"nach dem Kontakt\"/></kontakte>"
      "<dsnobj name=\"a\" type=\"7\">nichts</dsnobj><dsnobj name=\"b\" type=\"4\">1,5</dsnobj>"
      "<kz>eins&#13;&#10;zwei&#13;&#10;</kz><unbekannt>x</unbekannt></kundenadr>"));
  ASSERT_TRUE(a.LoadFromText(text));
  EXPECT_EQ(a.Id, QStringLiteral("X"));
  EXPECT_EQ(a.MwStAusw, 12) << "lenient integer";
  EXPECT_TRUE(a.Alarm) << "any alarm text switches the alarm on";
  EXPECT_EQ(a.AlarmText, QStringLiteral("Achtung"));
  EXPECT_EQ(a.Info, QStringLiteral("einszwei"));
  EXPECT_EQ(a.ZInfo, QStringLiteral("zz"));
  ASSERT_EQ(a.Contacts.Count(), 1);
  ASSERT_EQ(a.Contacts[0]->Data.Count(), 1) << "contact data only inside a contact";
  EXPECT_EQ(a.Contacts[0]->Data[0]->CdType, 5);
  ASSERT_EQ(a.DsnElements.Count(), 2);
  EXPECT_TRUE(a.DsnElements[0]->Text.isEmpty()) << "unknown kinds keep no value";
  EXPECT_DOUBLE_EQ(a.DsnElements[1]->Float, 1.5);
  EXPECT_EQ(a.Kz, (QStringList{QStringLiteral("eins"), QStringLiteral("zwei")}));

  ASSERT_TRUE(a.LoadFromText(Document(QStringLiteral("<kundenadr><alarm val=\"True\"/></kundenadr>"))));
  EXPECT_TRUE(a.Alarm);
  EXPECT_TRUE(a.Contacts.IsEmpty()) << "a load starts from a cleared record";
}

TEST(AddressXmlReading, MalformedTextIsReportedAndKeepsWhatWasRead) {
  TCustomerAddress a;
  a.LoadFromText(Document(QStringLiteral("<kundenadr id=\"Y\"><adr name1=\"A\" std=\"True\" /><adr name1=")));
  EXPECT_TRUE(a.HasError);
  EXPECT_EQ(a.Id, QStringLiteral("Y"));
  EXPECT_EQ(a.Anschriften.Count(), 1);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.contains(QStringLiteral("Line")));
}

TEST(AddressCopy, IsDeep) {
  TCustomerAddress a, b;
  FillComplete(a);
  b.CopyFrom(a);
  EXPECT_EQ(b.GetXMLText(true), a.GetXMLText(true));
  b.Contacts[0]->Data[0]->CdValue = QStringLiteral("anders");
  b.Anschriften[0]->Ort = QStringLiteral("anders");
  EXPECT_EQ(a.Contacts[0]->Data[0]->CdValue, QStringLiteral("089 1234"));
  EXPECT_EQ(a.Anschriften[0]->Ort, QStringLiteral("München"));
}

// ---- address list ----

TEST(AddressList, RoundTripsThreeAddressesAndHandsThemOutInOrder) {
  TCustomerAddressList list, back;
  for (const char* id : {"A", "B", "C"}) FillComplete(*list.Items.Add(std::make_unique<TCustomerAddress>()), QLatin1String(id));
  list.Items[1]->Contacts.Clear();
  const QString text = list.GetXMLText(true);
  EXPECT_TRUE(text.contains(QStringLiteral("?>\r\n<kundenadrliste>\r\n  <kundenadr id=\"A\"")));
  EXPECT_TRUE(text.endsWith(QStringLiteral("  </kundenadr>\r\n</kundenadrliste>\r\n")));
  ASSERT_TRUE(back.LoadFromText(text));
  ASSERT_EQ(back.Items.Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(back.Items[i]->GetXMLText(true), list.Items[i]->GetXMLText(true)) << i;

  std::unique_ptr<TCustomerAddress> first = back.TakeFirst();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Id, QStringLiteral("A"));
  EXPECT_EQ(back.TakeFirst()->Id, QStringLiteral("B"));
  EXPECT_EQ(back.TakeFirst()->Id, QStringLiteral("C"));
  EXPECT_EQ(back.TakeFirst(), nullptr);
}

TEST(AddressList, ReadsOnlyKundenadrSubtrees) {
  TCustomerAddressList list;
  ASSERT_TRUE(list.LoadFromText(Document(QStringLiteral(
      "<kundenadrliste><info>draussen</info><kundenadr id=\"1\"><info>drin</info></kundenadr>"
      "<kontakt name=\"lose\"/><kundenadr id=\"2\"/></kundenadrliste>"))));
  ASSERT_EQ(list.Items.Count(), 2);
  EXPECT_EQ(list.Items[0]->Info, QStringLiteral("drin"));
  EXPECT_TRUE(list.Items[0]->Contacts.IsEmpty());
  EXPECT_EQ(list.Items[1]->Id, QStringLiteral("2"));
}

// ---- configuration ----

TEST(AddressConfig, MissingFileGivesDefaultsSilently) {
  QTemporaryDir dir;
  TAddressConfig config;
  config.AdressGrp << QStringLiteral("alt");
  config.SearchPlz = false;
  config.LoadFromFile(TAddressConfig::FileNameIn(dir.path()));
  EXPECT_TRUE(config.SearchPlz);
  EXPECT_TRUE(config.AdressGrp.isEmpty());
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST(AddressConfig, RoundTripWritesLineBreaksAsCharacterReferences) {
  QTemporaryDir dir;
  const QString file = TAddressConfig::FileNameIn(dir.path());
  TAddressConfig config, back;
  config.Lkz = QStringLiteral("D");
  config.SearchPlz = false;
  config.StdMwSt = 2;
  config.StdMahnTyp = 1;
  config.StdMailHeader = QStringLiteral("Hallo \"Welt\"");
  config.AdressKz = {QStringLiteral("Stammkunde"), QStringLiteral("A & B")};
  config.SpezielleKontaktKz = {QStringLiteral("Notfall")};
  ASSERT_TRUE(config.SaveToFile(file));
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(ReadFileBytes(file).constData() + 2));
  EXPECT_TRUE(text.contains(QStringLiteral("  <adresskz>Stammkunde&#13;&#10;A &amp; B</adresskz>\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("<adressconfig>\r\n  <lkz val=\"D\"/>\r\n  <searchplz val=\"False\"/>\r\n")));
  back.LoadFromFile(file);
  EXPECT_EQ(back.GetXMLText(true), config.GetXMLText(true));
  EXPECT_EQ(back.AdressKz, config.AdressKz);
  EXPECT_FALSE(back.SearchPlz);
}

TEST(AddressConfig, AcceptsBankverbkzAndReportsMalformedFiles) {
  QTemporaryDir dir;
  const QString file = TAddressConfig::FileNameIn(dir.path());
  WriteFileBytes(file, Utf16LeWithBom(Document(QStringLiteral(
                           "<adressconfig><lkz val=\"A\"/><bankverbkz>x</bankverbkz><nk>a&#13;&#10;b</nk></adressconfig>"))));
  TAddressConfig config;
  config.LoadFromFile(file);
  EXPECT_FALSE(config.HasError);
  EXPECT_EQ(config.Lkz, QStringLiteral("A"));
  EXPECT_EQ(config.Nk, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

  WriteFileBytes(file, Utf16LeWithBom(Document(QStringLiteral("<adressconfig><lkz val=\"B\"/><stdmwst val=\"3\"/><nk>"))));
  config.LoadFromFile(file);
  EXPECT_TRUE(config.HasError);
  EXPECT_EQ(config.Lkz, QStringLiteral("B"));
  EXPECT_EQ(config.StdMwSt, 3);
  EXPECT_EQ(TestDialogs().shown.size(), 1);
}
