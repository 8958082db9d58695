#pragma once
// The one translation lookup of the user interface. German texts are the
// keys; the catalogue of the interface language gives the text shown.
#include <QString>

QString Tr(const char* german);
QString Tr(const QString& german);

// Switches the interface language ("de_DE", "en_US", ...). German needs no
// catalogue; any other language is looked up in its catalogue.
void SetInterfaceLanguage(const QString& name);
QString InterfaceLanguage();

// Where the compiled catalogues are looked for (the suite's RSC/locale
// beside BIN/, else the build tree's); can be set by tests.
void SetCatalogueDir(const QString& dir);
