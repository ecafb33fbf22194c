#include <gtest/gtest.h>

#include "core/vxExposable.h"
#include "platform/rtl/Exception.h"

using namespace vx;

namespace {

struct Tracked : TvxExposable {
  std::vector<std::string>* log;
  explicit Tracked(std::vector<std::string>* theLog) : log(theLog) {}
  void CleanForFree() override { log->push_back("clean"); }

 protected:
  ~Tracked() override { log->push_back("free"); }
};

}  // namespace

TEST(Exposable, CleansBeforeFreeingAndWaitsForTheLastHold) {
  std::vector<std::string> log;
  (new Tracked(&log))->FreeWheneverPossible();
  EXPECT_EQ(log, (std::vector<std::string>{"clean", "free"}));

  log.clear();
  auto* held = new Tracked(&log);
  {
    TvxHold hold(held);
    held->FreeWheneverPossible();
    EXPECT_EQ(log, (std::vector<std::string>{"clean"}));
    EXPECT_TRUE(held->IsFreePending());
  }
  EXPECT_EQ(log, (std::vector<std::string>{"clean", "free"}));

  log.clear();
  { TvxOwned<Tracked> owned(new Tracked(&log)); }
  EXPECT_EQ(log, (std::vector<std::string>{"clean", "free"}));
}

TEST(Exposable, FreeCallOfAForeignObjectIsAnInvalidCast) {
  TObject plain;
  EXPECT_THROW(TvxExposable::FreeCall(&plain), EInvalidCast);
  EXPECT_NO_THROW(TvxExposable::FreeCall(nullptr));
}
