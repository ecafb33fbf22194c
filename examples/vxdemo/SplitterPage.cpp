// The splitter and sizer page: panels on all four sides, each with a
// splitter of its own, around a surface of shaded bars. A hint follows the
// bars under the mouse, a right click offers colours to pick from, and an XY
// sizer can be dragged across the surface with its guide lines.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <cstdio>
#include <memory>

#include "Gallery.h"
#include <vxplan/paint/vxGraphStuff.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/paint/vxSplitter.h>
#include <vxplan/paint/vxXYSizer.h>
#include <vxplan/platform/rtl/Math.h>

using namespace vx;

namespace {

struct Bar : TObject {
  std::string name;
  TRect rect;
  TColor colour;
  Bar(std::string n, TRect r, TColor c) : name(std::move(n)), rect(r), colour(c) {}
};

class Surface : public TvxOffscreenPaint {
public:
  explicit Surface(TComponent* owner) : TvxOffscreenPaint(owner) {
    SetBevelOuter(bvNone);
    fBars.push_back(std::make_unique<Bar>("Foundation", Rect(30, 40, 250, 64), RGB(0x3A, 0x6E, 0xC8)));
    fBars.push_back(std::make_unique<Bar>("Framing", Rect(180, 90, 420, 114), RGB(0xD0, 0x7A, 0x2A)));
    fBars.push_back(std::make_unique<Bar>("Roofing", Rect(360, 140, 560, 164), RGB(0x4C, 0xA0, 0x4C)));
    fBars.push_back(std::make_unique<Bar>("Inspection", Rect(520, 190, 534, 204), RGB(0xB0, 0x30, 0x30)));
    fSelected = fBars[1].get();
    fHint = new TGraphHintWindow(this);
    fHint->SetShowBelowOwner(false);
    fHint->fOnUpdateTextEvent = [](TGraphHintWindow* h, TObject* o) {
      auto* bar = static_cast<Bar*>(o);
      h->SetCaption(bar->name + "\r" + std::to_string(bar->rect.Width()) + " px long");
    };
  }
  TGraphHintWindow* Hint() const { return fHint; }
  std::string status = "Drag the black grip; right-click a bar for its colour.";

  void OffscreenPaint() override {
    TCanvas* c = GetOffscreenCanvas();
    const double sx = GetScalex(), sy = GetScaley();
    auto scaled = [&](const TRect& r) {
      return Rect(Round(r.Left * sx), Round(r.Top * sy), Round(r.Right * sx), Round(r.Bottom * sy));
    };
    c->GetBrush()->SetColor(clWindow);
    c->FillRect(Rect(0, 0, GetWidth(), GetHeight()));
    c->GetPen()->SetColor(clGridLine);
    for (int x = 30; x < GetWidth(); x += Round(50 * sx)) {
      c->MoveTo(x, 0);
      c->LineTo(x, GetHeight());
    }
    for (auto& b : fBars) {
      const TRect r = scaled(b->rect);
      GStuff::FillRadiated(c, r, b->colour);
      GStuff::BevelRect(c, r, true);
      if (b.get() == fSelected) GStuff::DoSelectContent(c, GStuff::Fixrect(r, -3, -3, 3, 3));
      c->GetBrush()->SetStyle(bsClear);
      c->GetFont()->SetColor(clWindowText);
      c->GetFont()->SetSize(9);
      PrintResizeFont();
      c->TextOut(r.Left, r.Bottom + 2, b->name);
    }
    // A label turned upright along the left edge.
    c->GetFont()->SetSize(10);
    PrintResizeFont();
    GStuff::RotateFont(c->GetFont(), 90);
    c->GetFont()->SetColor(clGrayText);
    c->TextOut(Round(6 * sx), GetHeight() - Round(10 * sy), "Shaded bars");
    c->GetFont()->SetOrientation(0);
    c->GetFont()->SetColor(clWindowText);
    c->GetFont()->SetSize(9);
    PrintResizeFont();
    c->TextOut(Round(30 * sx), GetHeight() - Round(22 * sy), status);
  }

protected:
  Bar* BarAt(int X, int Y) {
    for (auto& b : fBars)
      if (b->rect.Contains(Point(X, Y))) return b.get();
    return nullptr;
  }
  void MouseMove(TShiftState Shift, int X, int Y) override {
    TvxOffscreenPaint::MouseMove(Shift, X, Y);
    fHint->ShowSlowHintFor(BarAt(X, Y), X + 12, Y + 18);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TvxOffscreenPaint::MouseDown(Button, Shift, X, Y);
    Bar* b = BarAt(X, Y);
    if (!b) return;
    fSelected = b;
    Invalidate();
    if (Button != mbRight) return;
    fHint->ShowSlowHintFor(nullptr, X, Y);  // not over the menu
    static const TColor colours[] = {RGB(0xC8, 0x3A, 0x3A), RGB(0x4C, 0xA0, 0x4C), RGB(0x3A, 0x6E, 0xC8)};
    const int pick = GStuff::UserOption(this, X, Y, {"Red", "Green", "Blue"}, 2);
    if (pick >= 0) b->colour = colours[pick];
    Invalidate();
  }

private:
  std::vector<std::unique_ptr<Bar>> fBars;
  Bar* fSelected = nullptr;
  TGraphHintWindow* fHint = nullptr;
};

TPanel* Side(TWinControl* parent, TAlign align, int size, const std::string& caption) {
  auto* p = new TPanel(parent);
  p->SetParent(parent);
  p->SetBounds(align == alRight ? 5000 : 0, align == alBottom ? 5000 : 0, size, size);
  p->SetAlign(align);
  p->SetCaption(caption);
  p->SetColor(clStripe);
  return p;
}

TvxSplitter* Splitter(TWinControl* parent, TAlign align, TResizeStyle style, bool beveled) {
  auto* s = new TvxSplitter(parent);
  s->SetParent(parent);
  s->SetBounds(align == alRight ? 4000 : 1000, align == alBottom ? 4000 : 1000, 5, 5);
  s->SetAlign(align);
  s->SetResizeStyle(style);
  s->SetBeveled(beveled);
  s->SetColor(clBtnFace);
  return s;
}

}  // namespace

GalleryPage MakeSplitterPage() {
  auto* form = new TPanel(nullptr);
  form->SetBevelOuter(bvNone);
  form->SetBounds(0, 0, 1100, 560);
  Side(form, alTop, 56, "Top: its splitter draws a halftone line while dragging");
  Splitter(form, alTop, rsPattern, true);
  Side(form, alBottom, 48, "Bottom: its splitter draws a solid line");
  Splitter(form, alBottom, rsLine, true);
  Side(form, alLeft, 170, "Left: updates at once");
  Splitter(form, alLeft, rsUpdate, true);
  Side(form, alRight, 170, "Right: MinSize 60");
  Splitter(form, alRight, rsPattern, true)->SetMinSize(60);

  auto* surface = new Surface(form);
  surface->SetParent(form);
  surface->SetAlign(alClient);
  auto* grip = new TXYSizer(surface);
  grip->SetParent(surface);
  grip->SetBounds(300, 260, 5, 5);
  grip->OnResize = [surface](TXYSizer*, TPoint d) {
    surface->status = "The grip moved by (" + std::to_string(d.X) + ", " + std::to_string(d.Y) + ").";
    surface->Invalidate();
  };

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(form);
  GalleryPage result{"splitter", page, nullptr, nullptr, nullptr, {form}, nullptr};
  result.print = [surface](TDeviceContext* dc) { surface->Print(dc, 150, 150, 3, 3, true); };
  // A drag half done (the line over the panels, the grip with its guides)
  // and the hint, which is a window of its own.
  result.extra = [form, surface, grip](const std::string& dir) {
    TvxSplitter* right = nullptr;
    for (int i = 0; i < form->ControlCount(); ++i)
      if (auto* s = dynamic_cast<TvxSplitter*>(form->GetControl(i)); s && s->GetAlign() == alRight) right = s;
    if (right) {
      right->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 100));
      right->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-120, 100));
    }
    grip->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    grip->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-60, -40));
    TBitmap shot;
    form->PaintTo(&shot);
    if (shot.SaveToFile(dir + "/splitter-drag.png")) std::printf("wrote %s/splitter-drag.png\n", dir.c_str());
    grip->Perform(WM_LBUTTONUP, 0, MAKELPARAM(-60, -40));
    if (right) {
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QCoreApplication::sendEvent(right, &escape);
      right->Perform(WM_LBUTTONUP, 0, MAKELPARAM(-120, 100));
    }
    surface->Hint()->ShowMoveInfo("Framing", "Start 08:00  Stop 16:30", "moved by 2 days", 200, 130);
    TBitmap hint;
    surface->Hint()->PaintTo(&hint);
    if (hint.SaveToFile(dir + "/splitter-hint.png")) std::printf("wrote %s/splitter-hint.png\n", dir.c_str());
    surface->Hint()->ReleaseHandle();
  };
  return result;
}
