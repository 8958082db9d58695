#include "SelectionWindowParts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "Translation.h"

QTableView* NewReadOnlyListView(QWidget* parent, const char* objectName) {
  auto* view = new QTableView(parent);
  view->setObjectName(QLatin1String(objectName));
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->verticalHeader()->hide();
  // Fixed row height: the view never measures rows it does not show.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  view->horizontalHeader()->setSectionsClickable(true);
  return view;
}

QPushButton* NewSelectionButton(QWidget* parent, const char* objectName, const char* caption) {
  auto* button = new QPushButton(Tr(caption), parent);
  button->setObjectName(QString::fromLatin1(objectName));
  button->setAutoDefault(false);
  return button;
}

TBasketPanel NewBasketPanel(QWidget* parent) {
  TBasketPanel basket;
  basket.Box = new QWidget(parent);
  auto* h = new QHBoxLayout(basket.Box);
  h->setContentsMargins(0, 0, 0, 0);
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(Tr("Speicher"), basket.Box));
  basket.List = new QListWidget(basket.Box);
  basket.List->setObjectName(QStringLiteral("lbSpeicher"));
  left->addWidget(basket.List);
  h->addLayout(left, 1);
  basket.Buttons = new QVBoxLayout;
  basket.Add = NewSelectionButton(basket.Box, "btAdd", "Zum Speicher hinzufuegen");
  basket.Clear = NewSelectionButton(basket.Box, "btClear", "Speicher loeschen");
  basket.Buttons->addWidget(basket.Add);
  basket.Buttons->addWidget(basket.Clear);
  h->addLayout(basket.Buttons);
  return basket;
}
