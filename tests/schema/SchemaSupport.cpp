#include "SchemaSupport.h"

#include <chrono>
#include <thread>

namespace vxtest {

void TestSchema::Settle(int theSeconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(theSeconds);
  ProcessEventsUntilIdle();
  while (IsLayoutPending() && std::chrono::steady_clock::now() < until) {
    ProcessEventsUntilIdle(5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace vxtest
