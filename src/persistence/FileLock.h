#pragma once
// Lock files: whoever holds the .SRW file owns the resource it names. Works
// across processes and machines that share the data directory; the file holds
// the holder's text so that a waiting user learns who to ask.
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

class IWaitWindow;
class TTdbTable;

// Poll interval of the wait and the pause after a waited-for take; tests shorten them.
struct TFileLockTiming {
  int pollMs = 10;
  int pauseAfterWaitMs = 1000;
};

class TDateischutz {
 public:
  using TCancel = std::function<void()>;
  using TIdle = std::function<void()>;
  // Called once when the lock is found taken: the text to show and the cancel
  // callback; returns the idle callback, called after every failed retry.
  using TOnWait = std::function<TIdle(const QString& text, TCancel cancel)>;

  static constexpr int EntryChars = 500;
  static constexpr int EntryBytes = EntryChars * 2;

  explicit TDateischutz(TOnWait onWait = {});
  ~TDateischutz();  // releases the lock if this object took it
  TDateischutz(const TDateischutz&) = delete;
  TDateischutz& operator=(const TDateischutz&) = delete;

  // True when the lock is held afterwards. Without OnWait a taken lock gives false
  // at once; otherwise waits until it is free or cancelled. Throws Exception when
  // the file can be neither created nor read.
  bool Lock(const QString& fileName, const QString& text, bool showOwnText);

  bool IsLocked() const { return fd_ >= 0; }
  const QString& FileName() const { return LockFileName; }
  bool Cancelled() const { return cancelled_; }

  static TFileLockTiming& Timing();
  // The sleep before the next poll: at most pollMs and what is left, never below 0.
  static unsigned long PauseBeforeNextPoll(qint64 pollMs, qint64 left);
  // The entry of a lock file (500 characters, blank-padded); throws like Lock.
  static QString ReadEntry(const QString& fileName);

 private:
  enum class TTake { Taken, Busy, Failed };
  TTake TryTake();
  static QString ReadEntryFrom(int fd);  // closes fd
  bool TakeOrWait(const QString& text, bool showOwnText, bool& waited);
  void WriteEntry(const QString& text);
  void PauseServingIdle(int milliseconds);
  void Release();

  int fd_ = -1;
  QString LockFileName;
  bool cancelled_ = false;
  TOnWait OnWait;
  TIdle idle_;
};

// The lock with a wait window that names the holder and lets the user give up.
class TDateischutzWF {
 public:
  TDateischutzWF();
  ~TDateischutzWF();  // frees the inner lock, which releases it

  bool LockFile(const QString& fileName, const QString& holderText, bool showOwnText, bool displayFlag);
  bool LockInDirectory(const QString& directory, const QString& lockName, bool showOwnText, bool displayFlag,
                       const QString& holderText);
  static QString LockPathInDirectory(const QString& directory, const QString& lockName);

  bool IsLocked() const { return lock_->IsLocked(); }
  const QString& FileName() const { return lock_->FileName(); }

  // Engine table locked together with a database lock; not owned, released by its unlock.
  TTdbTable* Table = nullptr;

 private:
  TDateischutz::TIdle ShowWaitWindow(const QString& text, TDateischutz::TCancel cancel);

  std::unique_ptr<TDateischutz> lock_;
  std::unique_ptr<IWaitWindow> window_;
  bool displayFlag_ = false;
};
