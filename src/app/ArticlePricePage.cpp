#include "ArticlePricePage.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "DBAdressViewFrameUnit1.h"
#include "DBGrid.h"
#include "FloatFloatFloatEditorFrame.h"
#include "Format.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "PageButton.h"
#include "PricingFiles.h"
#include "TdbAccessor.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "WorkingTimeText.h"

namespace {
constexpr int kNoAddress = 0;  // also: a list that exists but cannot be opened
constexpr int kListMissing = 1;
constexpr int kListPresent = 2;
constexpr int kDeletePauseMs = 500;
constexpr int kScalePanelWidth = 313;
const QString kWarehouseKey = QStringLiteral("LAGER");

QString CurrencyText(const QVariant& value) {
  return SystemEinstellungen()->FormatCurrencyText(CurrencyFromDouble(value.toDouble()));
}

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

void ShowError(const QString& text) { MessageDlg(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}); }
}  // namespace

TArticlePricePage::TArticlePricePage(QWidget* sheet) : QObject(sheet) {
  auto* layout = new QHBoxLayout(sheet);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* left = new QVBoxLayout;
  DBGrid2 = new TDBGrid(QStringLiteral("DBGrid2"), sheet);
  DBGrid2->setContextMenuPolicy(Qt::CustomContextMenu);
  left->addWidget(DBGrid2, 1);
  left->addWidget(BuildButtonRow(sheet));
  layout->addLayout(left, 1);
  layout->addWidget(BuildScalePanel(sheet));
  BuildMenus();
  // Page set-up, first half.
  DBGrid2->SetGridActive(false);
  lbArtikelBez->clear();
  ArtMengenModified = false;
  cbImpPreis->addItem(Tr("Kein Preis"));
  for (int i = 1; i <= 5; ++i) cbImpPreis->addItem(Tr("Verkaufspreis") + QStringLiteral(" %1").arg(i));
  cbImpPreis->addItem(Tr("Einkaufspreis"));
  cbImpPreis->setCurrentIndex(0);
  BuildColumns();
  KSPRDB = std::make_unique<TKSPRDatabase>(&TLogHelper::LogError);
  DBGrid2->Bind(KSPRDB->Table);
  KSArtPMengenRab->SetList(&KSPRObj.Mengenstaffel);
  KSArtPMengenRab->SetEditable(false);
  KSPRDB->Table->AfterScroll = [this](TTdbTable&) {
    if (!quiet_) ShowCurrentArtikel();
  };
  KSPRDB->Table->BeforeScroll = [this](TTdbTable&) {
    if (!quiet_) LeaveCurrentArtikel();
  };
  ShowListState(kNoAddress);
}

// The editor and the grid go before the table and the scale they show.
TArticlePricePage::~TArticlePricePage() {
  KSArtPMengenRab->SetList(nullptr);
  delete KSArtPMengenRab;
  KSArtPMengenRab = nullptr;
  DBGrid2->Bind(nullptr);
  KSPRDB->Table->AfterScroll = nullptr;
  KSPRDB->Table->BeforeScroll = nullptr;
  KSPRDB->Close();
}

QWidget* TArticlePricePage::BuildButtonRow(QWidget* sheet) {
  auto* row = new QWidget(sheet);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  Button7 = AddPageButton(row, "Button7", "Liste anlegen", &AddressFrame, [this] { Button7Click(); });
  Button8 = AddPageButton(row, "Button8", "Artikel hinzufuegen", &AddressFrame, [this] { Button8Click(); });
  Button9 = AddPageButton(row, "Button9", "Artikel loeschen", &AddressFrame, [this] { Button9Click(); });
  TntLabel1 = new QLabel(Tr("Welcher Preis soll importiert werden?"), row);
  TntLabel1->setObjectName(QStringLiteral("TntLabel1"));
  layout->addWidget(TntLabel1);
  cbImpPreis = new QComboBox(row);
  cbImpPreis->setObjectName(QStringLiteral("cbImpPreis"));
  layout->addWidget(cbImpPreis);
  layout->addStretch();
  return row;
}

QWidget* TArticlePricePage::BuildScalePanel(QWidget* sheet) {
  TntPanel1 = new QWidget(sheet);
  TntPanel1->setObjectName(QStringLiteral("TntPanel1"));
  TntPanel1->setFixedWidth(kScalePanelWidth);
  auto* layout = new QVBoxLayout(TntPanel1);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* header = new QWidget(TntPanel1);
  header->setObjectName(QStringLiteral("Panel5"));
  header->setProperty("tag", 5);
  header->setAutoFillBackground(true);
  QPalette colours = header->palette();
  colours.setColor(QPalette::Window, QColor(0x84, 0x82, 0x84));
  header->setPalette(colours);
  header->setStyleSheet(QStringLiteral("QLabel { color: white; }"));  // the palette's text colour does not reach the labels
  auto* lines = new QVBoxLayout(header);
  auto* title = new QLabel(Tr("Artikelspezifische Mengenrabatte und -preise"), header);
  title->setObjectName(QStringLiteral("Label1"));
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  title->setWordWrap(true);  // wider than the panel in a desktop font
  lines->addWidget(title);
  auto* artikel = new QLabel(Tr("Artikel"), header);
  artikel->setObjectName(QStringLiteral("TntLabel2"));
  lines->addWidget(artikel);
  lbArtikelBez = new QLabel(header);
  lbArtikelBez->setObjectName(QStringLiteral("lbArtikelBez"));
  lines->addWidget(lbArtikelBez);
  layout->addWidget(header);
  auto* editorArea = new QWidget(TntPanel1);
  layout->addWidget(editorArea, 1);
  KSArtPMengenRab = new TFloatFloatFloatEditorFrame(editorArea);
  KSArtPMengenRab->setObjectName(QStringLiteral("KSArtPMengenRab"));
  KSArtPMengenRab->UniqueFirstNumbers = true;
  KSArtPMengenRab->OnAdd = [this] {
    const TSelectionHold hold(AddressFrame);
    AddArtMengenrabatt();
  };
  KSArtPMengenRab->OnChange = [this] { KSArtPMengenRabChange(); };
  KSArtPMengenRab->SetTitles({Tr("ab Menge"), Tr("Rabatt in %"), Tr("Preis")}, {-1, -1, -1});
  return TntPanel1;
}

void TArticlePricePage::BuildMenus() {
  BarPopupMenu1 = new QMenu(DBGrid2);
  BarPopupMenu1->setObjectName(QStringLiteral("BarPopupMenu1"));
  const auto item = [this](const char* name, int tag, const char* caption) {
    QAction* action = BarPopupMenu1->addAction(Tr(caption));
    action->setObjectName(QLatin1String(name));
    action->setData(tag);
    connect(action, &QAction::triggered, this, [this, tag] {
      const TSelectionHold hold(AddressFrame);
      OnArtAddClick(tag);
    });
  };
  item("PM100", 100, "Artikel aus Materialkatalog");
  item("PM101", 101, "Kompletten Materialkatalog");
  BarPopupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
  item("PM102", 102, "Artikel aus Lagerkatalog");
  item("PM103", 103, "Kompletten Lagerkatalog");

  pmKSPR = new QMenu(DBGrid2);
  pmKSPR->setObjectName(QStringLiteral("pmKSPR"));
  QAction* copy = pmKSPR->addAction(Tr("In die Zwischenablage kopieren"));
  copy->setObjectName(QStringLiteral("IndieZwischenablagekopieren1"));
  copy->setData(100);
  connect(copy, &QAction::triggered, this, [this] { OnKSPRClick(); });
  connect(DBGrid2, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { pmKSPR->popup(DBGrid2->viewport()->mapToGlobal(at)); });
}

void TArticlePricePage::BuildColumns() {
  const auto right = Qt::AlignRight;
  DBGrid2->SetColumns(
      {{.FieldName = QStringLiteral("KATALOG"), .Title = Tr("Katalog"), .ReadOnly = true, .DefaultWidth = 70,
        .DisplayText = [](const QVariant& v) { return v.toString() == kWarehouseKey ? Tr("Lager") : v.toString(); }},
       {.FieldName = QStringLiteral("ARTIKELNR"), .Title = Tr("Artikel-Nr."), .ReadOnly = true, .DefaultWidth = 91},
       {.FieldName = QStringLiteral("BEZEICHNUNG"), .Title = Tr("Bezeichnung"), .DefaultWidth = 300},
       {.FieldName = QStringLiteral("PREIS"), .Title = Tr("Preis"), .DefaultWidth = 89, .Alignment = right,
        .DisplayText = CurrencyText},
       {.FieldName = QStringLiteral("RABATT"), .Title = Tr("Rabatt"), .DefaultWidth = 70, .Alignment = right,
        .DisplayText = [](const QVariant& v) { return FormatGeneralNumber(v.toDouble()) + QStringLiteral(" %"); }},
       {.FieldName = QStringLiteral("ZEIT"), .Title = Tr("Zeit"), .DefaultWidth = 70, .Alignment = right,
        .DisplayText = [](const QVariant& v) { return WorkingTimeText(v.toDouble()); }},
       {.FieldName = QStringLiteral("LOHN"), .Title = Tr("Lohn"), .DefaultWidth = 40, .Alignment = right,
        .DisplayText = [](const QVariant& v) {
          return SystemEinstellungen()->FormatCurrencyTextN(CurrencyFromDouble(v.toDouble()));
        }}});
}

// ---- list state

QString TArticlePricePage::FileName() const {
  const TSystemEinstellungen* system = SystemEinstellungen();
  return system && !addressId_.isEmpty()
             ? PricingFilePath(system->AddressDir, QStringLiteral("003"), addressId_, QStringLiteral(".TDBD"))
             : QString();
}

bool TArticlePricePage::TableOpen() const { return KSPRDB->Opened; }

int TArticlePricePage::PriceChoice() const { return cbImpPreis->currentIndex(); }

void TArticlePricePage::ShowListState(int tag) {
  Button7->setProperty("tag", tag);
  Button7->setText(tag == kListPresent ? Tr("Liste loeschen") : Tr("Liste anlegen"));
  DBGrid2->SetGridActive(tag == kListPresent);
  if (tag == kListPresent) {
    ShowCurrentArtikel();
  } else {
    KSPRObj.Clear();
    KSArtPMengenRab->SetList(&KSPRObj.Mengenstaffel);
    lbArtikelBez->clear();
    KSArtPMengenRab->SetEditable(false);
  }
}

// Opening reports its errors itself (the store's error callback).
bool TArticlePricePage::Open(const QString& file) {
  if (KSPRDB->Opened) return true;
  bool opened = true;
  try {
    KSPRDB->OpenFile(file, false);
  } catch (const std::exception&) {
    opened = false;
  }
  DBGrid2->Reload();
  return opened;
}

// A list that exists but does not open is never taken for a missing one.
void TArticlePricePage::Load(const QString& addressId) {
  addressId_ = addressId;
  const QString file = FileName();
  if (file.isEmpty())
    ShowListState(kNoAddress);
  else if (!QFileInfo::exists(file))
    ShowListState(kListMissing);
  else
    ShowListState(Open(file) ? kListPresent : kNoAddress);
}

void TArticlePricePage::Reset() {
  KSPRDB->Close();
  DBGrid2->Reload();
  ArtMengenModified = false;
  addressId_.clear();
  ShowListState(kNoAddress);
}

// A failure keeps the row's old scale; the flag goes all the same, so the
// same failure is not reported again on every move.
void TArticlePricePage::WriteBack() {
  if (!ArtMengenModified) return;
  ArtMengenModified = false;
  if (!KSPRDB->SetCurrentMengenstaffel(&KSPRObj))
    ShowError(Tr("Mengenstaffel wurde nicht zurueckgeschrieben."));
}

void TArticlePricePage::PostPendingEdit() {
  DBGrid2->PostPendingEdit();
  KSArtPMengenRab->PostPendingEdit();
}

void TArticlePricePage::Button7Click() {
  const int tag = Button7->property("tag").toInt();
  if (tag == kListMissing) CreateList();
  if (tag == kListPresent) DeleteList();
}

void TArticlePricePage::CreateList() {
  const QString file = FileName();
  if (file.isEmpty()) return;
  ShowListState(Open(file) ? kListPresent : kListMissing);
}

// The pause after closing gives the engine and other programs time to let
// the file go before it is deleted.
void TArticlePricePage::DeleteList() {
  if (MessageDlg(Tr("Moechten Sie die Artikelpreise fuer diese Adresse loeschen?"), TMsgDlgType::mtConfirmation,
                 {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != mrYes)
    return;
  const QString file = FileName();
  ArtMengenModified = false;  // the scale goes with its list
  KSPRDB->Close();
  DBGrid2->Reload();
  QThread::msleep(kDeletePauseMs);
  if (QFileInfo::exists(file) && !QFile::remove(file))
    MessageDlgFmt(Tr("Die Liste \"%s\" konnte nicht geloescht werden."), {file}, TMsgDlgType::mtError,
                  {TMsgDlgBtn::mbOK});
  ShowListState(kListMissing);
}

// The menu opens directly above the button, at its left edge.
void TArticlePricePage::Button8Click() {
  const QPoint topLeft = Button8->mapToGlobal(QPoint(0, 0));
  BarPopupMenu1->popup(QPoint(topLeft.x(), topLeft.y() - BarPopupMenu1->sizeHint().height()));
}

void TArticlePricePage::Button9Click() {
  QString katalog, artikelNr;
  if (!TableOpen() || !KSPRDB->GetCurrentArtikel(katalog, artikelNr)) return;
  if (MessageDlgFmt(Tr("Soll der Artikel \"%s\" geloescht werden?"), {artikelNr}, TMsgDlgType::mtConfirmation,
                    {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != mrYes)
    return;
  ArtMengenModified = false;  // the scale goes with its row
  {
    const TQuietScroll quiet(quiet_);
    KSPRDB->DeleteCurrentArtikel();
  }
  ShowCurrentArtikel();
}

// ---- the current row and its scale

void TArticlePricePage::ShowCurrentArtikel() {
  KSPRObj.Clear();
  KSArtPMengenRab->SetList(&KSPRObj.Mengenstaffel);
  if (!KSPRDB->GetCurrentMengenstaffel(&KSPRObj)) {
    lbArtikelBez->setText(Tr("Kein Artikel ausgewaehlt."));
    KSArtPMengenRab->SetEditable(false);
    return;
  }
  KSArtPMengenRab->SetEditable(true);
  lbArtikelBez->setText(KSPRObj.Bezeichnung);
  KSArtPMengenRab->SetList(&KSPRObj.Mengenstaffel);
}

void TArticlePricePage::LeaveCurrentArtikel() {
  if (!ArtMengenModified) return;
  if (SaveAddressData)
    SaveAddressData();
  else
    WriteBack();
}

void TArticlePricePage::KSArtPMengenRabChange() {
  if (!KSPRObj.ArtikelNr.isEmpty()) ArtMengenModified = true;
}

// The quantity as typed: a plain number greater than 0, nothing guessed.
void TArticlePricePage::AddArtMengenrabatt() {
  if (!DBGrid2->isEnabled() || KSPRObj.ArtikelNr.isEmpty()) return;
  QString text;
  if (!Dialogs().InputQuery(InputRequest{Tr("Neuer Mengenrabatt oder -preis"), Tr("Menge"), QString()}, text)) return;
  double quantity = -1;
  if (!ReadNumberStrict(text, quantity) || quantity <= 0) return ShowError(Tr("Geben Sie eine Menge groesser 0 an."));
  if (KSPRObj.Mengenstaffel.ContainsFirst(quantity)) return ShowError(Tr("Eine solche Menge ist bereits vorhanden."));
  KSPRObj.Mengenstaffel.AddSorted(quantity);
  KSArtPMengenRab->RowCountChanged();
  KSArtPMengenRab->FocusEntry(KSPRObj.Mengenstaffel.IndexOfFirst(quantity));
  ArtMengenModified = true;
}

// ---- copy to the clipboard

// One line per row: catalogue key, number, description, price and discount,
// each in double quotes, separated by tabs.
QString TArticlePricePage::ClipboardText() {
  QString text;
  TTdbAccessor rows(*KSPRDB->Table);
  const int katalog = rows.FieldIndex(QStringLiteral("KATALOG"));
  const int artikelNr = rows.FieldIndex(QStringLiteral("ARTIKELNR"));
  const int bezeichnung = rows.FieldIndex(QStringLiteral("BEZEICHNUNG"));
  const int preis = rows.FieldIndex(QStringLiteral("PREIS"));
  const int rabatt = rows.FieldIndex(QStringLiteral("RABATT"));
  const QString tab = QStringLiteral("\t");
  for (int rc = rows.First(); rc == 0; rc = rows.Next()) {
    const QString discount = rows.IsNull(rabatt) ? QString() : FormatGeneralNumber(rows.AsFloat(rabatt));
    text += Quoted(rows.AsString(katalog)) + tab + Quoted(rows.AsString(artikelNr)) + tab +
            Quoted(rows.AsString(bezeichnung)) + tab +
            Quoted(SystemEinstellungen()->FormatCurrencyText(CurrencyFromDouble(rows.AsFloat(preis)))) + tab +
            Quoted(discount + QStringLiteral(" %")) + QStringLiteral("\r\n");
  }
  return text;
}

// The walk ends on the last row, whose scale is shown; the scale of the row
// left is written back first, as on every move.
void TArticlePricePage::OnKSPRClick() {
  if (!TableOpen()) return;
  try {
    KSPRDB->Table->Last();
  } catch (const std::exception& e) {
    KSPRDB->LogError(e, QStringLiteral("Last"));
    return;
  }
  QString text;
  try {
    text = ClipboardText();
  } catch (const std::exception& e) {
    KSPRDB->LogError(e, QStringLiteral("OnKSPRClick"));
    return;
  }
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void TArticlePricePage::LoadColumnWidths(const TMemIniFile& ini, const QString& section) {
  DBGrid2->LoadColumnWidths(ini, section);
}

void TArticlePricePage::SaveColumnWidths(TMemIniFile& ini, const QString& section) const {
  DBGrid2->SaveColumnWidths(ini, section);
}
