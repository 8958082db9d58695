#include "AddressProgram.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "CommandLineSwitches.h"
#include "DBAdressConfig.h"
#include "DBAdressViewFrameUnit1.h"
#include "Msgdlg.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
// Room for the frame's grid columns; the default dialog is far too small for them.
constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 560;
constexpr int kPollMs = 50;
constexpr int kAutoChooseLimitMs = 10000;
constexpr int kScreenshotDelayMs = 500;

QString LeadingArgument(const QStringList& arguments, int index) {
  if (index >= arguments.size()) return QString();
  for (int i = 0; i <= index; ++i)
    if (arguments[i].startsWith(QLatin1Char('-'))) return QString();
  return arguments[index];
}
}  // namespace

TAddressProgramOptions TAddressProgramOptions::Parse(const QStringList& arguments) {
  TAddressProgramOptions options;
  options.Client = LeadingArgument(arguments, 0);
  options.User = LeadingArgument(arguments, 1);
  // "-ONE -GA" (one address, get it) always come with -TEMP; the file decides.
  options.TempFile = SwitchValue(QStringLiteral("-TEMP"), arguments);
  options.ShowId = SwitchValue(QStringLiteral("-SA"), arguments);
  options.Screenshot = SwitchValue(QStringLiteral("--screenshot"), arguments);
  return options;
}

TAddressProgram::TAddressProgram(const TAddressProgramOptions& options)
    : options_(options), config_(std::make_unique<TAddressConfig>()) {
  config_->LoadFromFile(TAddressConfig::FileNameIn(SystemEinstellungen()->AddressDir));
  BuildWindow();
}

TAddressProgram::~TAddressProgram() {
  if (frame_) frame_->Close();
}

void TAddressProgram::BuildWindow() {
  parts_ = TMakeDefaultForm::Make(TFormBorderStyle::bsSizeable);
  TDefaultForm* form = parts_.Form.get();
  form->setObjectName(QStringLiteral("MOD00200Form1"));
  const QString title = Tr(options_.Picking() ? "Adresse auswaehlen" : "Adresse anzeigen");
  form->setWindowTitle(options_.Client.isEmpty() ? title : options_.Client + QStringLiteral(" - ") + title);
  auto* layout = new QVBoxLayout(parts_.Panel);
  layout->setContentsMargins(0, 0, 0, 0);
  frame_ = new TDBAdressViewFrame1(parts_.Panel, config_.get());
  form->OnKeyPreview = [this](QKeyEvent* event) { return frame_->HandleKey(event->key(), event->modifiers()); };
  form->resize(kWindowWidth, kWindowHeight);
  InitMainForm(form, false);

  // "Uebernehmen" must take the row the user sees selected, also when its
  // record is still waiting for the selection delay.
  QObject::disconnect(parts_.OkButton, &QPushButton::clicked, form, nullptr);
  QObject::connect(parts_.OkButton, &QPushButton::clicked, form, [this] { OkClick(); });
  QObject::connect(frame_->SelectionTimer, &QTimer::timeout, form, [this] {
    if (acceptWhenLoaded_) parts_.Form->done(mrOk);
  });
  if (options_.Picking()) {
    frame_->OnAddressChosen = [this](TDBAdressViewFrame1*) { parts_.OkButton->click(); };
  } else {
    parts_.OkButton->hide();
    parts_.CancelButton->setText(Tr("Schliessen"));
  }
  // Without an address to show, the first one is selected (silently).
  const QString showId = options_.ShowId;
  QTimer::singleShot(0, form, [this, showId] { frame_->GotoAddress(showId); });
}

void TAddressProgram::OkClick() {
  if (frame_->SelectionTimer && frame_->SelectionTimer->isActive()) {
    acceptWhenLoaded_ = true;  // the timer's own handler loads the record first
    return;
  }
  parts_.Form->done(mrOk);
}

void TAddressProgram::AutoChoose(const QString& idOrCancel) {
  TDefaultForm* form = parts_.Form.get();
  if (idOrCancel.compare(QStringLiteral("cancel"), Qt::CaseInsensitive) == 0) {
    QTimer::singleShot(0, form, [this] { parts_.CancelButton->click(); });
    return;
  }
  QTimer::singleShot(0, form, [this, idOrCancel] {
    frame_->GotoAddress(idOrCancel);
    WaitForRecord(idOrCancel);
  });
}

// The selection loads after the frame's delay; watch for the record and
// press "Uebernehmen" then (or after a generous limit, whatever is loaded).
void TAddressProgram::WaitForRecord(const QString& id) {
  auto* poll = new QTimer(parts_.Form.get());
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  QObject::connect(poll, &QTimer::timeout, poll, [this, poll, id, started] {
    const TCustomerAddress* current = frame_->CurrentAddress.get();
    const bool loaded = current && current->Id.compare(id, Qt::CaseInsensitive) == 0 &&
                        !frame_->SelectionTimer->isActive();
    if (!loaded && started->elapsed() < kAutoChooseLimitMs) return;
    poll->stop();
    poll->deleteLater();
    parts_.OkButton->click();
  });
  poll->start(kPollMs);
}

void TAddressProgram::ScheduleScreenshot() {
  const QString file = options_.Screenshot;
  QTimer::singleShot(kScreenshotDelayMs, parts_.Form.get(), [this, file] {
    exitCode_ = parts_.Form->grab().save(file, "PNG") ? 0 : 1;
    parts_.Form->done(mrCancel);
  });
}

int TAddressProgram::Exec() {
  if (!options_.Screenshot.isEmpty()) ScheduleScreenshot();
  const int result = parts_.Form->exec();
  if (options_.Picking() && result == mrOk && HasChoice() && !WriteChoice()) {
    // The caller would otherwise take "nothing chosen" for the user's cancel.
    MessageDlgFmt(Tr("Die gewaehlte Adresse konnte nicht in die Datei \"%s\" geschrieben werden."),
                  {options_.TempFile}, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return 1;
  }
  return exitCode_;
}

bool TAddressProgram::HasChoice() const {
  const TCustomerAddress* current = frame_->CurrentAddress.get();
  return current && !current->Id.isEmpty();
}

bool TAddressProgram::WriteChoice() {
  if (!HasChoice()) return false;
  TCustomerAddressList list;
  list.Items.Add(std::make_unique<TCustomerAddress>())->CopyFrom(*frame_->CurrentAddress);
  return list.SaveToFile(options_.TempFile);
}
