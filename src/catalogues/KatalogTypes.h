#pragma once
// The catalogue kinds as SUPPLIER.INI stores them, and the files that mark
// each kind in its directory.
#include <QString>
#include <cstdint>

namespace katalogtyp {

constexpr std::uint8_t Einfach = 0;     // supplier catalogue, SCATALOG.DAT
constexpr std::uint8_t Datanorm = 1;    // material catalogue, CATALOG.DAT
constexpr std::uint8_t Eldanorm = 2;    // ECATALOG.DAT, no database here
constexpr std::uint8_t Unbekannt = 3;   // not recognised
constexpr std::uint8_t Lager = 4;       // the warehouse, LAGER.DAT

// The reserved catalogue key of the warehouse.
inline QString LagerKey() { return QStringLiteral("LAGER"); }

// The name of a kind in the catalogue list ("Einfacher Katalog", ...),
// translated; empty for kinds without a name.
QString KindName(std::uint8_t type);

// The marker file of a kind ("SCATALOG.DAT", ...); empty for kinds without one.
QString MarkerFile(std::uint8_t type);

}  // namespace katalogtyp
