#pragma once
// Formatting with the placeholders the suite's texts use: %s, %d, %u,
// %f and %.Nf (fixed), %n and %.Nn (thousands separators, default 2 decimals),
// %% for a percent sign. Numbers use the process's default QLocale.
#include <QString>
#include <QVariant>
#include <QVariantList>

QString FormatText(const QString& format, const QVariantList& args);
