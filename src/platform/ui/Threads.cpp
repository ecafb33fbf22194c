#include <vxplan/platform/ui/Threads.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <deque>
#include <memory>
#include <set>

#include <vxplan/platform/ui/Forms.h>

namespace vx {

namespace {

constexpr unsigned kRunSynchronizedCalls = 40924;

struct SyncCall {
  const std::function<void()>* method = nullptr;
  bool done = false;
  std::exception_ptr error;
};

// Process-wide thread state: the queue of synchronised calls, the count of
// live threads, and whether the application is going.
struct Registry {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<SyncCall*> queue;
  int live = 0;
  std::set<TThread*> threads;
  bool shuttingDown = false;
  bool watchingApplication = false;
  std::thread::id mainThread;
  std::unique_ptr<TMessageWindow> window;

  // Called with the lock held: from now on nothing is synchronised, and
  // every thread is told to stop.
  void ShutDown() {
    shuttingDown = true;
    for (TThread* t : threads) t->Terminate();
    changed.notify_all();
  }

  ~Registry() {
    std::unique_lock<std::mutex> lock(mutex);
    ShutDown();
    // Threads still running are told nothing new can be synchronised; give
    // them a moment to end, so that none outlives this state.
    changed.wait_for(lock, std::chrono::seconds(5), [this] { return live == 0; });
    lock.unlock();
    window.reset();
  }

  // Called with the lock held.
  void WatchApplication() {
    if (watchingApplication) return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    watchingApplication = true;
    if (QThread::currentThread() == app->thread()) mainThread = std::this_thread::get_id();
    QObject::connect(app, &QObject::destroyed, [this] {
      std::lock_guard<std::mutex> guard(mutex);
      mainThread = std::this_thread::get_id();  // the application's own thread
      ShutDown();
    });
  }
};

Registry& Reg() {
  static Registry registry;
  return registry;
}

}  // namespace

TThread::TThread() {
  Registry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  ++r.live;
  r.threads.insert(this);
  r.WatchApplication();
  if (r.shuttingDown) Terminate();
}

TThread::~TThread() {
  if (fThread.joinable()) {
    if (fThread.get_id() == std::this_thread::get_id()) {
      fThread.detach();  // freeing itself at its end
    } else {
      Terminate();
      WaitFor();
    }
  }
  Registry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  --r.live;
  r.threads.erase(this);
  r.changed.notify_all();
}

int TThread::LiveCount() {
  Registry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.live;
}

bool TThread::IsMainThread() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app) return QThread::currentThread() == app->thread();
  // The application is gone (or never was): its thread stays the main one.
  Registry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.mainThread == std::thread::id() || r.mainThread == std::this_thread::get_id();
}

void TThread::Start() {
  std::lock_guard<std::mutex> lock(fLifeLock);
  if (fStarted) return;
  fStarted = true;
  fThread = std::thread([this] { Run(); });
}

void TThread::SetFreeOnTerminate(bool theValue) {
  std::lock_guard<std::mutex> lock(fLifeLock);
  fFreeOnTerminate = theValue;
}

void TThread::FreeWhenDone(TThread* theThread) {
  if (!theThread) return;
  bool freeNow;
  {
    std::lock_guard<std::mutex> lock(theThread->fLifeLock);
    freeNow = !theThread->fStarted || theThread->fFinished.load();
    if (!freeNow) theThread->fFreeOnTerminate = true;
  }
  if (freeNow) delete theThread;
}

void TThread::Run() {
  {
    // Start has finished setting up fThread before the thread does anything.
    std::lock_guard<std::mutex> lock(fLifeLock);
  }
  try {
    Execute();
  } catch (...) {
    // An Execute that lets an exception out ends the thread; nothing else.
  }
  try {
    DoTerminate();
  } catch (...) {
  }
  bool freeItself;
  {
    std::lock_guard<std::mutex> lock(fLifeLock);
    fFinished.store(true);
    freeItself = fFreeOnTerminate;
  }
  // Unless it frees itself, the owner may free the object from here on.
  if (freeItself) delete this;
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::WaitFor() {
  if (!fThread.joinable()) return;
  if (fThread.get_id() == std::this_thread::get_id()) return;
  if (IsMainThread()) {
    // The worker may be waiting for a synchronised call: keep running them.
    Registry& r = Reg();
    while (!fFinished.load()) {
      CheckSynchronize();
      std::unique_lock<std::mutex> lock(r.mutex);
      r.changed.wait_for(lock, std::chrono::milliseconds(2), [&] { return !r.queue.empty() || fFinished.load(); });
    }
  }
  fThread.join();
}

void TThread::Synchronize(const std::function<void()>& theMethod) {
  if (!theMethod) return;
  if (IsMainThread()) {
    theMethod();
    return;
  }
  Registry& r = Reg();
  SyncCall call;
  call.method = &theMethod;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    r.WatchApplication();
    if (r.shuttingDown || !r.watchingApplication) return;  // nobody would run it
    r.queue.push_back(&call);
    if (!r.window) r.window = std::make_unique<TMessageWindow>([](unsigned msg) {
      if (msg == kRunSynchronizedCalls) CheckSynchronize();
    });
    r.window->Post(kRunSynchronizedCalls);
  }
  std::unique_lock<std::mutex> lock(r.mutex);
  while (!call.done) {
    if (r.shuttingDown) {
      // Withdraw the call unless the user-interface thread is running it.
      auto it = std::find(r.queue.begin(), r.queue.end(), &call);
      if (it != r.queue.end()) {
        r.queue.erase(it);
        return;
      }
    }
    r.changed.wait_for(lock, std::chrono::milliseconds(20));
  }
  lock.unlock();
  if (call.error) std::rethrow_exception(call.error);
}

void TThread::CheckSynchronize() {
  Registry& r = Reg();
  for (;;) {
    SyncCall* call;
    {
      std::lock_guard<std::mutex> lock(r.mutex);
      if (r.queue.empty()) return;
      call = r.queue.front();
      r.queue.pop_front();
    }
    std::exception_ptr error;
    try {
      (*call->method)();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(r.mutex);
    call->error = error;
    call->done = true;
    r.changed.notify_all();
  }
}

}  // namespace vx
