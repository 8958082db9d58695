#pragma once
// Multi-process tests: a test executable started as
//   <test executable> --child NAME ARGS...
// runs the child function registered under NAME instead of the tests.
//   SUITE_CHILD_PROCESS(lock_counter) { ...; return 0; }   // args: QStringList
// and StartChild("lock_counter", {...}) starts it from a test.
#include <QProcess>
#include <QStringList>
#include <functional>
#include <memory>

using ChildMain = std::function<int(const QStringList& args)>;

bool RegisterChildProcess(const char* name, ChildMain main);
// Runs the child named in argv when argv[1] is "--child"; returns true and the exit code then.
bool RunChildProcessIfAsked(int argc, char** argv, int& exitCode);

// Starts this test executable as the named child; the process is started
// (waitForStarted) when returned.
std::unique_ptr<QProcess> StartChild(const QString& name, const QStringList& args = {});
// Starts, waits (up to timeoutMs) and returns the exit code (-1 on crash or time-out).
int RunChild(const QString& name, const QStringList& args = {}, int timeoutMs = 60000);

#define SUITE_CHILD_PROCESS(name)                                                          \
  static int SuiteChild_##name(const QStringList& args);                                   \
  [[maybe_unused]] static const bool SuiteChildRegistered_##name =                         \
      RegisterChildProcess(#name, &SuiteChild_##name);                                     \
  static int SuiteChild_##name([[maybe_unused]] const QStringList& args)
