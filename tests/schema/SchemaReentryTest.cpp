// Handlers that delete what they are handed: for every event and hook of the
// schedule that hands out a booking, a column or a page, a handler deletes
// that object, its column, its list, everything, or (through deleteLater) the
// schedule itself, while the control is driven through Qt's event delivery or
// the print loop, in both orientations. Afterwards the schedule still paints,
// prints and takes input.
#include <QMenu>
#include <QTest>

#include "ReentrancyHarness.h"
#include "SchemaMouseSupport.h"
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/printing/vxSchemaPrinting.h>

using namespace vx;
using vxtest::Kill;
using vxtest::MouseSchema;
using vxtest::TestSchema;

namespace {

constexpr double kDay0 = TestSchema::kDay0;
constexpr double kH = TestSchema::kHour;

void RemoveLayer(TvxSchema_ComBasic& s, TvxDataList* theList) {
  TvxDataList2lev* layers = s.GetLayers();
  const int k = layers->IndexOf(theList);
  if (k < 0) return;
  layers->Delete(k);
  theList->FreeWheneverPossible();
}

void RemoveEverything(TvxSchema_ComBasic& s) {
  s.ClearColumns();
  while (s.GetLayers()->Count() > 0) RemoveLayer(s, s.GetLayers()->GetDataList(s.GetLayers()->Count() - 1));
}

// Deletes what the kill names for a handler handed theBooking (or, nil, theColumn).
void Delete(MouseSchema& s, Kill theKill, TvxDataEntity_SchemaTime* theBooking,
            TvxDataEntity_SchemaColumn* theColumn) {
  if (theBooking && !theColumn) theColumn = s.GetColumns()->GetColumn(theBooking->GetCol());
  switch (theKill) {
    case Kill::Object:
      if (theBooking)
        s.RemoveSchemaTime(theBooking);
      else
        s.RemoveColumn(theColumn);
      break;
    case Kill::Line: s.RemoveColumn(theColumn); break;
    case Kill::List:
      if (theBooking)
        RemoveLayer(s, theBooking->GetDataList());
      else
        s.ClearColumns();
      break;
    case Kill::All: RemoveEverything(s); break;
    case Kill::Control: s.deleteLater(); break;
  }
}

// The schedule of a case: six columns, and in column 1 two overlapping
// bookings drawn by the application (so that every hook sees them), one more
// in column 3 and one in a second layer.
struct Plan : vxtest::Reentrant {
  explicit Plan(bool theFlipped) : s(new MouseSchema(theFlipped)), guard(s) {
    a = s->Item(1, 9, 9.5);
    b = s->Item(1, 9.25, 10);
    s->Item(3, 10, 11);
    s->Item(2, 9, 10, 1);
    for (TvxDataEntity_SchemaTime* e : {a, b}) e->SetStyle(tssUser);
    s->GetShowMeBigTimer()->SetInterval(30);
    s->Settle();
  }
  ~Plan() {
    delete guard.data();  // nil when the case deleted it
    vxtest::ProcessEventsUntilIdle();
  }
  // A point a little into booking a along the time axis, in its middle across.
  TPoint OverA() {
    TRect r;
    s->RectFromDataEntity(s->Flipped(), a, r);
    return s->Flipped() ? Point(r.Left + 15, (r.Top + r.Bottom) / 2) : Point((r.Left + r.Right) / 2, r.Top + 15);
  }
  // What a handler does with what it is handed, the first time only.
  void Drop(TvxDataEntity_SchemaTime* e, TvxDataEntity_SchemaColumn* theColumn) {
    if (Fire() && (e || theColumn)) Delete(*s, kill, e, theColumn);
  }
  void CheckWhole();
  MouseSchema* s;
  QPointer<MouseSchema> guard;
  TvxDataEntity_SchemaTime* a = nullptr;
  TvxDataEntity_SchemaTime* b = nullptr;
};

void PaintScreen(Plan& p) {
  p.s->Area()->Invalidate();
  vxtest::ProcessEventsUntilIdle();
  p.s->Area()->Repaint();
}

void PrintBlock(MouseSchema& s, int theRowHeight = 40) {
  auto dc = TDeviceContext::CreateImage(800, 800);
  int w = 0, h = 0;
  TvxPrintSchema::Print(&s, dc.get(), 0, 0, 400, theRowHeight, 1, 1, 0, 5, kDay0 + 8 * kH, kDay0 + 12 * kH,
                        s.Flipped(), w, h);
}
void PrintPaper(Plan& p) { PrintBlock(*p.s); }

void HoverForPreview(Plan& p) {
  p.s->Move(p.s->At(5, 9.5));
  p.s->Move(p.OverA());
  ASSERT_TRUE(MouseSchema::RunUntil([&] { return p.s->GetShowMeBigWindow()->IsShowing(); }, 2000));
  // Rendered as the window system would have it painted.
  TBitmap shot;
  p.s->GetShowMeBigWindow()->PaintTo(&shot);
}

void DragAlongTime(Plan& p) {
  const TPoint at = p.OverA();
  p.s->Drag(at, p.s->Shifted(at, MouseSchema::Px(20)));
}

void KeyOnArea(Plan& p, Qt::Key theNormal, Qt::Key theFlipped, Qt::KeyboardModifiers theModifiers) {
  p.s->Area()->SetFocus();
  vxtest::KeyClick(p.s->Area(), p.s->Flipped() ? theFlipped : theNormal, theModifiers);
}

void ClickMenuEntry(TPopupMenu& theMenu) {
  QMenu* menu = theMenu.GetItems()->SubMenu(false);
  ASSERT_TRUE(menu && menu->isVisible());
  QAction* action = theMenu.GetItems()->GetItem(0)->Action();
  QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
  vxtest::ProcessEventsUntilIdle();
}

TvxDataEntity_SchemaTime* AsTime(TvxDataEntity* e) { return dynamic_cast<TvxDataEntity_SchemaTime*>(e); }
TvxDataEntity_SchemaColumn* AsColumn(TvxDataEntity* e) { return dynamic_cast<TvxDataEntity_SchemaColumn*>(e); }

void SelectBoth(Plan& p) {
  p.a->SetSelected(true);
  p.b->SetSelected(true);
}
void SelectA(Plan& p) { p.a->SetSelected(true); }

void ArmDraw(Plan& p) {
  p.s->OnDrawTimeContent = [&p](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, const TRect&, TCanvas*) {
    p.Drop(e, nullptr);
  };
}
void ArmDrawingRect(Plan& p) {
  p.s->OnGetDrawingRect = [&p](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, TRect&) {
    p.Drop(e, nullptr);
    return true;
  };
}
void ArmVisible(Plan& p) {
  p.s->OnIsVisible = [&p](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, bool&) {
    p.Drop(e, nullptr);
    return true;
  };
}
void ArmSelection(Plan& p) {
  p.s->OnSelectionChanged_SchemaTime = [&p](TObject*, TvxDataList*, TvxDataEntity* e) { p.Drop(AsTime(e), nullptr); };
}
void ArmValue(Plan& p) {
  p.s->OnValueChanged_SchemaTime = [&p](TObject*, TvxDataEntity* e) { p.Drop(AsTime(e), nullptr); };
}

// The item menu, whose one entry hands its handler the booking it was opened for.
void ArmItemMenu(Plan& p) {
  auto* menu = new TPopupMenu(p.s);
  auto* entry = new TMenuItem(nullptr);
  entry->SetCaption("Delete");
  entry->OnClick = [&p](TObject*) { p.Drop(AsTime(p.s->GetPopupSelectedDataEntity()), nullptr); };
  menu->GetItems()->Add(entry);
  p.s->SetPopupSchema(menu);
}

const vxtest::Reentry<Plan> kHooks[] = {
    {"draw, screen", nullptr, ArmDraw, PaintScreen},
    {"draw, paper", nullptr, ArmDraw, PrintPaper},
    {"draw, preview", nullptr, [](Plan& p) {
       p.s->OnDrawTimeContent = [&p](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, const TRect& r, TCanvas*) {
         if (r.Left == 0 && r.Top == 0 && r.Right == p.s->GetShowMeBigWindow()->GetWidth() - 2) p.Drop(e, nullptr);
       };
     }, HoverForPreview},
    {"drawing rect, screen", nullptr, ArmDrawingRect, PaintScreen},
    {"drawing rect, press", nullptr, ArmDrawingRect, DragAlongTime},
    {"drawing rect, paper", nullptr, ArmDrawingRect, PrintPaper},
    {"visible, screen", nullptr, ArmVisible, PaintScreen},
    {"visible, layout", nullptr, ArmVisible, [](Plan& p) { p.s->SetWindow(kDay0 + 7 * kH, kDay0 + 11 * kH); }},
    {"visible, paper", nullptr, ArmVisible, PrintPaper},
    // Asked first for the titles' font, before any column is printed.
    {"print font, paper", nullptr, [](Plan& p) {
       p.s->OnPrintResizeFont = [&p](TvxOffscreenPaint*, int&, bool&) { p.Drop(p.a, nullptr); };
     }, PrintPaper},
    {"selection, click", nullptr, ArmSelection, [](Plan& p) { p.s->Drag(p.OverA(), p.OverA()); }},
    {"selection, cleared", SelectBoth, ArmSelection, [](Plan& p) { p.s->Drag(p.s->At(4, 9.1), p.s->At(4, 9.1)); }},
    {"value changed, drag", nullptr, ArmValue, DragAlongTime},
    {"value changed, keys", SelectBoth, ArmValue, [](Plan& p) { KeyOnArea(p, Qt::Key_Down, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier); }},
    {"change, resize", nullptr, [](Plan& p) {
       p.s->OnChangeDataEntity_SchemaTime = [&p](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e) { p.Drop(e, nullptr); };
     }, [](Plan& p) {
       TRect r;
       p.s->RectFromDataEntity(p.s->Flipped(), p.a, r);
       const TPoint end = p.s->Flipped() ? Point(r.Right - 1, r.Top + 5) : Point(r.Left + 5, r.Bottom - 1);
       p.s->Drag(end, p.s->Shifted(end, MouseSchema::Px(15)));
     }},
    {"mouse down", nullptr, [](Plan& p) {
       p.s->OnSchemaMouseDown = [&p](TObject*, TMouseButton, TShiftState, int x, int y) { p.Drop(p.s->GetDataEntityFromXY(x, y), nullptr); };
     }, DragAlongTime},
    {"mouse up", nullptr, [](Plan& p) {
       p.s->OnSchemaMouseUp = [&p](TObject*, TMouseButton, TShiftState, int x, int y) { p.Drop(p.s->GetDataEntityFromXY(x, y), nullptr); };
     }, DragAlongTime},
    {"double click", nullptr, [](Plan& p) {
       p.s->Area()->OnDblClick = [&p](TObject*) { p.Drop(p.s->GetActiveDataEntity(), nullptr); };
     }, [](Plan& p) {
       const TPoint at = p.OverA();
       vxtest::MouseDoubleClick(p.s->Area(), at.X, at.Y);
     }},
    {"right click menu", nullptr, ArmItemMenu, [](Plan& p) {
       const TPoint at = p.OverA();  // a may be gone after the press
       p.s->Press(at, Qt::RightButton);
       p.s->Release(at, Qt::RightButton);
       ClickMenuEntry(*p.s->GetPopupSchema());
     }},
    {"menu key", SelectA, ArmItemMenu, [](Plan& p) {
       KeyOnArea(p, Qt::Key_Menu, Qt::Key_Menu, Qt::NoModifier);
       ClickMenuEntry(*p.s->GetPopupSchema());
     }},
    {"collision", nullptr, [](Plan& p) {
       p.s->OnCollisionDetected = [&p](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, int) { p.Drop(e, nullptr); };
     }, [](Plan& p) {
       p.s->Item(1, 9.1, 9.4);
       p.s->Settle();
     }},
    {"column switch, keys", SelectA, [](Plan& p) {
       p.s->OnSwitchCol = [&p](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, int, int&) { p.Drop(e, nullptr); };
     }, [](Plan& p) { KeyOnArea(p, Qt::Key_Right, Qt::Key_Down, Qt::ControlModifier); }},
    {"may edit, press", nullptr, [](Plan& p) {
       p.s->OnBeforeCanEditItem_SchemaTime = [&p](TObject*, TvxDataEntity* e) { p.Drop(AsTime(e), nullptr); };
     }, DragAlongTime},
    {"hint, hover", nullptr, [](Plan& p) {
       p.s->OnSchemaHintInfo = [&p](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, TDateTime, TDateTime, int, int) {
         if (e) p.Drop(e, nullptr);
       };
     }, [](Plan& p) {
       const TPoint at = p.OverA();
       p.s->Move(at);
       p.s->Move(p.s->Shifted(at, 3));
     }},
    {"background", nullptr, [](Plan& p) {
       p.s->OnDrawBackground = [&p](TvxSchema_ComBasic*, const TRect&, TCanvas*) { p.Drop(p.a, nullptr); };
     }, PaintScreen},
    {"foreground", nullptr, [](Plan& p) {
       p.s->OnDrawForeground = [&p](TvxSchema_ComBasic*, const TRect&, TCanvas*) { p.Drop(p.a, nullptr); };
     }, PaintScreen},
    {"scaler change", nullptr, [](Plan& p) { p.s->OnScalerChange = [&p](TObject*) { p.Drop(p.a, nullptr); }; },
     [](Plan& p) { p.s->SetWindow(kDay0 + 7 * kH, kDay0 + 11 * kH); }},
    {"column inserted", nullptr, [](Plan& p) {
       p.s->OnInsertItem_Column = [&p](TObject*, TvxDataEntity* c) { p.Drop(nullptr, AsColumn(c)); };
     }, [](Plan& p) { p.s->AddColumn(); }},
    {"column content", nullptr, [](Plan& p) {
       p.s->OnContentChanged_Column = [&p](TObject*, TvxDataList*) { p.Drop(nullptr, p.s->GetColumns()->GetColumn(1)); };
     }, [](Plan& p) { p.s->AddColumn(); }},
    {"column deleted", nullptr, [](Plan& p) {
       p.s->OnDeleteItem_Column = [&p](TObject*, TvxDataEntity* c) { p.Drop(nullptr, AsColumn(c)); };
     }, [](Plan& p) { p.s->RemoveColumn(p.s->GetColumns()->GetColumn(1)); }},
    {"column value", nullptr, [](Plan& p) {
       p.s->OnValueChanged_Column = [&p](TObject*, TvxDataEntity* c) { p.Drop(nullptr, AsColumn(c)); };
     }, [](Plan& p) { p.s->GetColumns()->GetColumn(1)->SetOffsetDate(0.5); }},
    {"new page", nullptr, [](Plan& p) {
       p.s->OnPrintToHdcNewPage = [&p](TvxSchema_ComBasic*, int page, int& h, int& w, bool&, bool&) {
         (p.s->Flipped() ? h : w) = p.s->Flipped() ? 20 + 2 * 41 + 5 : 50 + 2 * 50 + 5;
         if (page == 2) p.Drop(nullptr, p.s->GetColumns()->GetColumn(2));
       };
     }, [](Plan& p) { PrintBlock(*p.s, p.s->Flipped() ? 20 : 50); }},
};

// What is left still paints, prints and takes input: a new booking is
// selected by a click and moved by a drag.
void Plan::CheckWhole() {
  if (kill == Kill::Control) return vxtest::ExpectGoneAtTheEventLoop(guard);
  MouseSchema& s = *this->s;
  while (s.GetColumns()->Count() < 6) s.Column("n");
  s.SizeColumns();
  s.ResetWindow();
  s.PaintArea();
  PrintBlock(s);
  TvxDataEntity_SchemaTime* e = s.Item(0, 9, 9.5);
  s.Settle();
  const TPoint at = s.At(0, 9.25);
  s.Drag(at, at);
  EXPECT_TRUE(e->GetSelected());
  s.Drag(at, s.Shifted(at, MouseSchema::Px(30)));
  EXPECT_NEAR((e->GetStartDateTime() - kDay0) * 1440, 9.5 * 60, 1e-6);
}

// Each hook with each kill, in both orientations; the schedule itself goes
// through deleteLater from a menu, a value change and a page.
using Param = std::tuple<vxtest::Reentry<Plan>, Kill, bool>;

class SchemaReentry : public testing::TestWithParam<Param> {};

TEST_P(SchemaReentry, AHandlerDeletesWhatItIsHanded) {
  Plan p(std::get<2>(GetParam()));
  vxtest::RunReentry(p, std::get<0>(GetParam()), std::get<1>(GetParam()));
}

std::vector<vxtest::Reentry<Plan>> EndingHooks() {
  std::vector<vxtest::Reentry<Plan>> hooks;
  for (const auto& h : kHooks)
    for (const char* name : {"right click menu", "value changed, drag", "new page"})
      if (std::string(h.name) == name) hooks.push_back(h);
  return hooks;
}

std::string CaseName(const testing::TestParamInfo<Param>& theInfo) {
  const auto& [hook, kill, flipped] = theInfo.param;
  return vxtest::TestName(std::string(hook.name) + " " + vxtest::KillName(kill) + (flipped ? " flipped" : " normal"));
}

const Kill kKills[] = {Kill::Object, Kill::Line, Kill::List, Kill::All};
INSTANTIATE_TEST_SUITE_P(EveryHook, SchemaReentry,
                         testing::Combine(testing::ValuesIn(kHooks), testing::ValuesIn(kKills), testing::Bool()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(EndsTheSchedule, SchemaReentry,
                         testing::Combine(testing::ValuesIn(EndingHooks()), testing::Values(Kill::Control),
                                          testing::Values(false)),
                         CaseName);

}  // namespace
