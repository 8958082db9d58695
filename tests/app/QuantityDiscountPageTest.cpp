// The quantity-discount page in the real window: offscreen, with scripted
// dialogs, under the process locale's decimal separator.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>

#include "AddressBookData.h"
#include "DBAdressViewFrameUnit1.h"
#include "DoubleStringsEditorFrame.h"
#include "MOD00100Unit1.h"
#include "QuantityDiscountPage.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "TypeUnit.h"

namespace {
const QString kNotAQuantity = QStringLiteral("Geben Sie eine Menge groesser 0 an.");
const QString kQuantityTaken = QStringLiteral("Eine solche Menge ist bereits vorhanden.");

// The demo suite: quantity lists for "__DEFAULT__" and 10000-10002, none for 10003 on.
class QuantityDiscountPageTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(suite_.Load()); }

  std::unique_ptr<TMOD00100Form1> Start(const QString& id) {
    auto form = std::make_unique<TMOD00100Form1>(QStringList{suite_.ProgramFile(), QStringLiteral("DEMO"),
                                                             QStringLiteral("ADMIN"), QStringLiteral("-SA"), id});
    EXPECT_TRUE(form->Started());
    Settle();
    form->PageControl1->setCurrentIndex(TMOD00100Form1::pgMengenrabatt);
    return form;
  }

  static void Settle() { RunEventsFor(TDBAdressViewFrame1::kSelectionDelayMs + 150); }

  static QString File(const QString& id) {
    return SystemEinstellungen()->AddressDir + QStringLiteral("002/") + id + QStringLiteral(".MR");
  }

  static QStringList Lines(const QString& file) {
    QStringList lines;
    EXPECT_TRUE(ReadTextLines(file, lines)) << file.toStdString();
    return lines;
  }

  static void Add(TMOD00100Form1& form, const QString& typed) {
    TestDialogs().inputAnswers.enqueue(typed);
    form.MengenPage->RabMengenEditor->AddButton->click();
  }

  static void LeaveThePage(TMOD00100Form1& form) { form.PageControl1->setCurrentIndex(TMOD00100Form1::pgRabatt); }

  static void EditDiscount(TMOD00100Form1& form, int row, const QString& text) {
    QAbstractItemModel* model = form.MengenPage->RabMengenEditor->Grid->model();
    ASSERT_TRUE(model->setData(model->index(row, 1), text, Qt::EditRole));
  }

  TempSuite suite_;
  // The page reads typed numbers as the process's locale has them.
  ScopedLocale locale_{QLocale::system()};
};
}  // namespace

TEST_F(QuantityDiscountPageTest, StepsAreKeptInOrderAndWrittenOnLeavingThePage) {
  auto form = Start(QStringLiteral("10003"));
  TQuantityDiscountPage& page = *form->MengenPage;
  EXPECT_EQ(page.Button1->property("tag").toInt(), 1);
  EXPECT_FALSE(page.RabMengenEditor->isEnabled());
  Add(*form, QStringLiteral("7"));  // no list: nothing is asked
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  TestDialogs().inputAnswers.clear();

  page.Button1->click();
  EXPECT_EQ(page.Button1->text(), QStringLiteral("Liste loeschen"));
  EXPECT_TRUE(page.RabMengenEditor->isEnabled());
  EXPECT_TRUE(Lines(File(QStringLiteral("10003"))).isEmpty());
  Add(*form, QStringLiteral("2"));
  Add(*form, QStringLiteral("10"));
  TestDialogs().inputAnswers.enqueue(QStringLiteral("5"));
  EXPECT_TRUE(form->FormKeyDown(Qt::Key_Plus, Qt::KeypadModifier));
  ASSERT_EQ(TestDialogs().shown.size(), 3);
  EXPECT_EQ(TestDialogs().shown[2].caption, QStringLiteral("Neuer Mengenrabatt"));
  EXPECT_EQ(TestDialogs().shown[2].text, QStringLiteral("Menge"));
  EXPECT_EQ(page.RabMengenEditor->SelectedRow(), 1) << "the new step, ready for its discount";
  EXPECT_TRUE(page.MengenModified);

  Add(*form, ProcessLocaleNumber("5", "0"));
  EXPECT_EQ(TestDialogs().shown.last().text, kQuantityTaken);
  EXPECT_TRUE(Lines(File(QStringLiteral("10003"))).isEmpty()) << "written only when the page is left";
  LeaveThePage(*form);
  EXPECT_EQ(Lines(File(QStringLiteral("10003"))),
            (QStringList{QStringLiteral("2=0"), QStringLiteral("5=0"), QStringLiteral("10=0")}));
  const QByteArray bytes = ReadFileBytes(File(QStringLiteral("10003")));
  EXPECT_TRUE(bytes.startsWith("\xFF\xFE") && bytes.endsWith(QByteArray("\r\0\n\0", 4)));
  EXPECT_FALSE(page.MengenModified);
}

TEST_F(QuantityDiscountPageTest, QuantitiesNotGreaterThanZeroAreRefused) {
  auto form = Start(QStringLiteral("10000"));
  const QStringList before = Lines(File(QStringLiteral("10000")));
  const int count = form->MengenPage->RabMengenStrings.Count();
  for (const QString& typed : {QStringLiteral("0"), QStringLiteral("-3"), QStringLiteral("abc"), QString(""),
                               QStringLiteral("12 Stueck")}) {
    TestDialogs().shown.clear();
    Add(*form, typed);
    ASSERT_EQ(TestDialogs().shown.size(), 2) << typed.toStdString();
    EXPECT_EQ(TestDialogs().shown[1].text, kNotAQuantity);
    EXPECT_EQ(TestDialogs().shown[1].kind, QStringLiteral("message"));
  }
  TestDialogs().shown.clear();
  Add(*form, QString());  // cancelled
  EXPECT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(form->MengenPage->RabMengenStrings.Count(), count);
  EXPECT_FALSE(form->MengenPage->MengenModified);
  LeaveThePage(*form);
  EXPECT_EQ(Lines(File(QStringLiteral("10000"))), before);
}

TEST_F(QuantityDiscountPageTest, EditedDiscountIsInTheFirstCustomersFileAfterPickingAnother) {
  auto form = Start(QStringLiteral("10000"));
  EditDiscount(*form, 0, ProcessLocaleNumber("33", "5"));
  EXPECT_TRUE(form->MengenPage->MengenModified);
  form->AddressFrame->GotoAddress(QStringLiteral("10001"));
  Settle();
  EXPECT_EQ(form->CurrentAddressId(), QStringLiteral("10001"));
  EXPECT_EQ(Lines(File(QStringLiteral("10000"))).first(), QStringLiteral("10=") + ProcessLocaleNumber("33", "5"));
  EXPECT_EQ(form->MengenPage->RabMengenStrings.Count(), Lines(File(QStringLiteral("10001"))).size());
  EXPECT_FALSE(form->MengenPage->MengenModified);
}

TEST_F(QuantityDiscountPageTest, StandardModeWritesBackOnEnteringAndLeaving) {
  auto form = Start(QStringLiteral("10001"));
  EditDiscount(*form, 0, QStringLiteral("21"));
  form->TntButton7->click();
  EXPECT_EQ(Lines(File(QStringLiteral("10001"))).first(), QStringLiteral("10=21"));
  EXPECT_EQ(form->MengenPage->FileName(), File(QStringLiteral("__DEFAULT__")));
  EditDiscount(*form, 0, QStringLiteral("22"));
  form->TntButton8->click();
  EXPECT_EQ(Lines(File(QStringLiteral("__DEFAULT__"))).first(), QStringLiteral("10=22"));
  EXPECT_EQ(Lines(File(QStringLiteral("10001"))).first(), QStringLiteral("10=21"));
}

// A discount still being typed is stored however the window closes.
TEST_F(QuantityDiscountPageTest, ValueBeingTypedIsStoredWhenTheWindowCloses) {
  for (const bool byF12 : {true, false}) {
    auto form = Start(QStringLiteral("10002"));
    form->show();
    QTableView* grid = form->MengenPage->RabMengenEditor->Grid;
    const QModelIndex cell = grid->model()->index(0, 1);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    ASSERT_NE(editor, nullptr);
    editor->setText(byF12 ? QStringLiteral("12") : QStringLiteral("13"));
    if (byF12) {
      EXPECT_TRUE(form->FormKeyDown(Qt::Key_F12, Qt::NoModifier));
    } else {
      form->close();  // as the title bar does
    }
    EXPECT_EQ(Lines(File(QStringLiteral("10002"))).first(), byF12 ? QStringLiteral("10=12") : QStringLiteral("10=13"));
  }
}

TEST_F(QuantityDiscountPageTest, ImportReplacesAndMarksChangedExportLeavesTheAddressFileAlone) {
  QTemporaryDir dir;
  auto form = Start(QStringLiteral("10001"));
  TQuantityDiscountPage& page = *form->MengenPage;
  const QByteArray own = ReadFileBytes(File(QStringLiteral("10001")));
  const QString exported = dir.filePath(QStringLiteral("MENGEN.TXT"));
  TestDialogs().fileAnswers.enqueue(exported);
  page.Button2->click();
  EXPECT_EQ(ReadFileBytes(exported), own);
  EXPECT_EQ(ReadFileBytes(File(QStringLiteral("10001"))), own);
  EXPECT_FALSE(page.MengenModified);
  EXPECT_EQ(TestDialogs().shown.last().kind, QStringLiteral("save"));
  EXPECT_EQ(TestDialogs().shown.last().caption, QStringLiteral("Waehlen Sie eine Datei aus!"));

  const QString imported = dir.filePath(QStringLiteral("IMPORT.TXT"));
  WriteFileBytes(imported, Utf16LeWithBom(QStringLiteral("50=3\r\n20=1\r\n")));
  TestDialogs().fileAnswers.enqueue(imported);
  page.Button3->click();
  EXPECT_EQ(page.RabMengenStrings.Count(), 2);
  EXPECT_EQ(page.RabMengenEditor->Grid->model()->rowCount(), 2);
  EXPECT_TRUE(page.MengenModified);
  EXPECT_EQ(ReadFileBytes(File(QStringLiteral("10001"))), own);
  // A file that cannot be read keeps the list.
  TestDialogs().fileAnswers.enqueue(dir.filePath(QStringLiteral("GONE.TXT")));
  page.Button3->click();
  EXPECT_EQ(page.RabMengenStrings.Count(), 2);
  LeaveThePage(*form);
  EXPECT_EQ(Lines(File(QStringLiteral("10001"))), (QStringList{QStringLiteral("50=3"), QStringLiteral("20=1")}));
}

TEST_F(QuantityDiscountPageTest, DeletingAsksAndADeletedListStaysDeleted) {
  auto form = Start(QStringLiteral("10002"));
  TQuantityDiscountPage& page = *form->MengenPage;
  const QString file = File(QStringLiteral("10002"));
  EditDiscount(*form, 0, QStringLiteral("9"));
  TestDialogs().messageAnswers << mrNo << mrYes;
  page.Button1->click();
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Moechten Sie die Mengenrabatte fuer diese Adresse loeschen?"));
  EXPECT_TRUE(QFileInfo::exists(file));
  EXPECT_EQ(page.Button1->property("tag").toInt(), 2);
  page.Button1->click();
  EXPECT_FALSE(QFileInfo::exists(file));
  EXPECT_EQ(page.Button1->property("tag").toInt(), 1);
  EXPECT_EQ(page.Button1->text(), QStringLiteral("Liste anlegen"));
  EXPECT_FALSE(page.RabMengenEditor->isEnabled());
  EXPECT_EQ(page.RabMengenEditor->Grid->model()->rowCount(), 0);
  // The edit before the deletion does not bring the list back.
  LeaveThePage(*form);
  form->AddressFrame->GotoAddress(QStringLiteral("10000"));
  Settle();
  EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(QuantityDiscountPageTest, AFailedWriteIsReportedAndKeptForTheNextWriteBack) {
  auto form = Start(QStringLiteral("10000"));
  const QString file = File(QStringLiteral("10000"));
  EditDiscount(*form, 0, QStringLiteral("44"));
  // Something that is no file stands where the list goes.
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_TRUE(QDir().mkpath(file + QStringLiteral("/x")));
  LeaveThePage(*form);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.contains(file)) << TestDialogs().shown[0].text.toStdString();
  EXPECT_TRUE(form->MengenPage->MengenModified);
  ASSERT_TRUE(QDir(file).removeRecursively());
  form->SaveAddressData();
  EXPECT_EQ(Lines(file).first(), QStringLiteral("10=44"));
}
