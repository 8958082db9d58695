#include "TakeOverProgress.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Translation.h"

namespace {
constexpr int kUpdateMs = 40;
}

TTakeOverProgress::TTakeOverProgress(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TakeOverProgress"));
  setWindowTitle(Tr("Artikel werden uebernommen"));
  setWindowModality(Qt::ApplicationModal);  // nothing else is edited meanwhile
  auto* layout = new QVBoxLayout(this);
  CountLabel = new QLabel(this);
  CountLabel->setObjectName(QStringLiteral("CountLabel"));
  CountLabel->setMinimumWidth(260);
  layout->addWidget(CountLabel);
  CancelButton = new QPushButton(Tr("Abbrechen"), this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
  connect(CancelButton, &QPushButton::clicked, this, [this] { Cancel(); });
  Show(0);
  show();
  sinceUpdate_.start();
  QApplication::processEvents();
}

bool TTakeOverProgress::Step(qint64 taken) {
  if (sinceUpdate_.elapsed() >= kUpdateMs) {
    Show(taken);
    QApplication::processEvents();
    sinceUpdate_.restart();
  }
  return !cancelled_;
}

void TTakeOverProgress::Show(qint64 taken) {
  CountLabel->setText(Tr("%1 Artikel uebernommen").arg(taken));
  if (OnUpdate) OnUpdate(taken);
}
