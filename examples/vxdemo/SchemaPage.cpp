// The schedule page: a week view (seven day columns against one time-of-day
// axis, the night hidden, overlapping bookings side by side, the today line)
// and a resource view (200 resources as rows over two weeks, weekends
// hidden, a few thousand bookings), switched with two buttons. Bookings are
// moved and resized with the mouse and the keys, and have a menu.
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cmath>

#include "Gallery.h"
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/Menus.h>
#include <vxplan/printing/vxSchemaPrinting.h>
#include <vxplan/schema/vxSchema.h>

using namespace vx;

namespace {

const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const kWhat[] = {"Stand-up",   "Design review", "Customer call", "Workshop",  "1:1",
                             "Planning",   "Lunch talk",    "Interviews",    "Demo prep", "Retro",
                             "Site visit", "Code review",   "Training",      "Budget",    "Support"};
const char* const kWhere[] = {"Room 1", "Room 2", "Online", "Lab", "Hall B"};
const TColor kFills[] = {RGB(0xCF, 0xE2, 0xF3), RGB(0xD9, 0xEA, 0xD3), RGB(0xFF, 0xF2, 0xCC),
                         RGB(0xF4, 0xCC, 0xCC), RGB(0xE1, 0xD5, 0xE7)};
const TColor kFrames[] = {RGB(0x3D, 0x6E, 0xA8), RGB(0x4E, 0x8A, 0x3E), RGB(0xB0, 0x8A, 0x1E),
                          RGB(0xA8, 0x3D, 0x3D), RGB(0x74, 0x4E, 0x8A)};

void SetFont(TFont& f, int theSize, bool theBold, TColor theColor) {
  f.SetName("DejaVu Sans");
  f.SetSize(theSize);
  if (theBold) f.SetStyle(TFontStyles{fsBold});
  f.SetColor(theColor);
}

void Style(TvxSchema& s) {
  s.SetSchemaColor(clWindow);
  s.SetSchemaPyjamasColor(clStripe);
  TFont title, time, place;
  SetFont(title, 8, true, RGB(0x20, 0x20, 0x20));
  SetFont(time, 7, false, RGB(0x40, 0x40, 0x40));
  SetFont(place, 7, false, RGB(0x80, 0x40, 0x40));
  s.SetTextFont1(title);
  s.SetTextFont2(time);
  s.SetTextFont3(place);
  s.SetTodayLineColor(RGB(0xE0, 0x20, 0x20));
  s.SetTodayLineOnOff(true);
  s.SetScalerTimeFormat("hh:nn");
  // The wheel as in Qt's widgets: rows (days), Shift in time, Ctrl zooms.
  s.SetWheelConvention(wcQt);
  // A booking dropped on another day (or resource) keeps its place on the axis.
  s.SetMoveInTimeWhenColSwitch(true);
  // The menu of a booking: remove it, or give it the next colour.
  auto* menu = new TPopupMenu(&s);
  auto* remove = new TMenuItem(nullptr);
  remove->SetCaption("Remove booking");
  remove->OnClick = [&s](TObject*) {
    if (auto* e = dynamic_cast<TvxDataEntity_SchemaTime*>(s.GetPopupSelectedDataEntity())) s.RemoveSchemaTime(e);
  };
  auto* recolour = new TMenuItem(nullptr);
  recolour->SetCaption("Next colour");
  recolour->OnClick = [&s](TObject*) {
    auto* e = dynamic_cast<TvxDataEntity_SchemaTime*>(s.GetPopupSelectedDataEntity());
    if (!e) return;
    int kind = 0;
    while (kind < 5 && kFills[kind] != e->GetBackColor()) ++kind;
    e->SetBackColor(kFills[(kind + 1) % 5]);
    e->SetFrameColor(kFrames[(kind + 1) % 5]);
    s.GetSchemaArea()->Invalidate();
  };
  menu->GetItems()->Add(remove);
  menu->GetItems()->Add(recolour);
  s.SetPopupSchema(menu);
}

std::string Times(TvxDataEntity_SchemaTime* e) {
  return FormatDateTime("hh:nn", e->GetStartDateTime()) + "-" + FormatDateTime("hh:nn", e->GetStopDateTime());
}

// A week view booking's second line names its times: it follows every move
// and resize.
void FollowTimes(TvxSchema& s) {
  s.OnValueChanged_SchemaTime = [](TObject*, TvxDataEntity* theEntity) {
    auto* e = dynamic_cast<TvxDataEntity_SchemaTime*>(theEntity);
    std::string text;
    int x = 0, y = 0, style = 0;
    if (e && e->GetText(1, text, x, y, style) && style == 2) e->SetText(1, Times(e), x, y, style);
  };
}

void Book(TvxSchema& s, int theColumn, TDateTime theStart, TDateTime theLength, int theKind, bool theWeek) {
  TvxDataEntity_SchemaTime* e = s.AddSchemaTime(0);
  e->SetCol(theColumn);
  e->SetStartDateTime(theStart);
  e->SetStopDateTime(theStart + theLength);
  e->SetBackColor(kFills[theKind % 5]);
  e->SetFrameColor(kFrames[theKind % 5]);
  e->SetLeftInset(1);
  e->SetRightInset(1);
  e->AddText(kWhat[theKind % 15], 3, 2, 1);
  if (theWeek) {
    e->AddText(Times(e), 3, 14, 2);
    e->AddText(kWhere[theKind % 5], 3, 25, 3);
  } else {
    e->AddText(kWhere[theKind % 5], 3, 12, 3);
  }
}

// Seven days of the current week against today's 07:00 to 19:00: each day's
// column is offset from today, so that its bookings meet the one axis.
TvxSchema* MakeWeek(TComponent* theOwner) {
  auto* s = new TvxSchema(theOwner);
  Style(*s);
  const TDateTime today = Date();
  const TDateTime monday = today - ((DayOfWeek(today) + 5) % 7);
  TvxHiddenHours night;
  for (int h = 0; h < 24; ++h)
    if (h < 7 || h >= 19) night.Include(static_cast<TvxHiddenHoursEnum>(h));
  s->SetHiddenHours(night);
  s->SetScalerWidth(56);
  s->SetQuadPoint(Point(56, 34));
  for (int d = 0; d < 7; ++d) {
    TvxDataEntity_SchemaColumn* c = s->AddColumn();
    c->SetOffsetDate(monday + d - today);
    c->SetText(std::string(kDays[d]) + "\n" + FormatDateTime("d mmm", monday + d));
  }
  s->GetColumns()->SetResizeCell(0);
  s->GetColumns()->HeaderCellReSize(160);
  s->SetScalerStart(today + 7.0 / 24);
  s->SetScalerStop(today + 19.0 / 24);
  FollowTimes(*s);
  // A full working day per column, with meetings that overlap.
  for (int d = 0; d < 7; ++d) {
    const int count = d >= 5 ? 2 : 7;
    for (int i = 0; i < count; ++i) {
      const double hour = 8 + ((d * 5 + i * 3) % 19) * 0.5;
      const double length = (1 + (d + i) % 4) * 0.5 / 24;
      Book(*s, d, monday + d + hour / 24, length, d * 7 + i, true);
    }
  }
  return s;
}

// 200 resources over two working weeks, flipped: resources are rows.
TvxSchema* MakeResources(TComponent* theOwner) {
  auto* s = new TvxSchema(theOwner);
  Style(*s);
  const TDateTime today = Date();
  const TDateTime monday = today - ((DayOfWeek(today) + 5) % 7);
  s->SetHiddenDays(TvxHiddenDays{thdSAT, thdSUN});
  s->SetFlipView(true);
  s->SetFlippedQuadPoint(Point(130, 46));
  s->GetScaler()->SetDateFormat("ddd d");
  for (int r = 0; r < 200; ++r) {
    TvxDataEntity_SchemaColumn* c = s->AddColumn();
    c->SetText((r % 3 == 0 ? "Machine " : "Technician ") + std::to_string(r + 1));
  }
  s->GetColumns()->SetResizeCell(0);
  s->GetColumns()->HeaderCellReSize(26);
  // Overlapping bookings keep a readable height: their row grows.
  s->SetSubColumnSize(26);
  s->SetScalerStart(monday);
  s->SetScalerStop(monday + 14);
  for (int r = 0; r < 200; ++r)
    for (int i = 0; i < 15; ++i) {
      const int day = (r * 3 + i * 5) % 14;
      if (day % 7 >= 5) continue;
      const double start = monday + day + (7 + (r + i * 7) % 9) / 24.0;
      Book(*s, r, start, (2 + (r + i) % 14) / 24.0, r + i, false);
    }
  return s;
}

}  // namespace

GalleryPage MakeSchemaPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* choice = new QHBoxLayout;
  auto* week = new QRadioButton(QStringLiteral("Week view"));
  auto* resources = new QRadioButton(QStringLiteral("Resource view (200 resources, two weeks)"));
  week->setChecked(true);
  choice->addWidget(week);
  choice->addWidget(resources);
  choice->addStretch(1);
  layout->addLayout(choice);
  auto* stack = new QStackedWidget;

  auto* weekForm = new TPanel(nullptr);
  weekForm->SetBevelOuter(bvNone);
  weekForm->SetBounds(0, 0, 1160, 540);
  TvxSchema* w = MakeWeek(weekForm);
  w->SetParent(weekForm);
  w->SetAlign(alClient);
  auto* resourceForm = new TPanel(nullptr);
  resourceForm->SetBevelOuter(bvNone);
  resourceForm->SetBounds(0, 0, 1160, 540);
  TvxSchema* r = MakeResources(resourceForm);
  r->SetParent(resourceForm);
  r->SetAlign(alClient);
  stack->addWidget(weekForm);
  stack->addWidget(resourceForm);
  QObject::connect(week, &QRadioButton::toggled, [stack](bool on) { stack->setCurrentIndex(on ? 0 : 1); });
  // Wrapped, so that the text never makes the window wider than the screen.
  auto* help = new QLabel(QStringLiteral(
      "Drag a booking to move it (to another day or resource too), its start or end to resize it; held past an "
      "edge the view scrolls, Escape cancels. Ctrl+arrows move the selection the way they point, by the snap; "
      "Alt+Shift and Alt+Ctrl with the time arrows move its end or start; the "
      "menu key or a right click opens its menu. The wheel scrolls the days or resources, Shift+wheel moves in "
      "time, Ctrl+wheel zooms. Drag a column edge in the header to size every column."));
  help->setWordWrap(true);
  layout->addWidget(help);
  layout->addWidget(stack, 1);

  GalleryPage result{"schema", page, nullptr, nullptr, nullptr, {w, r}, nullptr};
  // The week view on one landscape page; the resource view's two weeks at
  // its own scale, over pages along the time and down the resources.
  result.printPdf = [w](const std::string& pdf) {
    TPrintSetup setup;
    setup.fFitColumnsToPage = true;
    return TvxPrintSchema::PrintToPdf(w, pdf, setup);
  };
  // Print and preview: the view the page shows, page by page.
  result.printPages = [stack, w, r](TDeviceContext* dc) {
    TPrintSetup setup;
    if (stack->currentIndex() == 0) {
      setup.fFitColumnsToPage = true;
      return TvxPrintSchema::PrintPages(w, dc, setup);
    }
    setup.fStart = r->GetScaler()->GetStart();
    setup.fStop = r->GetScaler()->GetStop();
    return TvxPrintSchema::PrintPages(r, dc, setup);
  };
  result.extra = [stack, resourceForm, r](const std::string& theDir) {
    TPrintSetup setup;
    setup.fStart = r->GetScaler()->GetStart();
    setup.fStop = r->GetScaler()->GetStop();
    const std::string pdf = theDir + "/schema-resources.pdf";
    if (const int pages = TvxPrintSchema::PrintToPdf(r, pdf, setup))
      std::printf("wrote %s (%d pages)\n", pdf.c_str(), pages);
    stack->setCurrentIndex(1);
    Application()->ProcessMessages();
    Application()->ProcessMessages();
    const std::string png = theDir + "/schema-resources.png";
    if (resourceForm->grab().save(QString::fromStdString(png))) std::printf("wrote %s\n", png.c_str());
    stack->setCurrentIndex(0);
  };
  return result;
}
