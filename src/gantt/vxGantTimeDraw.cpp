// The drawing of each time-item style.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

namespace {

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

int Scaled(int theSize, double s) { return s == 1.0 ? theSize : Round(theSize * s); }

// A downward triangle with black slanting sides, hanging from a box under an
// end of a summary bar; x0 is its tip.
void HangingTriangle(TCanvas* c, TColor theColor, const TRect& box, int x0) {
  const int b2 = box.Bottom + 2;
  const int K = b2 - box.Top;
  c->GetPen()->SetColor(theColor);
  for (int k = 0; k <= K; ++k) Line(c, x0 - k, b2 - 1 - k, x0 + k, b2 - 1 - k);
  c->GetPen()->SetColor(clBlack);
  Line(c, x0 - K, box.Top, x0, b2);
  Line(c, x0 + K - 1, box.Top, x0 - 1, b2);
}

}  // namespace

TRect TvxTimeDraw::W95Safe(TRect r) {
  if (r.Left < -500 && r.Right > 2000) {
    r.Left = -500;
    r.Right = 2000;
  }
  return r;
}

void TvxTimeDraw::DrawTime(TCanvas* c, TColor theColor, const TRect& theRect) {
  const TRect r = W95Safe(theRect);
  // Each pixel written once: the inside in the colour, then the frame.
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(theColor);
  c->FillRect(InflateRect(r, -1, -1));
  c->GetBrush()->SetColor(clBlack);
  c->FrameRect(r);
}

void TvxTimeDraw::CoolOutline(TCanvas* c, TColor theColor, const TRect& theRect, double s) {
  const TRect r = W95Safe(theRect);
  const int bar = Scaled(4, s), tri = Scaled(3, s), base = Scaled(5, s), off = Scaled(3, s);
  DrawTime(c, theColor, Rect(r.Left, r.Top, r.Right, r.Top + bar));
  const int y0 = r.Top + bar;
  const TRect left = Rect(r.Left, y0, r.Left + base, y0 + tri);
  const TRect right = Rect(r.Right - base, y0, r.Right, y0 + tri);
  HangingTriangle(c, theColor, left, left.Left + (left.Right - left.Left) / 2 + off);
  HangingTriangle(c, theColor, right, right.Left + (right.Right - right.Left) / 2 - off);
}

void TvxTimeDraw::LineOutline(TCanvas* c, TColor theColor, const TRect& theRect, bool withEnds, double s) {
  const TRect r = W95Safe(theRect);
  const int cy = r.Top + (r.Bottom - r.Top) / 2;
  c->GetPen()->SetColor(theColor);
  c->GetPen()->SetWidth(Round(3 * s));
  Line(c, r.Left, cy, r.Right - 1, cy);
  c->GetPen()->SetWidth(1);
  c->GetBrush()->SetColor(clBlack);
  c->FrameRect(Rect(r.Left, cy - Round(2 * s), r.Right, cy + Round(2 * s)));
  if (withEnds) {
    c->FrameRect(Rect(r.Left, r.Top, r.Left + 2, r.Bottom));
    c->FrameRect(Rect(r.Right - 2, r.Top, r.Right, r.Bottom));
  }
}

void TvxTimeDraw::WaveOutline(TCanvas* c, TColor theColor, const TRect& r) {
  const int w = r.Right - r.Left, h = r.Bottom - r.Top;
  const int cy = r.Top + h / 2;
  c->GetPen()->SetColor(theColor);
  c->GetPen()->SetWidth(3);
  int px = r.Left;
  c->MoveTo(r.Left, cy);
  for (int i = 1; i <= 20; ++i) {
    const int x = r.Left + Round(i * static_cast<double>(w) / 20);
    const int y = cy + Round(std::sin(i * 2 * std::numbers::pi / 20) * h / 2);
    if (x > px) {
      c->LineTo(x, y);
      px = x;
    }
  }
  c->GetPen()->SetWidth(1);
}

void TvxTimeDraw::RombOutline(TCanvas* c, TColor theColor, const TRect& r) {
  const int cx = r.Left + (r.Right - r.Left) / 2, cy = r.Top + (r.Bottom - r.Top) / 2;
  c->GetPen()->SetColor(theColor);
  c->GetPen()->SetWidth(3);
  c->MoveTo(r.Left, cy);
  c->LineTo(cx, r.Top);
  c->LineTo(r.Right, cy);
  c->LineTo(cx, r.Bottom);
  c->LineTo(r.Left, cy);
  c->GetPen()->SetWidth(1);
}

void TvxTimeDraw::DrawImage(TCanvas* c, TCustomImageList* theList, int theIndex, const TRect& r, bool thePrinting) {
  if (!theList || theIndex < 0 || theIndex >= theList->Count()) return;
  if (!thePrinting) {
    theList->Draw(c, r.Left, r.Top, theIndex);
    return;
  }
  GStuff::PrintBitmap_ImageList(c, Rect(r.Left, r.Top, r.Left + r.Bottom - r.Top, r.Bottom), theList, theIndex);
}

void TvxTimeDraw::DrawPipe(TCanvas* c, TColor theColor, const TRect& theRect) {
  GStuff::FillRadiated(c, W95Safe(theRect), theColor);
}

void TvxTimeDraw::DrawTimeHollow(TCanvas* c, TColor theColor, const TRect& theRect) {
  const TRect r = W95Safe(theRect);
  c->GetPen()->SetColor(theColor);
  c->GetPen()->SetWidth(2);
  Line(c, r.Left, r.Top, r.Right, r.Top);
  Line(c, r.Right, r.Top, r.Right, r.Bottom);
  Line(c, r.Right, r.Bottom, r.Left, r.Bottom);
  Line(c, r.Left, r.Bottom, r.Left, r.Top);
  c->GetPen()->SetWidth(1);
  c->GetBrush()->SetColor(clBlack);
  c->FrameRect(r);
}

void TvxTimeDraw::DoSelectContent(TCanvas* c, const TRect& r, TColor theColor) {
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(theColor);
  c->FillRect(Rect(r.Left, r.Top, r.Left + 5, r.Top + 5));
  c->FillRect(Rect(r.Right - 5, r.Top, r.Right, r.Top + 5));
  c->FillRect(Rect(r.Left, r.Bottom - 5, r.Left + 5, r.Bottom));
  c->FillRect(Rect(r.Right - 5, r.Bottom - 5, r.Right, r.Bottom));
}

void TvxTimeDraw::ArrowHead(TCanvas* c, TColor theColor, TPoint theTip, int theHalf, int theDir) {
  const TColor keep = c->GetBrush()->GetColor();
  c->GetBrush()->SetColor(theColor);
  // Rows of pixels, filled together.
  std::vector<TRect> rows;
  rows.reserve(static_cast<size_t>(std::clamp(theHalf + 1, 0, 4096)));
  for (int k = 0; k <= theHalf && k < 4096; ++k) {
    const int y = theTip.Y + k * theDir;
    rows.push_back(Rect(theTip.X - k, y, theTip.X + k + 1, y + 1));
  }
  c->FillRects(rows);
  c->GetBrush()->SetColor(keep);
}

}  // namespace vx
