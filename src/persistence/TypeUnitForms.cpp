// The look that every window of the suite gets at start-up: the client's
// colour scheme on tagged controls and the window geometry.
#include <QApplication>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include "MemIniFile.h"
#include "Msgdlg.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "TypeUnitState.h"

namespace {
constexpr quint32 kBtnFace = 0x8000000F;

TColorScheme LoadColorScheme(const TMemIniFile& ini, const QString& client) {
  TColorScheme scheme;
  const QString section = QStringLiteral("Colors-") + client;
  scheme.Name = ini.ReadString(section, QStringLiteral("Name"), Tr("Standard"));
  const quint32 defaults[6] = {kBtnFace, kBtnFace, kBtnFace, 0xF7DFD6, 0x848284, kBtnFace};
  for (int i = 0; i < 6; ++i)
    scheme.Colors[i] = static_cast<quint32>(
        ini.ReadInteger(section, QStringLiteral("Color%1").arg(i + 1), static_cast<int>(defaults[i])));
  scheme.ScreenResolution = ini.ReadInteger(QStringLiteral("Screenresolution"), QStringLiteral("Forms"), 1);
  return scheme;
}

QRect WorkArea() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 690);
}

void CentreOnScreen(QWidget* form) {
  const QRect area = WorkArea();
  form->move(area.center() - QPoint(form->width() / 2, form->height() / 2));
}

void PrepareWidget(QWidget* form) {
  form->setFont(QFont(MsgDlgFonts().dialogFontName, MsgDlgFonts().dialogFontSize));
  ApplyColorScheme(form);
}

void SizeMainWindow(QWidget* form, int mode) {
  if (mode == 0) {
    form->resize(1024, 690);
    CentreOnScreen(form);
  } else if (mode == 1) {
    form->setGeometry(WorkArea());
  }
}

TDefaultRect ComputeDefaultRect(const QWidget* mainForm, int mode) {
  TDefaultRect rect;
  const QRect area = WorkArea();
  if (area.width() >= 1024) {
    if (mode == 0) {
      rect = {true, mainForm->x(), mainForm->y(), mainForm->height(), mainForm->width()};
    } else if (mode == 1 || mode == 2) {
      rect = {true, area.left(), area.top(), area.height(), area.width()};
    }
  } else {
    rect = {true, area.left(), area.top(), 690, 1024};
  }
  return rect;
}
}  // namespace

// The two system colours the scheme uses by default map to the palette.
QColor WindowsColorToQColor(quint32 color) {
  if (color & 0x80000000u) {
    const QPalette palette = QApplication::palette();
    switch (color & 0xFF) {
      case 0x05: return palette.color(QPalette::Base);        // window background
      case 0x0F: return palette.color(QPalette::Button);      // button face
      case 0x10: return palette.color(QPalette::Dark);        // button shadow
      case 0x14: return palette.color(QPalette::Light);       // button highlight
      case 0x0D: return palette.color(QPalette::Highlight);
      default: return palette.color(QPalette::Window);
    }
  }
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void ApplyColorScheme(QWidget* root) {
  const TColorScheme& scheme = ColorScheme();
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  for (QWidget* w : widgets) {
    const int tag = w->property("tag").toInt();
    if (tag < 1 || tag > 5) continue;
    w->setProperty("tag", 0);
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, WindowsColorToQColor(scheme.Colors[tag - 1]));
    w->setPalette(palette);
    w->setAutoFillBackground(true);
  }
}

void InitMainForm(QWidget* form, bool isMainWindow) {
  TBenutzerEinstellungen* user = BenutzerEinstellungen();
  if (user) {
    // The per-user file stays open for the run, as the global one does.
    TypeUnitState& state = TypeUnitGlobals();
    state.userAppIni = std::make_unique<TMemIniFile>(user->UserEtcDir + QStringLiteral("APPLICATION.INI"));
    const TSystemEinstellungen* system = SystemEinstellungen();
    state.scheme = LoadColorScheme(*state.userAppIni, system ? system->Mandant : QString());
  }
  PrepareWidget(form);
  const int mode = ColorScheme().ScreenResolution;
  if (isMainWindow) {
    SizeMainWindow(form, mode);
  } else {
    CentreOnScreen(form);
  }
  TypeUnitGlobals().defaultRect = ComputeDefaultRect(form, mode);
}

void InitChildForm(QWidget* form, bool useDefaultRect) {
  PrepareWidget(form);
  const TDefaultRect& rect = DefaultRect();
  if (useDefaultRect && rect.set) {
    form->setGeometry(rect.left, rect.top, rect.width, rect.height);
  } else {
    CentreOnScreen(form);
  }
}

void InitFrame(QWidget* frame) { PrepareWidget(frame); }
