// Every test executable runs with an offscreen application and scripted
// dialogs, so that no test waits for a person.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

#include "ChildProcess.h"
#include "TestSupport.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int childExit = 0;
  if (RunChildProcessIfAsked(argc, argv, childExit)) return childExit;
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new SuiteTestEnvironment);
  return RUN_ALL_TESTS();
}
