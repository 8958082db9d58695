#include "ExchangeFileDialog.h"

#include "Translation.h"
#include "TypeUnit.h"

FileDialogRequest ExchangeFileDialog(bool forOpening) {
  FileDialogRequest request;
  request.title = Tr("Waehlen Sie eine Datei aus!");
  request.directory = SystemEinstellungen() ? SystemEinstellungen()->ClientEtcDir : QString();
  request.defaultExtension = QStringLiteral("TXT");
  request.filter = Tr("Textdatei") + QStringLiteral(" (*.TXT)");
  request.mustExist = forOpening;
  return request;
}
