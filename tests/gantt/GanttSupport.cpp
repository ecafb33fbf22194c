#include "GanttSupport.h"

#include <chrono>
#include <thread>

namespace vxtest {

ShownGant::ShownGant() {
  vxtest::ShowWindow(this);
  GetDateScaler()->SetStart(kDay0);
  GetDateScaler()->SetStop(kDay0 + GetGA()->GetWidth() / 100.0);
  GetSnap()->fStartSnapONOFF = false;
  GetSnap()->fStopSnapONOFF = false;
  ProcessEventsUntilIdle();
}

int ShownGant::MidY(vx::TvxDataEntity_Tree* node) {
  vx::TGantRow* row = RowOf(node);
  row->UpdateRect();
  return (row->GetRect().Top + row->GetRect().Bottom) / 2;
}

void TestGant::WaitForLayouts(int theSeconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(theSeconds);
  while (PendingLayoutCount() > 0 && std::chrono::steady_clock::now() < until) {
    ProcessEventsUntilIdle(5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace vxtest
