#pragma once
// Shared pieces of the fuzz targets. The targets compile with any compiler:
// libFuzzer drives them in build-fuzz/, a plain main (RegressionMain.cpp)
// feeds them the kept inputs in the normal test run.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

// A broken property: abort, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition)) FuzzFailed(#condition, __FILE__, __LINE__); \
  } while (0)
[[noreturn]] void FuzzFailed(const char* condition, const char* file, int line);

// Once per process: dialogs that answer at once, reports kept quiet.
void FuzzSetUp();

// A file in the process's own temporary folder (made on first use).
QString FuzzTempPath(const QString& name);
// Writes the bytes to that file; the same path is reused for every input.
QString FuzzWriteTemp(const QString& name, const QByteArray& bytes);

// The input after its first byte, which picks the reader.
struct FuzzSelected {
  uint8_t selector = 0;
  QByteArray rest;
};
FuzzSelected FuzzSelect(const uint8_t* data, size_t size);

// The whole entry of a target with several readers: set up, then the check
// that the first byte picks gets the rest of the input.
using FuzzCheck = void (*)(const QByteArray& bytes);
int FuzzDispatch(const uint8_t* data, size_t size, std::initializer_list<FuzzCheck> checks);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
