#include "UKAT2ArtikelAuswahlForm1.h"

#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Format.h"
#include "Katalog1DB.h"
#include "Katalog2DB.h"
#include "KatalogDBPool.h"
#include "KatalogTypes.h"
#include "MemIniFile.h"
#include "Msgdlg.h"
#include "Translation.h"
#include "UKAT1KatalogViewFrame.h"
#include "UKAT2KatalogViewFrame.h"
#include "UKATKatalogAuswahl.h"
#include "SelectionWindowParts.h"

namespace {
void ShowError(const QString& text) { MessageDlg(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}); }
}  // namespace

TUKAT2ArtikelAuswahlForm1::TUKAT2ArtikelAuswahlForm1(TKatalogDBPool& pool, const QString& iniPath, QWidget* parent)
    : TDefaultForm(parent), pool_(pool), iniPath_(iniPath) {
  setObjectName(QStringLiteral("UKAT2ArtikelAuswahlForm1"));
  setWindowTitle(QStringLiteral("[UKAT2 - KA1] - ") + FormatText(Tr("Artikelauswahl: %s"), {QString()}));
  lagerConfig_.LoadFromFile(QDir(pool_.LagerDir).filePath(QStringLiteral("CONFIG.XML")));
  ChooseKatalog = [](QString& katalog) { return TUKATKatalogAuswahl::Execute(katalog, true); };
  BuildControls();
  OnKeyPreview = [this](QKeyEvent* event) { return KeyPreview(event); };
}

TUKAT2ArtikelAuswahlForm1::~TUKAT2ArtikelAuswahlForm1() {
  SaveViewSettings();
  // The pages let go of their tables before the pool closes the databases.
  while (Pages->count() > 0) delete Pages->widget(0);
}

void TUKAT2ArtikelAuswahlForm1::BuildControls() {
  const TDefaultFormControls parts = TMakeDefaultForm::Furnish(*this, TFormBorderStyle::bsSizeable);
  btUebernehmen = parts.OkButton;
  btAbbrechen = parts.CancelButton;
  auto* layout = new QVBoxLayout(parts.Panel);
  auto* top = new QHBoxLayout;
  btKatalogOeffnen = NewSelectionButton(parts.Panel, "btKatalogOeffnen", "Katalog oeffnen");
  btKatalogSchliessen = NewSelectionButton(parts.Panel, "btKatalogSchliessen", "Katalog schliessen");
  top->addWidget(btKatalogOeffnen);
  top->addWidget(btKatalogSchliessen);
  top->addStretch(1);
  layout->addLayout(top);
  Pages = new QTabWidget(parts.Panel);
  Pages->setObjectName(QStringLiteral("Pages"));
  layout->addWidget(Pages, 3);
  layout->addWidget(BuildBasket(parts.Panel), 1);
  resize(1000, 660);
  setMinimumSize(640, 420);
  connect(btKatalogOeffnen, &QPushButton::clicked, this, &TUKAT2ArtikelAuswahlForm1::btKatalogOeffnenClick);
  connect(btKatalogSchliessen, &QPushButton::clicked, this, &TUKAT2ArtikelAuswahlForm1::btKatalogSchliessenClick);
}

QWidget* TUKAT2ArtikelAuswahlForm1::BuildBasket(QWidget* parent) {
  const TBasketPanel basket = NewBasketPanel(parent);
  lbSpeicher = basket.List;
  btAdd = basket.Add;
  btClear = basket.Clear;
  basket.Buttons->addStretch(1);
  connect(btAdd, &QPushButton::clicked, this, &TUKAT2ArtikelAuswahlForm1::UebertrageInZwischenablage);
  connect(btClear, &QPushButton::clicked, this, &TUKAT2ArtikelAuswahlForm1::ClearBasket);
  return basket.Box;
}

// Enter adds to the basket (in the search field it searches, in the go-to
// field it looks up an EAN), F8 confirms, F7 and Shift+F7 go to the go-to
// and search fields; Esc cancels as in every dialog.
bool TUKAT2ArtikelAuswahlForm1::KeyPreview(QKeyEvent* event) {
  TUKATKatalogViewFrame* view = CurrentView();
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (qobject_cast<QAbstractButton*>(focusWidget())) return false;
      if (view && focusWidget() == view->edSuchtext) view->btSucheStartenClick();
      else if (view && focusWidget() == view->edGoto) view->edGotoEnter();
      else UebertrageInZwischenablage();
      return true;
    case Qt::Key_F8:
      btUebernehmen->click();
      return true;
    case Qt::Key_F7: {
      if (!view) return true;
      QLineEdit* field = (event->modifiers() & Qt::ShiftModifier) ? view->edSuchtext : view->edGoto;
      field->setFocus();
      field->selectAll();
      return true;
    }
    default:
      return false;
  }
}

// ---- pages

TUKATKatalogViewFrame* TUKAT2ArtikelAuswahlForm1::CurrentView() const {
  return qobject_cast<TUKATKatalogViewFrame*>(Pages->currentWidget());
}

TUKATKatalogViewFrame* TUKAT2ArtikelAuswahlForm1::ViewOf(const QString& katalog) const {
  for (int i = 0; i < Pages->count(); ++i) {
    auto* view = qobject_cast<TUKATKatalogViewFrame*>(Pages->widget(i));
    if (view && view->Katalog().compare(katalog, Qt::CaseInsensitive) == 0) return view;
  }
  return nullptr;
}

TUKATKatalogViewFrame* TUKAT2ArtikelAuswahlForm1::MakeView(const QString& katalog) {
  TKatalogDBPoolItem* item = pool_.GetItemByName(katalog, true);
  if (!item) return nullptr;
  TDatabaseWrapper* db = item->GetDB();  // errors are passed on
  if (auto* k1 = dynamic_cast<TKatalog1DB*>(db))
    return new TUKAT1KatalogViewFrame(Pages, item->Katalog, item->Verzeichnis, *k1);
  if (auto* k2 = dynamic_cast<TKatalog2DB*>(db))
    return new TUKAT2KatalogViewFrame(Pages, item->Katalog, item->Verzeichnis, *k2, lagerConfig_.SpEAN);
  return nullptr;  // the warehouse has a window of its own
}

bool TUKAT2ArtikelAuswahlForm1::OpenKatalog(const QString& katalog) {
  if (TUKATKatalogViewFrame* open = ViewOf(katalog)) {
    Pages->setCurrentWidget(open);
    return true;
  }
  TUKATKatalogViewFrame* view = nullptr;
  try {
    view = MakeView(katalog);
  } catch (const std::exception& e) {
    ShowError(ReportException::Of(e).message);
    return false;
  }
  if (!view) return false;
  LoadViewSettings(*view);
  Pages->setCurrentIndex(Pages->addTab(view, view->Katalog()));
  view->edSuchtext->setFocus();
  return true;
}

void TUKAT2ArtikelAuswahlForm1::btKatalogOeffnenClick() {
  QString katalog;
  if (ChooseKatalog && ChooseKatalog(katalog)) OpenKatalog(katalog);
}

void TUKAT2ArtikelAuswahlForm1::btKatalogSchliessenClick() {
  const int index = Pages->currentIndex();
  if (index < 0) return;
  auto* view = qobject_cast<TUKATKatalogViewFrame*>(Pages->widget(index));
  if (!view) {
    ShowError(FormatText(Tr("Kann Katalogfenster %d nicht finden."), {index}));
    return;
  }
  TMemIniFile ini(iniPath_);
  view->SaveSettings(ini);
  ini.UpdateFile();
  Pages->removeTab(index);
  delete view;
}

// ---- view settings

void TUKAT2ArtikelAuswahlForm1::SaveViewSettings() const {
  if (iniPath_.isEmpty() || Pages->count() == 0) return;
  TMemIniFile ini(iniPath_);  // the file as it is now: other windows' keys stay
  for (int i = 0; i < Pages->count(); ++i)
    if (auto* view = qobject_cast<TUKATKatalogViewFrame*>(Pages->widget(i))) view->SaveSettings(ini);
  ini.UpdateFile();
}

void TUKAT2ArtikelAuswahlForm1::LoadViewSettings(TUKATKatalogViewFrame& view) const {
  if (!iniPath_.isEmpty()) view.LoadSettings(TMemIniFile(iniPath_));
}

// ---- basket

void TUKAT2ArtikelAuswahlForm1::RefreshBasket() {
  lbSpeicher->clear();
  for (int i = 0; i < clipboard_->Count(); ++i)
    lbSpeicher->addItem(FormatText(QStringLiteral("%s: %s - %s"),
                                   {clipboard_->GetKatalog(i), clipboard_->GetID(i), clipboard_->GetDescription(i)}));
}

void TUKAT2ArtikelAuswahlForm1::UebertrageInZwischenablage() {
  TUKATKatalogViewFrame* view = CurrentView();
  if (!view || clipboard_->ContainsID(view->FocusedArtikelNr())) return;
  std::unique_ptr<TDBXMLCoreObject> article = view->LoadFocusedArticle();
  if (!article) return;
  clipboard_->Add(std::move(article));
  RefreshBasket();
}

void TUKAT2ArtikelAuswahlForm1::ClearBasket() {
  clipboard_->Clear();
  RefreshBasket();
}

// ---- running

bool TUKAT2ArtikelAuswahlForm1::Execute(TKatalogDBClipBoard& clipboard, const QString& title) {
  clipboard_ = &clipboard;
  const int kept = clipboard.Count();
  setWindowTitle(QStringLiteral("[UKAT2 - KA1] - ") + FormatText(Tr("Artikelauswahl: %s"), {title}));
  RefreshBasket();
  if (Pages->count() == 0) btKatalogOeffnenClick();
  const bool confirmed = exec() == mrOk;
  if (!confirmed)
    while (clipboard.Count() > kept) clipboard.Delete(clipboard.Count() - 1);
  // The caller's clipboard is not kept beyond the call.
  clipboard_ = &ownClipboard_;
  RefreshBasket();
  return confirmed;
}

bool TUKAT2ArtikelAuswahlForm1::ForEachArticle(const QString& katalog, const TMergeObjCallback& callback) {
  try {
    TKatalogDBPoolItem* item = pool_.GetItemByName(katalog, true);
    if (!item || item->KatalogTyp == katalogtyp::Lager) return false;
    return ForEachMergeObj(*item, callback);
  } catch (const std::exception& e) {
    ShowError(ReportException::Of(e).message);
    return false;
  }
}
