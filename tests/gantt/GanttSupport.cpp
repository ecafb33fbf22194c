#include "GanttSupport.h"

#include <chrono>
#include <thread>

namespace vxtest {

void TestGant::WaitForLayouts(int theSeconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(theSeconds);
  while (PendingLayoutCount() > 0 && std::chrono::steady_clock::now() < until) {
    ProcessEventsUntilIdle(5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace vxtest
