#include <vxplan/paint/vxDoLater.h>

#include <chrono>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>

#include <vxplan/platform/ui/Forms.h>

namespace vx {

std::size_t TDoLaterCall::Hash() const noexcept {
  const auto a = reinterpret_cast<std::uintptr_t>(fObject);
  const auto b = reinterpret_cast<std::uintptr_t>(fCode);
  return static_cast<std::size_t>(a * 0x9E3779B97F4A7C15ull ^ (b + 0x632BE59BD9B4E019ull + (a << 6) + (a >> 2)));
}

namespace {

using Clock = std::chrono::steady_clock;

struct Entry {
  TDoLaterCall call;
  TObject* data;
  bool running = false;
};

using EntryList = std::list<Entry>;

struct Key {
  TDoLaterCall call;
  TObject* data;
  friend bool operator==(const Key& a, const Key& b) noexcept { return a.call == b.call && a.data == b.data; }
};

struct KeyHash {
  std::size_t operator()(const Key& k) const noexcept {
    return k.call.Hash() ^ (reinterpret_cast<std::uintptr_t>(k.data) * 0xBF58476D1CE4E5B9ull);
  }
};

class Queue {
public:
  ~Queue() {
    // One last pass for what is still pending, then the window goes.
    GuardedCall([this] { DoAllNow(); });
    std::lock_guard<TCriticalSection> lock(fLock);
    fPending.clear();
    fIndex.clear();
    fPerCall.clear();
    fWindow.reset();
  }

  void DoLater(TDoLaterCall aCall, TObject* theData) {
    if (!aCall.IsAssigned()) return;
    std::lock_guard<TCriticalSection> lock(fLock);
    auto [at, added] = fIndex.try_emplace(Key{aCall, theData});
    if (!added) return;
    try {
      fPending.push_back(Entry{aCall, theData});
    } catch (...) {
      fIndex.erase(at);
      throw;
    }
    at->second = std::prev(fPending.end());
    ++fPerCall[aCall];
    if (!fPostPending) {
      if (!fWindow) fWindow = std::make_unique<TMessageWindow>([this](unsigned msg) { OnMessage(msg); });
      fPostPending = fWindow->Post(WM_DOLATER_RUN);
    }
  }

  void NeverMind(TDoLaterCall aCall) {
    std::lock_guard<TCriticalSection> lock(fLock);
    // Objects that go call this whether or not they queued anything: most
    // of the time there is nothing to look for.
    auto counted = fPerCall.find(aCall);
    if (counted == fPerCall.end()) return;
    for (auto it = fPending.end(); it != fPending.begin() && counted->second > 0;) {
      --it;
      if (it->call == aCall && !it->running) {
        fIndex.erase(Key{it->call, it->data});
        it = fPending.erase(it);
        --counted->second;
      }
    }
    if (counted->second <= 0) fPerCall.erase(counted);
  }

  bool AlreadyInList(TDoLaterCall aCall, TObject* theData) {
    std::lock_guard<TCriticalSection> lock(fLock);
    return fIndex.count(Key{aCall, theData}) != 0;
  }

  int PendingCount() {
    std::lock_guard<TCriticalSection> lock(fLock);
    return static_cast<int>(fPending.size());
  }

  void DoAllNow() { DoUntil(Clock::time_point::max()); }

  // Runs what is pending, in order, until nothing is left or theDeadline
  // has passed; answers whether anything is left.
  bool DoUntil(Clock::time_point theDeadline) {
    std::lock_guard<std::recursive_mutex> pass(fPassLock);
    for (;;) {
      EntryList::iterator it;
      TDoLaterCall call;
      TObject* data = nullptr;
      {
        std::lock_guard<TCriticalSection> lock(fLock);
        it = fPending.begin();
        while (it != fPending.end() && it->running) ++it;  // running in an outer pass
        if (it == fPending.end()) return false;
        if (theDeadline != Clock::time_point::max() && Clock::now() >= theDeadline) return true;
        it->running = true;
        call = it->call;
        data = it->data;
        fIndex.erase(Key{call, data});
        Uncount(call);
      }
      try {
        call(data);
      } catch (...) {
        std::lock_guard<TCriticalSection> lock(fLock);
        it->running = false;
        // It stays where it is, and stands for a twin queued while it ran.
        const Key key{call, data};
        auto twin = fIndex.find(key);
        if (twin != fIndex.end()) {
          fPending.erase(twin->second);
          Uncount(call);
        }
        fIndex[key] = it;
        ++fPerCall[call];
        throw;
      }
      std::lock_guard<TCriticalSection> lock(fLock);
      fPending.erase(it);
    }
  }

private:
  void Uncount(TDoLaterCall aCall) {
    auto it = fPerCall.find(aCall);
    if (it != fPerCall.end() && --it->second <= 0) fPerCall.erase(it);
  }

  void OnMessage(unsigned theMsg) {
    if (theMsg != WM_DOLATER_RUN) return;
    {
      std::lock_guard<TCriticalSection> lock(fLock);
      fPostPending = false;
    }
    // A slice at a time, so that input and paints get in between when
    // thousands of calls are queued.
    if (!DoUntil(Clock::now() + std::chrono::milliseconds(TDoLater::SliceMs))) return;
    std::lock_guard<TCriticalSection> lock(fLock);
    if (!fPostPending) fPostPending = fWindow && fWindow->Post(WM_DOLATER_RUN);
  }

  TCriticalSection fLock;              // the list, the index, the window
  std::recursive_mutex fPassLock;      // one pass at a time (nested passes on one thread allowed)
  EntryList fPending;
  std::unordered_map<Key, EntryList::iterator, KeyHash> fIndex;  // pending, not running
  struct CallHash {
    std::size_t operator()(const TDoLaterCall& c) const noexcept { return c.Hash(); }
  };
  std::unordered_map<TDoLaterCall, int, CallHash> fPerCall;       // pending entries of each call
  std::unique_ptr<TMessageWindow> fWindow;
  bool fPostPending = false;
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

}  // namespace

void TDoLater::DoLater(TDoLaterCall aCall, TObject* theData, const TThreadSyncInfo*) {
  TheQueue().DoLater(aCall, theData);
}

void TDoLater::NeverMind(TDoLaterCall aCall) { TheQueue().NeverMind(aCall); }

void TDoLater::DoAllNow() { TheQueue().DoAllNow(); }

bool TDoLater::AlreadyInList(TDoLaterCall aCall, TObject* theData) { return TheQueue().AlreadyInList(aCall, theData); }

int TDoLater::PendingCount() { return TheQueue().PendingCount(); }

}  // namespace vx
