#include "AccessibleSupport.h"

#include <gtest/gtest.h>

#include "UiTestSupport.h"

#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace vxtest {

namespace {

FocusRecorder* gRecorder = nullptr;

// What a screen reader's bridge does when it connects.
void SetPlatformActive(bool theActive) {
  if (QPlatformIntegration* platform = QGuiApplicationPrivate::platformIntegration())
    if (QPlatformAccessibility* a = platform->accessibility()) a->setActive(theActive);
}

}  // namespace

FocusRecorder::FocusRecorder() {
  gRecorder = this;
  fPrevious = QAccessible::installUpdateHandler(&FocusRecorder::Record);
  // Qt hands events to the handler only while accessibility is active.
  fWasActive = QAccessible::isActive();
  SetPlatformActive(true);
}

FocusRecorder::~FocusRecorder() {
  SetPlatformActive(fWasActive);
  QAccessible::installUpdateHandler(fPrevious);
  gRecorder = nullptr;
}

void FocusRecorder::Record(QAccessibleEvent* theEvent) {
  if (!gRecorder || theEvent->type() != QAccessible::Focus) return;
  // Only the nodes of self-drawn content: Qt's own widget focus has an object.
  if (theEvent->object()) return;
  QAccessibleInterface* iface = theEvent->accessibleInterface();
  gRecorder->fNames.push_back(iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>"));
}

std::vector<QString> ChildNames(QAccessibleInterface* theIface) {
  std::vector<QString> names;
  for (int i = 0; theIface && i < theIface->childCount(); ++i)
    if (QAccessibleInterface* c = theIface->child(i)) names.push_back(c->text(QAccessible::Name));
  return names;
}

void ExpectPlacedChild(QAccessibleInterface* theParent, QAccessibleInterface* theChild) {
  ASSERT_NE(theChild, nullptr);
  EXPECT_EQ(theChild->parent(), theParent);
  EXPECT_EQ(theParent->child(theParent->indexOfChild(theChild)), theChild);
  EXPECT_FALSE(theChild->rect().isEmpty());
  EXPECT_TRUE(theParent->rect().contains(theChild->rect()));
  EXPECT_EQ(theParent->childAt(theChild->rect().center().x(), theChild->rect().center().y()), theChild);
}

void ExpectFocusWalk(FocusRecorder& theRecorder, vx::TControl* theControl, const std::vector<FocusStep>& theSteps,
                     bool theSelected) {
  for (const FocusStep& step : theSteps) {
    SCOPED_TRACE(step.heard);
    theRecorder.Clear();
    KeyClick(theControl, step.key);
    ASSERT_EQ(theRecorder.Names().size(), 1u);
    EXPECT_EQ(theRecorder.Names()[0], step.heard);
    QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(theControl)->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->text(QAccessible::Name), step.heard);
    EXPECT_TRUE(focused->state().focused);
    if (theSelected) EXPECT_TRUE(focused->state().selected);
  }
}

}  // namespace vxtest
