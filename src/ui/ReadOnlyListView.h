#pragma once
// The row list of the selection windows: whole rows selected one at a time,
// nothing edited in place, column titles clickable.
class QTableView;
class QWidget;

QTableView* NewReadOnlyListView(QWidget* parent, const char* objectName);
