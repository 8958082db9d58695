#pragma once
// The serial numbers of one warehouse article. They are shown read-only;
// editing them needs the system administrator's password.
#include <QDialog>

#include "ULAGUnit1Core.h"

class QLabel;
class QPushButton;
class TDBGrid;

// Whether the text is the system administrator's password (kept as a
// digest in the user settings).
bool IsSystemAdministratorPassword(const QString& password);

class TLagerShowSNForm1 : public QDialog {
 public:
  // Filters the database's serial-number table to the article until closed.
  TLagerShowSNForm1(IModLagerDBServerObj& database, const QString& lagerArtikelNr, QWidget* parent = nullptr);
  ~TLagerShowSNForm1() override;

  QLabel* lbHeader = nullptr;
  TDBGrid* Grid = nullptr;
  QPushButton* btSchliessen = nullptr;

  bool Editable() const { return editable_; }
  // Asks for the password and, when it is right, lets the serial numbers be edited.
  bool EditSerialNumbers();

 private:
  void SetColumns(bool editable);
  void ShowCount();

  IModLagerDBServerObj& database_;
  bool editable_ = false;
};
