#include <gtest/gtest.h>

#include <QDate>
#include <QTemporaryDir>
#include <QTextStream>

#include "AddressGridModel.h"
#include "AddressSpecialSearch.h"
#include "AddressTestData.h"
#include "DBAdress.h"
#include "DBAdressConfig.h"
#include "DemoAddresses.h"
#include "SuiteAdmCommand.h"
#include "TempSuite.h"
#include "TypeUnit.h"
#include "TestSupport.h"

using AddressTestData::AddAnschrift;
using AddressTestData::FillComplete;

namespace {
// An opened address book in a temporary directory; errors are collected.
class AddressBook : public testing::Test {
 protected:
  void SetUp() override {
    db.OnLog = [this](const std::exception*, const QString& message) { logged << message; };
    db.Open(dir.path());
  }

  // Stores an address with one main postal address; returns 0 on success.
  int Store(const QString& id, const QString& name, const QString& ort, const QString& group = QStringLiteral("KUNDE")) {
    TCustomerAddress a;
    a.Id = id;
    a.AddrGrp = group;
    AddAnschrift(a, name, QStringLiteral("Hauptstraße 5"), QStringLiteral("80331"), ort, true);
    a.At = a.BuildDisplayText();
    return db.SetCustomer(a);
  }

  QStringList FoundIds(const QString& text) {
    TDBAdressSearchResultObjectList results;
    db.FindAddress(text, results);
    QStringList ids;
    for (const TDBAdressSearchResult& r : results) ids << r.ID;
    return ids;
  }

  // Writes a row directly, bypassing the record.
  void PutRow(const QString& id, const QString& display, const QString& xml) {
    db.Table->Append();
    db.Table->FieldByName(QStringLiteral("ID")).SetAsString(id);
    db.Table->FieldByName(QStringLiteral("DISPLAYTXT")).SetAsString(display);
    for (const char* empty : {"ADDRGRP", "IDFORWARD"}) db.Table->FieldByName(QLatin1String(empty)).SetAsString(QString());
    for (const char* zero : {"CREATED", "CHANGED"}) db.Table->FieldByName(QLatin1String(zero)).SetAsFloat(0);
    if (!xml.isNull()) db.Table->FieldByName(QStringLiteral("XMLDATA")).SetAsString(xml);
    db.Table->Post();
  }

  QTemporaryDir dir;
  TDBAdress db;
  QStringList logged;
};

QStringList Ids(std::initializer_list<const char*> ids) {
  QStringList list;
  for (const char* id : ids) list << QLatin1String(id);
  return list;
}
}  // namespace

// ---- records ----

TEST_F(AddressBook, StoresAndReadsARecordWithItsColumns) {
  TCustomerAddress a, back;
  FillComplete(a, QStringLiteral("k100"));
  ASSERT_EQ(db.SetCustomer(a), 0);
  EXPECT_EQ(a.Id, QStringLiteral("K100"));
  db.Table->First();
  EXPECT_EQ(db.GetCurrentID(), QStringLiteral("K100"));
  EXPECT_EQ(db.Table->FieldByName(QStringLiteral("CHARACT")).AsString(), QStringLiteral("Stammkunde\r\nGroßkunde"));
  EXPECT_EQ(db.Table->FieldByName(QStringLiteral("DISPLAYTXT")).AsString(), a.At);
  const QString xml = db.Table->FieldByName(QStringLiteral("XMLDATA")).AsString();
  EXPECT_TRUE(xml.startsWith(QChar(0xFEFF))) << "like every XML text the system writes";
  EXPECT_TRUE(xml.contains(QStringLiteral(" addrgrp=\"KUNDE\""))) << "the whole record";

  db.Table->Last();  // the row must be found, not just be current
  ASSERT_EQ(db.GetCustomer(QStringLiteral("k100"), back), 0);
  EXPECT_EQ(back.GetXMLText(true), a.GetXMLText(true));
  EXPECT_EQ(db.GetCustomer(QStringLiteral("K999"), back), 1);
  EXPECT_TRUE(logged.isEmpty()) << logged.join(u'\n').toStdString();
}

TEST_F(AddressBook, StoringAnExistingIdEditsTheRowAndKeepsItsCreation) {
  TCustomerAddress a;
  FillComplete(a, QStringLiteral("A1"));
  ASSERT_EQ(db.SetCustomer(a), 0);
  ASSERT_EQ(Store(QStringLiteral("B2"), QStringLiteral("Zweiter"), QStringLiteral("Köln")), 0);
  a.Cr = 1;
  a.Info = QStringLiteral("geändert");
  ASSERT_EQ(db.SetCustomer(a), 0);
  EXPECT_EQ(db.Table->RecordCount(), 2);
  TCustomerAddress back;
  ASSERT_EQ(db.GetCustomer(QStringLiteral("A1"), back), 0);
  EXPECT_EQ(back.Info, QStringLiteral("geändert"));
  EXPECT_DOUBLE_EQ(back.Cr, 45000.25) << "CREATED is written only with a new row";
}

TEST_F(AddressBook, PositionsAndRecordNumbersFollowTheIdOrder) {
  for (const char* id : {"30", "10", "20"}) ASSERT_EQ(Store(QLatin1String(id), QStringLiteral("N"), QStringLiteral("O")), 0);
  EXPECT_EQ(db.GetCustomerRecNo(QString()), 1);
  EXPECT_EQ(db.GetCustomerRecNo(QStringLiteral("30")), 3);
  EXPECT_EQ(db.GetCustomerRecNo(QStringLiteral("25")), 0);
  db.FindID(QStringLiteral("15"));
  EXPECT_EQ(db.GetCurrentID(), QStringLiteral("20"));
}

TEST_F(AddressBook, TheAddressGroupIsFoundByTheFreeTextSearch) {
  ASSERT_EQ(Store(QStringLiteral("1"), QStringLiteral("Erster"), QStringLiteral("Ort"), QStringLiteral("LIEFERANT")), 0);
  ASSERT_EQ(Store(QStringLiteral("2"), QStringLiteral("Zweiter"), QStringLiteral("Ort")), 0);
  EXPECT_EQ(FoundIds(QStringLiteral("lieferant")), Ids({"1"}));
}

TEST_F(AddressBook, BadRowsReadWithoutCrashing) {
  PutRow(QStringLiteral("LEER"), QStringLiteral(""), QString());
  PutRow(QStringLiteral("KAPUTT"), QStringLiteral("Kaputt"), QStringLiteral("<kundenadr><adr name1=\"X\" std="));
  TCustomerAddress a;
  EXPECT_EQ(db.GetCustomer(QStringLiteral("LEER"), a), 0);
  EXPECT_EQ(a.Id, QStringLiteral("LEER"));
  EXPECT_TRUE(a.Kz.isEmpty());
  EXPECT_TRUE(TestDialogs().shown.isEmpty());

  EXPECT_EQ(db.GetCustomer(QStringLiteral("KAPUTT"), a), 0) << "the columns still give the record";
  EXPECT_EQ(a.At, QStringLiteral("Kaputt"));
  EXPECT_TRUE(a.HasError);
  EXPECT_EQ(TestDialogs().shown.size(), 1) << "the parse error is reported";
  EXPECT_EQ(FoundIds(QStringLiteral("kaputt")), Ids({"KAPUTT"}));
  EXPECT_EQ(FoundIds(QStringLiteral("leer")), Ids({"LEER"}));

  // Rows written before the XML kept its byte-order mark read the same.
  PutRow(QStringLiteral("ALT"), QStringLiteral("Alt"), QStringLiteral("<kundenadr><info>ohne Marke</info></kundenadr>"));
  ASSERT_EQ(db.GetCustomer(QStringLiteral("ALT"), a), 0);
  EXPECT_EQ(a.Info, QStringLiteral("ohne Marke"));
}

TEST(AddressBookClosed, EveryOperationReportsItsName) {
  QStringList logged;
  TDBAdress db([&](const std::exception* e, const QString& message) {
    EXPECT_NE(e, nullptr);
    logged << message;
  });
  TCustomerAddress a;
  TDBAdressSearchResultObjectList results;
  EXPECT_EQ(db.SetCustomer(a), -1);
  EXPECT_EQ(db.GetCustomer(QStringLiteral("X"), a), -1);
  EXPECT_EQ(db.GetCustomerRecNo(QStringLiteral("X")), 0);
  db.FindAddress(QStringLiteral("x"), results);
  db.FindAddressByAddrGrp(QStringLiteral("x"), results);
  EXPECT_TRUE(results.IsEmpty());
  EXPECT_EQ(logged, (QStringList{QStringLiteral("TDBAdress.SetCustomer"), QStringLiteral("TDBAdress.GetCustomer"),
                                 QStringLiteral("TDBAdress.GetCustomerRecNo"), QStringLiteral("TDBAdress.FindAddress"),
                                 QStringLiteral("TDBAdress.FindAddressByAddrGrp")}));
}

// ---- search ----

TEST(AddressSearchKeys, FoldCaseUmlautsAndEscapes) {
  EXPECT_EQ(TDBAdress::NormalizePlain(u"Müller Öl Äpfel Straße ÿ é"), QStringLiteral("MUELLER OEL AEPFEL STRASSE \u0178 É"));
  EXPECT_EQ(TDBAdress::NormalizePlain(u"a&b<c>"), QStringLiteral("A&B<C>"));
  EXPECT_EQ(TDBAdress::NormalizeEscaped(u"a&b \"c\" 'd' <e> \r\n\x02\x03ü"),
            QStringLiteral("A&amp;B &quot;C&quot; &apos;D&apos; &lt;E&gt; &#13;&#10;&#2;&#3;UE"));
}

TEST_F(AddressBook, UmlautWordsFindBothSpellingsInAnyCase) {
  ASSERT_EQ(Store(QStringLiteral("1"), QStringLiteral("Müller"), QStringLiteral("Ort")), 0);
  ASSERT_EQ(Store(QStringLiteral("2"), QStringLiteral("MUELLER"), QStringLiteral("Ort")), 0);
  ASSERT_EQ(Store(QStringLiteral("3"), QStringLiteral("Miller"), QStringLiteral("Ort")), 0);
  for (const char16_t* word : {u"müller", u"MÜLLER", u"mueller", u"Müll"})
    EXPECT_EQ(FoundIds(QString::fromUtf16(word)), Ids({"1", "2"})) << QString::fromUtf16(word).toStdString();
}

TEST_F(AddressBook, DotWordsMatchWholeWordsOnly) {
  ASSERT_EQ(Store(QStringLiteral("1"), QStringLiteral("Kirche ST Peter"), QStringLiteral("Ort")), 0);
  ASSERT_EQ(Store(QStringLiteral("2"), QStringLiteral("Stadtwerke"), QStringLiteral("Stuttgart")), 0);
  ASSERT_EQ(Store(QStringLiteral("ST"), QStringLiteral("Id ist ST"), QStringLiteral("Ort")), 0);
  EXPECT_EQ(FoundIds(QStringLiteral(".st")), Ids({"1", "ST"}));
  EXPECT_EQ(FoundIds(QStringLiteral("st")), Ids({"1", "2", "ST"}));
}

TEST_F(AddressBook, SpecialCharactersMatchInColumnsButNeverInsideTheXml) {
  ASSERT_EQ(Store(QStringLiteral("1"), QStringLiteral("Müller & Söhne <GmbH> \"Bau\""), QStringLiteral("Ort")), 0);
  TCustomerAddress a;
  a.Id = QStringLiteral("2");
  a.Info = QStringLiteral("Nur im XML: & < > \"");
  a.At = QStringLiteral("Zweiter");
  ASSERT_EQ(db.SetCustomer(a), 0);
  for (const char* word : {"&", "<gmbh>", "\"bau\""}) EXPECT_EQ(FoundIds(QLatin1String(word)), Ids({"1"})) << word;
  EXPECT_TRUE(FoundIds(QStringLiteral("&amp;")).isEmpty()) << "the word is escaped too";
  EXPECT_EQ(FoundIds(QStringLiteral("xml:")), Ids({"2"})) << "the XML is searched";
  EXPECT_TRUE(FoundIds(QStringLiteral("<")).size() == 1) << "every XML holds \"<\", none matches it";
}

TEST_F(AddressBook, EveryWordMustMatchInAnyOrderAndText) {
  ASSERT_EQ(Store(QStringLiteral("1"), QStringLiteral("Weiß"), QStringLiteral("München")), 0);
  ASSERT_EQ(Store(QStringLiteral("2"), QStringLiteral("Weiß"), QStringLiteral("Köln")), 0);
  ASSERT_EQ(Store(QStringLiteral("3"), QStringLiteral("Schwarz"), QStringLiteral("München")), 0);
  EXPECT_EQ(FoundIds(QStringLiteral("weiss münchen")), Ids({"1"}));
  EXPECT_EQ(FoundIds(QStringLiteral("  MUENCHEN   weiß ")), Ids({"1"}));
  EXPECT_EQ(FoundIds(QStringLiteral("1 rechnungsanschrift")), QStringList()) << "neither text holds the second word";
  EXPECT_EQ(FoundIds(QStringLiteral("hauptstra")), Ids({"1", "2", "3"}));
  EXPECT_TRUE(FoundIds(QStringLiteral("   ")).isEmpty());
  EXPECT_TRUE(FoundIds(QString()).isEmpty());
}

TEST_F(AddressBook, ResultsCarryTheRowAndLeaveTheTableAfterTheLastRow) {
  TCustomerAddress a;
  FillComplete(a, QStringLiteral("B"));
  ASSERT_EQ(Store(QStringLiteral("A"), QStringLiteral("Erster"), QStringLiteral("Ort")), 0);
  ASSERT_EQ(db.SetCustomer(a), 0);
  ASSERT_EQ(Store(QStringLiteral("C"), QStringLiteral("Dritter"), QStringLiteral("Ort"), QStringLiteral("kunde")), 0);
  db.Table->First();
  TDBAdressSearchResultObjectList results;
  db.FindAddress(QStringLiteral("rückruf"), results);  // the resubmission text
  ASSERT_EQ(results.Count(), 1);
  EXPECT_EQ(results[0]->RecNo, 2);
  EXPECT_EQ(results[0]->ID, QStringLiteral("B"));
  EXPECT_EQ(results[0]->DisplayText, a.At);
  EXPECT_EQ(results[0]->AddrGrp, QStringLiteral("KUNDE"));
  EXPECT_DOUBLE_EQ(results[0]->WV, 45200.75);
  EXPECT_TRUE(db.Table->Eof());

  TDBAdressSearchResultObjectList byGroup;
  db.FindAddressByAddrGrp(QStringLiteral("Kunde"), byGroup);
  ASSERT_EQ(byGroup.Count(), 3);
  EXPECT_EQ(byGroup[2]->RecNo, 3);
  byGroup.Clear();
  db.FindAddressByAddrGrp(QString(), byGroup);
  EXPECT_TRUE(byGroup.IsEmpty());
}

// ---- old tables ----

TEST(AddressBookOldTable, AlterTablesAddsTheResubmissionColumnsBeforeXmlData) {
  QTemporaryDir dir;
  {
    TTdbDatabase database;
    database.SetLocation(dir.path() + QLatin1Char('/'));
    TTdbTable old(&database);
    old.SetTableName(QStringLiteral("ADDRESS"));
    TTdbFieldDefs& f = old.FieldDefs();
    for (const char* name : {"ID", "DISPLAYTXT", "ADDRGRP"}) f.Add(QLatin1String(name), TdbFieldKind::WideString, 50);
    for (const char* name : {"CREATED", "CHANGED"}) {
      f.Add(QLatin1String(name), TdbFieldKind::DateTime);
      f.Add(QLatin1String(name) + QStringLiteral("BY"), TdbFieldKind::WideString, 20);
    }
    f.Add(QStringLiteral("IDFORWARD"), TdbFieldKind::WideString, 20);
    for (const char* name : {"XMLDATA", "CHARACT"}) f.Add(QLatin1String(name), TdbFieldKind::WideMemo);
    old.IndexDefs().Add(QStringLiteral("ADDRESSID"), QStringLiteral("ID"), ixUnique);
    old.CreateTable();
    database.Connect();
    old.SetIndexName(QStringLiteral("ADDRESSID"));
    old.Open();
    old.Append();
    old.FieldByName(QStringLiteral("ID")).SetAsString(QStringLiteral("ALT"));
    old.FieldByName(QStringLiteral("DISPLAYTXT")).SetAsString(QStringLiteral("Alte Adresse"));
    old.Post();
  }
  TDBAdress db;
  db.Open(dir.path());
  TCustomerAddress a;
  ASSERT_EQ(db.GetCustomer(QStringLiteral("alt"), a), 0) << "an old table is read as it is";
  TDBAdressSearchResultObjectList results;
  db.FindAddress(QStringLiteral("alte"), results);
  EXPECT_EQ(results.Count(), 1) << "an old table is searched as it is";
  {
    TAddressTableModel grid(db.Table);
    ASSERT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.Row(0).ID, QStringLiteral("ALT")) << "an old table is shown as it is";
    EXPECT_EQ(grid.Row(0).DisplayText, QStringLiteral("Alte Adresse"));
  }
  ASSERT_EQ(db.AlterTables(), 0);
  db.Table->ReadDefinitions();
  QStringList names;
  for (const TTdbFieldDef& def : db.Table->FieldDefs().Items()) names << def.Name;
  EXPECT_EQ(names.join(u' '), QStringLiteral("ID DISPLAYTXT ADDRGRP CREATED CREATEDBY CHANGED CHANGEDBY IDFORWARD "
                                             "WV WVTXT WVUSER XMLDATA CHARACT"));
  ASSERT_EQ(db.GetCustomer(QStringLiteral("alt"), a), 0);
  EXPECT_EQ(a.At, QStringLiteral("Alte Adresse"));
  a.WvTxt = QStringLiteral("neu");
  EXPECT_EQ(db.SetCustomer(a), 0);
  EXPECT_EQ(db.AlterTables(), 0) << "nothing to add";
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

// ---- demo data ----

TEST(DemoAddresses, AreVariedAndRepeatable) {
  QTemporaryDir dir;
  QString error;
  ASSERT_TRUE(FillDemoAddresses(dir.path(), 60, &error)) << error.toStdString();
  ASSERT_TRUE(WriteDemoAddressConfig(dir.path(), &error)) << error.toStdString();
  TDBAdress db;
  db.Open(dir.path());
  EXPECT_EQ(db.Table->RecordCount(), 60);
  TCustomerAddress first, again;
  ASSERT_EQ(db.GetCustomer(QStringLiteral("10000"), first), 0);
  ASSERT_EQ(db.GetCustomer(QStringLiteral("10059"), again), 0);
  const double today = QDate(1899, 12, 30).daysTo(QDate::currentDate());
  int past = 0, now = 0, ahead = 0, twoAnschriften = 0;
  QSet<QString> groups;
  for (int i = 0; i < 60; ++i) {
    TCustomerAddress a;
    ASSERT_EQ(db.GetCustomer(QString::number(10000 + i), a), 0);
    ASSERT_NE(a.MainAnschrift(), nullptr);
    EXPECT_FALSE(a.Contacts.IsEmpty());
    groups << a.AddrGrp;
    past += a.Wv > 0 && a.Wv < today;
    now += a.Wv == today;
    ahead += a.Wv > today;
    twoAnschriften += a.Anschriften.Count() == 2;
  }
  EXPECT_GE(groups.size(), 4);
  EXPECT_GT(past, 0);
  EXPECT_GT(now, 0);
  EXPECT_GT(ahead, 0);
  EXPECT_GT(twoAnschriften, 0);
  db.CloseDatabase();

  ASSERT_TRUE(FillDemoAddresses(dir.path(), 60, &error));
  db.Open(dir.path());
  TCustomerAddress refilled;
  ASSERT_EQ(db.GetCustomer(QStringLiteral("10000"), refilled), 0);
  EXPECT_EQ(refilled.GetXMLText(true), first.GetXMLText(true));
  TAddressConfig config;
  config.LoadFromFile(TAddressConfig::FileNameIn(dir.path()));
  EXPECT_FALSE(config.AdressKz.isEmpty());
  EXPECT_TRUE(config.AdressGrp.contains(first.AddrGrp));
  EXPECT_FALSE(config.SpezielleKontaktKz.isEmpty());
}

// Every mark the frame offers for the special search hits some demo address.
TEST(DemoAddresses, EveryOfferedMarkIsFoundByTheSpecialSearch) {
  QTemporaryDir dir;
  QString error;
  ASSERT_TRUE(FillDemoAddresses(dir.path(), 60, &error)) << error.toStdString();
  ASSERT_TRUE(WriteDemoAddressConfig(dir.path(), &error)) << error.toStdString();
  TAddressConfig config;
  config.LoadFromFile(TAddressConfig::FileNameIn(dir.path()));
  TDBAdress db;
  db.Open(dir.path());
  const struct {
    const char* group;
    const QStringList& marks;
    QStringList TSpecialSearchCriteria::*criteria;
  } groups[] = {{"address marks", config.AdressKz, &TSpecialSearchCriteria::AddressMarks},
                {"contact marks", config.KontaktKz, &TSpecialSearchCriteria::ContactMarks},
                {"special contact marks", config.SpezielleKontaktKz, &TSpecialSearchCriteria::SpecialMarks}};
  for (const auto& g : groups) {
    ASSERT_FALSE(g.marks.isEmpty()) << g.group;
    for (const QString& mark : g.marks) {
      TSpecialSearchCriteria criteria;
      (criteria.*g.criteria) = {mark};
      TDBAdressSearchResultObjectList results;
      FindAddressBySpecial(db, criteria, results);
      EXPECT_GT(results.Count(), 0) << g.group << ": " << mark.toStdString();
    }
  }
}

TEST(DemoAddresses, SuiteAdmTakesTheCountAndRefusesABadOne) {
  QTemporaryDir dir;
  QString out, err;
  QTextStream outStream(&out), errStream(&err);
  const QString root = dir.path() + QStringLiteral("/suite");
  ASSERT_EQ(SuiteAdmMain({QStringLiteral("demo"), root, QStringLiteral("--addresses"), QStringLiteral("7")}, outStream,
                         errStream),
            0);
  TDBAdress db;
  db.Open(root + QStringLiteral("/DATA/DEMO/A1/ADRESSEN/"));
  EXPECT_EQ(db.Table->RecordCount(), 7);
  for (const char* bad : {"x", "-1", ""})
    EXPECT_EQ(SuiteAdmMain({QStringLiteral("demo"), root, QStringLiteral("--addresses"), QLatin1String(bad)},
                           outStream, errStream),
              2)
        << bad;
  errStream.flush();
  EXPECT_TRUE(err.contains(QStringLiteral("--addresses N")));
}

TEST(DemoAddresses, TheDemoSuiteHasThemWhereTheStartUpLooks) {
  TempSuite suite;
  ASSERT_TRUE(suite.Load());
  EXPECT_EQ(SystemEinstellungen()->AddressDir, DemoAddressDir(suite.Root()));
  TDBAdress db;
  db.Open(SystemEinstellungen()->AddressDir);
  EXPECT_EQ(db.Table->RecordCount(), kDemoAddressCount);
  TAddressConfig config;
  config.LoadFromFile(TAddressConfig::FileNameIn(SystemEinstellungen()->AddressDir));
  EXPECT_FALSE(config.AnschriftArten.isEmpty());
}
