#pragma once

#include <QAccessible>
#include <QString>
#include <vector>

namespace vxtest {

// Records the focus events assistive technology would hear while it lives:
// the name of the node each names. Puts back the handler it replaced.
class FocusRecorder {
public:
  FocusRecorder();
  ~FocusRecorder();
  FocusRecorder(const FocusRecorder&) = delete;
  FocusRecorder& operator=(const FocusRecorder&) = delete;

  const std::vector<QString>& Names() const { return fNames; }
  void Clear() { fNames.clear(); }

private:
  static void Record(QAccessibleEvent* theEvent);
  QAccessible::UpdateHandler fPrevious = nullptr;
  bool fWasActive = false;
  std::vector<QString> fNames;
};

// The names of theIface's children, in order.
std::vector<QString> ChildNames(QAccessibleInterface* theIface);

}  // namespace vxtest
