#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/ui/Graphics.h>

namespace vx {

// A worker thread in the classic shape: created suspended, started once,
// told to stop through Terminate (which Execute polls through Terminated),
// able to run a method on the user-interface thread (Synchronize), and
// optionally freeing itself when it ends (FreeOnTerminate).
//
// Synchronize blocks the worker until the user-interface thread has run the
// method; when the application is gone or shutting down, the method is not
// run and Synchronize returns. At process exit the toolkit tells every live
// thread to stop and waits (boundedly) for them, so that no thread outlives
// the state it uses.
//
// A thread object made for the shared pool runs its Execute on one of a few
// workers shared by all such objects (as many as there are cores) instead of
// a thread of its own: thousands of short tasks then cost no thread each.
// Such a task hands its result back through HandBack, which the
// user-interface thread runs after the task has ended, in batches that leave
// that thread free again within a few milliseconds.
enum class TThreadHost {
  OwnThread,  // a thread of its own, for long work
  SharedPool  // a task for the shared workers, handed back when it ends
};

class VX_API TThread : public TObject {
public:
  explicit TThread(TThreadHost theHost = TThreadHost::OwnThread);
  // A thread that has not ended is told to stop and waited for, unless the
  // destructor runs on the thread itself (FreeOnTerminate).
  ~TThread() override;

  void Start();
  void Terminate() noexcept { fTerminated.store(true); }
  bool Terminated() const noexcept { return fTerminated.load(); }
  bool Started() const noexcept { return fStarted; }
  bool Finished() const noexcept { return fFinished.load(); }
  // Waits until Execute and the end of the thread are done. On the
  // user-interface thread, pending synchronised calls keep running meanwhile.
  void WaitFor();

  // Set before Start: the thread frees itself when it ends.
  void SetFreeOnTerminate(bool theValue);
  // Frees theThread now when it is not running (never started, or ended),
  // otherwise makes it free itself when it ends. Either way the caller must
  // not touch it afterwards.
  static void FreeWhenDone(TThread* theThread);
  // Raised on the user-interface thread after Execute.
  TNotifyEvent OnTerminate;

  // Runs the queued synchronised calls; the user-interface thread's message
  // loop does this by itself.
  static void CheckSynchronize();
  // Whether the caller runs on the user-interface thread (the application's
  // thread; without an application, any thread counts as it).
  static bool IsMainThread();
  // Live thread objects (started or not).
  static int LiveCount();
  // The workers of the shared pool.
  static int PoolSize();
  // How long the user-interface thread runs hand-backs before it lets other
  // events in (milliseconds).
  static constexpr int HandBackBudgetMs = 8;

protected:
  virtual void Execute() = 0;
  // After Execute, on the worker: raises OnTerminate synchronised.
  virtual void DoTerminate();
  // Runs theMethod on the user-interface thread and waits for it; an
  // exception it throws is raised here, in the worker.
  void Synchronize(const std::function<void()>& theMethod);
  // Pool tasks: runs on the user-interface thread after the task ended,
  // unless the object was freed first (freeing it here is allowed).
  virtual void HandBack() {}

  // Guards the end-of-life handshake between the worker and whoever frees it.
  std::mutex fLifeLock;

private:
  friend struct ThreadRegistry;
  void Run();
  void WaitUntilReleased();
  bool Pooled() const noexcept { return fHost == TThreadHost::SharedPool; }

  TThreadHost fHost;
  std::thread fThread;
  bool fReleased = false;  // pool tasks: the worker is done with the object (registry lock)
  std::atomic<bool> fTerminated{false};
  std::atomic<bool> fFinished{false};
  bool fStarted = false;
  bool fFreeOnTerminate = false;
};

}  // namespace vx
