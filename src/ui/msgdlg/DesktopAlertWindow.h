#pragma once
// A small notice in the lower right corner of the desktop that fades after a
// few seconds. It never takes the focus, so typing goes on where it was.
#include <QWidget>

class TDesktopAlertWindow : public QWidget {
 public:
  static void Show(const QString& title, const QString& text, int milliseconds = 2500);

 private:
  TDesktopAlertWindow(const QString& title, const QString& text);
};
