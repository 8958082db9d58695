#pragma once
// The discount-group table's names, for the store and for the readers beside it.
#include <QString>

namespace KSRabColumns {
inline const QString kTable = QStringLiteral("KSR");
inline const QString kIndex = QStringLiteral("INDEX");
inline const QString kKey = QStringLiteral("RABATTGRP");
inline const QString kDescription = QStringLiteral("BEZEICHNUNG");
inline const QString kDiscount = QStringLiteral("RABATT");
}  // namespace KSRabColumns
