#pragma once
// What the user is told when typed text is not a plain number.
#include <QString>

// "Bitte geben Sie eine Zahl ein, zum Beispiel 17,5." with the locale's separator.
QString NumberInputHint();
// Shows the hint as an error message.
void RefuseNumberInput();
