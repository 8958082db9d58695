#include "LagerArtikelSelectForm1.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "Format.h"
#include "LagerAnzeigenFrame.h"
#include "LagerArtikelFrame1.h"
#include "LagerShowSNForm1.h"
#include "Msgdlg.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "SelectionWindowParts.h"

namespace {
std::unique_ptr<TLagerArtikelSelectForm1>& Instance() {
  static std::unique_ptr<TLagerArtikelSelectForm1> form;
  return form;
}
}  // namespace

TLagerArtikelSelectForm1::TLagerArtikelSelectForm1(IModLagerDBServerObj* database, const QString& lagerDir,
                                                   QWidget* parent)
    : TDefaultForm(parent), database_(database), lagerDir_(lagerDir) {
  setObjectName(QStringLiteral("LagerArtikelSelectForm1"));
  setWindowTitle(QStringLiteral("[LASF - 01] - ") + Tr("Lagerartikel auswaehlen"));
  BuildControls();
  OnKeyPreview = [this](QKeyEvent* event) { return KeyPreview(event); };
}

TLagerArtikelSelectForm1::~TLagerArtikelSelectForm1() {
  // The list lets go of the table before an owned database goes.
  delete Frame;
  Frame = nullptr;
}

std::unique_ptr<TLagerArtikelSelectForm1> TLagerArtikelSelectForm1::Open(const QString& lagerDir) {
  auto database = std::make_unique<IModLagerDBServerObj>(&TLogHelper::LogError);
  database->Open(lagerDir);
  auto form = std::make_unique<TLagerArtikelSelectForm1>(database.get(), lagerDir);
  form->ownedDatabase_ = std::move(database);
  return form;
}

void TLagerArtikelSelectForm1::BuildControls() {
  const TDefaultFormControls parts = TMakeDefaultForm::Furnish(*this, TFormBorderStyle::bsSizeable);
  btUebernehmen = parts.OkButton;
  btAbbrechen = parts.CancelButton;
  auto* layout = new QVBoxLayout(parts.Panel);
  Frame = new TLagerAnzeigenFrame(parts.Panel, *database_, lagerDir_);
  layout->addWidget(Frame, 3);
  layout->addWidget(BuildBasket(parts.Panel), 1);
  resize(960, 640);
  setMinimumSize(640, 420);
  connect(Frame->Grid, &QTableView::doubleClicked, this, &TLagerArtikelSelectForm1::AddFocusedToBasket);
  setTabOrder(Frame->edGoto, Frame->cbGruppe);
  setTabOrder(Frame->cbGruppe, Frame->edSuchtext);
  setTabOrder(Frame->edSuchtext, Frame->btSucheStarten);
  setTabOrder(Frame->btSucheStarten, Frame->btSucheBeenden);
  setTabOrder(Frame->btSucheBeenden, Frame->Grid);
  setTabOrder(Frame->Grid, btAdd);
  setTabOrder(btAdd, btClear);
  setTabOrder(btClear, btFunktionen);
  setTabOrder(btFunktionen, lbSpeicher);
  setTabOrder(lbSpeicher, btUebernehmen);
  setTabOrder(btUebernehmen, btAbbrechen);
}

QWidget* TLagerArtikelSelectForm1::BuildBasket(QWidget* parent) {
  const TBasketPanel basket = NewBasketPanel(parent);
  lbSpeicher = basket.List;
  btAdd = basket.Add;
  btClear = basket.Clear;
  btFunktionen = NewSelectionButton(basket.Box, "btFunktionen", "Funktionen");
  FunktionenMenu = new QMenu(btFunktionen);
  FunktionenMenu->setObjectName(QStringLiteral("pmFunktionen"));
  FunktionenMenu->addAction(Tr("Seriennummern zum Lagerartikel anzeigen"), this,
                            &TLagerArtikelSelectForm1::ShowSerialNumbers);
  FunktionenMenu->addAction(Tr("Lagerartikel anzeigen"), this, &TLagerArtikelSelectForm1::ShowArticle);
  btFunktionen->setMenu(FunktionenMenu);
  basket.Buttons->addWidget(btFunktionen);
  basket.Buttons->addStretch(1);
  connect(btAdd, &QPushButton::clicked, this, &TLagerArtikelSelectForm1::AddFocusedToBasket);
  connect(btClear, &QPushButton::clicked, this, &TLagerArtikelSelectForm1::ClearBasket);
  return basket.Box;
}

// Enter adds to the basket (in the search field it starts the search), F8
// confirms, F7 and Shift+F7 go to the go-to and search fields; Esc cancels
// as in every dialog.
bool TLagerArtikelSelectForm1::KeyPreview(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (focusWidget() == Frame->edSuchtext) {
        Frame->btSucheStartenClick();
        return true;
      }
      if (qobject_cast<QAbstractButton*>(focusWidget())) return false;
      AddFocusedToBasket();
      return true;
    case Qt::Key_F8:
      btUebernehmen->click();
      return true;
    case Qt::Key_F7: {
      QLineEdit* field = shift ? Frame->edSuchtext : Frame->edGoto;
      field->setFocus();
      field->selectAll();
      return true;
    }
    default:
      return false;
  }
}

// ---- basket

bool TLagerArtikelSelectForm1::InBasket(const QString& lagerArtikelNr) const {
  return Speicher.FindIndex([&](const TLagerServerObj& a) { return a.LagerArtikelNr == lagerArtikelNr; }) >= 0;
}

std::unique_ptr<TLagerServerObj> TLagerArtikelSelectForm1::LoadArticle(const QString& lagerArtikelNr) {
  auto article = std::make_unique<TLagerServerObj>();
  article->LagerArtikelNr = lagerArtikelNr;
  if (lagerArtikelNr.isEmpty() || database_->GetLagerArtikel(*article) != 0) return nullptr;
  return article;
}

void TLagerArtikelSelectForm1::AddFocusedToBasket() {
  const QString nr = Frame->FocusedArtikelNr();
  if (nr.isEmpty() || InBasket(nr)) return;
  std::unique_ptr<TLagerServerObj> article = LoadArticle(nr);
  if (!article) return;
  lbSpeicher->addItem(FormatText(QStringLiteral("%s - %s"), {article->LagerArtikelNr, article->Bezeichnung}));
  Speicher.Add(std::move(article));
}

void TLagerArtikelSelectForm1::ClearBasket() {
  Speicher.Clear();
  lbSpeicher->clear();
}

// ---- running

bool TLagerArtikelSelectForm1::Execute(TLagerServerObjObjectList& result) {
  ClearBasket();
  Frame->edSuchtext->setFocus();
  Frame->edSuchtext->selectAll();
  if (exec() != mrOk) {
    result.Clear();
    return false;
  }
  TakeOver(result);
  return true;
}

void TLagerArtikelSelectForm1::TakeOver(TLagerServerObjObjectList& result) {
  if (Speicher.IsEmpty()) AddFocusedToBasket();
  while (!Speicher.IsEmpty()) {
    std::unique_ptr<TLagerServerObj> article = Speicher.Extract(0);
    const QString nr = article->LagerArtikelNr;
    if (result.FindIndex([&](const TLagerServerObj& a) { return a.LagerArtikelNr == nr; }) < 0)
      result.Add(std::move(article));
  }
  lbSpeicher->clear();
}

bool TLagerArtikelSelectForm1::ForEachLagerArtikel(const std::function<void(TLagerServerObj&)>& callback) {
  return !database_ || database_->ForEachLagerArtikel(callback);
}

// ---- functions

void TLagerArtikelSelectForm1::ShowSerialNumbers() {
  const QString nr = Frame->FocusedArtikelNr();
  if (nr.isEmpty()) return;
  TLagerShowSNForm1 form(*database_, nr, this);
  form.exec();
}

void TLagerArtikelSelectForm1::ShowArticle() {
  std::unique_ptr<TLagerServerObj> article = LoadArticle(Frame->FocusedArtikelNr());
  if (!article) return;
  TMOD00300Form2 form(*article, Frame->Config, this);
  form.exec();
}

// ---- the one window of the run

TLagerArtikelSelectForm1& LagerArtikelSelectForm(const QString& lagerDir) {
  std::unique_ptr<TLagerArtikelSelectForm1>& form = Instance();
  if (!form) form = TLagerArtikelSelectForm1::Open(lagerDir);
  return *form;
}

void FreeLagerArtikelSelectForm() { Instance().reset(); }
