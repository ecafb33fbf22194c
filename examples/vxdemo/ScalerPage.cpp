// The date scaler page: a horizontal and a vertical scaler, a surface that
// draws their tick lines, and controls for their settings.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "Gallery.h"
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/scaler/vxScaler.h>

using namespace vx;

namespace {

// Grid lines at the ticks of both scalers, and bands for the weeks, the way
// a chart draws behind its bars.
class TickGrid : public TvxOffscreenPaint {
public:
  TickGrid(TvxDateScaler* theTop, TvxDateScaler* theSide) : TvxOffscreenPaint(nullptr), fTop(theTop), fSide(theSide) {
    SetBevelOuter(bvNone);
    SetColor(clWindow);
  }
  void OffscreenPaint() override {
    TCanvas* c = GetOffscreenCanvas();
    const int w = GetWidth(), h = GetHeight();
    const std::vector<int>& longs = fTop->GetLongLinePos();
    c->GetBrush()->SetColor(clStripe);
    for (size_t k = 0; k + 1 < longs.size(); k += 2) c->FillRect(Rect(longs[k], 0, longs[k + 1], h));
    c->GetPen()->SetColor(MixColors(clWindow, clGridLine, 0.6));
    for (int x : fTop->GetShortLinePos()) {
      c->MoveTo(x, 0);
      c->LineTo(x, h);
    }
    for (int y : fSide->GetShortLinePos()) {
      c->MoveTo(0, y);
      c->LineTo(w, y);
    }
    c->GetPen()->SetColor(clBackground);  // the separators' grey, which shows on light and dark
    for (int x : longs) {
      c->MoveTo(x, 0);
      c->LineTo(x, h);
    }
    for (int y : fSide->GetLongLinePos()) {
      c->MoveTo(0, y);
      c->LineTo(w, y);
    }
    // Today, where it is in view.
    const int today = fTop->DateToPixel(Now());
    c->GetPen()->SetColor(clRed);
    c->MoveTo(today, 0);
    c->LineTo(today, h);
  }

private:
  TvxDateScaler* fTop;
  TvxDateScaler* fSide;
};

TvxHiddenHours Nights() {
  TvxHiddenHours h;
  for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 17, 18, 19, 20, 21, 22, 23}) h.Include(static_cast<TvxHiddenHoursEnum>(k));
  return h;
}

}  // namespace

GalleryPage MakeScalerPage() {
  auto* page = new QWidget;
  auto* top = new TvxDateScaler(nullptr);
  auto* side = new TvxDateScaler(nullptr);
  top->SetHorizontal(true);
  side->SetHorizontal(false);
  side->SetVerticalText(true);
  top->SetDateFormat("yyyy/mm/dd");
  top->SetTimeFormat("hh:nn");
  side->SetTimeFormat("hh:nn");
  top->setFixedHeight(45);
  side->setFixedWidth(112);  // wide enough for the corner's help
  auto* grid = new TickGrid(top, side);
  grid->setMinimumSize(384, 300);  // with the side axis, as wide as the other pages
  const TDateTime monday = Date() - ((DayOfWeek(Date()) + 5) % 7);
  top->SetStart(monday - 7);
  top->SetStop(monday + 35);
  side->SetStart(monday);
  side->SetStop(monday + 7);
  // The wheel zooms around the pointer, Shift+wheel pans: the scalers' own.
  top->SetWheelConvention(wcQt);
  side->SetWheelConvention(wcQt);
  // Reached by Tab as well as by a click: the keys pan and zoom.
  top->SetTabStop(true);
  side->SetTabStop(true);
  top->OnChange = [grid](TObject*) { grid->Invalidate(); };
  side->OnChange = [grid](TObject*) { grid->Invalidate(); };

  auto* area = new QGridLayout;
  area->setSpacing(0);
  auto* corner = new QLabel(QStringLiteral("drag: zoom\nCtrl-drag: pan\nwheel: zoom\nShift+wheel: pan"));
  corner->setAlignment(Qt::AlignCenter);
  corner->setStyleSheet(QStringLiteral("font-size: 8pt"));
  corner->setForegroundRole(QPalette::PlaceholderText);  // secondary text in any palette
  area->addWidget(corner, 0, 0);
  area->addWidget(top, 0, 1);
  area->addWidget(side, 1, 0);
  area->addWidget(grid, 1, 1);

  // The settings, applied to both scalers.
  auto both = [top, side](const std::function<void(TvxDateScaler*)>& f) {
    f(top);
    f(side);
  };
  auto* form = new QFormLayout;
  auto* look = new QComboBox;
  look->addItems({QStringLiteral("classic"), QStringLiteral("boxed")});
  QObject::connect(look, &QComboBox::currentIndexChanged,
                   [both](int i) { both([i](TvxDateScaler* s) { s->SetLookAndFeel(static_cast<TLookAndFeel>(i)); }); });
  form->addRow(QStringLiteral("Look"), look);
  auto* indicator = new QComboBox;
  indicator->addItems({QStringLiteral("none"), QStringLiteral("normal"), QStringLiteral("colourful"), QStringLiteral("sober")});
  indicator->setCurrentIndex(1);
  QObject::connect(indicator, &QComboBox::currentIndexChanged, [both](int i) {
    both([i](TvxDateScaler* s) { s->SetIndicatorStyle(static_cast<TIndicatorStyle>(i)); });
  });
  form->addRow(QStringLiteral("Indicator"), indicator);
  auto* buttons = new QComboBox;
  buttons->addItems({QStringLiteral("classic"), QStringLiteral("small"), QStringLiteral("off")});
  QObject::connect(buttons, &QComboBox::currentIndexChanged, [both](int i) {
    both([i](TvxDateScaler* s) { s->SetScrollButtons(static_cast<TScrollButtons>(i)); });
  });
  form->addRow(QStringLiteral("Scroll buttons"), buttons);
  auto* nights = new QCheckBox(QStringLiteral("hide 0-8 and 17-24"));
  QObject::connect(nights, &QCheckBox::toggled, [both](bool on) {
    both([on](TvxDateScaler* s) { s->SetHiddenHours(on ? Nights() : TvxHiddenHours()); });
  });
  form->addRow(QStringLiteral("Hidden hours"), nights);
  auto* weekend = new QCheckBox(QStringLiteral("hide Saturday and Sunday"));
  QObject::connect(weekend, &QCheckBox::toggled, [both](bool on) {
    both([on](TvxDateScaler* s) { s->SetHiddenDays(on ? TvxHiddenDays{thdSAT, thdSUN} : TvxHiddenDays()); });
  });
  form->addRow(QStringLiteral("Hidden days"), weekend);
  auto* weeks = new QCheckBox(QStringLiteral("week numbers"));
  weeks->setChecked(true);
  QObject::connect(weeks, &QCheckBox::toggled, [both](bool on) { both([on](TvxDateScaler* s) { s->SetWeekNumbers(on); }); });
  form->addRow(QStringLiteral("Weeks"), weeks);
  auto* firstDay = new QComboBox;
  firstDay->addItems({QStringLiteral("Sunday"), QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                      QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
                      QStringLiteral("Saturday")});
  firstDay->setCurrentIndex(1);
  QObject::connect(firstDay, &QComboBox::currentIndexChanged,
                   [both](int i) { both([i](TvxDateScaler* s) { s->SetFirstDayOfWeek(i + 1); }); });
  form->addRow(QStringLiteral("First day of week"), firstDay);
  auto* settings = new QGroupBox(QStringLiteral("Date scalers"));
  settings->setLayout(form);
  settings->setFixedWidth(340);

  auto* row = new QHBoxLayout(page);
  row->addLayout(area, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(settings);
  auto* keys = new QLabel(QStringLiteral(
      "Keys, once a scaler has the focus (a click or Tab): the arrows along it pan, Ctrl with + or - zooms."));
  keys->setWordWrap(true);
  keys->setFixedWidth(340);
  right->addWidget(keys);
  right->addStretch(1);
  row->addLayout(right);

  GalleryPage result{"scaler", page, nullptr, nullptr, nullptr, {top, side}, nullptr};
  result.print = [top, side](TDeviceContext* dc) {
    // The horizontal scaler across the page, the vertical one below it, at
    // three device pixels per screen pixel.
    top->Print(dc, 150, 150, 3, 3, true);
    side->Print(dc, 150, 150 + Round(60 * 3.0), 3, 3, true);
  };
  return result;
}
