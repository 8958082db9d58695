// The article-specific prices page in the real window: offscreen, with
// scripted dialogs and fake article sources, under the process locale.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>

#include "AddressBookData.h"
#include "ArticlePricePage.h"
#include "DBAdressViewFrameUnit1.h"
#include "DBGrid.h"
#include "DemoMaterialCatalogue.h"
#include "DemoWarehouse.h"
#include "DemoPriceGroups.h"
#include "FloatFloatFloatEditorFrame.h"
#include "KSPRDatabase.h"
#include "KatalogDBClipBoardMergeObj.h"
#include "LagerServerObj.h"
#include "MemIniFile.h"
#include "MOD00100Unit1.h"
#include "TakeOverProgress.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
QString Nr(int i) { return QStringLiteral("T%1").arg(i, 5, 10, QLatin1Char('0')); }

std::unique_ptr<TLagerServerObj> Article(int i) {
  auto a = std::make_unique<TLagerServerObj>();
  MakeDemoArticle(i % kDemoWarehouseArticleCount, *a);
  a->LagerArtikelNr = Nr(i);
  return a;
}

class ArticlePricePageTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(suite_.Load()); }

  // The page of the address, its list created when it has none.
  TArticlePricePage& Start(const QString& id) {
    form_ = std::make_unique<TMOD00100Form1>(QStringList{suite_.ProgramFile(), QStringLiteral("DEMO"),
                                                         QStringLiteral("ADMIN"), QStringLiteral("-SA"), id});
    EXPECT_TRUE(form_->Started());
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    form_->PageControl1->setCurrentIndex(TMOD00100Form1::pgArtikelpreise);
    TArticlePricePage& page = *form_->ArtPage;
    if (page.Button7->property("tag").toInt() == 1) page.Button7->click();
    return page;
  }

  // Takes the numbered warehouse articles over through the selection window.
  static void TakeOver(TArticlePricePage& page, const QList<int>& numbers, int choice) {
    page.cbImpPreis->setCurrentIndex(choice);
    page.Sources.SelectLagerArtikel = [numbers](TLagerServerObjObjectList& result) {
      for (int i : numbers) result.Add(Article(i));
      return true;
    };
    page.OnArtAddClick(102);
  }

  static std::unique_ptr<TKSPRDatabaseObj> Row(TArticlePricePage& page, const QString& katalog, const QString& nr) {
    auto entry = std::make_unique<TKSPRDatabaseObj>();
    EXPECT_TRUE(page.KSPRDB->SeekArtikel(katalog, nr)) << nr.toStdString();
    page.KSPRDB->GetCurrentMengenstaffel(entry.get());
    return entry;
  }

  template <class T>
  static void Answers(QQueue<T>& queue, std::initializer_list<T> answers) {
    queue.clear();
    for (const T& a : answers) queue.enqueue(a);
  }

  static int Questions() {
    int n = 0;
    for (const ShownDialog& d : TestDialogs().shown) n += d.text.contains(QStringLiteral("existiert bereits")) ? 1 : 0;
    return n;
  }

  TempSuite suite_;
  ScopedLocale locale_{QLocale::system()};
  std::unique_ptr<TMOD00100Form1> form_;
};
}  // namespace

// An answer "for all" holds for the rest of its take-over only.
TEST_F(ArticlePricePageTest, AnswersForAllHoldForOneTakeOver) {
  struct Case {
    const char* address;  // a list of its own per case
    int answer;
    int questions;
    bool overwritten;
  };
  for (const Case& c : {Case{"10003", mrYesToAll, 1, true}, Case{"10004", mrNoToAll, 1, false},
                        Case{"10005", mrYes, 3, false}}) {
    TArticlePricePage& page = Start(QLatin1String(c.address));
    TakeOver(page, {1, 2, 3}, 1);
    TestDialogs().shown.clear();
    Answers<int>(TestDialogs().messageAnswers, {c.answer, mrNo, mrNo});
    TakeOver(page, {1, 2, 3, 4}, 2);
    EXPECT_EQ(Questions(), c.questions) << c.answer;
    EXPECT_EQ(Row(page, QStringLiteral("LAGER"), Nr(3))->Preis, Article(3)->Vkp[c.overwritten ? 1 : 0]) << c.answer;
    EXPECT_EQ(Row(page, QStringLiteral("LAGER"), Nr(4))->Preis, Article(4)->Vkp[1]) << "new articles are added";
    TestDialogs().shown.clear();
    Answers<int>(TestDialogs().messageAnswers, {mrNo, mrNo});
    TakeOver(page, {1, 2}, 0);
    EXPECT_EQ(Questions(), 2) << "a new take-over asks again";
    form_.reset();
  }
  EXPECT_EQ(TestDialogs().shown.first().text,
            QStringLiteral("Der Artikel \"T00001 ") + Article(1)->Bezeichnung + QStringLiteral("\" existiert bereits.\nUeberschreiben?"));
}

TEST_F(ArticlePricePageTest, WarehouseArticleGetsChosenPriceWageAndTime) {
  TArticlePricePage& page = Start(QStringLiteral("10003"));
  const auto article = Article(7);
  ASSERT_GT(article->L, 0);
  for (const auto& [choice, price] : std::vector<std::pair<int, Currency>>{
           {0, 0}, {1, article->Vkp[0]}, {5, article->Vkp[4]}, {6, article->EKPreis}, {-1, 0}}) {
    Answers<int>(TestDialogs().messageAnswers, {mrYes});
    TakeOver(page, {7}, choice);
    const auto row = Row(page, QStringLiteral("LAGER"), Nr(7));
    EXPECT_EQ(row->Preis, price) << choice;
    EXPECT_EQ(row->Lohn, article->L);
    EXPECT_EQ(row->Zeit, article->Az);
    EXPECT_EQ(row->Bezeichnung, article->Bezeichnung);
  }
}

// Gross sales prices: the VAT is added to the prices of material and
// ELDANORM catalogues only; catalogue articles never get a wage.
TEST_F(ArticlePricePageTest, CatalogueArticlePriceIsMadeGrossForNetCataloguesOnly) {
  TArticlePricePage& page = Start(QStringLiteral("10003"));
  SystemEinstellungen()->ArtikelVKPreisIsBrutto = true;
  ASSERT_EQ(SystemEinstellungen()->GetMwSt(1), 19);
  struct Case {
    int type;
    int choice;
    Currency expected;
  };
  for (const Case& c : {Case{1, 1, 119000}, Case{2, 6, 119000}, Case{0, 1, 100000}, Case{1, 0, 0}}) {
    page.cbImpPreis->setCurrentIndex(c.choice);
    page.Sources.ChooseKatalog = [](QString& katalog) {
      katalog = QStringLiteral("DATANORM");
      return true;
    };
    page.Sources.ForEachArticle = [&c](const QString& katalog, const std::function<void(TKatalogDBClipBoardMergeObj&)>& callback) {
      TKatalogDBClipBoardMergeObj record;
      record.Katalog = katalog;
      record.ArtikelNr = QStringLiteral("K%1").arg(c.type);
      record.KatalogTyp = std::uint8_t(c.type);
      record.MwStSatz = 1;
      record.VKPreis[0] = record.EKPreis = 100000;
      record.Arbeitszeit = 45;
      callback(record);
      return true;
    };
    TestDialogs().messageAnswers.enqueue(mrYes);
    page.OnArtAddClick(101);
    const auto row = Row(page, QStringLiteral("DATANORM"), QStringLiteral("K%1").arg(c.type));
    EXPECT_EQ(row->Preis, c.expected) << c.type << " " << c.choice;
    EXPECT_EQ(row->Zeit, 45);
    EXPECT_EQ(row->Lohn, 0);
  }
  TakeOver(page, {1}, 1);
  EXPECT_EQ(Row(page, QStringLiteral("LAGER"), Nr(1))->Preis, Article(1)->Vkp[0]) << "warehouse prices stay as they are";
}

// The window's own source: the whole demo material catalogue through the
// catalogue pool and the article selection window.
TEST_F(ArticlePricePageTest, WholeMaterialCatalogueComesThroughTheWindowsSource) {
  TArticlePricePage& page = Start(QStringLiteral("10003"));
  const QString katalog = DemoCatalogueNames().first();
  page.Sources.ChooseKatalog = [&katalog](QString& chosen) {
    chosen = katalog;
    return true;
  };
  page.cbImpPreis->setCurrentIndex(6);
  page.OnArtAddClick(101);
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  EXPECT_EQ(page.KSPRDB->Table->RecordCount(), kDemoCatalogueArticleCount);
  EXPECT_EQ(page.KSPRObj.Katalog, katalog) << "the first row is shown";
  EXPECT_GT(page.KSPRObj.Preis, 0);
  EXPECT_EQ(page.KSPRObj.Lohn, 0);
}

TEST_F(ArticlePricePageTest, ScaleEditedOnOneRowIsWrittenIntoItBeforeTheNextIsShown) {
  TArticlePricePage& page = Start(QStringLiteral("10003"));
  TakeOver(page, {1, 2}, 1);
  page.KSPRDB->Table->First();
  ASSERT_EQ(page.KSPRObj.ArtikelNr, Nr(1));
  Answers<QString>(TestDialogs().inputAnswers, {ProcessLocaleNumber("2", "5")});
  page.KSArtPMengenRab->AddButton->click();
  EXPECT_TRUE(page.ArtMengenModified);
  page.DBGrid2->setCurrentIndex(page.DBGrid2->model()->index(1, 2));
  EXPECT_EQ(page.KSPRObj.ArtikelNr, Nr(2));
  EXPECT_EQ(page.KSPRObj.Mengenstaffel.Count(), 0);
  EXPECT_EQ(page.lbArtikelBez->text(), Article(2)->Bezeichnung);
  const auto first = Row(page, QStringLiteral("LAGER"), Nr(1));
  ASSERT_EQ(first->Mengenstaffel.Count(), 1);
  EXPECT_EQ(first->Mengenstaffel[0]->First, 2.5);
  EXPECT_FALSE(page.ArtMengenModified);
}

TEST_F(ArticlePricePageTest, CopyGivesQuotedTabSeparatedLinesAndAnEmptyTableNothing) {
  TArticlePricePage& page = Start(QStringLiteral("10003"));
  QApplication::clipboard()->setText(QStringLiteral("before"));
  page.OnKSPRClick();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
  TKSPRDatabaseObj entry;
  entry.Katalog = QStringLiteral("LAGER");
  entry.ArtikelNr = QStringLiteral("4711");
  entry.Bezeichnung = QStringLiteral("Schraube");
  entry.Preis = 15000;
  entry.Rabatt = 10;
  ASSERT_TRUE(page.KSPRDB->SetArtikel(&entry));
  page.OnKSPRClick();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("\"LAGER\"\t\"4711\"\t\"Schraube\"\t\"") +
                                                   ProcessLocaleNumber("1", "50") +
                                                   QStringLiteral(" EUR\"\t\"10 %\"\r\n"));
  EXPECT_EQ(page.DBGrid2->model()->index(0, 0).data().toString(), QStringLiteral("Lager"));
  EXPECT_EQ(page.DBGrid2->model()->index(0, 4).data().toString(), QStringLiteral("10 %"));
}

TEST_F(ArticlePricePageTest, DeletingAnArticleAndTheListAndPopupOpensAboveTheButton) {
  TArticlePricePage& page = Start(QStringLiteral("10003"));
  TakeOver(page, {1, 2}, 1);
  page.DBGrid2->setCurrentIndex(page.DBGrid2->model()->index(0, 1));
  Answers<int>(TestDialogs().messageAnswers, {mrNo, mrYes});
  page.Button9->click();
  EXPECT_EQ(page.KSPRDB->Table->RecordCount(), 2) << "no keeps the article";
  page.Button9->click();
  EXPECT_EQ(TestDialogs().shown.last().text, QStringLiteral("Soll der Artikel \"%1\" geloescht werden?").arg(Nr(1)));
  EXPECT_EQ(page.KSPRDB->Table->RecordCount(), 1);
  EXPECT_FALSE(page.KSPRDB->SeekArtikel(QStringLiteral("LAGER"), Nr(1)));
  EXPECT_EQ(page.KSPRObj.ArtikelNr, Nr(2)) << "the next article is shown";

  form_->show();
  form_->move(0, -300);  // room above the button on the small offscreen screen
  page.Button8Click();
  const QPoint button = page.Button8->mapToGlobal(QPoint(0, 0));
  EXPECT_TRUE(page.BarPopupMenu1->isVisible());
  EXPECT_EQ(page.BarPopupMenu1->geometry().bottomLeft() + QPoint(0, 1), button);
  page.BarPopupMenu1->hide();

  const QString file = page.FileName();
  Answers<int>(TestDialogs().messageAnswers, {mrYes});
  QElapsedTimer timer;
  timer.start();
  page.Button7->click();
  EXPECT_GE(timer.elapsed(), 500);
  EXPECT_FALSE(QFileInfo::exists(file));
  EXPECT_EQ(page.Button7->text(), QStringLiteral("Liste anlegen"));
}

// A whole take-over stopped midway keeps what it took and says how much;
// the grid follows once, not per article; between batches another
// connection writes at once; an article met twice in one batch is asked for.
TEST_F(ArticlePricePageTest, WholeTakeOverInBatchesCanBeStoppedAndLeavesTheTableFree) {
  TArticlePricePage& page = Start(QStringLiteral("10003"));
  page.BatchRows = 1000;
  TKSPRDatabase other;
  other.OpenFile(page.FileName(), false);
  other.Database->SetBusyTimeout(200);
  qint64 slowestOtherWrite = 0;
  page.Sources.ForEachLagerArtikel = [&](const std::function<void(TLagerServerObj&)>& callback) {
    for (int i = 0; i < 10000; ++i) {
      if (i == 2500) page.Progress->Cancel();
      if (i % 700 == 0) {
        TKSPRDatabaseObj entry;
        entry.Katalog = QStringLiteral("OTHER");
        entry.ArtikelNr = QString::number(i);
        QElapsedTimer timer;
        timer.start();
        EXPECT_TRUE(other.SetArtikel(&entry)) << i;
        slowestOtherWrite = std::max(slowestOtherWrite, timer.elapsed());
      }
      callback(*Article(i));
      if (i == 1) callback(*Article(0));  // again, within the open batch
    }
    return true;
  };
  int gridSignals = 0;
  QObject::connect(page.DBGrid2->model(), &QAbstractItemModel::modelReset, [&] { ++gridSignals; });
  QObject::connect(page.DBGrid2->model(), &QAbstractItemModel::rowsInserted, [&] { ++gridSignals; });
  QObject::connect(page.DBGrid2->model(), &QAbstractItemModel::dataChanged, [&] { ++gridSignals; });
  page.OnArtAddClick(103);

  EXPECT_LT(slowestOtherWrite, 150);
  EXPECT_EQ(Questions(), 1) << "the article of the open batch is known";
  ASSERT_FALSE(TestDialogs().shown.isEmpty());
  EXPECT_EQ(TestDialogs().shown.last().text,
            QStringLiteral("Die Uebernahme wurde abgebrochen. 2501 Artikel wurden uebernommen."));
  other.Table->Refresh();
  EXPECT_EQ(other.Table->RecordCount(), 2500 + 4);
  EXPECT_LE(gridSignals, 2);
  EXPECT_EQ(page.KSPRObj.Katalog, QStringLiteral("LAGER")) << "the first row is shown afterwards";
}

// The real program under the process locale: the whole warehouse taken over
// with sales price 1, a quantity typed in the locale's form added to the
// first article's scale, written back when the window closes.
TEST(ProcessLocale, RealProgramTakesOverTheWarehouseAndKeepsATypedScale) {
  const ScopedLocale locale(QLocale::system());  // the demo data is written as the program reads it
  TempSuite suite;
  ASSERT_TRUE(suite.Load());
  const QString program = suite.InstallProgram();
  {
    TMemIniFile ini(TMOD00100Form1::SettingsFileName());
    ini.WriteInteger(QStringLiteral("MOD00100"), QStringLiteral("PageControl1.ActivePageIndex"),
                     TMOD00100Form1::pgArtikelpreise);
    ini.WriteInteger(QStringLiteral("MOD00100Form1"), QStringLiteral("cbImpPreis"), 1);
    ASSERT_TRUE(ini.UpdateFile());
  }
  const ProgramRun run = RunProgram(
      program,
      {QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QStringLiteral("-SA"), QStringLiteral("10003"),
       QStringLiteral("--click"), QStringLiteral("Button7"), QStringLiteral("--click"), QStringLiteral("PM103"),
       QStringLiteral("--click"), QStringLiteral("KSArtPMengenRab/AddButton")},
      suite.Root(), {{QStringLiteral("SUITE_DIALOG_INPUTS"), ProcessLocaleNumber("2", "5")}});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.dialogs.size(), 1) << run.dialogs.join(u'\n').toStdString();

  TKSPRDatabase store;
  store.OpenFile(SystemEinstellungen()->AddressDir + QStringLiteral("003/10003.TDBD"), false);
  EXPECT_EQ(store.Table->RecordCount(), kDemoWarehouseArticleCount);
  store.Table->First();
  TKSPRDatabaseObj first;
  ASSERT_TRUE(store.GetCurrentMengenstaffel(&first));
  TLagerServerObj article;
  MakeDemoArticle(0, article);
  EXPECT_EQ(first.Preis, article.Vkp[0]);
  ASSERT_EQ(first.Mengenstaffel.Count(), 1);
  EXPECT_EQ(first.Mengenstaffel[0]->First, 2.5);
  EXPECT_TRUE(store.Table->FieldByName(QStringLiteral("XMLDATA")).AsString().contains(
      QStringLiteral("menge=\"") + ProcessLocaleNumber("2", "5") + QLatin1Char('"')));
}

// Another workstation, a real second program, takes the whole warehouse over
// into the same customer's table while this one takes over a whole
// catalogue: it gets through at once, between two batches, and both sets of
// rows are kept.
TEST_F(ArticlePricePageTest, SecondProgramPostsDuringAWholeCatalogueTakeOver) {
  const QString program = suite_.InstallProgram();
  {
    TMemIniFile ini(TMOD00100Form1::SettingsFileName());
    ini.WriteInteger(QStringLiteral("MOD00100"), QStringLiteral("PageControl1.ActivePageIndex"),
                     TMOD00100Form1::pgArtikelpreise);
    ini.WriteInteger(QStringLiteral("MOD00100Form1"), QStringLiteral("cbImpPreis"), 1);
    ASSERT_TRUE(ini.UpdateFile());
  }
  TArticlePricePage& page = Start(QStringLiteral("10003"));
  const QString katalog = DemoCatalogueNames().first();
  page.Sources.ChooseKatalog = [&katalog](QString& chosen) {
    chosen = katalog;
    return true;
  };
  std::unique_ptr<StartedProgram> other;
  bool otherDoneDuringTakeOver = false;
  const auto windowsSource = page.Sources.ForEachArticle;
  page.Sources.ForEachArticle = [&](const QString& key, const std::function<void(TKatalogDBClipBoardMergeObj&)>& callback) {
    int n = 0;
    return windowsSource(key, [&](TKatalogDBClipBoardMergeObj& article) {
      if (++n == 100)
        other = std::make_unique<StartedProgram>(
            program,
            QStringList{QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QStringLiteral("-SA"),
                        QStringLiteral("10003"), QStringLiteral("--click"), QStringLiteral("PM103")},
            suite_.Root(), QList<QPair<QString, QString>>{}, QStringLiteral("other.log"));
      if (other && !otherDoneDuringTakeOver) {
        otherDoneDuringTakeOver = other->Process().state() == QProcess::NotRunning;
        QThread::msleep(3);  // a slow source, so that the other program runs inside the take-over
      }
      callback(article);
    });
  };
  page.cbImpPreis->setCurrentIndex(1);
  page.OnArtAddClick(101);
  ASSERT_TRUE(other);
  const ProgramRun run = other->Finish();
  EXPECT_TRUE(otherDoneDuringTakeOver) << "the other program waited for the whole take-over";
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.dialogs.isEmpty()) << run.dialogs.join(u'\n').toStdString();
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  page.KSPRDB->Table->Refresh();
  EXPECT_EQ(page.KSPRDB->Table->RecordCount(), kDemoCatalogueArticleCount + kDemoWarehouseArticleCount);
}

// The progress window's own button stops a whole-catalogue take-over half-way:
// what was taken stays, and the message says how much.
TEST_F(ArticlePricePageTest, WholeCatalogueTakeOverCancelledHalfWayKeepsWhatWasTaken) {
  TArticlePricePage& page = Start(QStringLiteral("10003"));
  const QString katalog = DemoCatalogueNames().first();
  page.Sources.ChooseKatalog = [&katalog](QString& chosen) {
    chosen = katalog;
    return true;
  };
  const auto windowsSource = page.Sources.ForEachArticle;
  page.Sources.ForEachArticle = [&](const QString& key, const std::function<void(TKatalogDBClipBoardMergeObj&)>& callback) {
    int n = 0;
    return windowsSource(key, [&](TKatalogDBClipBoardMergeObj& article) {
      if (++n == kDemoCatalogueArticleCount / 2) page.Progress->CancelButton->click();
      callback(article);
    });
  };
  page.OnArtAddClick(101);
  ASSERT_FALSE(TestDialogs().shown.isEmpty());
  const QString expected = QStringLiteral("Die Uebernahme wurde abgebrochen. %1 Artikel wurden uebernommen.");
  const qint64 rows = page.KSPRDB->Table->RecordCount();
  EXPECT_EQ(TestDialogs().shown.last().text, expected.arg(rows));
  EXPECT_GE(rows, kDemoCatalogueArticleCount / 2 - 1);
  EXPECT_LT(rows, kDemoCatalogueArticleCount);
}
