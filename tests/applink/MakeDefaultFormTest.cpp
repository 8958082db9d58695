#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "MOD00200Helper.h"
#include "Msgdlg.h"

namespace {
// Runs the dialog modally and lets action act on it once it shows.
int ExecWith(QDialog& form, const std::function<void()>& action) {
  QTimer::singleShot(0, &form, action);
  return form.exec();
}

void PressKey(QWidget* target, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
}
}  // namespace

TEST(MakeDefaultForm, BuildsPanelAndButtonsAtTheirPlaces) {
  TDefaultFormParts parts = TMakeDefaultForm::Make();
  ASSERT_TRUE(parts.Form && parts.Panel && parts.OkButton && parts.CancelButton);
  EXPECT_EQ(parts.Form->size(), QSize(350, 250));
  EXPECT_EQ(parts.Panel->geometry(), QRect(0, 0, 350, 211));
  EXPECT_EQ(parts.CancelButton->text(), QStringLiteral("Abbrechen"));
  EXPECT_EQ(parts.OkButton->text(), QStringLiteral("Uebernehmen"));
  // Right edges at their places; a caption wider than 75 pixels widens its button to the left.
  for (QPushButton* button : {parts.CancelButton, parts.OkButton}) {
    EXPECT_GE(button->width(), 75);
    EXPECT_GT(button->width(), button->fontMetrics().horizontalAdvance(button->text())) << button->text().toStdString();
    EXPECT_EQ(button->y(), 218);
  }
  EXPECT_EQ(parts.CancelButton->geometry().right() + 1, 345);
  EXPECT_EQ(parts.OkButton->geometry().right() + 1 + 5, parts.CancelButton->x());
  EXPECT_TRUE(parts.Form->KeyPreview);
  const Qt::WindowFlags flags = parts.Form->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
}

TEST(MakeDefaultForm, OutParametersHandOverFormAndPanel) {
  QDialog* form = nullptr;
  QWidget* panel = nullptr;
  TMakeDefaultForm::Make(form, panel, TFormBorderStyle::bsDialog);
  std::unique_ptr<QDialog> owned(form);
  ASSERT_NE(form, nullptr);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->window(), form);
  EXPECT_EQ(form->minimumSize(), QSize(350, 250));  // a fixed border
  EXPECT_EQ(form->maximumSize(), QSize(350, 250));
}

TEST(MakeDefaultForm, AnchorsKeepButtonsAtTheCornerAndStretchThePanel) {
  TDefaultFormParts parts = TMakeDefaultForm::Make(TFormBorderStyle::bsSizeable);
  parts.Form->show();
  parts.Form->resize(500, 400);
  EXPECT_EQ(parts.Panel->geometry(), QRect(0, 0, 500, 361));
  EXPECT_EQ(parts.CancelButton->geometry().topRight(), QPoint(494, 368));
  EXPECT_EQ(parts.OkButton->geometry().right() + 1 + 5, parts.CancelButton->x());
  EXPECT_EQ(parts.OkButton->y(), 368);
}

TEST(MakeDefaultForm, ButtonsEscapeAndClosingGiveTheirModalResults) {
  TDefaultFormParts parts = TMakeDefaultForm::Make();
  TDefaultForm& form = *parts.Form;
  EXPECT_EQ(ExecWith(form, [&] { parts.OkButton->click(); }), mrOk);
  EXPECT_EQ(ExecWith(form, [&] { parts.CancelButton->click(); }), mrCancel);
  EXPECT_EQ(ExecWith(form, [&] { PressKey(&form, Qt::Key_Escape); }), mrCancel);
  EXPECT_EQ(ExecWith(form, [&] { form.close(); }), mrCancel);
}

TEST(MakeDefaultForm, KeyPreviewSeesKeysBeforeTheFocusedControl) {
  TDefaultFormParts parts = TMakeDefaultForm::Make();
  auto* edit = new QLineEdit(parts.Panel);
  QList<int> previewed;
  parts.Form->OnKeyPreview = [&](QKeyEvent* event) {
    previewed.append(event->key());
    return event->key() == Qt::Key_F7;  // swallowed
  };
  const int result = ExecWith(*parts.Form, [&] {
    edit->setFocus();
    PressKey(edit, Qt::Key_F7);
    PressKey(edit, Qt::Key_A, QStringLiteral("a"));
    parts.Form->KeyPreview = false;
    PressKey(edit, Qt::Key_B, QStringLiteral("b"));
    // Return stays with the content: neither button is a default button.
    PressKey(edit, Qt::Key_Return, QStringLiteral("\r"));
    QTimer::singleShot(0, parts.Form.get(), [&] { parts.CancelButton->click(); });
  });
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(previewed, (QList<int>{Qt::Key_F7, Qt::Key_A}));
  EXPECT_EQ(edit->text(), QStringLiteral("ab"));
}

TEST(MakeDefaultForm, IsCentredOnTheMainWindow) {
  QWidget mainWindow;
  mainWindow.setGeometry(100, 80, 1000, 700);
  mainWindow.show();
  TDefaultFormParts parts = TMakeDefaultForm::Make();
  EXPECT_EQ(parts.Form->geometry().center(), mainWindow.frameGeometry().center());
  // A window that gets its real size before it is shown is centred for that size.
  parts.Form->resize(800, 600);
  parts.Form->show();
  const QPoint offset = parts.Form->geometry().center() - mainWindow.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 8);  // the window frame's margins
}
