// Feeds every file of the given folders to the fuzz target once: the kept
// seeds and the inputs that once broke a reader. A broken property aborts.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "FuzzSupport.h"

int main(int argc, char** argv) {
  int fed = 0;
  for (int i = 1; i < argc; ++i) {
    const QDir folder(QString::fromLocal8Bit(argv[i]));
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
      QFile file(folder.filePath(name));
      if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        return 1;
      }
      const QByteArray bytes = file.readAll();
      // Named first, so that an abort shows which input it was.
      std::fprintf(stderr, "%s\n", qPrintable(file.fileName()));
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
      ++fed;
    }
  }
  std::printf("%d inputs\n", fed);
  return fed > 0 ? 0 : 1;
}
