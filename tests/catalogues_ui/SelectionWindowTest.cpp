#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>

#include "Katalog1DB.h"
#include "Katalog2DB.h"
#include "KatalogDBPool.h"
#include "MemIniFile.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"
#include "UKAT.h"
#include "UKAT2ArtikelAuswahlForm1.h"
#include "UKAT2KatalogViewFrame.h"
#include "UKATKatalogAuswahl.h"

namespace {
// A catalogue area with one directory of every kind and the warehouse.
class SelectionWindow : public testing::Test {
 protected:
  void SetUp() override {
    area = dir.filePath(QStringLiteral("KATALOGE")) + u'/';
    lager = dir.filePath(QStringLiteral("LAGER")) + u'/';
    ASSERT_TRUE(QDir().mkpath(lager));
    MakeSupplierCatalogue();
    MakeMaterialCatalogue();
    MakeMarked(QStringLiteral("ELDA"), QStringLiteral("ECATALOG.DAT"), 2);
    MakeMarked(QStringLiteral("STRAY"), QStringLiteral("LAGER.DAT"), 0);
    ASSERT_TRUE(QDir().mkpath(area + QStringLiteral("EMPTY")));
    ASSERT_TRUE(QDir().mkpath(area + QStringLiteral(".hidden")));
  }
  void MakeSupplierCatalogue() {
    TKatalog2DB db;
    db.Open(area + QStringLiteral("MEIER"));
    const struct {
      const char* id;
      const char* description;
    } articles[] = {{"R-150", "Kupferrohr 15 mm"}, {"R-200", "Kupferrohr 22 mm"}, {"S-8", "Schraube M8"}};
    for (const auto& a : articles) {
      TKatalog2Artikel article;
      article.ID = QLatin1String(a.id), article.Description = QLatin1String(a.description), article.EK = 2;
      ASSERT_EQ(db.SetObject(article), 0);
    }
    ASSERT_TRUE(TUKATKatalogTypeHelper::WriteCatalogInfo(area + QStringLiteral("MEIER"), QStringLiteral("Meier"), 0));
  }
  // Surcharges that the single-article reading would add to sales price 1.
  void MakeMaterialCatalogue() {
    TKatalog1DB db;
    db.Open(area + QStringLiteral("DN"));
    ASSERT_TRUE(db.Rabatt_SetGruppe(QStringLiteral("RG"), QString(), 0, 20));
    ASSERT_TRUE(db.Verkauf_SetAufschlag(1000, 10));
    for (int i = 1; i <= 3; ++i) {
      TKatalog1Artikel a;
      a.ID = QStringLiteral("D%1").arg(i), a.NETTO = CurrencyFromDouble(10.0 * i);
      a.RABATTGR = i == 1 ? QStringLiteral("RG") : QString();
      ASSERT_TRUE(db.Artikel_SetObject(a));
    }
    ASSERT_TRUE(TUKATKatalogTypeHelper::WriteCatalogInfo(area + QStringLiteral("DN"), QStringLiteral("Datanorm"), 1));
  }
  void MakeMarked(const QString& name, const QString& marker, int type) {
    ASSERT_TRUE(QDir().mkpath(area + name));
    WriteFileBytes(area + name + u'/' + marker, QByteArray());
    ASSERT_TRUE(TUKATKatalogTypeHelper::WriteCatalogInfo(area + name, name, std::uint8_t(type)));
  }

  TKatalogDBPool& Pool() {
    if (!pool) pool = std::make_unique<TKatalogDBPool>(area, lager, TDBLogCallback());
    return *pool;
  }
  TUKAT2ArtikelAuswahlForm1& Form() {
    if (!form) {
      form = std::make_unique<TUKAT2ArtikelAuswahlForm1>(Pool(), IniPath());
      form->ChooseKatalog = [](QString& katalog) {
        katalog = QStringLiteral("MEIER");
        return true;
      };
    }
    return *form;
  }
  QString IniPath() const { return dir.filePath(QStringLiteral("MOD00100.INI")); }
  // Runs Execute with the action done once the window shows.
  bool ExecuteWith(TKatalogDBClipBoard& clipboard, const std::function<void()>& action) {
    QTimer::singleShot(0, &Form(), action);
    QTimer guard;  // a window the action left open fails the test instead of hanging it
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &Form(), [this] {
      ADD_FAILURE() << "the window was left open";
      Form().done(mrCancel);
    });
    guard.start(10000);
    return Form().Execute(clipboard, QStringLiteral("Kunde"));
  }
  QStringList Messages() {
    QStringList texts;
    for (const ShownDialog& d : TestDialogs().shown)
      if (d.kind == QStringLiteral("message")) texts << d.text;
    return texts;
  }
  static QStringList Keys(const TUKATKatalogAuswahlItemObjectList& items) {
    QStringList keys;
    for (const TUKATKatalogAuswahlItem& item : items) keys << item.Katalog;
    return keys;
  }
  // The key as the focused control of the window gets it.
  void PressKey(int key, QWidget* focus = nullptr) {
    if (focus) focus->setFocus();
    QWidget* target = Form().focusWidget() ? Form().focusWidget() : &Form();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
  }

  QTemporaryDir dir;
  QString area, lager;
  std::unique_ptr<TKatalogDBPool> pool;
  std::unique_ptr<TUKAT2ArtikelAuswahlForm1> form;
};

TEST_F(SelectionWindow, ChoiceListsTheCatalogueKindsOfTheMaskOnly) {
  const struct {
    int mask;
    const char* keys;
  } cases[] = {
      {katalogmaske::Alle, "LAGER DN ELDA MEIER"},
      {katalogmaske::Einfach | katalogmaske::Datanorm | katalogmaske::Eldanorm, "DN ELDA MEIER"},
      {katalogmaske::Datanorm, "DN"},
  };
  for (const auto& c : cases) {
    TUKATKatalogAuswahlFrame frame;
    frame.KatalogDir = area, frame.LagerDir = lager, frame.KatalogMaske = c.mask;
    frame.Fill();
    EXPECT_EQ(Keys(frame.Items).join(u' '), QLatin1String(c.keys)) << c.mask;
    ASSERT_EQ(frame.Tree->topLevelItemCount(), 1);
    EXPECT_EQ(frame.Tree->topLevelItem(0)->text(0), QStringLiteral("Vorhandene Kataloge"));
    EXPECT_EQ(frame.Tree->topLevelItem(0)->childCount(), frame.Items.Count());
  }
}

TEST_F(SelectionWindow, ConfirmingTheChoiceWithoutEntrySaysSoAndStaysOpen) {
  TUKATKatalogAuswahl dialog;
  dialog.Frame->KatalogDir = area, dialog.Frame->LagerDir = lager;
  dialog.Frame->Fill();
  bool stayedOpen = false;
  QTimer::singleShot(0, &dialog, [&] {
    dialog.btOeffnen->click();
    stayedOpen = dialog.isVisible();
    dialog.Frame->Select(QStringLiteral("MEIER"));
    dialog.btOeffnen->click();
  });
  EXPECT_EQ(dialog.exec(), mrOk);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Messages(), QStringList{QStringLiteral("Es wurde kein Katalog ausgewaehlt.")});
  EXPECT_EQ(dialog.Frame->SelectedItem()->Katalog, QStringLiteral("MEIER"));
}

TEST_F(SelectionWindow, CatalogueManagementNeedsTheRightsAndAFreeName) {
  TempSuite suite;
  ASSERT_TRUE(suite.Load());
  const struct {
    const char* rights;
    void (TUKATKatalogAuswahlFrame::*action)();
    QStringList inputs;
    const char* message;  // the first message shown
  } cases[] = {
      {"02", &TUKATKatalogAuswahlFrame::btNeuClick, {}, "Sie sind nicht berechtigt, Kataloge neu anzulegen !"},
      {"10", &TUKATKatalogAuswahlFrame::btLoeschenClick, {}, "Sie sind nicht berechtigt, Kataloge zu loeschen !"},
      {"10", &TUKATKatalogAuswahlFrame::btNeuClick, {"lager"}, "Der Katalogname \"LAGER\" ist reserviert !"},
      {"10", &TUKATKatalogAuswahlFrame::btNeuClick, {"MEIER"}, "Der Katalog \"MEIER\" existiert bereits !"},
      {"10", &TUKATKatalogAuswahlFrame::btNeuClick, {"../X"}, "Der Katalogname \"../X\" ist ungueltig !"},
      {"10", &TUKATKatalogAuswahlFrame::btNeuClick, {"NEU1", "Neuer Katalog"},
       "Weisen Sie dem Katalog nun einen Lieferanten zu."},
      {"12", &TUKATKatalogAuswahlFrame::btLoeschenClick, {}, "Wollen Sie den Katalog \"ELDA\" wirklich loeschen ?"},
  };
  for (const auto& c : cases) {
    BenutzerEinstellungen()->Berechtigungen = QString::fromLatin1(c.rights).split(u',');
    TestDialogs().shown.clear();
    for (const QString& input : c.inputs) TestDialogs().inputAnswers.enqueue(input);
    TUKATKatalogAuswahlFrame frame;
    frame.KatalogDir = area, frame.LagerDir = lager;
    frame.PickAddress = [] {
      auto address = std::make_unique<TCustomerAddress>();
      address->Id = QStringLiteral("K-4711");
      return address;
    };
    frame.Fill();
    frame.Select(QStringLiteral("ELDA"));
    (frame.*c.action)();
    ASSERT_FALSE(Messages().isEmpty()) << c.message;
    EXPECT_EQ(Messages().first(), QString::fromUtf8(c.message));
  }
  // The new catalogue got its description and, once picked, its supplier; the deleted one is gone.
  TUKATKatalogAuswahlItem created;
  created.ReadFromDirectory(QStringLiteral("NEU1"), area + QStringLiteral("NEU1"), 0);
  EXPECT_EQ(created.Beschreibung, QStringLiteral("Neuer Katalog"));
  EXPECT_EQ(created.Lieferant.Nr, QStringLiteral("K-4711"));
  EXPECT_FALSE(QDir(area + QStringLiteral("ELDA")).exists());
}

TEST_F(SelectionWindow, BasketTakesEachArticleOnceAndCancelHandsBackNothing) {
  TKatalogDBClipBoard clipboard;
  // Confirming an empty basket: an empty clipboard, and the catalogue was asked for first.
  EXPECT_TRUE(ExecuteWith(clipboard, [&] { PressKey(Qt::Key_F8); }));
  EXPECT_EQ(clipboard.Count(), 0);
  ASSERT_NE(Form().ViewOf(QStringLiteral("MEIER")), nullptr);
  EXPECT_TRUE(Form().windowTitle().endsWith(QStringLiteral("Artikelauswahl: Kunde")));

  EXPECT_TRUE(ExecuteWith(clipboard, [&] {
    Form().CurrentView()->GotoArtikelNr(QStringLiteral("R-150"));
    PressKey(Qt::Key_Return, Form().CurrentView()->Grid);
    Form().UebertrageInZwischenablage();
    Form().btUebernehmen->click();
  }));
  ASSERT_EQ(clipboard.Count(), 1);
  EXPECT_EQ(clipboard.GetID(0), QStringLiteral("R-150"));

  QStringList basket;
  EXPECT_FALSE(ExecuteWith(clipboard, [&] {
    Form().CurrentView()->GotoArtikelNr(QStringLiteral("S-8"));
    Form().UebertrageInZwischenablage();
    for (int i = 0; i < Form().lbSpeicher->count(); ++i) basket << Form().lbSpeicher->item(i)->text();
    Form().btAbbrechen->click();
  }));
  EXPECT_EQ(basket, (QStringList{QStringLiteral("MEIER: R-150 - Kupferrohr 15 mm"),
                                 QStringLiteral("MEIER: S-8 - Schraube M8")}));
  EXPECT_EQ(clipboard.Count(), 1);  // what the cancelled call added is gone
}

TEST_F(SelectionWindow, ViewSettingsAreWrittenWhenFreedAndReadWhenAPageOpens) {
  ASSERT_TRUE(Form().OpenKatalog(QStringLiteral("MEIER")));
  auto* view = static_cast<TUKAT2KatalogViewFrame*>(Form().CurrentView());
  view->Grid->setColumnWidth(TUKAT2KatalogViewFrame::kcDescription, 333);
  view->HeaderClick(TUKAT2KatalogViewFrame::kcEK);
  form.reset();
  pool.reset();
  const TMemIniFile ini(IniPath());
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("KatalogView_MEIER"), QStringLiteral("Width1"), 0), 333);

  ASSERT_TRUE(Form().OpenKatalog(QStringLiteral("MEIER")));
  view = static_cast<TUKAT2KatalogViewFrame*>(Form().CurrentView());
  EXPECT_EQ(view->Grid->columnWidth(TUKAT2KatalogViewFrame::kcDescription), 333);
  EXPECT_EQ(view->IndexName(), QStringLiteral("SCATALOG003"));
}

TEST_F(SelectionWindow, WholeCatalogueRunsOverEveryArticleOfItsKind) {
  const struct {
    const char* katalog;
    bool ran;
    int records;
    const char* message;
  } cases[] = {
      {"DN", true, 3, ""},
      {"MEIER", true, 3, ""},
      {"ELDA", false, 0, "Unbekannter Katalogtyp: TKatalogDBPoolItem.GetDB"},
      {"LAGER", false, 0, ""},
      {"FEHLT", false, 0, ""},
  };
  for (const auto& c : cases) {
    TestDialogs().shown.clear();
    int records = 0;
    const bool ran = Form().ForEachArticle(QLatin1String(c.katalog), [&](TKatalogDBClipBoardMergeObj& record) {
      ++records;
      // The enumeration reads no surcharge: sales price 1 is the net price.
      if (record.KatalogTyp == 1) {
        EXPECT_EQ(record.VKPreis[0], record.EKPreis) << record.ArtikelNr.toStdString();
      }
    });
    EXPECT_EQ(ran, c.ran) << c.katalog;
    EXPECT_EQ(records, c.records) << c.katalog;
    EXPECT_EQ(Messages().join(u'|'), QLatin1String(c.message)) << c.katalog;
  }
}
}  // namespace
