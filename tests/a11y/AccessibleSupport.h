#pragma once

#include <QAccessible>
#include <QString>
#include <vector>

#include <Qt>

namespace vx {
class TControl;
}

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

// theChild knows theParent, sits inside it on screen and is found there.
void ExpectPlacedChild(QAccessibleInterface* theParent, QAccessibleInterface* theChild);

struct FocusStep {
  Qt::Key key;
  const char* heard;
};
// Each key on theControl raises one focus event, on the node the control's
// interface then reports as its focused child (selected too, when asked).
void ExpectFocusWalk(FocusRecorder& theRecorder, vx::TControl* theControl, const std::vector<FocusStep>& theSteps,
                     bool theSelected = false);

}  // namespace vxtest
