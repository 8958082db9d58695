#include "NumberInput.h"

#include "Format.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "Translation.h"

QString NumberInputHint() {
  return FormatText(Tr("Bitte geben Sie eine Zahl ein, zum Beispiel %s."), {FormatGeneralNumber(17.5)});
}

void RefuseNumberInput() { MessageDlg(NumberInputHint(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}); }
