// The price-group page in the real window: offscreen, with scripted dialogs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "AddressBookData.h"
#include "DBAdressViewFrameUnit1.h"
#include "MOD00100Unit1.h"
#include "MemIniFile.h"
#include "PriceGroupPage.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
// The demo suite: price-group files for 10000-10002 and "__DEFAULT__", the
// catalogue directories DATANORM_SHK, LIEFERANT_MEIER and ELDANORM_ELEKTRO;
// 10002 has DATANORM_SHK=5 with the catalogue switch on.
class PriceGroupPageTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(suite_.Load()); }

  // The window on the price-group page for the address.
  std::unique_ptr<TMOD00100Form1> Start(const QString& id) {
    auto form = std::make_unique<TMOD00100Form1>(QStringList{suite_.ProgramFile(), QStringLiteral("DEMO"),
                                                             QStringLiteral("ADMIN"), QStringLiteral("-SA"), id});
    EXPECT_TRUE(form->Started());
    form->PageControl1->setCurrentIndex(TMOD00100Form1::pgPreisgruppen);
    RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
    return form;
  }

  static QString File(const QString& id) {
    return SystemEinstellungen()->AddressDir + QStringLiteral("006/") + id + QStringLiteral(".PGRP");
  }
  static QString CatalogueDir(const char* name) {
    return SystemEinstellungen()->AreaDir(TAreaDir::Kataloge) + QLatin1Char('/') + QLatin1String(name);
  }
  static QString Value(const QString& id, const char* section, const char* ident) {
    return TMemIniFile(File(id)).ReadString(QLatin1String(section), QLatin1String(ident), QStringLiteral("-"));
  }
  static void WriteFile(const QString& id, const char* text) {
    TMemIniFile ini(File(id));
    ini.SetText(QString::fromUtf8(text));
    ASSERT_TRUE(ini.UpdateFile());
  }

  static QTreeWidgetItem* Node(TPriceGroupPage& page, const char* name) {
    const QList<QTreeWidgetItem*> found = page.vstPgrpKatalog->findItems(QLatin1String(name), Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.first();
  }
  // The clerk moves to column 1 of the row and picks the group in the in-place list.
  static void ChooseGroup(TPriceGroupPage& page, QTreeWidgetItem* node, int group) {
    page.vstPgrpKatalog->window()->show();  // a hidden view starts no edit
    page.vstPgrpKatalog->setCurrentItem(node, 1);
    auto* editor = page.vstPgrpKatalog->viewport()->findChild<QComboBox*>();
    ASSERT_NE(editor, nullptr) << "the edit starts when the cell gets the focus";
    editor->setCurrentIndex(group - 1);
    emit editor->activated(group - 1);
  }
  // The catalogue column texts, in the tree's order, as "name:group".
  static QStringList Rows(const TPriceGroupPage& page) {
    QStringList rows;
    for (int i = 0; i < page.vstPgrpKatalog->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* node = page.vstPgrpKatalog->topLevelItem(i);
      rows << node->text(0) + QLatin1Char(':') + node->text(1);
    }
    rows.sort();
    return rows;
  }
  static void LeavePage(TMOD00100Form1& form) { form.PageControl1->setCurrentIndex(TMOD00100Form1::pgRabatt); }

  TempSuite suite_;
};
}  // namespace

TEST_F(PriceGroupPageTest, NewListThenCheckingACatalogueAndChoosingGroupFour) {
  auto form = Start(QStringLiteral("10020"));
  TPriceGroupPage& page = *form->PgrpPage;
  EXPECT_EQ(page.btPreisgrCreate->property("tag").toInt(), 1) << "the standard file is not this address's list";
  EXPECT_FALSE(page.cbPgrpKatalog->isEnabled());
  page.btPreisgrCreate->click();
  ASSERT_TRUE(QFileInfo::exists(File(QStringLiteral("10020"))));
  EXPECT_EQ(page.btPreisgrCreate->text(), QStringLiteral("Liste loeschen"));
  EXPECT_FALSE(page.cbPrgpLager->isChecked());
  EXPECT_FALSE(page.cbPgrpKatalog->isChecked());
  EXPECT_EQ(page.cbbPrgpLager->currentText(), QStringLiteral("Verkaufspreis 1"));
  EXPECT_EQ(page.cbbPgrpKatalog->currentText(), QStringLiteral("Verkaufspreis 1"));
  EXPECT_FALSE(page.vstPgrpKatalog->isEnabled()) << "follows the catalogue switch";
  EXPECT_EQ(Rows(page), (QStringList{"ALTE_PREISLISTE:", "DATANORM_SHK:", "ELDANORM_ELEKTRO:", "LIEFERANT_MEIER:"}));
  EXPECT_FALSE(page.PreisgruppeModified);

  page.cbPgrpKatalog->click();
  EXPECT_TRUE(page.vstPgrpKatalog->isEnabled());
  Node(page, "ELDANORM_ELEKTRO")->setCheckState(0, Qt::Checked);
  EXPECT_EQ(Rows(page), (QStringList{"ALTE_PREISLISTE:", "DATANORM_SHK:", "ELDANORM_ELEKTRO:1", "LIEFERANT_MEIER:"}));
  ChooseGroup(page, Node(page, "ELDANORM_ELEKTRO"), 4);
  EXPECT_EQ(Rows(page), (QStringList{"ALTE_PREISLISTE:", "DATANORM_SHK:", "ELDANORM_ELEKTRO:4", "LIEFERANT_MEIER:"}));

  LeavePage(*form);
  EXPECT_EQ(Value(QStringLiteral("10020"), "Katalog", "Aktiv"), QStringLiteral("1"));
  EXPECT_EQ(Value(QStringLiteral("10020"), "Kataloge", "ELDANORM_ELEKTRO"), QStringLiteral("4"));
  EXPECT_EQ(TMemIniFile(File(QStringLiteral("10020"))).ReadSection(QStringLiteral("Kataloge")).size(), 1);
  EXPECT_FALSE(page.PreisgruppeModified);
}

TEST_F(PriceGroupPageTest, CatalogueRemovedAfterSavingIsDroppedAtTheNextSave) {
  {
    auto form = Start(QStringLiteral("10002"));
    TPriceGroupPage& page = *form->PgrpPage;
    EXPECT_EQ(Rows(page), (QStringList{"ALTE_PREISLISTE:", "DATANORM_SHK:5", "ELDANORM_ELEKTRO:", "LIEFERANT_MEIER:"}));
    Node(page, "LIEFERANT_MEIER")->setCheckState(0, Qt::Checked);
    form->close();  // the write-back of closing
  }
  EXPECT_EQ(Value(QStringLiteral("10002"), "Kataloge", "LIEFERANT_MEIER"), QStringLiteral("1"));
  ASSERT_TRUE(QDir(CatalogueDir("LIEFERANT_MEIER")).removeRecursively());
  auto form = Start(QStringLiteral("10002"));
  EXPECT_EQ(Rows(*form->PgrpPage), (QStringList{"ALTE_PREISLISTE:", "DATANORM_SHK:5", "ELDANORM_ELEKTRO:"}));
  form->PgrpPage->cbPrgpLager->click();
  LeavePage(*form);
  EXPECT_EQ(TMemIniFile(File(QStringLiteral("10002"))).ReadSectionValues(QStringLiteral("Kataloge")),
            QStringList{QStringLiteral("DATANORM_SHK=5")});
}

TEST_F(PriceGroupPageTest, ForeignSectionAndKeysStayWhenTheAddressChanges) {
  WriteFile(QStringLiteral("10020"), "[Lager]\nAktiv=0\nPreisgruppe=2\nRabattstufe=7\n[Fremd]\nX=1\n");
  auto form = Start(QStringLiteral("10020"));
  form->PgrpPage->cbPrgpLager->click();
  form->AddressFrame->GotoAddress(QStringLiteral("10000"));
  RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150);
  ASSERT_EQ(form->CurrentAddressId(), QStringLiteral("10000"));
  EXPECT_EQ(Value(QStringLiteral("10020"), "Lager", "Aktiv"), QStringLiteral("1"));
  EXPECT_EQ(Value(QStringLiteral("10020"), "Lager", "Preisgruppe"), QStringLiteral("2"));
  EXPECT_EQ(Value(QStringLiteral("10020"), "Lager", "Rabattstufe"), QStringLiteral("7"));
  EXPECT_EQ(Value(QStringLiteral("10020"), "Fremd", "X"), QStringLiteral("1"));
}

// Settings the page cannot show are kept rather than lost unseen at the next save.
TEST_F(PriceGroupPageTest, SettingsThePageCannotChangeSurviveASave) {
  struct Case {
    const char* file;
    const char* section;
    const char* ident;
  };
  for (const Case& c : {Case{"[Katalog]\nAktiv=0\n[Kataloge]\nELDANORM_ELEKTRO=3\n", "Kataloge", "ELDANORM_ELEKTRO"},
                        Case{"[Lager]\nAktiv=1\nPreisgruppe=7\n", "Lager", "Preisgruppe"}}) {
    WriteFile(QStringLiteral("10020"), c.file);
    const QString stored = Value(QStringLiteral("10020"), c.section, c.ident);
    auto form = Start(QStringLiteral("10020"));
    form->PgrpPage->cbPrgpLager->click();
    LeavePage(*form);
    EXPECT_EQ(Value(QStringLiteral("10020"), c.section, c.ident), stored) << c.file;
  }
}

TEST_F(PriceGroupPageTest, DeleteAsksFirst) {
  auto form = Start(QStringLiteral("10001"));
  TPriceGroupPage& page = *form->PgrpPage;
  ASSERT_TRUE(page.cbPgrpKatalog->isChecked());
  TestDialogs().messageAnswers << mrNo << mrYes;
  page.btPreisgrCreate->click();
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Moechten Sie die Preisgruppenangaben fuer diese Adresse loeschen?"));
  EXPECT_TRUE(QFileInfo::exists(File(QStringLiteral("10001"))));
  EXPECT_TRUE(page.cbPgrpKatalog->isChecked());
  page.btPreisgrCreate->click();
  EXPECT_FALSE(QFileInfo::exists(File(QStringLiteral("10001"))));
  EXPECT_EQ(page.btPreisgrCreate->text(), QStringLiteral("Liste anlegen"));
  EXPECT_FALSE(page.cbPgrpKatalog->isChecked());
  EXPECT_FALSE(page.cbPgrpKatalog->isEnabled());
}

TEST_F(PriceGroupPageTest, EnteringTheStandardModeWritesBackAndShowsTheStandardFile) {
  auto form = Start(QStringLiteral("10000"));
  TPriceGroupPage& page = *form->PgrpPage;
  ASSERT_TRUE(page.cbPrgpLager->isChecked());
  page.cbPrgpLager->click();
  form->TntButton7->click();
  EXPECT_EQ(Value(QStringLiteral("10000"), "Lager", "Aktiv"), QStringLiteral("0"));
  EXPECT_TRUE(page.cbPrgpLager->isChecked());
  EXPECT_EQ(page.cbbPrgpLager->currentText(), QStringLiteral("Verkaufspreis 2"));
  EXPECT_EQ(Rows(page), (QStringList{"ALTE_PREISLISTE:", "DATANORM_SHK:4", "ELDANORM_ELEKTRO:", "LIEFERANT_MEIER:"}));
}

// A file that cannot be read is reported and never offered for creating anew.
TEST_F(PriceGroupPageTest, UnreadableFileIsReportedAndNotReplaced) {
  ASSERT_TRUE(QDir().mkpath(File(QStringLiteral("10020"))));
  auto form = Start(QStringLiteral("10020"));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.contains(QStringLiteral("10020.PGRP")));
  EXPECT_FALSE(form->PgrpPage->btPreisgrCreate->isEnabled());
  EXPECT_TRUE(QFileInfo(File(QStringLiteral("10020"))).isDir());
}
