#include "ArticlePricePage.h"
void TArticlePricePage::TakeKatalogArtikel(bool) {}
