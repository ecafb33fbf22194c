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
constexpr unsigned kRunHandBacks = 40925;

struct SyncCall {
  const std::function<void()>* method = nullptr;
  bool done = false;
  std::exception_ptr error;
};

}  // namespace

// Process-wide thread state: the queue of synchronised calls, the count of
// live threads, the shared pool with its tasks and hand-backs, and whether
// the application is going.
struct ThreadRegistry {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<SyncCall*> queue;
  int live = 0;
  std::set<TThread*> threads;
  bool shuttingDown = false;
  bool watchingApplication = false;
  std::thread::id mainThread;
  std::unique_ptr<TMessageWindow> window;

  std::vector<std::thread> pool;
  std::condition_variable taskReady;
  std::deque<TThread*> tasks;
  std::deque<TThread*> handBacks;
  bool handBackPosted = false;
  bool stopPool = false;

  // Called with the lock held: from now on nothing is synchronised, and
  // every thread is told to stop.
  void ShutDown() {
    shuttingDown = true;
    for (TThread* t : threads) t->Terminate();
    changed.notify_all();
  }

  ~ThreadRegistry() {
    std::unique_lock<std::mutex> lock(mutex);
    ShutDown();
    // Threads still running are told nothing new can be synchronised; give
    // them a moment to end, so that none outlives this state.
    changed.wait_for(lock, std::chrono::seconds(5), [this] { return live == 0; });
    // Pool workers run what is queued (told to stop, it ends soon) and go.
    stopPool = true;
    taskReady.notify_all();
    std::vector<std::thread> workers;
    workers.swap(pool);
    lock.unlock();
    for (std::thread& w : workers) w.join();
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

  // Called with the lock held.
  void Post(unsigned theMsg) {
    if (!window) window = std::make_unique<TMessageWindow>([](unsigned msg) {
      if (msg == kRunSynchronizedCalls) TThread::CheckSynchronize();
      if (msg == kRunHandBacks) RunHandBacks();
    });
    window->Post(theMsg);
  }

  // Called with the lock held.
  void Submit(TThread* theTask) {
    if (pool.empty()) {
      for (int k = 0; k < TThread::PoolSize(); ++k) pool.emplace_back([this] { Work(); });
    }
    tasks.push_back(theTask);
    taskReady.notify_one();
  }

  void Work() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      taskReady.wait(lock, [this] { return stopPool || !tasks.empty(); });
      if (tasks.empty()) return;  // stopping, and nothing left
      TThread* task = tasks.front();
      tasks.pop_front();
      lock.unlock();
      task->Run();
      lock.lock();
    }
  }

  // Called with the lock held, by a task's worker when it is done with it.
  void Release(TThread* theTask, bool theHandBack) {
    theTask->fReleased = true;
    changed.notify_all();
    if (!theHandBack) return;
    handBacks.push_back(theTask);
    WatchApplication();
    if (!handBackPosted && watchingApplication && !shuttingDown) {
      handBackPosted = true;
      Post(kRunHandBacks);
    }
  }

  // On the user-interface thread: hands back ended tasks until the queue is
  // empty or the budget is spent; the rest waits for the next turn, so that
  // input and paints get in between.
  static void RunHandBacks();
};

namespace {

ThreadRegistry& Reg() {
  static ThreadRegistry registry;
  return registry;
}

}  // namespace

void ThreadRegistry::RunHandBacks() {
  ThreadRegistry& r = Reg();
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(TThread::HandBackBudgetMs);
  for (;;) {
    TThread* task;
    {
      std::lock_guard<std::mutex> lock(r.mutex);
      if (r.handBacks.empty()) {
        r.handBackPosted = false;
        return;
      }
      if (std::chrono::steady_clock::now() >= until) {
        r.Post(kRunHandBacks);
        return;
      }
      task = r.handBacks.front();
      r.handBacks.pop_front();
    }
    // The task may be freed here; it is not touched afterwards.
    try {
      task->HandBack();
    } catch (...) {
      try {
        Application()->HandleException(std::current_exception());
      } catch (...) {
      }
    }
  }
}

TThread::TThread(TThreadHost theHost) : fHost(theHost) {
  ThreadRegistry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  ++r.live;
  r.threads.insert(this);
  r.WatchApplication();
  if (r.shuttingDown) Terminate();
}

TThread::~TThread() {
  if (Pooled() && fStarted) {
    Terminate();
    WaitUntilReleased();
  }
  if (fThread.joinable()) {
    if (fThread.get_id() == std::this_thread::get_id()) {
      fThread.detach();  // freeing itself at its end
    } else {
      Terminate();
      WaitFor();
    }
  }
  ThreadRegistry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  --r.live;
  r.threads.erase(this);
  if (Pooled()) {
    auto it = std::find(r.handBacks.begin(), r.handBacks.end(), this);
    if (it != r.handBacks.end()) r.handBacks.erase(it);
  }
  r.changed.notify_all();
}

int TThread::LiveCount() {
  ThreadRegistry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.live;
}

bool TThread::IsMainThread() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app) return QThread::currentThread() == app->thread();
  // The application is gone (or never was): its thread stays the main one.
  ThreadRegistry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.mainThread == std::thread::id() || r.mainThread == std::this_thread::get_id();
}

void TThread::Start() {
  std::lock_guard<std::mutex> lock(fLifeLock);
  if (fStarted) return;
  fStarted = true;
  if (Pooled()) {
    ThreadRegistry& r = Reg();
    std::unique_lock<std::mutex> guard(r.mutex);
    if (!r.stopPool) {
      r.Submit(this);
      return;
    }
  }
  fThread = std::thread([this] { Run(); });
}

int TThread::PoolSize() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

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
  if (Pooled()) {
    // The owner may free the object once it is released (its destructor
    // waits for that): nothing of it is touched after Release.
    ThreadRegistry& r = Reg();
    std::lock_guard<std::mutex> guard(r.mutex);
    r.Release(this, !freeItself);
  }
  // Unless it frees itself, the owner may free the object from here on.
  if (freeItself) delete this;
}

void TThread::WaitUntilReleased() {
  ThreadRegistry& r = Reg();
  const bool main = IsMainThread();
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(r.mutex);
      if (fReleased) return;
      r.changed.wait_for(lock, std::chrono::milliseconds(2), [&] { return fReleased || !r.queue.empty(); });
      if (fReleased) return;
    }
    // The task may be waiting for a synchronised call.
    if (main) CheckSynchronize();
  }
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::WaitFor() {
  if (Pooled()) {
    if (fStarted) WaitUntilReleased();
    return;
  }
  if (!fThread.joinable()) return;
  if (fThread.get_id() == std::this_thread::get_id()) return;
  if (IsMainThread()) {
    // The worker may be waiting for a synchronised call: keep running them.
    ThreadRegistry& r = Reg();
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
  ThreadRegistry& r = Reg();
  SyncCall call;
  call.method = &theMethod;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    r.WatchApplication();
    if (r.shuttingDown || !r.watchingApplication) return;  // nobody would run it
    r.queue.push_back(&call);
    r.Post(kRunSynchronizedCalls);
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
  ThreadRegistry& r = Reg();
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
