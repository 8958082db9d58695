#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "Msgdlg.h"

namespace {
// Answers every dialog with its first button and never waits.
class SilentDialogs : public IDialogs {
 public:
  int ShowMessage(const MessageRequest& request) override {
    const QList<TMsgDlgBtn> buttons = request.buttons.InOrder();
    return buttons.isEmpty() ? mrOk : ModalResultOf(buttons.front());
  }
  bool InputQuery(const InputRequest&, QString&) override { return false; }
  QString OpenFileName(const FileDialogRequest&) override { return {}; }
  QString SaveFileName(const FileDialogRequest&) override { return {}; }
  std::unique_ptr<IWaitWindow> ShowLockWait(const QString&, bool, std::function<void()>) override { return {}; }
  void ShowAlert(const QString&, const QString&) override {}
};

QTemporaryDir& TempDir() {
  static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/fuzz-XXXXXX"));
  return dir;
}
}  // namespace

void FuzzFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "fuzz property broken: %s (%s:%d)\n", condition, file, line);
  std::abort();
}

void FuzzSetUp() {
  static const bool done = [] {
    SetDialogs(std::make_unique<SilentDialogs>());
    SetSilent(true);
    return true;
  }();
  (void)done;
}

QString FuzzTempPath(const QString& name) { return TempDir().filePath(name); }

QString FuzzWriteTemp(const QString& name, const QByteArray& bytes) {
  const QString path = FuzzTempPath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::abort();
  }
  return path;
}

FuzzSelected FuzzSelect(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  return {data[0], QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1))};
}

int FuzzDispatch(const uint8_t* data, size_t size, std::initializer_list<FuzzCheck> checks) {
  FuzzSetUp();
  const FuzzSelected input = FuzzSelect(data, size);
  checks.begin()[input.selector % checks.size()](input.rest);
  return 0;
}
