#include "UKATKatalogAuswahl.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Format.h"
#include "KatalogTypes.h"
#include "MOD00200Helper.h"
#include "Msgdlg.h"
#include "PathUtils.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "SelectionWindowParts.h"

namespace {
enum TreeColumn { tcBeschreibung, tcArt, tcLieferant };
constexpr int kIndexRole = Qt::UserRole;

void Tell(const QString& text, TMsgDlgType type = TMsgDlgType::mtInformation) {
  MessageDlg(text, type, {TMsgDlgBtn::mbOK});
}

QString ProgramDir() { return SystemEinstellungen() ? SystemEinstellungen()->BinDir : QString(); }
}  // namespace

// ---- the frame

TUKATKatalogAuswahlFrame::TUKATKatalogAuswahlFrame(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("UKATKatalogAuswahlFrame"));
  if (const TSystemEinstellungen* s = SystemEinstellungen()) {
    KatalogDir = NormalizePath(s->AreaDir(TAreaDir::Kataloge), true);
    LagerDir = NormalizePath(s->AreaDir(TAreaDir::Lager), true);
  }
  PickAddress = [] {
    const QString tempDir = BenutzerEinstellungen() ? BenutzerEinstellungen()->UserTmpDir : QDir::tempPath();
    return TMOD00200Helper::StartAddressPicker(ProgramDir(), tempDir, {});
  };
  ShowAddress = [](const QString& id) { TMOD00200Helper::ShowAddressInProgram(id, ProgramDir(), {}); };
  BuildControls();
}

void TUKATKatalogAuswahlFrame::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Tree = new QTreeWidget(this);
  Tree->setObjectName(QStringLiteral("Tree"));
  Tree->setHeaderLabels({Tr("Beschreibung"), Tr("Katalogart"), Tr("Lieferant")});
  Tree->header()->resizeSection(tcBeschreibung, 200);
  Tree->header()->resizeSection(tcArt, 120);
  Tree->setRootIsDecorated(true);
  layout->addWidget(Tree, 1);
  lbAdresse = new QLabel(this);
  lbAdresse->setObjectName(QStringLiteral("lbAdresse"));
  lbAdresse->setTextFormat(Qt::RichText);
  lbAdresse->hide();
  layout->addWidget(lbAdresse);
  auto* buttons = new QHBoxLayout;
  btNeu = NewSelectionButton(this, "btNeu", "Neu");
  btLoeschen = NewSelectionButton(this, "btLoeschen", "Loeschen");
  btAdresse = NewSelectionButton(this, "btAdresse", "Adresse aendern");
  for (QPushButton* b : {btNeu, btLoeschen, btAdresse}) buttons->addWidget(b);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  connect(btNeu, &QPushButton::clicked, this, &TUKATKatalogAuswahlFrame::btNeuClick);
  connect(btLoeschen, &QPushButton::clicked, this, &TUKATKatalogAuswahlFrame::btLoeschenClick);
  connect(btAdresse, &QPushButton::clicked, this, &TUKATKatalogAuswahlFrame::btAdresseClick);
  connect(Tree, &QTreeWidget::currentItemChanged, this, &TUKATKatalogAuswahlFrame::ShowAddressLink);
  connect(Tree, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (SelectedItem()) emit Confirmed();
  });
  connect(lbAdresse, &QLabel::linkActivated, this, [this] {
    if (const TUKATKatalogAuswahlItem* item = SelectedItem()) ShowAddress(item->Lieferant.Nr);
  });
}

// ---- the list

QString TUKATKatalogAuswahlFrame::DirectoryOf(const TUKATKatalogAuswahlItem& item) const {
  if (item.KatalogTyp == katalogtyp::Lager) return LagerDir;
  return NormalizePath(JoinPath(KatalogDir, item.Katalog), true);
}

void TUKATKatalogAuswahlFrame::Fill() {
  Items.Clear();
  Tree->clear();
  if (KatalogMaske & katalogmaske::Lager) {
    auto item = std::make_unique<TUKATKatalogAuswahlItem>();
    item->ReadFromDirectory(katalogtyp::LagerKey(), LagerDir, katalogtyp::Lager);
    Items.Add(std::move(item));
  }
  for (const QString& name : CatalogueDirectoryNames(KatalogDir)) {
    const QString dir = NormalizePath(JoinPath(KatalogDir, name), true);
    const std::uint8_t type = TUKATKatalogTypeHelper::GetCatalogType(dir);
    // Only the three catalogue kinds: a stray warehouse or an unknown directory is no choice.
    if (type > katalogtyp::Eldanorm || !(KatalogMaske & (1 << type))) continue;
    auto item = std::make_unique<TUKATKatalogAuswahlItem>();
    item->ReadFromDirectory(name, dir, type);
    Items.Add(std::move(item));
  }
  auto* root = new QTreeWidgetItem(Tree, {Tr("Vorhandene Kataloge")});
  for (int i = 0; i < Items.Count(); ++i) AddRow(root, i);
  root->setExpanded(true);
  ShowAddressLink();
}

void TUKATKatalogAuswahlFrame::AddRow(QTreeWidgetItem* root, int index) {
  const TUKATKatalogAuswahlItem& item = *Items[index];
  const bool lager = item.KatalogTyp == katalogtyp::Lager;
  const QString description = lager ? Tr("Lager") : (item.Beschreibung.isEmpty() ? item.Katalog : item.Beschreibung);
  auto* row = new QTreeWidgetItem(root, {description, katalogtyp::KindName(item.KatalogTyp), item.Lieferant.Nr});
  row->setData(tcBeschreibung, kIndexRole, index);
}

TUKATKatalogAuswahlItem* TUKATKatalogAuswahlFrame::SelectedItem() {
  const QTreeWidgetItem* row = Tree->currentItem();
  if (!row || !row->data(tcBeschreibung, kIndexRole).isValid()) return nullptr;
  const int index = row->data(tcBeschreibung, kIndexRole).toInt();
  return index >= 0 && index < Items.Count() ? Items[index] : nullptr;
}

bool TUKATKatalogAuswahlFrame::Select(const QString& katalog) {
  const int index = Items.IndexOfKatalog(katalog);
  if (index < 0 || Tree->topLevelItemCount() == 0) return false;
  Tree->setCurrentItem(Tree->topLevelItem(0)->child(index));
  return true;
}

void TUKATKatalogAuswahlFrame::ShowAddressLink() {
  const TUKATKatalogAuswahlItem* item = SelectedItem();
  if (!item || item->Lieferant.Nr.isEmpty()) {
    lbAdresse->hide();
    return;
  }
  const QString text = FormatText(Tr("Adresse \"%s\" oeffnen."), {item->Lieferant.Nr});
  lbAdresse->setText(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()));
  lbAdresse->show();
}

// ---- management

bool TUKATKatalogAuswahlFrame::Permitted(const char* code, const char* refusal) const {
  const TBenutzerEinstellungen* user = BenutzerEinstellungen();
  if (user && !user->LacksPermission(QLatin1String(code))) return true;
  Tell(Tr(refusal));
  return false;
}

bool TUKATKatalogAuswahlFrame::AskNewName(QString& name) {
  if (!Dialogs().InputQuery({Tr("Neu"), Tr("Katalogname"), QString()}, name)) return false;
  name = name.trimmed();
  if (name.isEmpty()) return false;
  if (name.compare(katalogtyp::LagerKey(), Qt::CaseInsensitive) == 0) {
    Tell(Tr("Der Katalogname \"LAGER\" ist reserviert !"), TMsgDlgType::mtWarning);
    return false;
  }
  // The name becomes a directory: it must stay below the catalogue area.
  if (!IsSafePathComponent(name)) {
    Tell(FormatText(Tr("Der Katalogname \"%s\" ist ungueltig !"), {name}), TMsgDlgType::mtWarning);
    return false;
  }
  if (QDir(JoinPath(KatalogDir, name)).exists()) {
    Tell(FormatText(Tr("Der Katalog \"%s\" existiert bereits !"), {name}), TMsgDlgType::mtWarning);
    return false;
  }
  return true;
}

void TUKATKatalogAuswahlFrame::btNeuClick() {
  if (!Permitted(kPermCreateCatalogues, "Sie sind nicht berechtigt, Kataloge neu anzulegen !")) return;
  QString name, description;
  if (!AskNewName(name)) return;
  if (!Dialogs().InputQuery({Tr("Neu"), Tr("Beschreibung"), QString()}, description)) return;
  const QString dir = JoinPath(KatalogDir, name);
  if (!QDir().mkpath(dir) ||
      !TUKATKatalogTypeHelper::WriteCatalogInfo(dir, description.trimmed(), katalogtyp::Einfach)) {
    Tell(FormatText(Tr("Der Katalog \"%s\" konnte nicht angelegt werden."), {name}), TMsgDlgType::mtError);
    return;
  }
  Fill();
  Select(name);
  Tell(Tr("Weisen Sie dem Katalog nun einen Lieferanten zu."));
  btAdresseClick();
}

void TUKATKatalogAuswahlFrame::btLoeschenClick() {
  if (!Permitted(kPermDeleteCatalogues, "Sie sind nicht berechtigt, Kataloge zu loeschen !")) return;
  const TUKATKatalogAuswahlItem* item = SelectedItem();
  if (!item || item->KatalogTyp == katalogtyp::Lager) return;
  const QString question = FormatText(Tr("Wollen Sie den Katalog \"%s\" wirklich loeschen ?"), {item->Katalog});
  if (MessageDlg(question, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != mrYes) return;
  QDir(DirectoryOf(*item)).removeRecursively();
  Fill();
}

void TUKATKatalogAuswahlFrame::btAdresseClick() {
  TUKATKatalogAuswahlItem* item = SelectedItem();
  if (!item || item->KatalogTyp == katalogtyp::Lager) return;
  const std::unique_ptr<TCustomerAddress> address = PickAddress ? PickAddress() : nullptr;
  if (!address) return;
  const QString katalog = item->Katalog;
  item->Lieferant.Nr = address->Id;
  QString error;
  if (!item->WriteToDirectory(DirectoryOf(*item), &error)) Tell(error, TMsgDlgType::mtError);
  Fill();
  Select(katalog);
}

// ---- the dialog

TUKATKatalogAuswahl::TUKATKatalogAuswahl(QWidget* parent) : TDefaultForm(parent) {
  setObjectName(QStringLiteral("UKATKatalogAuswahl"));
  setWindowTitle(QStringLiteral("[KAT - 01] - ") + Tr("Katalogauswahl"));
  const TDefaultFormControls parts = TMakeDefaultForm::Furnish(*this, TFormBorderStyle::bsSizeable);
  btOeffnen = parts.OkButton;
  btOeffnen->setText(Tr("Oeffnen"));
  btOeffnen->setDefault(true);  // Enter
  // Confirming needs an entry: the button goes through accept.
  disconnect(btOeffnen, &QPushButton::clicked, nullptr, nullptr);
  connect(btOeffnen, &QPushButton::clicked, this, &TUKATKatalogAuswahl::accept);
  btAbbrechen = parts.CancelButton;
  auto* layout = new QVBoxLayout(parts.Panel);
  layout->setContentsMargins(4, 4, 4, 4);
  Frame = new TUKATKatalogAuswahlFrame(parts.Panel);
  layout->addWidget(Frame);
  resize(520, 400);
  connect(Frame, &TUKATKatalogAuswahlFrame::Confirmed, this, &TUKATKatalogAuswahl::accept);
}

void TUKATKatalogAuswahl::accept() {
  if (!Frame->SelectedItem()) {
    Tell(Tr("Es wurde kein Katalog ausgewaehlt."));
    return;
  }
  done(mrOk);
}

bool TUKATKatalogAuswahl::Execute(QString& katalog, bool excludeWarehouse) {
  TUKATKatalogAuswahl dialog(QApplication::activeWindow());
  for (QPushButton* b : {dialog.Frame->btNeu, dialog.Frame->btLoeschen, dialog.Frame->btAdresse}) b->hide();
  dialog.Frame->KatalogMaske = katalogmaske::Einfach | katalogmaske::Datanorm | katalogmaske::Eldanorm |
                               (excludeWarehouse ? 0 : katalogmaske::Lager);
  dialog.Frame->Fill();
  if (dialog.exec() != mrOk) return false;
  katalog = dialog.Frame->SelectedItem()->Katalog;
  return true;
}
