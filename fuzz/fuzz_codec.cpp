// The text codec: byte-order-mark detection, UTF-16 (either order), UTF-8
// and Windows-1252 decoding, line splitting, and the file round trip.
#include "FuzzSupport.h"
#include "TextFile.h"

namespace {
// What is written and read again is what was read.
void CheckRoundTrip(const QString& text) {
  FUZZ_CHECK(DecodeText(EncodeText(text)) == text);
  const QStringList lines = SplitLines(text);
  FUZZ_CHECK(SplitLines(JoinLines(lines)) == lines);
}

void ThroughFiles(const QByteArray& bytes) {
  const QString path = FuzzWriteTemp(QStringLiteral("codec.txt"), bytes);
  QString text;
  FUZZ_CHECK(ReadTextFile(path, text));
  FUZZ_CHECK(text == DecodeText(bytes));
  QStringList lines;
  FUZZ_CHECK(ReadTextLines(path, lines));
  FUZZ_CHECK(lines == SplitLines(text));
  const QString copy = FuzzTempPath(QStringLiteral("codec-copy.txt"));
  FUZZ_CHECK(WriteTextLines(copy, lines));
  QStringList again;
  FUZZ_CHECK(ReadTextLines(copy, again));
  FUZZ_CHECK(again == lines);
}
void CheckDetected(const QByteArray& bytes) { CheckRoundTrip(DecodeText(bytes)); }

void CheckWindows1252(const QByteArray& bytes) {
  FUZZ_CHECK(DecodeWindows1252(bytes).size() == bytes.size());
  CheckRoundTrip(DecodeWindows1252(bytes));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzDispatch(data, size, {CheckDetected, CheckWindows1252, ThroughFiles});
}
