#include "PageButton.h"

#include <QLayout>

#include "DBAdressViewFrameUnit1.h"
#include "Translation.h"

QPushButton* AddPageButton(QWidget* row, const char* name, const char* caption,
                           std::function<TDBAdressViewFrame1*()> frame, std::function<void()> command) {
  auto* button = new QPushButton(Tr(caption), row);
  button->setObjectName(QLatin1String(name));
  if (row->layout()) row->layout()->addWidget(button);
  QObject::connect(button, &QPushButton::clicked, button, [frame = std::move(frame), command = std::move(command)] {
    const TSelectionHold hold(frame());
    command();
  });
  return button;
}
