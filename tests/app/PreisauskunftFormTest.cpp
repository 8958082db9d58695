// "Preisauskunft" in the real window for a demo customer: opened by Ctrl+I,
// articles from the warehouse selection or typed, quantities in the
// process's locale, and the standard-tables mode.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "AddressBookData.h"
#include "ArticlePricePage.h"
#include "DBAdressViewFrameUnit1.h"
#include "DemoAddresses.h"
#include "DemoPriceGroups.h"
#include "Katalog1Artikel.h"
#include "KatalogDBClipBoard.h"
#include "DemoWarehouse.h"
#include "KSPRDatabase.h"
#include "LagerServerObj.h"
#include "MOD00100Unit1.h"
#include "NumberText.h"
#include "PreisauskunftForm.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
class PreisauskunftFormTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(suite_.Load());
    MakeDemoArticle(0, article_);
    TestDialogs().shown.clear();
  }
  void TearDown() override {
    if (window_) window_->close();
  }

  TPreisauskunftForm* Open(const QString& id) {
    window_ = std::make_unique<TMOD00100Form1>(QStringList{suite_.ProgramFile(), QStringLiteral("DEMO"),
                                                           QStringLiteral("ADMIN"), QStringLiteral("-SA"), id});
    EXPECT_TRUE(window_->Started());
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    window_->ArtPage->Sources.SelectLagerArtikel = [this](TLagerServerObjObjectList& result) {
      auto copy = std::make_unique<TLagerServerObj>();
      MakeDemoArticle(0, *copy);
      result.Add(std::move(copy));
      return true;
    };
    return Shortcut();
  }
  TPreisauskunftForm* Shortcut() {
    EXPECT_TRUE(window_->FormKeyDown(Qt::Key_I, Qt::ControlModifier));
    for (auto* form : window_->findChildren<TPreisauskunftForm*>())
      if (form->isVisible()) return form;
    ADD_FAILURE() << "no open price information";
    return nullptr;
  }
  // The listed row whose first cell starts with the text: its value and source.
  static QStringList Row(TPreisauskunftForm& form, const char* was) {
    for (int r = 0; r < form.lvEintraege->rowCount(); ++r)
      if (form.lvEintraege->item(r, 0)->text().startsWith(QLatin1String(was)))
        return {form.lvEintraege->item(r, 1)->text(), form.lvEintraege->item(r, 2)->text()};
    ADD_FAILURE() << "no row " << was;
    return {QString(), QString()};
  }
  static void Key(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
  }

  TempSuite suite_;
  std::unique_ptr<TMOD00100Form1> window_;
  TLagerServerObj article_;
};
}  // namespace

TEST_F(PreisauskunftFormTest, WarehouseArticleListsTheCustomersOwnEntries) {
  {
    TKSPRDatabase own;
    own.OpenFile(SystemEinstellungen()->AddressDir + QStringLiteral("003/") + DemoAddressId(0) + QStringLiteral(".TDBD"), false);
    TKSPRDatabaseObj entry;
    entry.Katalog = QStringLiteral("LAGER");
    entry.ArtikelNr = article_.LagerArtikelNr;
    entry.Preis = 123400;
    ASSERT_TRUE(own.SetArtikel(&entry));
  }
  TPreisauskunftForm* form = Open(DemoAddressId(0));
  ASSERT_TRUE(form);
  EXPECT_TRUE(form->lbKunde->text().contains(DemoAddressId(0)));
  EXPECT_EQ(form->edMenge->text(), QStringLiteral("1"));
  form->btLagerArtikel->click();
  EXPECT_EQ(form->edArtikelNr->text(), article_.LagerArtikelNr);
  // The demo customer 0: warehouse price group 1, an own entry for this
  // article, own discount and quantity-discount tables.
  EXPECT_EQ(Row(*form, "Preisgruppe fuer Lagerartikel"), QStringList({QStringLiteral("1"), QStringLiteral("eigene Tabelle")}));
  EXPECT_EQ(Row(*form, "Verkaufspreis 1")[0], SystemEinstellungen()->FormatCurrencyText(article_.Vkp[0]));
  EXPECT_EQ(Row(*form, "Artikelpreis"),
            QStringList({SystemEinstellungen()->FormatCurrencyText(123400), QStringLiteral("eigene Tabelle")}));
  EXPECT_EQ(Row(*form, "Mengenrabatt")[1], QStringLiteral("eigene Tabelle"));
  EXPECT_EQ(Row(*form, "Rabattgruppe")[0], article_.Rabattgruppen.isEmpty() ? QStringLiteral("keine Angabe")
                                                                             : article_.Rabattgruppen);
  EXPECT_FALSE(form->lbHinweis->text().isEmpty());
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST_F(PreisauskunftFormTest, TypedArticleAndLocaleQuantityWithEnterAndEsc) {
  TPreisauskunftForm* form = Open(DemoAddressId(0));
  ASSERT_TRUE(form);
  form->edKatalog->setText(QStringLiteral("LAGER"));
  form->edArtikelNr->setText(article_.LagerArtikelNr);
  form->edMenge->setText(QStringLiteral("2") + DecimalSeparator() + QStringLiteral("5"));
  Key(form->edMenge, Qt::Key_Return);
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  EXPECT_EQ(form->lbArtikel->text(), article_.Bezeichnung);
  EXPECT_GT(form->lvEintraege->rowCount(), 8);

  // Not a number in this locale: refused, the list stays.
  form->edMenge->setText(QStringLiteral("2") + (DecimalSeparator() == u',' ? u'.' : u',') + QStringLiteral("5"));
  form->btAnzeigen->click();
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Geben Sie eine Menge groesser 0 an."));

  // An unknown article: the tables are read all the same, its own data are missing.
  form->edMenge->setText(QStringLiteral("1"));
  form->edArtikelNr->setText(QStringLiteral("GIBTESNICHT"));
  form->btAnzeigen->click();
  EXPECT_EQ(Row(*form, "Verkaufspreis")[0], QStringLiteral("keine Angabe"));

  Key(form->edMenge, Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(PreisauskunftFormTest, StandardModeShowsTheStandardTablesOnly) {
  ASSERT_TRUE(Open(DemoAddressId(0)));
  window_->findChild<TPreisauskunftForm*>()->close();
  window_->TntButton7Click();
  TPreisauskunftForm* form = Shortcut();
  ASSERT_TRUE(form);
  EXPECT_EQ(form->lbKunde->text(), QStringLiteral("Standardtabellen"));
  form->btLagerArtikel->click();
  ASSERT_GT(form->lvEintraege->rowCount(), 0);
  for (int r = 0; r < form->lvEintraege->rowCount(); ++r)
    EXPECT_NE(form->lvEintraege->item(r, 2)->text(), QStringLiteral("eigene Tabelle"))
        << form->lvEintraege->item(r, 0)->text().toStdString();
  EXPECT_EQ(Row(*form, "Preisgruppe fuer Lagerartikel"), QStringList({QStringLiteral("2"), QStringLiteral("Standardtabelle")}));
}

// A material catalogue article from the article selection window: its own
// discount group counts; customer 0's catalogue switch is off, which is
// no price group at all rather than group 0.
TEST_F(PreisauskunftFormTest, CatalogueArticleFromTheSelectionWindow) {
  TPreisauskunftForm* form = Open(DemoAddressId(0));
  ASSERT_TRUE(form);
  const QString katalog = DemoCatalogueNames().first();
  window_->ArtPage->Sources.SelectKatalogArtikel = [katalog](TKatalogDBClipBoard& clipboard, const QString&) {
    auto article = std::make_unique<TKatalog1Artikel>();
    article->Katalog = katalog;
    article->ID = QStringLiteral("X1");
    article->RABATTGR = QStringLiteral("RGX");
    clipboard.Add(std::move(article));
  };
  form->btKatalogArtikel->click();
  EXPECT_EQ(form->edKatalog->text(), katalog);
  EXPECT_EQ(Row(*form, "Rabattgruppe")[0], QStringLiteral("RGX"));
  EXPECT_EQ(Row(*form, "Preisgruppe fuer alle Kataloge"),
            QStringList({QStringLiteral("keine Angabe"), QStringLiteral("eigene Tabelle")}));
  EXPECT_EQ(Row(*form, "Verkaufspreis")[0], QStringLiteral("keine Angabe"));
}
