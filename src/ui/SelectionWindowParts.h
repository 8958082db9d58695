#pragma once
// Parts the selection windows share: the row list, their buttons and the
// basket ("Speicher") with its two commands.
class QListWidget;
class QPushButton;
class QTableView;
class QVBoxLayout;
class QWidget;

// Whole rows selected one at a time, nothing edited in place, column titles clickable.
QTableView* NewReadOnlyListView(QWidget* parent, const char* objectName);

// A button with the translated caption that Enter does not press: Enter
// belongs to the window's own keys.
QPushButton* NewSelectionButton(QWidget* parent, const char* objectName, const char* caption);

// The basket list "lbSpeicher" with "Zum Speicher hinzufuegen" (btAdd) and
// "Speicher loeschen" (btClear); a window may add buttons to Buttons.
struct TBasketPanel {
  QWidget* Box = nullptr;
  QListWidget* List = nullptr;
  QPushButton* Add = nullptr;
  QPushButton* Clear = nullptr;
  QVBoxLayout* Buttons = nullptr;
};
TBasketPanel NewBasketPanel(QWidget* parent);
