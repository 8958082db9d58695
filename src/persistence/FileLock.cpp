#include "FileLock.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Msgdlg.h"
#include "SuiteException.h"

namespace {
// The locked byte lies beyond the entry, so that readers are never blocked
// where a network file system enforces locks.
constexpr off_t LockOffset = TDateischutz::EntryBytes;

QByteArray NativePath(const QString& path) { return QFile::encodeName(path); }

[[noreturn]] void ThrowSystemError(int error) {
  throw Exception(QStringLiteral("(Error %1) %2").arg(error).arg(QString::fromLocal8Bit(std::strerror(error))));
}

bool TryLockByte(int fd) {
  struct flock range {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  range.l_start = LockOffset;
  range.l_len = 1;
  return fcntl(fd, F_OFD_SETLK, &range) == 0;
}

// Whether the path still names the open file: the releaser deletes it while locked,
// so a lock on a deleted file holds nothing.
bool PathNamesFile(int fd, const QByteArray& path) {
  struct stat opened {}, named {};
  if (fstat(fd, &opened) != 0 || stat(path.constData(), &named) != 0) return false;
  return opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

QByteArray EncodeEntry(const QString& entry) {
  QByteArray bytes(TDateischutz::EntryBytes, '\0');
  for (int i = 0; i < TDateischutz::EntryChars; ++i) {
    const char16_t c = entry.at(i).unicode();
    bytes[2 * i] = static_cast<char>(c & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(c >> 8);
  }
  return bytes;
}

QString DecodeEntry(const QByteArray& bytes) {
  QString text(TDateischutz::EntryChars, QLatin1Char(' '));
  for (int i = 0; 2 * i + 1 < bytes.size(); ++i)
    text[i] = QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          (static_cast<unsigned char>(bytes[2 * i + 1]) << 8)));
  return text;
}

bool WriteAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = pwrite(fd, bytes.constData() + done, bytes.size() - done, done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}
}  // namespace

// The time can pass between reading the clock and sleeping: a pause
// computed as a difference may be negative, and msleep takes it unsigned.
unsigned long TDateischutz::PauseBeforeNextPoll(qint64 pollMs, qint64 left) {
  return static_cast<unsigned long>(std::clamp<qint64>(std::min(pollMs, left), 0, std::max<qint64>(pollMs, 0)));
}

TFileLockTiming& TDateischutz::Timing() {
  static TFileLockTiming timing;
  return timing;
}

TDateischutz::TDateischutz(TOnWait onWait) : OnWait(std::move(onWait)) {}

TDateischutz::~TDateischutz() { Release(); }

// Open or create, lock, and make sure the locked file is still the one the path names.
TDateischutz::TTake TDateischutz::TryTake() {
  const QByteArray path = NativePath(LockFileName);
  for (;;) {
    const int fd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return TTake::Failed;
    if (!TryLockByte(fd)) {
      const int error = errno;
      close(fd);
      // Only "held by another" means waiting; a file system without these
      // locks must not leave the user waiting for ever.
      if (error == EAGAIN || error == EACCES || error == EINTR) return TTake::Busy;
      ThrowSystemError(error);
    }
    if (PathNamesFile(fd, path)) {
      // Whoever finds the file left behind by a crashed holder, under any
      // user, must be able to take it.
      [[maybe_unused]] const int shared = fchmod(fd, 0666);
      fd_ = fd;
      return TTake::Taken;
    }
    close(fd);  // released and deleted meanwhile: start again on the new file
  }
}

QString TDateischutz::ReadEntry(const QString& fileName) {
  const int fd = open(NativePath(fileName).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) ThrowSystemError(errno);
  return ReadEntryFrom(fd);
}

QString TDateischutz::ReadEntryFrom(int fd) {
  QByteArray bytes(EntryBytes, '\0');
  ssize_t n;
  do n = pread(fd, bytes.data(), EntryBytes, 0);
  while (n < 0 && errno == EINTR);
  close(fd);
  bytes.truncate(n > 0 ? n : 0);
  return DecodeEntry(bytes);
}

void TDateischutz::WriteEntry(const QString& text) {
  const QString now = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
  const QString entry = (text + QStringLiteral(" (") + now + QLatin1Char(')'))
                            .leftJustified(EntryChars, QLatin1Char(' '), true);
  // The lock is held whatever happens to the entry; a short entry only shows less.
  if (WriteAll(fd_, EncodeEntry(entry))) {
    [[maybe_unused]] const int truncated = ftruncate(fd_, EntryBytes);
    fdatasync(fd_);  // readers on other machines see the holder
  }
}

bool TDateischutz::Lock(const QString& fileName, const QString& text, bool showOwnText) {
  Release();  // one lock per object; a second Lock must not leak the first
  cancelled_ = false;
  LockFileName = fileName;
  bool waited = false;
  if (!TakeOrWait(text, showOwnText, waited)) return false;
  WriteEntry(text);
  // After a wait the previous holder's program may still be finishing its
  // work; the wait window keeps being served meanwhile.
  if (waited) PauseServingIdle(Timing().pauseAfterWaitMs);
  return true;
}

bool TDateischutz::TakeOrWait(const QString& text, bool showOwnText, bool& waited) {
  QString entry;
  for (;;) {
    const TTake take = TryTake();
    if (take == TTake::Taken) return true;
    // Not even openable for writing (a folder of that name, no right to
    // write): waiting would never end, and nothing must be shown as held.
    if (take == TTake::Failed) ThrowSystemError(errno);
    const int fd = open(NativePath(LockFileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
      entry = ReadEntryFrom(fd);
      break;
    }
    // Gone between the two opens: its holder released it, so try again.
    if (errno != ENOENT) ThrowSystemError(errno);
  }
  if (!OnWait) return false;
  waited = true;
  idle_ = OnWait(showOwnText ? text : entry.trimmed(), [this] { cancelled_ = true; });
  for (TTake take = TryTake(); take != TTake::Taken; take = TryTake()) {
    // A file nobody can open for writing would keep the user waiting for ever.
    if (take == TTake::Failed) ThrowSystemError(errno);
    if (cancelled_) return false;
    QThread::msleep(PauseBeforeNextPoll(Timing().pollMs, Timing().pollMs));
    if (idle_) idle_();
  }
  return true;
}

void TDateischutz::PauseServingIdle(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  for (qint64 left = milliseconds; left > 0; left = milliseconds - timer.elapsed()) {
    QThread::msleep(PauseBeforeNextPoll(Timing().pollMs, left));
    if (idle_) idle_();
  }
}

// Deleting while still locked: nobody can take the old file in between.
void TDateischutz::Release() {
  if (fd_ < 0) return;
  const QByteArray path = NativePath(LockFileName);
  if (PathNamesFile(fd_, path)) unlink(path.constData());
  close(fd_);
  fd_ = -1;
}

// ---- TDateischutzWF ----

TDateischutzWF::TDateischutzWF()
    : lock_(std::make_unique<TDateischutz>(
          [this](const QString& text, TDateischutz::TCancel cancel) { return ShowWaitWindow(text, cancel); })) {}

TDateischutzWF::~TDateischutzWF() = default;

TDateischutz::TIdle TDateischutzWF::ShowWaitWindow(const QString& text, TDateischutz::TCancel cancel) {
  window_ = Dialogs().ShowLockWait(text, displayFlag_, std::move(cancel));
  return [this] {
    if (window_) window_->ProcessEvents();
  };
}

bool TDateischutzWF::LockFile(const QString& fileName, const QString& holderText, bool showOwnText,
                              bool displayFlag) {
  displayFlag_ = displayFlag;
  struct CloseWindow {
    std::unique_ptr<IWaitWindow>& window;
    ~CloseWindow() { window.reset(); }
  } closeWindow{window_};
  return lock_->Lock(fileName, holderText, showOwnText);
}

QString TDateischutzWF::LockPathInDirectory(const QString& directory, const QString& lockName) {
  QString path = directory;
  if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
  return path + lockName + QStringLiteral(".SRW");
}

bool TDateischutzWF::LockInDirectory(const QString& directory, const QString& lockName, bool showOwnText,
                                     bool displayFlag, const QString& holderText) {
  return LockFile(LockPathInDirectory(directory, lockName), holderText, showOwnText, displayFlag);
}
