#pragma once

// Tables of a control's children's public events, each taken by a counting
// handler as an application would take it.
#include <functional>
#include <map>
#include <string>

namespace vxtest {

using EventCounts = std::map<std::string, int>;

template <class Control>
struct ChildEvent {
  const char* name;
  std::function<void(Control&, EventCounts&)> take;
  bool raisedByTheDrive;  // the test's drive makes the child raise it
};

// A handler of the given arguments that counts its calls under theName.
template <typename... A>
auto Counter(EventCounts& theCounts, const char* theName) {
  return [&theCounts, theName](A...) { ++theCounts[theName]; };
}

}  // namespace vxtest
