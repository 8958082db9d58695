#pragma once
// The command buttons of the pages.
#include <QPushButton>
#include <functional>

class QWidget;
class TDBAdressViewFrame1;

// Adds a button with its translated caption to the row's layout. Its command
// keeps the address it was pressed for: the frame's pending selection waits
// until the command (and any dialog it shows) is done. The frame is read at
// the click, as the window hands it to the pages after they are made.
QPushButton* AddPageButton(QWidget* row, const char* name, const char* caption,
                           std::function<TDBAdressViewFrame1*()> frame, std::function<void()> command);

// The same for a page's frame field (a plain or a guarded pointer).
template <class FramePointer>
QPushButton* AddPageButton(QWidget* row, const char* name, const char* caption, const FramePointer* frame,
                           std::function<void()> command) {
  return AddPageButton(row, name, caption, [frame]() -> TDBAdressViewFrame1* { return *frame; }, std::move(command));
}
