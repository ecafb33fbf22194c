#pragma once

// Handlers that delete what they are handed. A suite's scene derives from
// Reentrant and offers Show() and CheckWhole() (it still paints, prints and
// takes input); a row names an event or hook, what comes before it, how its
// handler is armed and what makes the control raise it. Every row runs once
// for each kill; the handler acts only the first time it is called.
#include <gtest/gtest.h>

#include <QPointer>
#include <cctype>
#include <string>
#include <tuple>
#include <utility>

#include "UiTestSupport.h"

namespace vxtest {

// What the handler deletes: the object it is handed, that object's line (its
// row, column or parent), the list holding it, everything, or the control
// itself (through deleteLater).
enum class Kill { Object, Line, List, All, Control };

inline const char* KillName(Kill k) {
  const char* const names[] = {"Object", "Line", "List", "All", "Control"};
  return names[static_cast<int>(k)];
}

inline constexpr Kill kObjectLineAll[] = {Kill::Object, Kill::Line, Kill::All};

struct Reentrant {
  Kill kill = Kill::Object;
  bool armed = true;
  // True the first time only: the handler acts once.
  bool Fire() { return std::exchange(armed, false); }
};

template <class Scene>
struct Reentry {
  const char* name;
  void (*prepare)(Scene&);  // before the handler is armed; may be null
  void (*arm)(Scene&);      // sets the handler that acts through Fire() and kill
  void (*drive)(Scene&);
};

template <class Scene>
using ReentryParam = std::tuple<Reentry<Scene>, Kill>;

// A test name of letters, digits and underscores.
inline std::string TestName(std::string theName) {
  for (char& c : theName)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return theName;
}

template <class Scene>
std::string ReentryName(const testing::TestParamInfo<ReentryParam<Scene>>& theInfo) {
  return TestName(std::string(std::get<0>(theInfo.param).name) + "_" + KillName(std::get<1>(theInfo.param)));
}

// Runs one row on a shown scene: the handler must have been called, and the
// scene must be whole afterwards.
template <class Scene>
void RunReentry(Scene& s, const Reentry<Scene>& theRow, Kill theKill) {
  SCOPED_TRACE(std::string(theRow.name) + ", deleting " + KillName(theKill));
  s.kill = theKill;
  if (theRow.prepare) theRow.prepare(s);
  theRow.arm(s);
  theRow.drive(s);
  ProcessEventsUntilIdle();
  EXPECT_FALSE(s.armed) << theRow.name << " never called the handler";
  s.CheckWhole();
}

// A handler that ends its control does so through deleteLater(): what the
// control was doing completes, and it goes when the event loop comes round.
template <class T>
void ExpectGoneAtTheEventLoop(const QPointer<T>& theControl) {
  ReturnToTheEventLoop();
  EXPECT_TRUE(theControl.isNull());
}

// A case whose handler ends its control: run arms it and drives the control.
template <class Scene>
struct Ending {
  const char* name;
  void (*run)(Scene&);
};

template <class Scene>
std::string EndingName(const testing::TestParamInfo<Ending<Scene>>& theInfo) {
  return TestName(theInfo.param.name);
}

}  // namespace vxtest

// A parameterised suite of Scene over every row of theRows with every kill of
// theKills; Scene's constructor takes no arguments.
#define VX_REENTRY_SUITE(Suite, Scene, theRows, theKills)                                        \
  class Suite : public testing::TestWithParam<vxtest::ReentryParam<Scene>> {};                   \
  TEST_P(Suite, AndTheControlGoesOn) {                                                           \
    Scene s;                                                                                     \
    s.Show();                                                                                    \
    vxtest::RunReentry(s, std::get<0>(GetParam()), std::get<1>(GetParam()));                     \
  }                                                                                              \
  INSTANTIATE_TEST_SUITE_P(Every, Suite,                                                         \
                           testing::Combine(testing::ValuesIn(theRows), testing::ValuesIn(theKills)), \
                           vxtest::ReentryName<Scene>)

// A parameterised suite of Scene over theCases, each ending the control held
// by the scene's QPointer alive.
#define VX_ENDING_SUITE(Suite, Scene, theCases)                                                   \
  class Suite : public testing::TestWithParam<vxtest::Ending<Scene>> {};                         \
  TEST_P(Suite, ThroughDeleteLater) {                                                            \
    Scene s;                                                                                     \
    s.Show();                                                                                    \
    GetParam().run(s);                                                                           \
    vxtest::ExpectGoneAtTheEventLoop(s.alive);                                                   \
  }                                                                                              \
  INSTANTIATE_TEST_SUITE_P(Each, Suite, testing::ValuesIn(theCases), vxtest::EndingName<Scene>)
