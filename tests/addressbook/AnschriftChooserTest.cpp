// The modal postal-address chooser, driven as a user would through its keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "AddressTestData.h"
#include "AnschriftViewFrame.h"
#include "TestSupport.h"

using AddressTestData::AddAnschrift;

namespace {
void FillTwoAnschriften(TCustomerAddress& a) {
  AddAnschrift(a, QStringLiteral("Lager"), QStringLiteral("Am Hafen 3"), QStringLiteral("20095"),
               QStringLiteral("Hamburg"), false);
  AddAnschrift(a, QStringLiteral("Zentrale"), QStringLiteral("Hauptstr. 1"), QStringLiteral("80331"),
               QStringLiteral("München"), true);
}

void PressReturn(QWidget* target) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

// Runs the steps on the chooser once it is shown; the last step must close it.
void WhenShown(std::function<void(TAnschriftViewForm&)> steps) {
  QTimer::singleShot(0, [steps] {
    auto* form = qobject_cast<TAnschriftViewForm*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    steps(*form);
  });
}
}  // namespace

TEST(AnschriftChooser, ListsThePostalAddressesWithTheMainOneBold) {
  TCustomerAddress address;
  FillTwoAnschriften(address);
  WhenShown([](TAnschriftViewForm& form) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Waehlen Sie eine Anschrift fuer \"Meier\"."));
    QTreeWidget* tree = form.Frame->Tree;
    EXPECT_EQ(tree->headerItem()->text(0), QStringLiteral("Anschriften"));
    EXPECT_EQ(tree->columnCount(), 1);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Lager Am Hafen 3 D-20095 Hamburg"));
    EXPECT_FALSE(tree->topLevelItem(0)->font(0).bold());
    EXPECT_TRUE(tree->topLevelItem(1)->font(0).bold());
    form.reject();
  });
  EXPECT_EQ(TAnschriftViewFrame::ChooseAnschrift(address, QStringLiteral("Meier")), -1);
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST(AnschriftChooser, ReturnWithoutSelectionSaysSoAndKeepsTheWindowOpen) {
  TCustomerAddress address;
  FillTwoAnschriften(address);
  WhenShown([](TAnschriftViewForm& form) {
    QTreeWidget* tree = form.Frame->Tree;
    PressReturn(tree);
    ASSERT_EQ(TestDialogs().shown.size(), 1);
    EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Waehlen Sie eine Anschrift fuer \"Meier\"."));
    EXPECT_TRUE(form.isVisible());
    tree->setCurrentItem(tree->topLevelItem(1));
    PressReturn(tree);
  });
  EXPECT_EQ(TAnschriftViewFrame::ChooseAnschrift(address, QStringLiteral("Meier")), 1);
}

TEST(AnschriftChooser, DoubleClickAcceptsTheEntry) {
  TCustomerAddress address;
  FillTwoAnschriften(address);
  WhenShown([](TAnschriftViewForm& form) {
    QTreeWidget* tree = form.Frame->Tree;
    tree->setCurrentItem(tree->topLevelItem(0));
    emit tree->itemDoubleClicked(tree->topLevelItem(0), 0);
  });
  EXPECT_EQ(TAnschriftViewFrame::ChooseAnschrift(address, QStringLiteral("Meier"), nullptr, 10, 20), 0);
}

// The default window's buttons: "Uebernehmen" takes only a selected entry, "Abbrechen" chooses nothing.
TEST(AnschriftChooser, HasTheButtonsOfTheDefaultWindow) {
  TCustomerAddress address;
  FillTwoAnschriften(address);
  const struct {
    const char* button;
    int selected;
    int result;
  } cases[] = {{"btOK", 1, 1}, {"btOK", 0, 0}, {"btCancel", 1, -1}};
  for (const auto& c : cases) {
    WhenShown([&c](TAnschriftViewForm& form) {
      auto* button = form.findChild<QPushButton*>(QLatin1String(c.button));
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->text(), QLatin1String(c.button) == u"btOK" ? u"Uebernehmen" : u"Abbrechen");
      if (QLatin1String(c.button) == u"btOK") {
        button->click();  // nothing selected yet: the window says so and stays
        EXPECT_TRUE(form.isVisible());
      }
      QTreeWidget* tree = form.Frame->Tree;
      tree->setCurrentItem(tree->topLevelItem(c.selected));
      button->click();
    });
    EXPECT_EQ(TAnschriftViewFrame::ChooseAnschrift(address, QStringLiteral("Meier")), c.result) << c.button;
  }
  EXPECT_EQ(TestDialogs().shown.size(), 2) << "one notice per press without a selection";
}
