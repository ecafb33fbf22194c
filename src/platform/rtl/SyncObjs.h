#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>
#include <mutex>

#include <vxplan/platform/rtl/Object.h>

namespace vx {

// A lock its owner thread may enter again.
class VX_API TCriticalSection : public TObject {
public:
  // For std::lock_guard and friends.
  void lock() { fMutex.lock(); }
  void unlock() { fMutex.unlock(); }

private:
  std::recursive_mutex fMutex;
};

// Identifies the thread that created it: the low 16 bits of a per-thread
// number and the moment the thread first asked for it.
class VX_API TThreadSyncInfo : public TObject {
public:
  TThreadSyncInfo();
  bool IsEqual(const TThreadSyncInfo& other) const noexcept {
    return fThreadID == other.fThreadID && static_cast<std::uint32_t>(fct) == static_cast<std::uint32_t>(other.fct);
  }
  std::uint16_t GetThreadID() const noexcept { return fThreadID; }

private:
  std::uint16_t fThreadID;
  std::int64_t fct;
};

}  // namespace vx
