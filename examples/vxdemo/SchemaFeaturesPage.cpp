// The schedule features page: a day of meeting rooms with two layers of
// bookings (meetings, and the set-ups before them) whose drawing order a
// switch changes; rooms out of service drawn by the application itself; and
// a Parking list beside the schedule: a booking dragged out of the schedule
// onto it waits there, and goes back wherever it is dragged onto the day.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "Gallery.h"
#include <vxplan/core/vxHolding.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/platform/ui/TreeView.h>
#include <vxplan/printing/vxSchemaPrinting.h>
#include <vxplan/schema/vxSchema.h>

using namespace vx;

namespace {

constexpr int kMeetings = 0, kSetups = 1;
constexpr int kRooms = 6;
const char* const kTitles[] = {"Board meeting", "Design review", "Customer call", "Workshop", "Interviews",
                               "Planning",      "Training",      "Budget",        "Retro",    "Demo"};
const char* const kHosts[] = {"Ann", "Bo", "Carla", "Dev", "Eli", "Finn", "Gita"};
const TColor kFills[] = {RGB(0xCF, 0xE2, 0xF3), RGB(0xD9, 0xEA, 0xD3), RGB(0xFF, 0xF2, 0xCC), RGB(0xF4, 0xCC, 0xCC)};
const TColor kFrames[] = {RGB(0x3D, 0x6E, 0xA8), RGB(0x4E, 0x8A, 0x3E), RGB(0xB0, 0x8A, 0x1E), RGB(0xA8, 0x3D, 0x3D)};
const TColor kSetupFill = RGB(0x9C, 0xC8, 0xC0), kSetupFrame = RGB(0x2E, 0x70, 0x66);
const TColor kServiceFill = RGB(0xE4, 0xE4, 0xE4), kServiceInk = RGB(0x70, 0x70, 0x70);

// A booking waiting on the Parking list: what it takes to put it back.
struct Parked {
  int col = 0;  // where it was, to go back there by the keyboard
  TDateTime start = 0;
  TDateTime length = 0;
  int layer = kMeetings;
  TTimeStyle_Schema style = tssNormal;
  TColor back = 0, frame = 0;
  int leftInset = 0, rightInset = 0;
  std::vector<TvxSchemaText> texts;
};

// The page's own state: the parked bookings, freed with the handlers that
// share it.
struct Parking {
  std::vector<std::unique_ptr<Parked>> parked;
  TCustomTreeView* list = nullptr;
  TvxSchema* schema = nullptr;
  TDateTime day = 0;
};

void SetFont(TFont& f, int theSize, bool theBold, TColor theColor) {
  f.SetName("DejaVu Sans");
  f.SetSize(theSize);
  if (theBold) f.SetStyle(TFontStyles{fsBold});
  f.SetColor(theColor);
}

TvxDataEntity_SchemaTime* Book(TvxSchema& s, int theLayer, int theRoom, TDateTime theStart, TDateTime theLength) {
  TvxDataEntity_SchemaTime* e = s.AddSchemaTime(theLayer);
  e->SetCol(theRoom);
  e->SetStartDateTime(theStart);
  e->SetStopDateTime(theStart + theLength);
  e->SetLeftInset(1);
  e->SetRightInset(1);
  return e;
}

// Meetings in every room, a set-up before most of them (overlapping the
// meeting's start, on the right of the column) and two rooms out of service
// for a while.
void FillDay(TvxSchema& s, TDateTime theDay) {
  for (int room = 0; room < kRooms; ++room)
    for (int i = 0; i < 4; ++i) {
      const double hour = 8 + ((room * 5 + i * 7) % 18) * 0.5 + i * 0.25;
      const double length = (2 + (room + i) % 4) * 0.5 / 24;
      const TDateTime start = theDay + hour / 24;
      const int kind = (room * 3 + i) % 10;
      TvxDataEntity_SchemaTime* e = Book(s, kMeetings, room, start, length);
      e->SetBackColor(kFills[kind % 4]);
      e->SetFrameColor(kFrames[kind % 4]);
      e->AddText(kTitles[kind], 3, 2, 1);
      e->AddText(FormatDateTime("hh:nn", start) + "-" + FormatDateTime("hh:nn", start + length), 3, 14, 2);
      e->AddText(kHosts[(room + i) % 7], 3, 25, 3);
      if (i % 2 == 1) continue;
      TvxDataEntity_SchemaTime* setup = Book(s, kSetups, room, start - 0.25 / 24, 0.75 / 24);
      setup->SetLeftInset(40);
      setup->SetBackColor(kSetupFill);
      setup->SetFrameColor(kSetupFrame);
      setup->AddText("Set-up", 3, 2, 3);
    }
  for (int room : {1, 4}) {
    TvxDataEntity_SchemaTime* e = Book(s, kMeetings, room, theDay + (room == 1 ? 16.5 : 7.0) / 24, 1.5 / 24);
    e->SetStyle(tssUser);
    e->SetBackColor(kServiceFill);
    e->SetFrameColor(kServiceInk);
    e->AddText("Out of service", 3, 2, 1);
  }
}

// A room out of service: hatched grey with its title, drawn here.
void DrawOutOfService(TvxDataEntity_SchemaTime* e, const TRect& r, TCanvas* c) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(e->GetBackColor());
  c->FillRect(r);
  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetColor(e->GetFrameColor());
  for (int d = 0; d < r.Width() + r.Height(); d += 7) {
    const int x0 = r.Left + std::max(0, d - r.Height() + 1), y0 = r.Top + std::min(d, r.Height() - 1);
    const int x1 = r.Left + std::min(d, r.Width() - 1), y1 = r.Top + std::max(0, d - r.Width() + 1);
    c->MoveTo(x0, y0);
    c->LineTo(x1, y1);
  }
  c->GetBrush()->SetColor(e->GetFrameColor());
  c->FrameRect(r);
  std::string title;
  int x = 0, y = 0, style = 0;
  if (!e->GetText(0, title, x, y, style)) return;
  c->GetFont()->SetName("DejaVu Sans");
  c->GetFont()->SetSize(8);
  c->GetFont()->SetStyle(TFontStyles{fsBold});
  c->GetFont()->SetColor(RGB(0x20, 0x20, 0x20));
  const TRect label(r.Left + x - 1, r.Top + y, std::min(r.Right - 1, r.Left + x + c->TextWidth(title) + 2),
                    std::min(r.Bottom - 1, r.Top + y + c->TextHeight(title)));
  c->GetBrush()->SetColor(e->GetBackColor());
  if (label.Right > label.Left && label.Bottom > label.Top) c->FillRect(label);
  c->TextOutClipped(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), r.Left + x, r.Top + y, title);
}

TvxSchema* MakeDay(TComponent* theOwner, TDateTime theDay) {
  auto* s = new TvxSchema(theOwner);
  s->SetSchemaColor(clWindow);
  s->SetSchemaPyjamasColor(clStripe);
  TFont title, time, small;
  SetFont(title, 8, true, RGB(0x20, 0x20, 0x20));
  SetFont(time, 7, false, RGB(0x40, 0x40, 0x40));
  SetFont(small, 7, false, RGB(0x10, 0x3C, 0x36));
  s->SetTextFont1(title);
  s->SetTextFont2(time);
  s->SetTextFont3(small);
  s->SetScalerTimeFormat("hh:nn");
  s->SetWheelConvention(wcQt);
  s->SetMoveInTimeWhenColSwitch(true);
  TvxHiddenHours night;
  for (int h = 0; h < 24; ++h)
    if (h < 7 || h >= 19) night.Include(static_cast<TvxHiddenHoursEnum>(h));
  s->SetHiddenHours(night);
  s->SetScalerWidth(56);
  s->SetQuadPoint(Point(56, 22));
  for (int room = 0; room < kRooms; ++room) s->AddColumn()->SetText("Room " + std::to_string(room + 1));
  s->GetColumns()->SetResizeCell(0);
  s->GetColumns()->HeaderCellReSize(100);
  s->SetScalerStart(theDay + 7.0 / 24);
  s->SetScalerStop(theDay + 19.0 / 24);
  FillDay(*s, theDay);
  s->OnDrawTimeContent = [](TvxSchema_ComBasic*, TvxDataEntity_SchemaTime* e, const TRect& r, TCanvas* c) {
    if (e && c) DrawOutOfService(e, r, c);
  };
  // The rooms share the width there is, down to a readable least.
  s->OnResize = [s](TObject*) {
    const int w = std::max(100, (s->GetWidth() - s->GetScalerWidth() - 2) / kRooms);
    if (s->GetColumns()->Count() > 0 && s->GetColumns()->GetColumn(0)->GetWidth() != w)
      s->GetColumns()->HeaderCellReSize(w);
  };
  // A booking dragged past the schedule's edge leaves as an in-application drag.
  s->SetStartDragWhenTimeMoveOutside(true);
  return s;
}

std::string Caption(const Parked& p) {
  std::string title;
  if (!p.texts.empty()) title = p.texts.front().GetText();
  const int minutes = static_cast<int>(std::lround(p.length * 1440));
  return title + " (" + std::to_string(minutes / 60) + ":" + (minutes % 60 < 10 ? "0" : "") +
         std::to_string(minutes % 60) + ")";
}

// The schedule's selected bookings.
std::vector<TvxDataEntity_SchemaTime*> Selected(TvxSchema* s) {
  std::vector<TvxDataEntity_SchemaTime*> chosen;
  TvxDataList2lev* layers = s->GetLayers();
  for (int l = 0; l < layers->Count(); ++l)
    if (TvxDataList* layer = layers->GetDataList(l))
      for (int i = 0; i < layer->Count(); ++i)
        if (auto* e = dynamic_cast<TvxDataEntity_SchemaTime*>(layer->GetItems(i)); e && e->GetSelected())
          chosen.push_back(e);
  return chosen;
}

// Bookings of the schedule move onto the Parking list.
void Park(Parking& theParking, const std::vector<TvxDataEntity_SchemaTime*>& chosen) {
  TvxSchema* s = theParking.schema;
  TvxDataList2lev* layers = s->GetLayers();
  TTreeNode* last = nullptr;
  for (TvxDataEntity_SchemaTime* e : chosen) {
    auto p = std::make_unique<Parked>();
    p->col = e->GetCol();
    p->start = e->GetStartDateTime();
    p->length = e->GetStopDateTime() - e->GetStartDateTime();
    p->layer = layers->IndexOf(e->GetDataList());
    p->style = e->GetStyle();
    p->back = e->GetBackColor();
    p->frame = e->GetFrameColor();
    p->leftInset = e->GetLeftInset();
    p->rightInset = e->GetRightInset();
    p->texts = e->GetTexts();
    last = theParking.list->GetItems()->AddChildObject(nullptr, Caption(*p), p.get());
    theParking.parked.push_back(std::move(p));
  }
  // Removed only once read: a removal tells the application, whose handlers
  // may delete the others meanwhile.
  TvxHeldList<TvxDataEntity_SchemaTime> doomed;
  for (TvxDataEntity_SchemaTime* e : chosen) doomed.Add(e);
  doomed.ForEach([s](TvxDataEntity_SchemaTime* e) { s->RemoveSchemaTime(e); });
  if (last) theParking.list->SetSelected(last);
}

// The list's selected booking goes back onto the schedule in theCol at theStart.
void PutBack(Parking& theParking, int col, TDateTime start) {
  TTreeNode* node = theParking.list->GetSelected();
  auto* p = node ? static_cast<Parked*>(node->GetData()) : nullptr;
  TvxSchema* s = theParking.schema;
  if (!p || col < 0 || col >= s->GetColumns()->Count() || !std::isfinite(start)) return;
  // Every setter tells the application, whose handlers may delete the new
  // booking: it is held, and each step finds it afresh.
  TvxHeld<TvxDataEntity_SchemaTime> held(s->AddSchemaTime(p->layer));
  const Parked& q = *p;
  const std::function<void(TvxDataEntity_SchemaTime*)> steps[] = {
      [&](TvxDataEntity_SchemaTime* e) { e->SetCol(col); },
      [&](TvxDataEntity_SchemaTime* e) { e->SetStartDateTime(start); },
      [&](TvxDataEntity_SchemaTime* e) { e->SetStopDateTime(start + q.length); },
      [&](TvxDataEntity_SchemaTime* e) { e->SetStyle(q.style); },
      [&](TvxDataEntity_SchemaTime* e) { e->SetBackColor(q.back); },
      [&](TvxDataEntity_SchemaTime* e) { e->SetFrameColor(q.frame); },
      [&](TvxDataEntity_SchemaTime* e) { e->SetLeftInset(q.leftInset); },
      [&](TvxDataEntity_SchemaTime* e) { e->SetRightInset(q.rightInset); },
  };
  for (const auto& step : steps)
    if (TvxDataEntity_SchemaTime* e = held.Get()) step(e);
  for (size_t k = 0; k < q.texts.size(); ++k) {
    TvxDataEntity_SchemaTime* e = held.Get();
    if (!e) break;
    const TvxSchemaText& t = q.texts[k];
    std::string text = t.GetText();
    // A meeting's second line names its times: the new ones.
    if (k == 1 && t.GetStyle() == 2)
      text = FormatDateTime("hh:nn", start) + "-" + FormatDateTime("hh:nn", start + q.length);
    e->AddText(text, t.GetPos().X, t.GetPos().Y, t.GetStyle());
  }
  // The handlers above may have changed the list: its entry is found afresh.
  TTreeNodes* entries = theParking.list->GetItems();
  for (int k = 0; k < entries->RootCount(); ++k)
    if (entries->GetRoot(k)->GetData() == p) {
      entries->GetRoot(k)->Delete();
      break;
    }
  std::erase_if(theParking.parked, [p](const std::unique_ptr<Parked>& q) { return q.get() == p; });
  s->GetSchemaArea()->Invalidate();
}

// Dropped at (X, Y) of the schedule's drawing area: on the quarter hour there.
void Unpark(Parking& theParking, int X, int Y) {
  TDateTime at = 0;
  int col = -1;
  theParking.schema->GetPositionDateTimeAndCol(X, Y, at, col);
  if (std::isfinite(at)) PutBack(theParking, col, std::round(at * 96) / 96);
}

// By the keyboard or the list's menu: where the booking was.
void UnparkToWhereItWas(Parking& theParking) {
  TTreeNode* node = theParking.list->GetSelected();
  if (auto* p = node ? static_cast<Parked*>(node->GetData()) : nullptr) PutBack(theParking, p->col, p->start);
}

// A booking that waits for a room from the start.
void ParkOne(Parking& theParking) {
  auto p = std::make_unique<Parked>();
  p->start = theParking.day + 0.5;
  p->length = 1.0 / 24;
  p->back = kFills[2];
  p->frame = kFrames[2];
  p->leftInset = p->rightInset = 1;
  const char* const lines[] = {"Team lunch", "12:00-13:00", "Gita"};
  for (int k = 0; k < 3; ++k) {
    TvxSchemaText t;
    t.SetText(lines[k]);
    t.SetPos(Point(3, k == 0 ? 2 : k == 1 ? 14 : 25));
    t.SetStyle(k + 1);
    p->texts.push_back(t);
  }
  theParking.list->GetItems()->AddChildObject(nullptr, Caption(*p), p.get());
  theParking.parked.push_back(std::move(p));
}

void ConnectParking(const std::shared_ptr<Parking>& theParking) {
  TvxSchema* s = theParking->schema;
  TCustomTreeView* list = theParking->list;
  list->OnDragOver = [s](TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
    Accept = Source == s->GetSchemaArea();
  };
  list->OnDragDrop = [parking = theParking](TObject*, TObject*, int, int) { Park(*parking, Selected(parking->schema)); };
  // The keyboard's way back: Enter, or the list's menu.
  list->OnKeyDown = [parking = theParking](TObject*, unsigned short& Key, TShiftState) {
    if (Key != VK_RETURN) return;
    Key = 0;
    UnparkToWhereItWas(*parking);
  };
  auto* listMenu = new TPopupMenu(list);
  auto* back = new TMenuItem(nullptr);
  back->SetCaption("Put back where it was");
  back->OnClick = [parking = theParking](TObject*) { UnparkToWhereItWas(*parking); };
  listMenu->OnPopup = [list, back](TObject*) { back->SetEnabled(list->GetSelected() != nullptr); };
  listMenu->GetItems()->Add(back);
  list->SetPopupMenu(listMenu);
  // The keyboard's way there: the booking's menu (right click, or the menu key).
  auto* menu = new TPopupMenu(s);
  auto* park = new TMenuItem(nullptr);
  park->SetCaption("Park");
  park->OnClick = [parking = theParking](TObject*) {
    auto* e = dynamic_cast<TvxDataEntity_SchemaTime*>(parking->schema->GetPopupSelectedDataEntity());
    if (!e) return;
    // The one the menu is for, with the others selected when it is one of them.
    std::vector<TvxDataEntity_SchemaTime*> chosen = Selected(parking->schema);
    if (std::find(chosen.begin(), chosen.end(), e) == chosen.end()) chosen = {e};
    Park(*parking, chosen);
  };
  menu->OnPopup = [s, park](TObject*) { park->SetEnabled(s->GetPopupSelectedDataEntity() != nullptr); };
  menu->GetItems()->Add(park);
  s->SetPopupSchema(menu);
  s->OnDragOver = [list](TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
    Accept = Source == list && list->GetSelected();
  };
  s->OnDragDrop = [parking = theParking](TObject*, TObject*, int X, int Y) { Unpark(*parking, X, Y); };
}

}  // namespace

GalleryPage MakeSchemaFeaturesPage() {
  auto* form = new TPanel(nullptr);
  form->SetBevelOuter(bvNone);
  form->SetBounds(0, 0, 1160, 540);
  auto parking = std::make_shared<Parking>();
  auto* side = new TPanel(form);
  side->SetParent(form);
  side->SetBevelOuter(bvNone);
  side->SetWidth(180);
  side->SetAlign(alRight);
  auto* title = new TPanel(side);
  title->SetParent(side);
  title->SetBevelOuter(bvNone);
  title->SetHeight(22);
  title->SetAlign(alTop);
  title->SetCaption("Parking");
  auto* list = new TCustomTreeView(side);
  list->SetParent(side);
  list->SetAlign(alClient);
  list->SetShowRoot(false);
  list->SetShowLines(false);
  list->SetShowButtons(false);
  list->SetReadOnly(true);
  list->SetRowSelect(true);
  list->SetDragMode(dmAutomatic);
  const TDateTime day = std::floor(Now());
  TvxSchema* s = MakeDay(form, day);
  s->SetParent(form);
  s->SetAlign(alClient);
  parking->list = list;
  parking->schema = s;
  parking->day = day;
  ConnectParking(parking);
  ParkOne(*parking);

  auto* page = new QWidget;
  QVBoxLayout* layout = PageWithHelp(page, QStringLiteral(
      "A day of six meeting rooms. Meetings and the set-ups before them are two layers of bookings: the switch "
      "puts one or the other on top. The grey hatched bookings (rooms out of service) are drawn by the "
      "application. Drag a booking out of the schedule onto the Parking list to take it off the day (or pick Park "
      "in its menu); drag it from the list back onto any room and time (or press Enter: it goes back where it "
      "was). Escape calls a drag off."));
  auto* onTop = new QCheckBox(QStringLiteral("Set-ups drawn on top of meetings"));
  onTop->setObjectName(QStringLiteral("setupsOnTop"));
  // The first layer listed is drawn last, on top.
  QObject::connect(onTop, &QCheckBox::toggled, page, [s](bool on) {
    TDrawLayerArray order{on ? kSetups : kMeetings, on ? kMeetings : kSetups};
    for (int l = 2; l <= 10; ++l) order.push_back(l);
    s->SetDrawLayerArray(order);
  });
  layout->addWidget(onTop);
  layout->addWidget(form, 1);

  GalleryPage result{"schemafeatures", page, nullptr, nullptr, nullptr, {s, list}, nullptr};
  result.printPdf = [s](const std::string& pdf) {
    TPrintSetup setup;
    setup.fFitColumnsToPage = true;
    return TvxPrintSchema::PrintToPdf(s, pdf, setup);
  };
  result.printPages = [s](TDeviceContext* dc) {
    TPrintSetup setup;
    setup.fFitColumnsToPage = true;
    return TvxPrintSchema::PrintPages(s, dc, setup);
  };
  return result;
}
