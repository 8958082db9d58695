#pragma once
// The price groups of one address: which of the five sales prices applies
// to warehouse articles, to catalogue articles in general and per
// catalogue. Kept in a small INI file per address ("<id>.PGRP"); an address
// without its own file uses "__DEFAULT__.PGRP".
#include <QString>
#include <QStringList>

#include "CmnCustomObjectLists.h"
#include "PathUtils.h"  // CatalogueDirectoryNames

class TKSPreisgruppe {
 public:
  bool Aktiv = false;  // a file (own or standard) was found and read
  bool LagerAktiv = false;
  qint32 LagerPreisgruppe = 1;
  bool KatalogAktiv = false;
  qint32 KatalogPreisgruppe = 1;
  TStringIntegerObjectList Kataloge;  // catalogue key, its price group
  QString AdressID;

  void Clear();
  // Reads the address's file, else the standard file; without either all
  // stays at the defaults. Only catalogues whose directory exists below
  // catalogueDir are taken. False (with the defaults) when a file exists
  // but cannot be read: it must not pass for a missing one.
  bool Load(const QString& addressId, const QString& directory, const QString& catalogueDir,
            QString* error = nullptr);
  // Writes the address's file, keeping sections and keys of other programs
  // in an existing one. False when nothing was written: no usable
  // identifier, a missing directory, an existing file that cannot be read,
  // or a failed write (the old file is kept); error gets the reason.
  bool Save(const QString& addressId, const QString& directory, QString* error = nullptr);
  // The group for an article of the catalogue; the default unless the
  // catalogue switch of a loaded file is on.
  qint32 GetKatalogPreisgruppe(qint32 defaultGroup, const QString& catalogueKey, bool keepDefault) const;
  // The group stored for the catalogue (key ignoring case), 0 without one.
  qint32 KatalogEintrag(const QString& catalogueKey) const;

  // directory + identifier + ".PGRP"; empty for an identifier that could leave the folder.
  static QString FileName(const QString& directory, const QString& addressId);

 private:
  const TStringInteger* FindKatalog(const QString& catalogueKey) const;
};

