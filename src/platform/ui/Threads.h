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
class VX_API TThread : public TObject {
public:
  TThread();
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

protected:
  virtual void Execute() = 0;
  // After Execute, on the worker: raises OnTerminate synchronised.
  virtual void DoTerminate();
  // Runs theMethod on the user-interface thread and waits for it; an
  // exception it throws is raised here, in the worker.
  void Synchronize(const std::function<void()>& theMethod);

  // Guards the end-of-life handshake between the worker and whoever frees it.
  std::mutex fLifeLock;

private:
  void Run();

  std::thread fThread;
  std::atomic<bool> fTerminated{false};
  std::atomic<bool> fFinished{false};
  bool fStarted = false;
  bool fFreeOnTerminate = false;
};

}  // namespace vx
