// The classic in-application drag, driven by real input through Qt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>

#include "UiTestSupport.h"
#include <vxplan/platform/ui/ExtCtrls.h>

using namespace vx;
using Lines = std::vector<std::string>;

namespace {

// A window with a source panel, a panel that takes drops from it and one
// that takes nothing.
struct DragScene {
  TPanel form{nullptr};
  TPanel* source;
  TPanel* target;
  TPanel* refuser;
  Lines log;

  DragScene() {
    form.SetBounds(0, 0, 400, 200);
    auto place = [this](int x) {
      auto* p = new TPanel(&form);
      p->SetParent(&form);
      p->SetBounds(x, 20, 80, 80);
      return p;
    };
    source = place(10);
    target = place(150);
    refuser = place(290);
    source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(false); };
    source->OnMouseMove = [this](TObject*, TShiftState, int, int) { log.push_back("source move"); };
    source->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("source up"); };
    source->OnEndDrag = [this](TObject*, TObject* t, int x, int y) {
      log.push_back(std::string("end ") + (t == target ? "target" : t ? "other" : "none") + " " + std::to_string(x) +
                    "," + std::to_string(y));
    };
    target->OnDragOver = [this](TObject*, TObject* s, int x, int y, TDragState st, bool& accept) {
      accept = s == source;
      log.push_back("over " + std::to_string(st) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    target->OnDragDrop = [this](TObject*, TObject* s, int x, int y) {
      log.push_back(std::string("drop ") + (s == source ? "source" : "?") + " " + std::to_string(x) + "," +
                    std::to_string(y));
    };
    refuser->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = false; };
    vxtest::ShowWindow(&form);
  }
};

}  // namespace

TEST(ClassicDrag, DropsOnAControlThatAccepts) {
  DragScene s;
  vxtest::MousePress(s.source, 20, 20);
  s.log.clear();  // the pointer's way to the press
  vxtest::MouseMove(s.source, 22, 21);  // within the threshold: not yet a drag
  EXPECT_TRUE(s.source->Dragging());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  vxtest::MouseMove(s.target, 30, 40);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::DragCopyCursor);
  vxtest::MouseMove(s.target, 31, 40);
  vxtest::MouseRelease(s.target, 31, 40);
  EXPECT_FALSE(s.source->Dragging());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(s.log, (Lines{"over 0 30,40", "over 2 31,40", "drop source 31,40", "end target 31,40"}));
}

TEST(ClassicDrag, RefusalsEscapeAndClicks) {
  DragScene s;
  // Over a control that refuses: the no-drop cursor, and no drop.
  vxtest::MousePress(s.source, 20, 20);
  vxtest::MouseMove(s.refuser, 10, 10);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
  vxtest::MouseRelease(s.refuser, 10, 10);
  ASSERT_FALSE(s.log.empty());
  EXPECT_EQ(s.log.back().substr(0, 8), "end none");

  // Escape cancels over an accepting control: it hears the drag leave.
  vxtest::MousePress(s.source, 20, 20);
  s.log.clear();
  vxtest::MouseMove(s.target, 5, 5);
  vxtest::KeyClick(s.source, Qt::Key_Escape);
  EXPECT_FALSE(s.source->Dragging());
  EXPECT_EQ(s.log, (Lines{"over 0 5,5", "over 1 5,5", "end none 145,5"}));
  vxtest::MouseRelease(s.target, 5, 5);

  // A press and release without moving is a click, not a drag.
  vxtest::MousePress(s.source, 20, 20);
  s.log.clear();
  vxtest::MouseRelease(s.source, 20, 20);
  EXPECT_EQ(s.log, (Lines{"source up"}));
  EXPECT_FALSE(s.source->Dragging());
}
