#include "LagerArtikelFrame1.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Format.h"
#include "NumberText.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
QString PriceText(Currency amount) {
  if (const TSystemEinstellungen* system = SystemEinstellungen()) return system->FormatCurrencyText(amount);
  return FormatGeneralNumber(CurrencyToDouble(amount));
}

double VatRate(int vatKind) {
  const TSystemEinstellungen* system = SystemEinstellungen();
  return system ? system->GetMwSt(vatKind) : 0.0;
}

Currency Rounded(Currency amount) {
  const TSystemEinstellungen* system = SystemEinstellungen();
  return system ? system->RoundCurrency(amount) : amount;
}

QString DayMonth(const QString& ddmm) { return ddmm.left(2) + u'.' + ddmm.mid(2, 2) + u'.'; }

QString StoredNumber(const QString& text) { return FormatGeneralNumber(ReadFloatLenient(text, 0)); }

QListWidget* NewList(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setMaximumHeight(90);
  return list;
}
}  // namespace

QString MinBestandText(const QString& line) {
  static const QRegularExpression period(QStringLiteral(
      "<from>(\\d{4})</from><to>(\\d{4})</to><mb>([^<]*)</mb><bm>([^<]*)</bm>"));
  const QRegularExpressionMatch m = period.match(line);
  if (!m.hasMatch()) return QString();
  return FormatText(Tr("Vom %s bis %s : %s - %s"),
                    {DayMonth(m.captured(1)), DayMonth(m.captured(2)), StoredNumber(m.captured(3)),
                     StoredNumber(m.captured(4))});
}

// ---- frame

TLagerArtikelFrame1::TLagerArtikelFrame1(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("LagerArtikelFrame1"));
  auto* columns = new QHBoxLayout(this);
  auto* left = new QFormLayout;
  edNr = AddField(left, "edNr", "Lagerartikel-Nr.");
  edKatalog = AddField(left, "edKatalog", "Lieferanten-Katalog");
  edBezeichnung = AddField(left, "edBezeichnung", "Bezeichnung");
  edME = AddField(left, "edME", "Einheit");
  edEAN = AddField(left, "edEAN", "EAN");
  edGruppe = AddField(left, "edGruppe", "Gruppe");
  edLagerort = AddField(left, "edLagerort", "Lagerort");
  cbRabattgruppe = new QComboBox(this);
  cbRabattgruppe->setObjectName(QStringLiteral("cbRabattgruppe"));
  cbRabattgruppe->setEnabled(false);
  left->addRow(Tr("Rabattgruppe"), cbRabattgruppe);
  edEKPreis = AddField(left, "edEKPreis", "EK-Preis");
  edVKZuschlag = AddField(left, "edVKZuschlag", "VK-Zuschlag");
  edPE = AddField(left, "edPE", "Preiseinheit");
  columns->addLayout(left, 1);

  auto* right = new QFormLayout;
  tbPreise = new QTableWidget(5, 3, this);
  tbPreise->setObjectName(QStringLiteral("tbPreise"));
  tbPreise->setHorizontalHeaderLabels({Tr("Netto"), Tr("MwSt"), Tr("Brutto")});
  tbPreise->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tbPreise->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (int p = 0; p < 5; ++p)
    tbPreise->setVerticalHeaderItem(p, new QTableWidgetItem(FormatText(Tr("VK-Preis %d"), {p + 1})));
  right->addRow(tbPreise);
  lbMinBestand = NewList(this, "lbMinBestand");
  right->addRow(Tr("Mindestbestand"), lbMinBestand);
  lbLieferanten = NewList(this, "lbLieferanten");
  right->addRow(Tr("Lieferanten"), lbLieferanten);
  lbZusatzfelder = NewList(this, "lbZusatzfelder");
  right->addRow(Tr("Zusatzfelder"), lbZusatzfelder);
  columns->addLayout(right, 1);
}

QLineEdit* TLagerArtikelFrame1::AddField(QFormLayout* form, const char* name, const char* label) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setReadOnly(true);
  form->addRow(Tr(label), edit);
  return edit;
}

void TLagerArtikelFrame1::ShowArticle(const TLagerServerObj& a, const TLagerConfig& config) {
  edNr->setText(a.LagerArtikelNr);
  edKatalog->setText(a.Katalog);
  edBezeichnung->setText(a.Bezeichnung);
  edME->setText(a.ME);
  edEAN->setText(a.EAN);
  edGruppe->setText(a.Gruppe);
  edLagerort->setText(a.Lagerort);
  QStringList groups;
  config.FillRabattGruppen(groups);
  cbRabattgruppe->clear();
  cbRabattgruppe->addItems(groups);
  int group = -1;
  for (int i = 0; i < config.Rabattgruppen.Count() && group < 0; ++i)
    if (config.Rabattgruppen[i]->First == a.Rabattgruppen) group = i;
  // A group that is no longer predefined still shows as stored.
  if (group < 0 && !a.Rabattgruppen.isEmpty()) {
    cbRabattgruppe->addItem(a.Rabattgruppen);
    group = cbRabattgruppe->count() - 1;
  }
  cbRabattgruppe->setCurrentIndex(group);
  edEKPreis->setText(PriceText(a.EKPreis));
  edVKZuschlag->setText(FormatGeneralNumber(a.VKZuschlag));
  edPE->setText(QString::number(a.Pe));
  ShowPrices(a);
  ShowExtras(a);
}

void TLagerArtikelFrame1::ShowPrices(const TLagerServerObj& a) {
  const double rate = VatRate(a.MwStSatz);
  for (int p = 0; p < 5; ++p) {
    const Currency net = a.Vkp[size_t(p)];
    const Currency vat = Rounded(CurrencyFromDouble(CurrencyToDouble(net) * rate / 100.0));
    const Currency cells[] = {net, vat, net + vat};
    for (int c = 0; c < 3; ++c) {
      auto* item = new QTableWidgetItem(PriceText(cells[c]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      tbPreise->setItem(p, c, item);
    }
  }
}

void TLagerArtikelFrame1::ShowExtras(const TLagerServerObj& a) {
  lbMinBestand->clear();
  for (const QString& line : a.MinDB)
    if (const QString text = MinBestandText(line); !text.isEmpty()) lbMinBestand->addItem(text);
  lbLieferanten->clear();
  for (const TDoubleString& ref : a.KatRefs) lbLieferanten->addItem(ref.First + QStringLiteral(": ") + ref.Second);
  lbZusatzfelder->clear();
  const std::pair<const char*, double> numbers[] = {
      {"Gewicht", a.Gew}, {"Laenge", a.Laenge}, {"Breite", a.Breite}, {"Dicke", a.Dicke}, {"Volumen", a.Vol}};
  for (const auto& [label, value] : numbers)
    if (value != 0) lbZusatzfelder->addItem(Tr(label) + QStringLiteral(": ") + FormatGeneralNumber(value));
  const std::pair<const char*, QString> texts[] = {{"Kurztext", a.Kt}, {"Langtext", a.Lt}};
  for (const auto& [label, value] : texts)
    if (!value.isEmpty()) lbZusatzfelder->addItem(Tr(label) + QStringLiteral(": ") + value);
}

// ---- form

TMOD00300Form2::TMOD00300Form2(const TLagerServerObj& article, const TLagerConfig& config, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("MOD00300Form2"));
  setWindowTitle(Tr("Lagerartikel anzeigen"));
  auto* layout = new QVBoxLayout(this);
  Frame = new TLagerArtikelFrame1(this);
  Frame->ShowArticle(article, config);
  layout->addWidget(Frame, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  btSchliessen = new QPushButton(Tr("Schliessen"), this);
  btSchliessen->setObjectName(QStringLiteral("btSchliessen"));
  btSchliessen->setDefault(true);
  buttons->addWidget(btSchliessen);
  layout->addLayout(buttons);
  connect(btSchliessen, &QPushButton::clicked, this, &QDialog::accept);
  resize(820, 520);
}
