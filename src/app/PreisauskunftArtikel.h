#pragma once
// The article of a price information, from whichever source the user took
// it: an object of the selection windows, or a catalogue key and article
// number looked up in the catalogue pool.
#include <QString>

#include "Preisauskunft.h"

class TDBXMLCoreObject;
class TKatalogDBPool;

// Number, prices and description as the transfer record gives them; the
// discount group from the article itself (the record leaves it empty for
// material catalogue and warehouse articles). False for an object of
// another kind.
bool PreisauskunftArtikelAus(const TDBXMLCoreObject& object, TKSPreisauskunftArtikel& artikel);
// The article of the catalogue ("LAGER": the warehouse) with exactly this
// number. Without it (unknown catalogue, no such article, a catalogue that
// cannot be opened) artikel keeps key and number only and the result is false.
bool PreisauskunftArtikelSuchen(TKatalogDBPool& pool, const QString& katalog, const QString& artikelNr,
                                TKSPreisauskunftArtikel& artikel);
