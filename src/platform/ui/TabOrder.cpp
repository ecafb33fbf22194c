#include <vxplan/platform/ui/TabOrder.h>

#include <QWidget>

namespace vx {

void SetTabOrder(std::initializer_list<TControl*> theControls) {
  TControl* previous = nullptr;
  for (TControl* c : theControls) {
    if (!c) continue;
    // Only controls of one window share a focus chain.
    if (previous && previous->window() == c->window()) QWidget::setTabOrder(previous, c);
    previous = c;
  }
}

}  // namespace vx
