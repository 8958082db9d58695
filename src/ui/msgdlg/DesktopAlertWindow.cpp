#include "DesktopAlertWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QPointer<TDesktopAlertWindow>& Current() {
  static QPointer<TDesktopAlertWindow> current;
  return current;
}
}  // namespace

TDesktopAlertWindow::TDesktopAlertWindow(const QString& title, const QString& text)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("DesktopAlert"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_DeleteOnClose);
  setFocusPolicy(Qt::NoFocus);
  setStyleSheet(QStringLiteral("QWidget#DesktopAlert { background: #FFFFE1; border: 1px solid #848284; }"));
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(title, this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  layout->addWidget(new QLabel(text, this));
  adjustSize();
  resize(std::max(width(), 220), height());
}

void TDesktopAlertWindow::Show(const QString& title, const QString& text, int milliseconds) {
  if (Current()) Current()->close();  // one alert at a time: the newest counts
  auto* alert = new TDesktopAlertWindow(title, text);
  Current() = alert;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    alert->move(area.right() - alert->width() - 16, area.bottom() - alert->height() - 16);
  }
  alert->show();
  QTimer::singleShot(milliseconds, alert, &QWidget::close);
}
