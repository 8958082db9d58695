// Every test executable runs with an offscreen application and scripted
// dialogs, so that no test waits for a person.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <clocale>
#include <cstdio>

#include "ChildProcess.h"
#include "TestSupport.h"

namespace {
// A run registered for a process locale gets it through the environment, as
// a program started from a desktop does; child processes inherit it.
void UseTestLocale(const QByteArray& locale) {
  qputenv("LANG", locale);
  qputenv("LC_ALL", locale);
  const QByteArray generated = SUITE_TEST_LOCPATH;
  if (!generated.isEmpty() && QDir(QString::fromUtf8(generated + '/' + locale)).exists()) qputenv("LOCPATH", generated);
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QByteArray wanted = qgetenv("SUITE_TEST_LOCALE");
  if (!wanted.isEmpty()) UseTestLocale(wanted);
  QApplication app(argc, argv);
  // The application object has just set LC_NUMERIC from the environment.
  const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
  if (!wanted.isEmpty() && wanted != numeric) {
    std::fprintf(stderr, "process locale %s expected, LC_NUMERIC is %s\n", wanted.constData(), numeric);
    return 1;
  }
  int childExit = 0;
  if (RunChildProcessIfAsked(argc, argv, childExit)) return childExit;
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new SuiteTestEnvironment);
  return RUN_ALL_TESTS();
}
