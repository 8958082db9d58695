#pragma once
// The open and save dialogs of the exchange files (discount groups,
// quantity discounts): text files in the client's settings directory.
#include "Msgdlg.h"

FileDialogRequest ExchangeFileDialog(bool forOpening);
