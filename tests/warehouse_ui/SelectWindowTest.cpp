#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "DBGrid.h"
#include "LagerAnzeigenFrame.h"
#include "LagerArtikelFrame1.h"
#include "LagerArtikelSelectForm1.h"
#include "LagerGridModels.h"
#include "LagerShowSNForm1.h"
#include "NumberText.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
struct Article {
  const char* nr;
  const char* description;
  const char* group;
  bool notStock;
};
const Article kArticles[] = {
    {"A-100", "Kupferrohr 15 mm", "SANITAER", false}, {"A-1000", "Kupferrohr 22 mm", "SANITAER", false},
    {"B-7", "Kabel NYM-J 3x1,5", "ELEKTRO", false},   {"B-8", "Kabel Rohrschelle", "ELEKTRO", true},
    {"C'1", "Schraube M8", "BEFESTIGUNG", false},
};

class SelectWindow : public testing::Test {
 protected:
  void SetUp() override {
    db.Open(dir.path());
    TLagerConfig config;
    config.Artikelgruppen = QStringList{QStringLiteral("SANITAER"), QStringLiteral("ELEKTRO")};
    ASSERT_TRUE(config.SaveToFile(dir.filePath(QStringLiteral("CONFIG.XML"))));
  }
  void Fill(std::initializer_list<Article> articles) {
    for (const Article& a : articles) {
      TLagerServerObj article;
      article.LagerArtikelNr = QLatin1String(a.nr);
      article.Bezeichnung = QString::fromUtf8(a.description);
      article.Gruppe = QLatin1String(a.group);
      article.IsNotBestandsArtikel = a.notStock;
      article.Lagerort = QStringLiteral("R1");
      ASSERT_EQ(db.SetLagerArtikel(article), 0);
    }
  }
  void FillAll() {
    for (const Article& a : kArticles) Fill({a});
  }
  TLagerArtikelSelectForm1& Form() {
    if (!form) form = std::make_unique<TLagerArtikelSelectForm1>(&db, dir.path());
    return *form;
  }
  TLagerAnzeigenFrame& Frame() { return *Form().Frame; }
  QStringList ShownNumbers() {
    QStringList numbers;
    QAbstractItemModel* model = Frame().Grid->model();
    for (int row = 0; row < model->rowCount(); ++row) numbers << model->index(row, lcNr).data().toString();
    return numbers;
  }
  QString LastAlert() {
    for (auto it = TestDialogs().shown.rbegin(); it != TestDialogs().shown.rend(); ++it)
      if (it->kind == QStringLiteral("alert")) return it->text;
    return QString();
  }
  // Runs Execute with the action done once the window shows.
  bool ExecuteWith(TLagerServerObjObjectList& result, const std::function<void()>& action) {
    QTimer::singleShot(0, &Form(), action);
    return Form().Execute(result);
  }
  static QStringList Numbers(const TLagerServerObjObjectList& list) {
    QStringList numbers;
    for (const TLagerServerObj& a : list) numbers << a.LagerArtikelNr;
    return numbers;
  }

  QTemporaryDir dir;
  IModLagerDBServerObj db;
  std::unique_ptr<TLagerArtikelSelectForm1> form;
};

TEST_F(SelectWindow, SearchByTextAndGroupAndBackToTheList) {
  FillAll();
  const struct {
    const char* text;
    int group;
    const char* expected;  // numbers shown, or empty for no hit
  } cases[] = {{"rohr", 0, "A-100 A-1000 B-8"}, {"rohr 22", 0, "A-1000"}, {"rohr", 2, "B-8"},
               {"kabel", 1, ""}, {"", 0, "A-100 A-1000 B-7 B-8 C'1"}};
  for (const auto& c : cases) {
    Frame().btSucheBeendenClick();
    Frame().edSuchtext->setText(QLatin1String(c.text));
    Frame().cbGruppe->setCurrentIndex(c.group);
    Frame().btSucheStartenClick();
    if (*c.expected) {
      EXPECT_TRUE(Frame().InSearchView()) << c.text;
      EXPECT_EQ(ShownNumbers().join(u' '), QLatin1String(c.expected)) << c.text;
      EXPECT_TRUE(LastAlert().contains(QStringLiteral(" Treffer in "))) << LastAlert().toStdString();
    } else {
      EXPECT_FALSE(Frame().InSearchView()) << c.text;
      EXPECT_EQ(LastAlert(), QStringLiteral("Nichts gefunden."));
    }
  }
  // Ending the search goes back to the whole list, on the article focused in the hits.
  Frame().edSuchtext->setText(QStringLiteral("schraube"));
  Frame().cbGruppe->setCurrentIndex(0);
  Frame().btSucheStartenClick();
  Frame().btSucheBeendenClick();
  EXPECT_FALSE(Frame().InSearchView());
  EXPECT_EQ(Frame().FocusedArtikelNr(), QStringLiteral("C'1"));
}

TEST_F(SelectWindow, EndingASearchOnAnArticleDeletedMeanwhileSaysSo) {
  FillAll();
  Frame().edSuchtext->setText(QStringLiteral("schraube"));
  Frame().btSucheStartenClick();
  ASSERT_TRUE(db.Lager->Locate(QStringLiteral("LagerArtikelNr"), QStringLiteral("C'1")));
  db.Lager->Delete();
  Frame().btSucheBeendenClick();
  EXPECT_EQ(LastAlert(), QStringLiteral("Artikel \"C'1\" nicht gefunden."));
}

TEST_F(SelectWindow, AllWithEmptyTextListsWhatPassesTheFlagTests) {
  FillAll();
  Frame().SkipNotStock = true;
  Frame().cbGruppeSelect(0);
  EXPECT_EQ(ShownNumbers().join(u' '), QStringLiteral("A-100 A-1000 B-7 C'1"));
}

TEST_F(SelectWindow, SearchRowsSortByTheClickedColumnTheTableDoesNot) {
  FillAll();
  Frame().HeaderClick(lcBezeichnung);
  EXPECT_EQ(LastAlert(), QStringLiteral("Keine Sortierung moeglich."));
  Frame().btSucheStartenClick();
  Frame().HeaderClick(lcBezeichnung);
  EXPECT_EQ(ShownNumbers().join(u' '), QStringLiteral("B-7 B-8 A-100 A-1000 C'1"));
  Frame().HeaderClick(lcBezeichnung);
  EXPECT_EQ(ShownNumbers().join(u' '), QStringLiteral("C'1 A-1000 A-100 B-8 B-7"));
}

TEST_F(SelectWindow, GotoPositionsAndColoursTheField) {
  FillAll();
  const QColor normal = Frame().edGoto->palette().color(QPalette::Base);
  const struct {
    const char* text;
    QColor colour;
    const char* focused;
  } cases[] = {{"A-1000", Qt::green, "A-1000"}, {"A-10", Qt::red, "A-100"}, {"B", Qt::red, "B-7"},
               {"a-100", Qt::red, "B-7"},       {"X", Qt::red, "B-7"},      {"", normal, "B-7"}};
  for (bool search : {false, true}) {
    if (search) Frame().btSucheStartenClick();
    for (const auto& c : cases) {
      Frame().edGoto->setText(QLatin1String(c.text));
      EXPECT_EQ(Frame().edGoto->palette().color(QPalette::Base), c.colour) << c.text << search;
      EXPECT_EQ(Frame().FocusedArtikelNr(), QLatin1String(c.focused)) << c.text << search;
    }
  }
  // With EAN search on, typing does not move the list.
  Frame().Config.SpEAN = true;
  Frame().edGoto->setText(QStringLiteral("C"));
  EXPECT_EQ(Frame().FocusedArtikelNr(), QStringLiteral("B-7"));
}

TEST_F(SelectWindow, BasketKeepsEachArticleOnce) {
  FillAll();
  Frame().GotoArtikelNr(QStringLiteral("B-7"));
  Form().AddFocusedToBasket();
  Form().AddFocusedToBasket();
  ASSERT_EQ(Form().Speicher.Count(), 1);
  ASSERT_EQ(Form().lbSpeicher->count(), 1);
  EXPECT_EQ(Form().lbSpeicher->item(0)->text(), QStringLiteral("B-7 - Kabel NYM-J 3x1,5"));
  Form().ClearBasket();
  EXPECT_EQ(Form().lbSpeicher->count(), 0);
}

TEST_F(SelectWindow, ConfirmTakesTheBasketOrElseTheFocusedArticle) {
  FillAll();
  TLagerServerObjObjectList result;
  EXPECT_TRUE(ExecuteWith(result, [&] {
    Frame().GotoArtikelNr(QStringLiteral("A-1000"));
    Form().btUebernehmen->click();
  }));
  EXPECT_EQ(Numbers(result).join(u' '), QStringLiteral("A-1000"));
  EXPECT_EQ(result[0]->Bezeichnung, QStringLiteral("Kupferrohr 22 mm"));

  // The article already in the list is not added twice; the basket is emptied per run.
  EXPECT_TRUE(ExecuteWith(result, [&] {
    for (const char* nr : {"C'1", "A-1000"}) {
      Frame().GotoArtikelNr(QLatin1String(nr));
      Form().AddFocusedToBasket();
    }
    Form().btUebernehmen->click();
  }));
  EXPECT_EQ(Numbers(result).join(u' '), QStringLiteral("A-1000 C'1"));
  EXPECT_TRUE(Form().Speicher.IsEmpty());
}

TEST_F(SelectWindow, EnterAddsToTheBasketF8Confirms) {
  FillAll();
  auto press = [](QWidget* target, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  };
  TLagerServerObjObjectList result;
  EXPECT_TRUE(ExecuteWith(result, [&] {
    Frame().GotoArtikelNr(QStringLiteral("B-7"));
    Frame().Grid->setFocus();
    press(Frame().Grid, Qt::Key_Return);
    EXPECT_EQ(Form().Speicher.Count(), 1);
    Frame().GotoArtikelNr(QStringLiteral("C'1"));
    press(Frame().Grid, Qt::Key_F8);
  }));
  EXPECT_EQ(Numbers(result).join(u' '), QStringLiteral("B-7"));
}

TEST_F(SelectWindow, ConfirmOnAnEmptyWarehouseGivesAnEmptyList) {
  TLagerServerObjObjectList result;
  EXPECT_TRUE(ExecuteWith(result, [&] { Form().btUebernehmen->click(); }));
  EXPECT_TRUE(result.IsEmpty());
}

TEST_F(SelectWindow, CancelClearsTheResult) {
  FillAll();
  TLagerServerObjObjectList result;
  result.Add(std::make_unique<TLagerServerObj>());
  EXPECT_FALSE(ExecuteWith(result, [&] {
    Form().AddFocusedToBasket();
    Form().btAbbrechen->click();
  }));
  EXPECT_TRUE(result.IsEmpty());
}

TEST_F(SelectWindow, TheListReadsOnlyTheRowsShown) {
  for (int i = 0; i < 3000; i += 500) {
    db.Database->StartTransaction();
    for (int j = i; j < i + 500; ++j) {
      TLagerServerObj a;
      a.LagerArtikelNr = QStringLiteral("N%1").arg(j, 5, 10, QLatin1Char('0'));
      a.Bezeichnung = QStringLiteral("Teil");
      ASSERT_EQ(db.SetLagerArtikel(a), 0);
    }
    db.Database->Commit();
  }
  Form().show();
  QApplication::processEvents();
  EXPECT_EQ(Frame().Grid->model()->rowCount(), 3000);
  EXPECT_LT(Frame().TableModel()->RowsRead(), 3000 / 4);
  Frame().edGoto->setText(QStringLiteral("N02999"));
  EXPECT_EQ(Frame().FocusedArtikelNr(), QStringLiteral("N02999"));
}

// ---- serial numbers

void AddSerial(IModLagerDBServerObj& db, const char* sn, const char* nr) {
  TTdbTable& t = *db.LagerSN;
  t.Append();
  t.FieldByName(QStringLiteral("SN")).SetAsString(QLatin1String(sn));
  t.FieldByName(QStringLiteral("LagerArtikelNr")).SetAsString(QLatin1String(nr));
  t.Post();
}

TEST_F(SelectWindow, SerialNumbersOfOneArticleEvenWithAQuoteInItsNumber) {
  AddSerial(db, "S1", "C'1");
  AddSerial(db, "S2", "C");
  AddSerial(db, "S3", "C'1");
  const struct {
    const char* nr;
    const char* serials;
    const char* header;
  } cases[] = {{"C'1", "S1 S3", "2 Seriennummern vorhanden."}, {"C' OR ''='", "", "Keine Seriennummern vorhanden."}};
  for (const auto& c : cases) {
    TLagerShowSNForm1 sn(db, QLatin1String(c.nr));
    QStringList serials;
    for (int row = 0; row < sn.Grid->Model()->rowCount(); ++row)
      serials << sn.Grid->Model()->index(row, 0).data().toString();
    EXPECT_EQ(serials.join(u' '), QLatin1String(c.serials)) << c.nr;
    EXPECT_EQ(sn.lbHeader->text(), QLatin1String(c.header)) << c.nr;
  }
  EXPECT_FALSE(db.LagerSN->Filtered());
}

TEST_F(SelectWindow, EditingSerialNumbersAsksForTheAdministratorsPassword) {
  TempSuite suite;
  ASSERT_TRUE(suite.Load());
  BenutzerEinstellungen()->Passwort = PasswordDigest(QStringLiteral("geheim"));
  AddSerial(db, "S1", "A");
  const struct {
    const char* answer;
    bool editable;
  } cases[] = {{"falsch", false}, {"geheim", true}};
  for (const auto& c : cases) {
    TestDialogs().shown.clear();
    TestDialogs().inputAnswers.enqueue(QLatin1String(c.answer));
    TLagerShowSNForm1 sn(db, QStringLiteral("A"));
    EXPECT_EQ(sn.EditSerialNumbers(), c.editable) << c.answer;
    const QModelIndex info = sn.Grid->Model()->index(0, 1);
    EXPECT_EQ(bool(sn.Grid->Model()->flags(info) & Qt::ItemIsEditable), c.editable) << c.answer;
    ASSERT_FALSE(TestDialogs().shown.isEmpty());
    EXPECT_EQ(TestDialogs().shown.first().text,
              QStringLiteral("Fuer diese Funktion ist das Passwort des Systemverwalters erforderlich."));
    EXPECT_EQ(TestDialogs().shown.last().text == QStringLiteral("Falsches Passwort."), !c.editable) << c.answer;
  }
}

// ---- article display

TEST(ArticleDisplay, MinimumStockPeriodsReadAsPeriods) {
  EXPECT_EQ(MinBestandText(TLagerServerObj::MinBestandLine(1, 4, 30, 9, 2.5, 10)),
            QStringLiteral("Vom 01.04. bis 30.09. : ") + FormatGeneralNumber(2.5) + QStringLiteral(" - 10"));
  EXPECT_EQ(MinBestandText(QStringLiteral("<from>01")), QString());
}
}  // namespace
