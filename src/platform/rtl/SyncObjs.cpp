#include <vxplan/platform/rtl/SyncObjs.h>

#include <atomic>
#include <chrono>

namespace vx {

namespace {

struct ThreadStamp {
  std::uint32_t number;
  std::int64_t created;
};

const ThreadStamp& CurrentThreadStamp() {
  static std::atomic<std::uint32_t> next{1};
  thread_local const ThreadStamp stamp{
      next.fetch_add(1, std::memory_order_relaxed),
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch()).count() /
          100};  // 100 ns units, like a file time
  return stamp;
}

}  // namespace

TThreadSyncInfo::TThreadSyncInfo()
    : fThreadID(static_cast<std::uint16_t>(CurrentThreadStamp().number & 0xFFFF)), fct(CurrentThreadStamp().created) {}

}  // namespace vx
