#include "MOD00100Unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ArticlePricePage.h"
#include "ArticleTakeOver.h"
#include "DBAdressConfig.h"
#include "DBAdressViewFrameUnit1.h"
#include "DBGrid.h"
#include "KatalogDBPool.h"
#include "KatalogMergeEnumeration.h"
#include "UKAT2ArtikelAuswahlForm1.h"
#include "UKATKatalogAuswahl.h"
#include "DiscountGroupPage.h"
#include "CompareWithStandard.h"
#include "MemIniFile.h"
#include "Msgdlg.h"
#include "PathUtils.h"
#include "PriceGroupPage.h"
#include "PricingFiles.h"
#include "QuantityDiscountPage.h"
#include "TextFile.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "LagerArtikelSelectForm1.h"
#include "ULAGConfig.h"
#include "WindowSettings.h"

namespace {
const char* const kTitle = "Kundenspezifische Preise";
const char* const kStandardCaption = "Standardrabatte und- preise bearbeiten";
const char* const kSettingsSection = "MOD00100";
const char* const kPanelHeightKey = "Panel1";
const char* const kPriceChoiceKey = "cbImpPreis";
const char* const kLastAddressKey = "LastAdrID";
const char* const kPageIndexKey = "PageControl1.ActivePageIndex";

struct PageInfo {
  const char* name;
  const char* caption;
};
const PageInfo kPages[] = {
    {"TabSheet1", "Rabattgruppen fuer Angebote und Auftraege"},
    {"TntTabSheet1", "Rabattgruppen fuer Kommissionsauftraege"},
    {"TabSheet2", "Mengenrabatte"},
    {"TabSheet3", "Spezifische Artikelpreise und -rabatte"},
    {"TntTabSheet2", "Preisgruppen"},
};
const TDiscountGroupPageParts kRabParts = {"001",        "DBGrid1",    "Button5",    "Button6",
                                           "TntButton1", "TntButton2", "TntButton9", "TntButton10"};
const TDiscountGroupPageParts kKommRabParts = {"004",        "DBGrid3",    "TntButton3",  "TntButton4",
                                               "TntButton5", "TntButton6", "TntButton11", "TntButton12"};

constexpr int kDefaultPanelHeight = 350;
constexpr int kMaxPanelHeight = 2000;
}  // namespace

TMOD00100Form1::TMOD00100Form1(const QStringList& arguments, QWidget* parent)
    : QWidget(parent), arguments_(arguments) {
  setObjectName(QStringLiteral("MOD00100Form1"));
  resize(1024, 690);
  setMinimumSize(1024, 690);
  FormCreate();
}

TMOD00100Form1::~TMOD00100Form1() {
  FreeArticleSources();
  FreeAddressFrame();
  AddressConfig.reset();
  TearDownPages();
}

void TMOD00100Form1::FormCreate() {
  InitSystem(1, true);
  // Built only now: the start-up has just chosen the language of the captions.
  BuildLayout();
  QApplication::setApplicationName(Tr(kTitle));
  setWindowTitle(QStringLiteral("[0100 - 01] - ") + Argument(1) + QStringLiteral(" - ") + Tr(kTitle));
  if (!LoadSystem(Argument(1), Argument(2), QString(), false)) return;
  InitMainForm(this, true);
  PageControl1->setCurrentIndex(0);
  const QString addressDir = SystemEinstellungen()->AddressDir;
  for (const char* folder : {"001", "002", "003", "004", "006"}) EnsureDirectory(addressDir + QLatin1String(folder));
  SetUpPages();
  // Without its address book the window has nothing to work on: the start
  // ends with a message instead of an unhandled error.
  try {
    CreateAddressFrame();
  } catch (const std::exception& e) {
    Report(rlError, Tr("Das Adressbuch kann nicht geoeffnet werden; das Programm wird beendet."), nullptr, e);
    return;
  }
  ReadSettings();
  SetUpArticleSources();
  currentPage_ = PageControl1->currentIndex();
  connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
    PageControl1Changing(currentPage_);
    currentPage_ = PageControl1->currentIndex();
    PageControl1Change();
  });
  connect(TntButton7, &QPushButton::clicked, this, &TMOD00100Form1::TntButton7Click);
  connect(TntButton8, &QPushButton::clicked, this, &TMOD00100Form1::TntButton8Click);
  ArrangeTabOrder();
  qApp->installEventFilter(this);
  started_ = true;
}

// Page set-up, in the order the pages depend on it.
void TMOD00100Form1::SetUpPages() {
  LagerConfig = std::make_unique<TLagerConfig>();
  LagerConfig->LoadFromFile(TLagerConfig::ConfigFileName());
  RabPage = new TDiscountGroupPage(PageControl1->widget(pgRabatt), kRabParts, *LagerConfig);
  KommRabPage = new TDiscountGroupPage(PageControl1->widget(pgKommRabatt), kKommRabParts, *LagerConfig);
  MengenPage = new TQuantityDiscountPage(PageControl1->widget(pgMengenrabatt));
  ArtPage = new TArticlePricePage(PageControl1->widget(pgArtikelpreise));
  ArtPage->SaveAddressData = [this] { SaveAddressData(); };
  PgrpPage = new TPriceGroupPage(PageControl1->widget(pgPreisgruppen));
}

// Page tear-down; the pages' stores go before the settings they use.
void TMOD00100Form1::TearDownPages() {
  delete RabPage;
  RabPage = nullptr;
  delete KommRabPage;
  KommRabPage = nullptr;
  delete MengenPage;
  MengenPage = nullptr;
  delete ArtPage;
  ArtPage = nullptr;
  FreeLagerArtikelSelectForm();
  delete PgrpPage;
  PgrpPage = nullptr;
  LagerConfig.reset();
}

// The catalogue pool opens each catalogue on first use; the warehouse window
// is made on first use, its opening errors reported, and the command then
// does nothing.
void TMOD00100Form1::SetUpArticleSources() {
  KatalogPool = std::make_unique<TKatalogDBPool>(&TLogHelper::LogError);
  KatalogArtikelAuswahl = std::make_unique<TUKAT2ArtikelAuswahlForm1>(*KatalogPool, SettingsFileName(), this);
  ArtPage->Sources.SelectKatalogArtikel = [this](TKatalogDBClipBoard& clipboard, const QString& title) {
    KatalogArtikelAuswahl->Execute(clipboard, title);
  };
  ArtPage->Sources.ChooseKatalog = [](QString& katalog) { return TUKATKatalogAuswahl::Execute(katalog, true); };
  ArtPage->Sources.ForEachArticle = [this](const QString& katalog, const TMergeObjCallback& callback) {
    return KatalogArtikelAuswahl->ForEachArticle(katalog, callback);
  };
  const auto warehouse = []() -> TLagerArtikelSelectForm1* {
    try {
      return &LagerArtikelSelectForm(NormalizePath(SystemEinstellungen()->AreaDir(TAreaDir::Lager), true));
    } catch (const std::exception& e) {
      MessageDlg(ReportException::Of(e).message, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
      return nullptr;
    }
  };
  ArtPage->Sources.SelectLagerArtikel = [warehouse](TLagerServerObjObjectList& result) {
    TLagerArtikelSelectForm1* form = warehouse();
    return form && form->Execute(result);
  };
  ArtPage->Sources.ForEachLagerArtikel = [warehouse](const std::function<void(TLagerServerObj&)>& callback) {
    TLagerArtikelSelectForm1* form = warehouse();
    return form && form->ForEachLagerArtikel(callback);
  };
}

void TMOD00100Form1::FreeArticleSources() {
  if (ArtPage) ArtPage->Sources = TArticleSources{};
  KatalogArtikelAuswahl.reset();  // writes its pages' view settings into the settings file
  KatalogPool.reset();
}

TKSRabDatabase* TMOD00100Form1::RabDB() const { return RabPage ? RabPage->Store.get() : nullptr; }
TKSRabDatabase* TMOD00100Form1::KommRabDB() const { return KommRabPage ? KommRabPage->Store.get() : nullptr; }

QString TMOD00100Form1::CurrentAddressId() const {
  return AddressFrame && AddressFrame->CurrentAddress ? AddressFrame->CurrentAddress->Id : QString();
}

bool TMOD00100Form1::StandardMode() const { return !pnStd->isHidden(); }

void TMOD00100Form1::CreateAddressFrame() {
  AddressConfig = std::make_unique<TAddressConfig>();
  AddressConfig->LoadFromFile(TAddressConfig::FileNameIn(SystemEinstellungen()->AddressDir));
  AddressFrame = new TDBAdressViewFrame1(AddressArea, AddressConfig.get());
  AddressFrame->OnAddressChanged = [this](TDBAdressViewFrame1* sender) { AddressChanged(sender); };
  AddressFrame->OnBeforeAddressChange = [this](TDBAdressViewFrame1* sender) { AddressChanging(sender); };
  RabPage->AddressFrame = AddressFrame;
  KommRabPage->AddressFrame = AddressFrame;
  MengenPage->AddressFrame = AddressFrame;
  ArtPage->AddressFrame = AddressFrame;
  PgrpPage->AddressFrame = AddressFrame;
}

QString TMOD00100Form1::SettingsFileName() {
  return BenutzerEinstellungen()->UserClientEtcDir + QStringLiteral("MOD00100.INI");
}

void TMOD00100Form1::ReadSettings() {
  const TMemIniFile ini(SettingsFileName());
  const QString section = QLatin1String(kSettingsSection);
  const int page = ini.ReadInteger(section, QLatin1String(kPageIndexKey), 0);
  if (page >= 0 && page < PageControl1->count()) PageControl1->setCurrentIndex(page);
  AddressFrame->LoadColumnWidths(ini, objectName());
  const QString startId = StartAddressId(ini);
  if (startId != QLatin1String(kDefaultAddressId)) AddressFrame->GotoAddress(startId);
  ReadGridSettings(ini);
}

void TMOD00100Form1::ReadGridSettings(const TMemIniFile& ini) {
  const QString section = objectName();
  RabPage->LoadColumnWidths(ini, section);
  KommRabPage->LoadColumnWidths(ini, section);
  ArtPage->LoadColumnWidths(ini, section);
  for (TCompareWithStandard* compare : {RabPage->Compare, KommRabPage->Compare, MengenPage->Compare})
    compare->ReadSetting(ini);
  ArtPage->cbImpPreis->setCurrentIndex(
      ReadClampedInteger(ini, section, QLatin1String(kPriceChoiceKey), 0, 0, kPriceChoiceCount - 1));
  const int height = ReadClampedInteger(ini, section, QLatin1String(kPanelHeightKey), kDefaultPanelHeight,
                                        Panel1->minimumHeight(), kMaxPanelHeight);
  const int total = std::max(Splitter1->height(), height + 100);
  Splitter1->setSizes({total - height - Splitter1->handleWidth(), height});
}

void TMOD00100Form1::WriteGridSettings(TMemIniFile& ini) const {
  const QString section = objectName();
  RabPage->SaveColumnWidths(ini, section);
  KommRabPage->SaveColumnWidths(ini, section);
  ArtPage->SaveColumnWidths(ini, section);
  for (TCompareWithStandard* compare : {RabPage->Compare, KommRabPage->Compare, MengenPage->Compare})
    compare->WriteSetting(ini);
  ini.WriteInteger(section, QLatin1String(kPriceChoiceKey), ArtPage->cbImpPreis->currentIndex());
  ini.WriteInteger(section, QLatin1String(kPanelHeightKey), Panel1->height());
}

// "-SA" (any case, the whole argument) names the start address in the
// argument after it; without the switch the last address is taken.
QString TMOD00100Form1::StartAddressId(const TMemIniFile& ini) const {
  for (int i = 1; i < arguments_.size(); ++i)
    if (arguments_[i].compare(QLatin1String("-SA"), Qt::CaseInsensitive) == 0) return Argument(i + 1).trimmed();
  return ini.ReadString(QLatin1String(kSettingsSection), QLatin1String(kLastAddressKey), QString());
}

void TMOD00100Form1::AddressChanging(TDBAdressViewFrame1*) { SaveAddressData(); }

void TMOD00100Form1::AddressChanged(TDBAdressViewFrame1*) {
  ResetAddressData();
  const QString id = CurrentAddressId();
  if (id.isEmpty()) {
    PageControl1->setEnabled(false);
    return;
  }
  // The identifier names the pricing files: one that would leave their
  // folders is refused before any file is made or deleted for it.
  if (!IsUsableAddressId(id)) {
    PageControl1->setEnabled(false);
    MessageDlgFmt(Tr("Die Adressnummer \"%s\" taugt nicht als Dateiname; ihre Preise sind nicht bearbeitbar."), {id},
                  TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return;
  }
  PageControl1->setEnabled(true);
  LoadPageData();
}

// Only the page shown is loaded; the others load when they are shown.
void TMOD00100Form1::LoadPageData() {
  const int page = PageControl1->currentIndex();
  if (page == pgMengenrabatt) LoadMengenrabatte();
  if (page == pgRabatt) LoadRabattgruppen();
  if (page == pgKommRabatt) LoadKommRabattgruppen();
  if (page == pgArtikelpreise) LoadArtikelpreise();
  if (page == pgPreisgruppen) LoadPreisgruppen();
}

void TMOD00100Form1::LoadRabattgruppen() { RabPage->Load(CurrentAddressId()); }
void TMOD00100Form1::LoadKommRabattgruppen() { KommRabPage->Load(CurrentAddressId()); }
void TMOD00100Form1::LoadPreisgruppen() { PgrpPage->Load(CurrentAddressId()); }
void TMOD00100Form1::LoadMengenrabatte() { MengenPage->Load(CurrentAddressId()); }
void TMOD00100Form1::LoadArtikelpreise() { ArtPage->Load(CurrentAddressId()); }

// The discount tables are written row by row by their grids; the pages
// that hold data in memory write it back here.
void TMOD00100Form1::SaveAddressData() {
  if (CurrentAddressId().isEmpty()) return;
  MengenPage->WriteBack();
  ArtPage->WriteBack();
  PgrpPage->WriteBack();
}

void TMOD00100Form1::ResetAddressData() {
  MengenPage->Reset();
  RabPage->Reset();
  KommRabPage->Reset();
  ArtPage->Reset();
  PgrpPage->Reset();
}

// The pages that hold data in memory write it back when they are left.
void TMOD00100Form1::PageControl1Changing(int leaving) {
  if (leaving == pgPreisgruppen && PgrpPage->PreisgruppeModified) SaveAddressData();
  if (leaving == pgMengenrabatt && MengenPage->MengenModified) SaveAddressData();
  if (leaving == pgArtikelpreise && ArtPage->ArtMengenModified) SaveAddressData();
}

void TMOD00100Form1::PageControl1Change() {
  if (PageControl1->isEnabled() && !CurrentAddressId().isEmpty()) LoadPageData();
}

void TMOD00100Form1::SetFrameActive(bool on) {
  AddressFrame->setEnabled(on);
  QPalette palette = AddressFrame->VDBGrid->palette();
  palette.setColor(QPalette::Base, on ? QApplication::palette().color(QPalette::Base) : QColor(0x80, 0x80, 0x80));
  AddressFrame->VDBGrid->setPalette(palette);
}

void TMOD00100Form1::TntButton7Click() {
  if (!AddressFrame) return;
  SaveAddressData();
  // A selection still waiting for its delay must not take the pages back to a customer.
  AddressFrame->SelectionTimer->stop();
  SetFrameActive(false);
  pnStd->show();
  pnStd->raise();
  AddressFrame->CurrentAddress->Clear();
  AddressFrame->CurrentAddress->Id = QLatin1String(kDefaultAddressId);
  AddressChanged(AddressFrame);
}

void TMOD00100Form1::TntButton8Click() {
  if (!AddressFrame) return;
  pnStd->hide();
  SetFrameActive(true);
  SaveAddressData();
  // The pages wait for the frame's own address: until it is loaded they must
  // not go on working on the standard tables.
  AddressFrame->CurrentAddress->Clear();
  AddressFrame->GotoAddress(QString());
  AddressChanged(AddressFrame);
}

bool TMOD00100Form1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (key == Qt::Key_Up || key == Qt::Key_Down) return false;
  if (AddressFrame && AddressFrame->isEnabled() && AddressFrame->HandleKey(key, modifiers)) return true;
  if (key == Qt::Key_Plus && (modifiers & Qt::KeypadModifier) && PageControl1->currentIndex() == pgMengenrabatt) {
    const TSelectionHold hold(AddressFrame);
    MengenPage->SpeedButton3Click();
    return true;
  }
  if (key == Qt::Key_F12) {
    InfoButton1->click();
    return true;
  }
  if (key == Qt::Key_I && modifiers == Qt::ControlModifier) {
    PreisauskunftClick();
    return true;
  }
  return false;
}

// Key preview: the window sees a key before the control with the focus.
// Only the first receiver counts, not the parents it propagates to.
bool TMOD00100Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    QWidget* focus = QApplication::focusWidget();
    if ((focus ? widget == focus : widget == this) && widget->window() == this) {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if (FormKeyDown(key->key(), key->modifiers())) return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// Widgets made later (the frame's search-result tabs) join the focus chain at
// its end, after "Beenden": every Tab puts the chain in order again first.
bool TMOD00100Form1::focusNextPrevChild(bool next) {
  ArrangeTabOrder();
  return QWidget::focusNextPrevChild(next);
}

void TMOD00100Form1::FormClose() {
  FreeArticleSources();
  if (AddressFrame) {
    PostGridEdits();
    SaveAddressData();
    WriteSettings();
    FreeAddressFrame();
  }
  AddressConfig.reset();
  TearDownPages();
}

// A close by F12 or by the title bar leaves the focus where it is, so a
// value still being typed is stored here, as leaving the grid would.
void TMOD00100Form1::PostGridEdits() {
  for (TDiscountGroupPage* page : {RabPage, KommRabPage})
    if (page) page->Grid->PostPendingEdit();
  if (MengenPage) MengenPage->PostPendingEdit();
  if (ArtPage) ArtPage->PostPendingEdit();
}

void TMOD00100Form1::WriteSettings() {
  TMemIniFile ini(SettingsFileName());
  const QString section = QLatin1String(kSettingsSection);
  ini.WriteInteger(section, QLatin1String(kPageIndexKey), PageControl1->currentIndex());
  const TCustomerAddress* current = AddressFrame->CurrentAddress.get();
  ini.WriteString(section, QLatin1String(kLastAddressKey), current ? current->Id : QString());
  AddressFrame->SaveColumnWidths(ini, objectName());
  WriteGridSettings(ini);
  if (QString why; !ini.UpdateFile(&why))
    MessageDlg(FileNotWrittenText(SettingsFileName(), why), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
}

void TMOD00100Form1::FreeAddressFrame() {
  if (!AddressFrame) return;
  AddressFrame->Close();
  delete AddressFrame;
  AddressFrame = nullptr;
}

void TMOD00100Form1::BuildLayout() {
  setFont(QFont(QStringLiteral("MS Shell Dlg 2"), 8));
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  Splitter1 = new QSplitter(Qt::Vertical, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->setStyleSheet(QStringLiteral("QSplitter::handle { background: black; }"));
  outer->addWidget(Splitter1);

  AddressArea = new QWidget(Splitter1);
  AddressArea->setObjectName(QStringLiteral("AddressArea"));
  new QVBoxLayout(AddressArea);
  AddressArea->layout()->setContentsMargins(0, 0, 0, 0);

  Panel1 = new QWidget(Splitter1);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setMinimumHeight(350);
  auto* panelLayout = new QVBoxLayout(Panel1);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->setSpacing(0);
  PageControl1 = new QTabWidget(Panel1);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  for (const PageInfo& page : kPages) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QLatin1String(page.name));
    PageControl1->addTab(sheet, Tr(page.caption));
  }
  panelLayout->addWidget(PageControl1, 1);
  panelLayout->addWidget(BuildPanel7());
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);
  Splitter1->setSizes({690 - 350 - 3, 350});

  pnStd = BuildStandardPanel();
}

QWidget* TMOD00100Form1::BuildPanel7() {
  Panel7 = new QWidget(Panel1);
  Panel7->setObjectName(QStringLiteral("Panel7"));
  Panel7->setFixedHeight(39);
  Panel7->setProperty("tag", 1);
  auto* row = new QHBoxLayout(Panel7);
  row->setContentsMargins(8, 6, 8, 6);
  TntButton7 = new QPushButton(Tr(kStandardCaption), Panel7);
  TntButton7->setObjectName(QStringLiteral("TntButton7"));
  row->addWidget(TntButton7);
  btPreisauskunft = new QPushButton(Tr("Preisauskunft"), Panel7);
  btPreisauskunft->setObjectName(QStringLiteral("btPreisauskunft"));
  btPreisauskunft->setToolTip(Tr("Preisauskunft") + QStringLiteral(" (Ctrl+I)"));
  row->addWidget(btPreisauskunft);
  connect(btPreisauskunft, &QPushButton::clicked, this, &TMOD00100Form1::PreisauskunftClick);
  row->addStretch();
  InfoButton1 = new QPushButton(Tr("Beenden"), Panel7);
  InfoButton1->setObjectName(QStringLiteral("InfoButton1"));
  InfoButton1->setMinimumWidth(100);
  auto* hint = new QLabel(QStringLiteral("F12"), InfoButton1);
  hint->setObjectName(QStringLiteral("InfoButton1Hint"));
  QFont small = hint->font();
  small.setPointSize(6);
  hint->setFont(small);
  hint->move(3, 1);
  hint->setAttribute(Qt::WA_TransparentForMouseEvents);
  row->addWidget(InfoButton1);
  connect(InfoButton1, &QPushButton::clicked, this, &TMOD00100Form1::InfoButton1Click);
  return Panel7;
}

QFrame* TMOD00100Form1::BuildStandardPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("pnStd"));
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, Qt::white);
  panel->setPalette(palette);
  panel->setFrameShape(QFrame::Box);
  panel->setGeometry(160, 48, 665, 201);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 8);
  auto* title = new QLabel(Tr(kStandardCaption), panel);
  title->setObjectName(QStringLiteral("TntPanel2"));
  title->setProperty("tag", 5);
  title->setStyleSheet(QStringLiteral("color: white; font-weight: bold; padding: 4px;"));
  layout->addWidget(title);
  for (const char* line : {"Bearbeiten Sie nun wie gewohnt die Rabatt- und Preistabellen.",
                           "Standardrabatte fuer Rabattgruppen gelten  fuer alle Kunden ohne eigene Rabatttabelle.",
                           "Standardpreisgruppen gelten fuer alle Kunden ohne eigene Angaben zur Preisgruppe.",
                           "Standardartikelpreise und -rabatte gelten fuer alle Kunden ohne eigenen Preis oder "
                           "Rabatt fuer den jeweiligen Artikel.",
                           "Standardmengenrabatte gelten fuer alle Kunden ohne eigene Mengenrabatttabelle."}) {
    auto* label = new QLabel(Tr(line), panel);
    label->setContentsMargins(12, 0, 12, 0);
    layout->addWidget(label);
  }
  TntButton8 = new QPushButton(Tr("Fertig"), panel);
  TntButton8->setObjectName(QStringLiteral("TntButton8"));
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(TntButton8);
  row->addSpacing(12);
  layout->addLayout(row);
  panel->hide();
  return panel;
}

void TMOD00100Form1::InfoButton1Click() { close(); }

// Tab runs from the address frame through the pages to the buttons at the
// bottom, "Beenden" last; the frame and the pages are made after the
// bottom row, so the order of making would put "Beenden" between them.
void TMOD00100Form1::ArrangeTabOrder() {
  const auto rank = [this](QWidget* w) {
    if (w == InfoButton1) return 3;
    if (Panel7->isAncestorOf(w) || pnStd->isAncestorOf(w)) return 2;
    if (AddressArea->isAncestorOf(w)) return 0;
    return 1;
  };
  QList<QWidget*> chain;
  for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain())
    if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()) chain.append(w);
  std::stable_sort(chain.begin(), chain.end(), [&](QWidget* a, QWidget* b) { return rank(a) < rank(b); });
  for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

// The standard-tables notice keeps its margins and stretches with the window.
void TMOD00100Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  pnStd->resize(std::max(665, width() - (1024 - 665)), pnStd->height());
}

void TMOD00100Form1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}
