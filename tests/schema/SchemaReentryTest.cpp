// Handlers that delete what they are handed: for every event and hook of the
// schedule that hands out a booking, a column or a page, a handler deletes
// that object, its column, its list, everything, or (through deleteLater) the
// schedule itself, while the control is driven through Qt's event delivery or
// the print loop, in both orientations. Afterwards the schedule still paints,
// prints and takes input.
#include <gtest/gtest.h>

#include <QMenu>
#include <QPointer>
#include <QTest>
#include <functional>

#include "SchemaMouseSupport.h"
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/printing/vxSchemaPrinting.h>

using namespace vx;
using vxtest::MouseSchema;
using vxtest::TestSchema;

namespace {

constexpr double kDay0 = TestSchema::kDay0;
constexpr double kH = TestSchema::kHour;

enum Victim { vObject, vColumn, vList, vEverything, vControl };
const char* const kVictims[] = {"object", "column", "list", "everything", "control"};

// The schedule of a case: six columns, and in column 1 two overlapping
// bookings drawn by the application (so that every hook sees them), one more
// in column 3 and one in a second layer.
struct Plan {
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
  MouseSchema* s;
  QPointer<MouseSchema> guard;
  TvxDataEntity_SchemaTime* a = nullptr;
  TvxDataEntity_SchemaTime* b = nullptr;
};

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

// Deletes the victim of a handler handed theBooking (or, nil, theColumn).
void Delete(MouseSchema& s, Victim theVictim, TvxDataEntity_SchemaTime* theBooking,
            TvxDataEntity_SchemaColumn* theColumn) {
  if (theBooking && !theColumn) theColumn = s.GetColumns()->GetColumn(theBooking->GetCol());
  switch (theVictim) {
    case vObject:
      if (theBooking)
        s.RemoveSchemaTime(theBooking);
      else
        s.RemoveColumn(theColumn);
      break;
    case vColumn: s.RemoveColumn(theColumn); break;
    case vList:
      if (theBooking)
        RemoveLayer(s, theBooking->GetDataList());
      else
        s.ClearColumns();
      break;
    case vEverything: RemoveEverything(s); break;
    case vControl: s.deleteLater(); break;
  }
}

// One event or hook: Arm sets a handler that calls kill once with what it
// was handed; Drive makes the schedule raise it as a user (or a print) would.
using Kill = std::function<void(TvxDataEntity_SchemaTime*, TvxDataEntity_SchemaColumn*)>;
struct Hook {
  const char* name;
  std::function<void(Plan& p, Kill kill)> arm;
  std::function<void(Plan& p)> drive;
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

void ArmDraw(Plan& p, Kill k) {
  p.s->OnDrawTimeContent = [k](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, const TRect&, TCanvas*) {
    k(e, nullptr);
  };
}
void ArmDrawingRect(Plan& p, Kill k) {
  p.s->OnGetDrawingRect = [k](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, TRect&) {
    k(e, nullptr);
    return true;
  };
}
void ArmVisible(Plan& p, Kill k) {
  p.s->OnIsVisible = [k](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, bool&) {
    k(e, nullptr);
    return true;
  };
}
void ArmSelection(Plan& p, Kill k) {
  p.s->OnSelectionChanged_SchemaTime = [k](TObject*, TvxDataList*, TvxDataEntity* e) { k(AsTime(e), nullptr); };
}
void ArmValue(Plan& p, Kill k) {
  p.s->OnValueChanged_SchemaTime = [k](TObject*, TvxDataEntity* e) { k(AsTime(e), nullptr); };
}

// The item menu, whose one entry hands its handler the booking it was opened for.
void ArmItemMenu(Plan& p, Kill k) {
  auto* menu = new TPopupMenu(p.s);
  auto* entry = new TMenuItem(nullptr);
  entry->SetCaption("Delete");
  entry->OnClick = [k, &p](TObject*) { k(AsTime(p.s->GetPopupSelectedDataEntity()), nullptr); };
  menu->GetItems()->Add(entry);
  p.s->SetPopupSchema(menu);
}

std::vector<Hook> Hooks() {
  return {
      {"draw, screen", ArmDraw, PaintScreen},
      {"draw, paper", ArmDraw, PrintPaper},
      {"draw, preview", [](Plan& p, Kill k) {
         p.s->OnDrawTimeContent = [k, &p](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, const TRect& r, TCanvas*) {
           if (r.Left == 0 && r.Top == 0 && r.Right == p.s->GetShowMeBigWindow()->GetWidth() - 2) k(e, nullptr);
         };
       }, HoverForPreview},
      {"drawing rect, screen", ArmDrawingRect, PaintScreen},
      {"drawing rect, press", ArmDrawingRect, DragAlongTime},
      {"drawing rect, paper", ArmDrawingRect, PrintPaper},
      {"visible, screen", ArmVisible, PaintScreen},
      {"visible, layout", ArmVisible, [](Plan& p) { p.s->SetWindow(kDay0 + 7 * kH, kDay0 + 11 * kH); }},
      {"visible, paper", ArmVisible, PrintPaper},
      {"selection, click", ArmSelection, [](Plan& p) { p.s->Drag(p.OverA(), p.OverA()); }},
      {"selection, cleared", [](Plan& p, Kill k) {
         SelectBoth(p);
         ArmSelection(p, k);
       }, [](Plan& p) { p.s->Drag(p.s->At(4, 9.1), p.s->At(4, 9.1)); }},
      {"value changed, drag", ArmValue, DragAlongTime},
      {"value changed, keys", [](Plan& p, Kill k) {
         SelectBoth(p);
         ArmValue(p, k);
       }, [](Plan& p) { KeyOnArea(p, Qt::Key_Down, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier); }},
      {"change, resize", [](Plan& p, Kill k) {
         p.s->OnChangeDataEntity_SchemaTime = [k](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e) { k(e, nullptr); };
       }, [](Plan& p) {
         TRect r;
         p.s->RectFromDataEntity(p.s->Flipped(), p.a, r);
         const TPoint end = p.s->Flipped() ? Point(r.Right - 1, r.Top + 5) : Point(r.Left + 5, r.Bottom - 1);
         p.s->Drag(end, p.s->Shifted(end, MouseSchema::Px(15)));
       }},
      {"mouse down", [](Plan& p, Kill k) {
         p.s->OnSchemaMouseDown = [k, &p](TObject*, TMouseButton, TShiftState, int x, int y) { k(p.s->GetDataEntityFromXY(x, y), nullptr); };
       }, DragAlongTime},
      {"mouse up", [](Plan& p, Kill k) {
         p.s->OnSchemaMouseUp = [k, &p](TObject*, TMouseButton, TShiftState, int x, int y) { k(p.s->GetDataEntityFromXY(x, y), nullptr); };
       }, DragAlongTime},
      {"double click", [](Plan& p, Kill k) {
         p.s->Area()->OnDblClick = [k, &p](TObject*) { k(p.s->GetActiveDataEntity(), nullptr); };
       }, [](Plan& p) {
         const TPoint at = p.OverA();
         vxtest::MouseDoubleClick(p.s->Area(), at.X, at.Y);
       }},
      {"right click menu", ArmItemMenu, [](Plan& p) {
         const TPoint at = p.OverA();  // a may be gone after the press
         p.s->Press(at, Qt::RightButton);
         p.s->Release(at, Qt::RightButton);
         ClickMenuEntry(*p.s->GetPopupSchema());
       }},
      {"menu key", [](Plan& p, Kill k) {
         ArmItemMenu(p, k);
         p.a->SetSelected(true);
       }, [](Plan& p) {
         KeyOnArea(p, Qt::Key_Menu, Qt::Key_Menu, Qt::NoModifier);
         ClickMenuEntry(*p.s->GetPopupSchema());
       }},
      {"collision", [](Plan& p, Kill k) {
         p.s->OnCollisionDetected = [k](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, int) { k(e, nullptr); };
       }, [](Plan& p) {
         p.s->Item(1, 9.1, 9.4);
         p.s->Settle();
       }},
      {"column switch, keys", [](Plan& p, Kill k) {
         p.a->SetSelected(true);
         p.s->OnSwitchCol = [k](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, int, int&) { k(e, nullptr); };
       }, [](Plan& p) { KeyOnArea(p, Qt::Key_Right, Qt::Key_Down, Qt::ControlModifier); }},
      {"may edit, press", [](Plan& p, Kill k) {
         p.s->OnBeforeCanEditItem_SchemaTime = [k](TObject*, TvxDataEntity* e) { k(AsTime(e), nullptr); };
       }, DragAlongTime},
      {"hint, hover", [](Plan& p, Kill k) {
         p.s->OnSchemaHintInfo = [k](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, TDateTime, TDateTime, int, int) {
           if (e) k(e, nullptr);
         };
       }, [](Plan& p) {
         const TPoint at = p.OverA();
         p.s->Move(at);
         p.s->Move(p.s->Shifted(at, 3));
       }},
      {"background", [](Plan& p, Kill k) {
         p.s->OnDrawBackground = [k, &p](TvxSchema_ComBasic*, const TRect&, TCanvas*) { k(p.a, nullptr); };
       }, PaintScreen},
      {"foreground", [](Plan& p, Kill k) {
         p.s->OnDrawForeground = [k, &p](TvxSchema_ComBasic*, const TRect&, TCanvas*) { k(p.a, nullptr); };
       }, PaintScreen},
      {"scaler change", [](Plan& p, Kill k) { p.s->OnScalerChange = [k, &p](TObject*) { k(p.a, nullptr); }; },
       [](Plan& p) { p.s->SetWindow(kDay0 + 7 * kH, kDay0 + 11 * kH); }},
      {"column inserted", [](Plan& p, Kill k) {
         p.s->OnInsertItem_Column = [k](TObject*, TvxDataEntity* c) { k(nullptr, AsColumn(c)); };
       }, [](Plan& p) { p.s->AddColumn(); }},
      {"column content", [](Plan& p, Kill k) {
         p.s->OnContentChanged_Column = [k, &p](TObject*, TvxDataList*) { k(nullptr, p.s->GetColumns()->GetColumn(1)); };
       }, [](Plan& p) { p.s->AddColumn(); }},
      {"column deleted", [](Plan& p, Kill k) {
         p.s->OnDeleteItem_Column = [k](TObject*, TvxDataEntity* c) { k(nullptr, AsColumn(c)); };
       }, [](Plan& p) { p.s->RemoveColumn(p.s->GetColumns()->GetColumn(1)); }},
      {"column value", [](Plan& p, Kill k) {
         p.s->OnValueChanged_Column = [k](TObject*, TvxDataEntity* c) { k(nullptr, AsColumn(c)); };
       }, [](Plan& p) { p.s->GetColumns()->GetColumn(1)->SetOffsetDate(0.5); }},
      {"new page", [](Plan& p, Kill k) {
         p.s->OnPrintToHdcNewPage = [k, &p](TvxSchema_ComBasic*, int page, int& h, int& w, bool&, bool&) {
           (p.s->Flipped() ? h : w) = p.s->Flipped() ? 20 + 2 * 41 + 5 : 50 + 2 * 50 + 5;
           if (page == 2) k(nullptr, p.s->GetColumns()->GetColumn(2));
         };
       }, [](Plan& p) { PrintBlock(*p.s, p.s->Flipped() ? 20 : 50); }},
  };
}

struct Case {
  size_t hook;
  Victim victim;
  bool flipped;
};

std::string CaseName(const testing::TestParamInfo<Case>& theInfo) {
  std::string name = std::string(Hooks()[theInfo.param.hook].name) + " " + kVictims[theInfo.param.victim] +
                     (theInfo.param.flipped ? " flipped" : " normal");
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  const size_t count = Hooks().size();
  for (size_t h = 0; h < count; ++h)
    for (Victim v : {vObject, vColumn, vList, vEverything})
      for (bool flipped : {false, true}) cases.push_back({h, v, flipped});
  // The schedule itself goes through deleteLater from a menu, a value
  // change and a page.
  for (const char* name : {"right click menu", "value changed, drag", "new page"})
    for (size_t h = 0; h < count; ++h)
      if (std::string(Hooks()[h].name) == name) cases.push_back({h, vControl, false});
  return cases;
}

// What is left still paints, prints and takes input: a new booking is
// selected by a click and moved by a drag.
void StillWorks(MouseSchema& s) {
  s.OnDrawTimeContent = nullptr;
  s.OnGetDrawingRect = nullptr;
  s.OnIsVisible = nullptr;
  s.OnSelectionChanged_SchemaTime = nullptr;
  s.OnValueChanged_SchemaTime = nullptr;
  s.OnChangeDataEntity_SchemaTime = nullptr;
  s.OnSchemaMouseDown = nullptr;
  s.OnSchemaMouseUp = nullptr;
  s.Area()->OnDblClick = nullptr;
  s.OnCollisionDetected = nullptr;
  s.OnSwitchCol = nullptr;
  s.OnBeforeCanEditItem_SchemaTime = nullptr;
  s.OnSchemaHintInfo = nullptr;
  s.OnPrintToHdcNewPage = nullptr;
  s.OnDrawBackground = s.OnDrawForeground = nullptr;
  s.OnScalerChange = nullptr;
  s.OnInsertItem_Column = s.OnDeleteItem_Column = s.OnValueChanged_Column = nullptr;
  s.OnContentChanged_Column = nullptr;
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

class SchemaReentry : public testing::TestWithParam<Case> {};

TEST_P(SchemaReentry, AHandlerDeletesWhatItIsHanded) {
  const Case c = GetParam();
  const Hook hook = Hooks()[c.hook];
  Plan p(c.flipped);
  int fired = 0;
  MouseSchema* s = p.s;
  hook.arm(p, [&fired, s, &c](TvxDataEntity_SchemaTime* e, TvxDataEntity_SchemaColumn* column) {
    if (fired++ > 0 || (!e && !column)) return;
    Delete(*s, c.victim, e, column);
  });
  hook.drive(p);
  EXPECT_GT(fired, 0) << "the handler was never called";
  if (c.victim == vControl) {
    vxtest::ProcessEventsUntilIdle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(p.guard.isNull());
    return;
  }
  StillWorks(*p.s);
}

INSTANTIATE_TEST_SUITE_P(EveryHook, SchemaReentry, testing::ValuesIn(Cases()), CaseName);

}  // namespace
