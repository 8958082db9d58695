#include "ReadOnlyListView.h"

#include <QHeaderView>
#include <QTableView>

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
