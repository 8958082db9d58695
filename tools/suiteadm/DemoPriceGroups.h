#pragma once
// Demo price groups: a few catalogue directories below the catalogue area
// (filled with catalogues later; their names stay), the standard price
// groups ("__DEFAULT__.PGRP") and those of some customers.
#include <QString>
#include <QStringList>

// The catalogue directories the demo suite makes, in this order.
QStringList DemoCatalogueNames();
// Makes them with their SUPPLIER.INI (supplier numbers taken in turn from
// supplierIds, the address identifiers of suppliers), and one more directory
// that holds no catalogue.
bool MakeDemoCatalogueDirs(const QString& catalogueDir, QString* error, const QStringList& supplierIds = {});
// Writes "006/<id>.PGRP" for "__DEFAULT__" and the given customers.
bool WriteDemoPriceGroups(const QString& addressDir, const QStringList& customers, QString* error);
