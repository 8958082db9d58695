#pragma once
// Comma text as the suite's string lists read and write it: items at commas,
// blanks around them trimmed, "quoted" items may hold commas ("" for a quote).
#include <QString>
#include <QStringList>

// Empty items are dropped.
QStringList SplitCommaText(const QString& text);
// Items that hold a comma or a quote, or begin or end with a blank, are quoted.
QString JoinCommaText(const QStringList& items);
