#include "LagerShowSNForm1.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "DBGrid.h"
#include "Format.h"
#include "Msgdlg.h"
#include "Translation.h"
#include "TypeUnit.h"

bool IsSystemAdministratorPassword(const QString& password) {
  const TBenutzerEinstellungen* user = BenutzerEinstellungen();
  return user && PasswordDigest(password) == user->Passwort;
}

TLagerShowSNForm1::TLagerShowSNForm1(IModLagerDBServerObj& database, const QString& lagerArtikelNr, QWidget* parent)
    : QDialog(parent), database_(database) {
  setObjectName(QStringLiteral("LagerShowSNForm1"));
  setWindowTitle(QStringLiteral("[LSN - 01] - ") + Tr("Seriennummern zum Lagerartikel."));
  auto* layout = new QVBoxLayout(this);
  lbHeader = new QLabel(this);
  lbHeader->setObjectName(QStringLiteral("lbHeader"));
  layout->addWidget(lbHeader);
  Grid = new TDBGrid(QStringLiteral("SNGrid"), this);
  layout->addWidget(Grid, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  btSchliessen = new QPushButton(Tr("Schliessen"), this);
  btSchliessen->setObjectName(QStringLiteral("btSchliessen"));
  buttons->addWidget(btSchliessen);
  layout->addLayout(buttons);
  connect(btSchliessen, &QPushButton::clicked, this, &QDialog::accept);
  connect(Grid, &QAbstractItemView::doubleClicked, this, [this] { EditSerialNumbers(); });
  connect(new QShortcut(QKeySequence(Qt::Key_F2), this), &QShortcut::activated, this,
          [this] { EditSerialNumbers(); });
  resize(640, 400);

  database_.SetVisibleSN(lagerArtikelNr);
  SetColumns(false);
  Grid->Bind(database_.LagerSN);
  Grid->Reload();
  ShowCount();
}

TLagerShowSNForm1::~TLagerShowSNForm1() {
  Grid->Bind(nullptr);
  try {
    database_.LagerSN->SetFiltered(false);
  } catch (const std::exception& e) {
    database_.LogError(e, QStringLiteral("SetFiltered"));
  }
}

void TLagerShowSNForm1::SetColumns(bool editable) {
  Grid->SetColumns({
      {QStringLiteral("SN"), Tr("Seriennummer"), !editable, 160},
      {QStringLiteral("INFO"), Tr("Info"), !editable, 200},
      {QStringLiteral("LIEFERANT"), Tr("Lieferant"), !editable, 100},
      {QStringLiteral("ZUGANG"), Tr("Zugang"), true, 120},
  });
}

void TLagerShowSNForm1::ShowCount() {
  const int count = Grid->Model()->rowCount();
  lbHeader->setText(count > 0 ? FormatText(Tr("%d Seriennummern vorhanden."), {count})
                              : Tr("Keine Seriennummern vorhanden."));
}

bool TLagerShowSNForm1::EditSerialNumbers() {
  if (editable_) return true;
  QString password;
  InputRequest request{windowTitle(), Tr("Fuer diese Funktion ist das Passwort des Systemverwalters erforderlich."),
                       QString()};
  request.password = true;
  if (!Dialogs().InputQuery(request, password)) return false;
  if (!IsSystemAdministratorPassword(password)) {
    MessageDlg(Tr("Falsches Passwort."), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return false;
  }
  editable_ = true;
  SetColumns(true);
  return true;
}
