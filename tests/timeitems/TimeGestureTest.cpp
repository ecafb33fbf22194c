// The gesture engine on its own, against a board of lanes 20 pixels high
// where a pixel across is a unit of time: press, move and release sequences
// and what they start, show and write.
#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "UiTestSupport.h"
#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/timeitems/vxTimeGesture.h>

using namespace vx;

namespace {

struct Bar {
  std::string name;
  double start, stop;
  int lane;
};

std::string Times(double a, double b) {
  std::ostringstream s;
  s << a << "-" << b;
  return s.str();
}

class Board final : public TvxTimeGestureHost {
public:
  Board() : fEngine(*this, TvxGestureRules()) {
    fArea.SetBounds(0, 0, 200, 100);
    fList.reset(TvxDataList::Create(&fController, {}));
    for (const Bar& b : {Bar{"a", 20, 60, 0}, Bar{"b", 100, 140, 0}, Bar{"c", 20, 60, 2}, Bar{"s", 160, 166, 1}})
      fBars[fList->Add()] = b;
  }
  ~Board() override { fEngine.Reset(); }

  TvxDataEntity* Named(const std::string& n) {
    for (auto& [e, bar] : fBars)
      if (bar.name == n) return e;
    return nullptr;
  }
  void Delete(const std::string& n) {
    TvxDataEntity* e = Named(n);
    fBars.erase(e);
    fList->Remove(e);
    fEngine.Forget(e);
  }
  std::vector<TvxDataEntity*> Items() const {  // in the list's order
    std::vector<TvxDataEntity*> items;
    for (int p = 0; p < fList->LoadedCount(); ++p) items.push_back(fList->GetLoaded(p));
    return items;
  }
  std::string Selection() const {
    std::string names;
    for (TvxDataEntity* e : Items())
      if (e->GetSelected()) names += (names.empty() ? "" : " ") + fBars.at(e).name;
    return names;
  }
  static TRect RectOf(const Bar& b) {
    return Rect(static_cast<int>(b.start), b.lane * 20, static_cast<int>(b.stop), b.lane * 20 + 20);
  }
  double Snapped(double t) const { return fSnap > 0 ? fSnap * std::round(t / fSnap) : t; }

  TvxTimeGesture fEngine;
  TPanel fArea{nullptr};
  TvxListController fController;
  TvxOwned<TvxDataList> fList;
  std::map<TvxDataEntity*, Bar> fBars;
  std::vector<TvxGesturePermits> fLanes = std::vector<TvxGesturePermits>(5);
  std::string fNoEdit, fHint;
  double fSnap = 0;
  bool fLeaves = false;
  std::vector<std::string> fWrites;
  int fLaneSteps = 0;
  TvxGestureCursor fCursor = gcIdle;
  std::function<void()> fOnHint, fOnWrite;

private:
  TWinControl* GestureArea() override { return &fArea; }
  TvxDataEntity* GestureItemAt(int x, int y) override {
    for (TvxDataEntity* e : Items())
      if (RectOf(fBars.at(e)).Contains(Point(x, y))) return e;
    return nullptr;
  }
  bool GestureInGrowBand(TvxDataEntity* e, int x, int y, TRect& r, bool& theStart) override {
    r = RectOf(fBars.at(e));
    return fEngine.InGrowBand(r, x, y, theStart);
  }
  bool GestureCanEdit(TvxDataEntity* e) override { return fNoEdit.find(fBars.at(e).name) == std::string::npos; }
  TvxGesturePermits GesturePermitsAt(TPoint p) override { return fLanes.at(std::clamp(p.Y / 20, 0, 4)); }
  TDateTime GestureTimeAt(int x, int) override { return x; }
  int GestureLaneAt(int, int y) override { return y / 20; }
  void GestureSelection(std::vector<std::pair<TvxDataEntity*, TRect>>& theItems) override {
    for (TvxDataEntity* e : Items())
      if (e->GetSelected()) theItems.emplace_back(e, RectOf(fBars.at(e)));
  }
  void GestureClearSelection() override { fList->ClearSelections(); }
  TvxTimeLanding GestureMoveLanding(TvxDataEntity* e, const TRect& r, TPoint d) override {
    const Bar& b = fBars.at(e);
    const double start = Snapped(b.start + d.X);
    const int lane = (r.Top + 10 + d.Y) / 20;
    return {start, start + b.stop - b.start, lane, RectOf({b.name, start, start + b.stop - b.start, lane}),
            lane >= 0 && lane < 5};
  }
  TvxTimeLanding GestureGrowLanding(TvxDataEntity* e, const TRect&, bool theStart, TPoint d) override {
    const Bar& b = fBars.at(e);
    TvxTimeLanding l{b.start, b.stop, b.lane, NoRect(), true};
    if (theStart) l.fStart = std::min(Snapped(b.start + d.X), b.stop);
    else l.fStop = std::max(Snapped(b.stop + d.X), b.start);
    l.fRect = RectOf({b.name, l.fStart, l.fStop, l.fLane});
    return l;
  }
  void GestureWriteMove(TvxDataEntity* e, const TRect& r, TPoint d, bool theCopy) override {
    if (fOnWrite) fOnWrite();
    if (!fBars.count(e)) return;
    const TvxTimeLanding l = GestureMoveLanding(e, r, d);
    Bar& b = fBars.at(e);
    fWrites.push_back((theCopy ? "copy " : "move ") + b.name + " " + Times(l.fStart, l.fStop) + " lane " +
                      std::to_string(l.fLane));
    if (!theCopy) b = {b.name, l.fStart, l.fStop, l.fLane};
  }
  void GestureWriteGrow(TvxDataEntity* e, const TRect& r, bool theStart, TPoint d) override {
    const TvxTimeLanding l = GestureGrowLanding(e, r, theStart, d);
    Bar& b = fBars.at(e);
    fWrites.push_back("grow " + b.name + " " + Times(l.fStart, l.fStop));
    b = {b.name, l.fStart, l.fStop, b.lane};
  }
  void GestureLink(TvxDataEntity* from, int x, int y) override {
    if (TvxDataEntity* to = GestureItemAt(x, y); from && to)
      fWrites.push_back("link " + fBars.at(from).name + " " + fBars.at(to).name);
  }
  void GestureOutline(const TRect& r) override { fEngine.Overlay()->InvertRect(r, TXorOverlay::xpHalftone); }
  void GestureHint(TvxDataEntity* e, const TvxTimeLanding& l, TPoint) override {
    fHint = (e ? fBars.at(e).name + " " : "") + Times(l.fStart, l.fStop);
    if (fOnHint) fOnHint();
  }
  void GestureHover(TvxDataEntity*, int, int) override {}
  void GestureCursor(TvxGestureCursor c) override { fCursor = c; }
  bool GestureTimeStep(int thePos) override {
    if (thePos >= 0 && thePos <= fArea.GetWidth()) return false;
    fWrites.push_back(thePos < 0 ? "earlier" : "later");
    return true;
  }
  void GestureTimeStepStop() override {}
  bool GestureLanesStep() override { return true; }
  void GestureStepLanes(bool theForward) override {
    if (fLaneSteps++ == 0) fWrites.push_back(theForward ? "lanes on" : "lanes back");
  }
  bool GestureLeavesOutside() override { return fLeaves; }
  void GestureLeave() override { fWrites.push_back("leave"); }
};

template <class F>
bool RunUntil(F thePredicate) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!thePredicate() && std::chrono::steady_clock::now() < until) {
    QApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return thePredicate();
}

// Plays "press 40,10; move+ctrl 50,10; release+right 50,10; link 40,10;
// cancel; calloff; escape; delete a; tick; cursor" on the board (a tick
// waits for the lanes' first step, the cursor is noted among the writes);
// answers the mode after the first press.
std::string Play(Board& b, const std::string& theSteps) {
  static const char* modes[] = {"none", "move", "copy", "grow start", "grow stop", "link"};
  std::string mode, step;
  std::istringstream steps(theSteps);
  while (std::getline(steps, step, ';')) {
    std::istringstream in(step);
    std::string verb, name;
    int x = 0, y = 0;
    char comma = 0;
    in >> verb;
    const TShiftState shift = verb.find("+ctrl") != std::string::npos ? TShiftState{ssCtrl} : TShiftState();
    const TMouseButton button = verb.find("+right") != std::string::npos ? mbRight : mbLeft;
    verb = verb.substr(0, verb.find('+'));
    if (verb == "delete") in >> name;
    else in >> x >> comma >> y;
    TvxTimeGesture& g = b.fEngine;
    if (verb == "press" || verb == "link") {
      g.Press(button, shift, x, y, verb == "press");
      if (button == mbLeft) g.Begin(shift, verb == "link");
      g.PressHandled();
      if (mode.empty()) mode = modes[g.Mode()];
    } else if (verb == "move") {
      g.Move(shift + TShiftState{ssLeft}, x, y);
    } else if (verb == "release") {
      g.Release(button, shift, x, y);
    } else if (verb == "cancel") {
      g.Cancel();
    } else if (verb == "calloff") {
      g.CallOff();
      g.PressHandled();
    } else if (verb == "escape") {
      vxtest::KeyClick(&b.fArea, Qt::Key_Escape);
    } else if (verb == "delete") {
      b.Delete(name);
    } else if (verb == "tick") {
      RunUntil([&b] { return b.fLaneSteps > 0; });
    } else if (verb == "cursor") {
      b.fWrites.push_back(b.fCursor == gcResize ? "resize cursor" : b.fCursor == gcLink ? "link cursor" : "cursor");
    }
  }
  return mode;
}

std::string Joined(const std::vector<std::string>& theLines) {
  std::string text;
  for (const std::string& l : theLines) text += (text.empty() ? "" : "; ") + l;
  return text;
}

}  // namespace

TEST(TimeGesture, ATableOfGestures) {
  auto select = [](const char* names) {
    return [names](Board& b) {
      for (const char* n = names; *n; ++n) b.Named(std::string(1, *n))->SetSelected(true);
    };
  };
  struct Case {
    const char* name;
    std::function<void(Board&)> setup;
    const char *steps, *mode, *writes, *selected, *hint;  // mode after the first press, the last hint
  };
  const Case cases[] = {
      {"a move in time", nullptr, "press 40,10; move 45,10; move 55,10; release 55,10", "move",
       "move a 35-75 lane 0", "a", "a 35-75"},
      {"snapped, the hint is what the release writes", [](Board& b) { b.fSnap = 10; },
       "press 40,10; move 47,10; release 47,10", "move", "move a 30-70 lane 0", "a", "a 30-70"},
      {"Ctrl copies where copying is on", [](Board& b) { b.fEngine.Rules().fCopyWithCtrl = true; },
       "press+ctrl 40,10; move 60,10; release+ctrl 60,10", "copy", "copy a 40-80 lane 0", "a", "a 40-80"},
      {"the start band resizes", nullptr, "press 21,10; move 15,10; release 11,10", "grow start", "grow a 10-60", "a",
       "a 14-60"},
      {"the stop dragged past the start ends there", nullptr, "press 58,10; move 0,10; release 0,10", "grow stop",
       "grow a 20-20", "a", "a 20-20"},
      {"just past the stop grabs it", [](Board& b) { b.fEngine.Rules().fGrabPastStop = true; },
       "press 62,10; release 70,10", "grow stop", "grow a 20-68", "a", ""},
      {"just past the stop, elsewhere", nullptr, "press 62,10; release 70,10", "none", "", "", ""},
      {"a small item is moved when asked", [](Board& b) { b.fEngine.Rules().fFavourMoveOnSmall = true; },
       "press 161,30; release 171,30", "move", "move s 170-176 lane 1", "s", ""},
      {"an item that may not be edited", [](Board& b) { b.fNoEdit = "a"; }, "press 40,10; move 50,30; release 50,30",
       "none", "", "a", ""},
      {"a lane that forbids moves in time", [](Board& b) { b.fLanes[0].fMove = false; },
       "press 40,10; move 60,50; release 60,50", "move", "move a 20-60 lane 2", "a", "a 20-60"},
      {"a lane that forbids changing lanes", [](Board& b) { b.fLanes[0].fChangeLane = false; },
       "press 40,10; move 60,50; release 60,50", "move", "move a 40-80 lane 0", "a", "a 40-80"},
      {"a lane that forbids resizing", [](Board& b) { b.fLanes[0].fResize = false; },
       "press 21,10; move 10,10; release 10,10", "grow start", "", "a", ""},
      {"a press on a selected item selects it alone at the release", select("ab"), "press 120,10; release 120,10",
       "move", "", "b", ""},
      {"a drag of the selection keeps it", select("ab"), "press 120,10; move 125,10; release 130,10", "move",
       "move a 30-70 lane 0; move b 110-150 lane 0", "a b", "b 105-145"},
      {"Ctrl on a selected item deselects it at the release", select("ab"), "press+ctrl 120,10; release+ctrl 120,10",
       "move", "", "a", ""},
      {"a press on nothing clears the selection", select("ab"), "press 80,90; release 80,90", "none", "", "", ""},
      {"a cancel writes nothing and keeps the selection", select("ab"),
       "press 120,10; move 130,50; cancel; move 140,50; release 140,50", "move", "", "a b", "b 110-150"},
      {"Escape cancels", select("ab"), "press 120,10; move 130,50; escape; release 140,50", "move", "", "a b",
       "b 110-150"},
      {"a right button released meanwhile does not end it", nullptr,
       "press 40,10; move 50,10; release+right 50,10; move 60,10; release 60,10", "move", "move a 40-80 lane 0", "a",
       "a 40-80"},
      {"the application calls it off from its press handler", nullptr, "press 40,10; calloff; move 60,10; release 60,10",
       "move", "", "a", ""},
      {"a link", nullptr, "link 40,10; move 100,10; release 110,10", "link", "link a b", "", ""},
      {"a drag out of the area leaves it", [](Board& b) { b.fLeaves = true; },
       "press 40,10; move 150,10; move 250,10; release 250,10", "move", "later; leave", "a", "a 230-270"},
      {"beyond the area the axis steps; the release knows it moved", nullptr,
       "press 40,10; move -10,10; move -12,10; move 40,10; release 40,10", "move",
       "earlier; earlier; move a 20-60 lane 0", "a", "a 20-60"},
      {"at the far edge across the lanes step, until back inside", [](Board& b) { b.fEngine.Rules().fLaneStepInterval = 10; },
       "press 40,10; move 40,98; tick; move 40,50; release 40,50", "move", "lanes on; move a 20-60 lane 2", "a", "a 20-60"},
      {"a resize steps time only where the rules say so", nullptr,
       "press 21,10; move -10,10; cursor; release 5,10; move 6,10; cursor; move 30,10; cursor", "grow start",
       "resize cursor; grow a 4-60; resize cursor; cursor", "a", "a -11-60"},
      {"a resize stepping time", [](Board& b) { b.fEngine.Rules().fTimeStepWhileResizing = true; },
       "press 21,10; move -10,10; release 5,10", "grow start", "earlier; grow a 4-60", "a", "a -11-60"},
      {"the item resized goes", nullptr, "press 58,10; move 70,10; delete a; move 80,10; release 80,10", "grow stop",
       "", "", "a 20-72"},
      {"a handler deletes the pressed item while it is hinted", [](Board& b) { b.fOnHint = [&b] { b.Delete("a"); }; },
       "press 40,10; move 50,10; move 60,10; release 60,10", "move", "", "", "a 30-70"},
      {"a handler deletes a moved item during the writes",
       [select](Board& b) {
         select("ab")(b);
         b.fOnWrite = [&b] {
           if (b.Named("b")) b.Delete("b");
         };
       },
       "press 40,10; move 50,10; release 50,10", "move", "move a 30-70 lane 0", "a", "a 30-70"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Board b;
    vxtest::ShowWindow(&b.fArea);
    if (c.setup) c.setup(b);
    EXPECT_EQ(Play(b, c.steps), c.mode);
    EXPECT_EQ(Joined(b.fWrites), c.writes);
    EXPECT_EQ(b.Selection(), c.selected);
    EXPECT_EQ(b.fHint, c.hint);
    EXPECT_FALSE(b.fEngine.Active());
    EXPECT_EQ(b.fEngine.OutlineCount(), 0);
  }
}
