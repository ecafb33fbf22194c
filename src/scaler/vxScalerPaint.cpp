// Drawing the date scaler, and its mouse handling.
#include <algorithm>
#include <cmath>

#include <vxplan/platform/rtl/Math.h>
#include <vxplan/scaler/vxScaler.h>

namespace vx {

namespace {

// Button edges and marks in the palette's shades, so that they show on a dark face too.
constexpr TColor kGrey = clBtnShadow;
constexpr TColor kWhite = clBtnHighlight;
constexpr TColor kDarkGreen = RGB(0, 128, 0);
// The indicator's band of a vertical scaler: the labels begin at 20.
constexpr int kIndicatorBand = 20;

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

}  // namespace

// --- the paint ----------------------------------------------------------------------

void TvxDateScaler::DoThePaint(TCanvas* aCanvas, const TRect& aRect) {
  aCanvas->GetBrush()->SetColor(GetColor());
  const int dx = aRect.Width(), dy = aRect.Height();
  if (dx <= 0 || dy < 0) {
    PostChangeIfDue();
    return;
  }
  // Integer stretch factors of the ticks (1 on screen).
  const int fx = GetWidth() > 0 ? dx / GetWidth() : 0;
  const int fy = (dy != 0 && GetHeight() > 0) ? dy / GetHeight() : 0;
  aCanvas->GetPen()->SetColor(clBtnText);
  aCanvas->GetPen()->SetWidth(1);
  aCanvas->GetPen()->SetStyle(psSolid);
  aCanvas->GetPen()->SetMode(pmCopy);
  fShortLinePos.clear();
  fLongLinePos.clear();
  CalcPixAndDrawScaleMarks(aCanvas, aRect, fx, fy);
  DoBackground(aCanvas, aRect);
  DrawScaleMarksText(aCanvas, aRect);
  if (fLookAndFeel == tlfBoxed) DrawBoxes(aCanvas, aRect);
  if (!GetIsPrinting()) DrawScrollButtons(aCanvas);
  DrawZoomButtons(aCanvas);
  if (fIndicatorOn) DrawScaleIndicator(aCanvas);
  PostChangeIfDue();
  DoForeground(aCanvas, aRect);
  if (Focused() && !GetIsPrinting()) aCanvas->DrawFocusFrame(Rect(0, 0, GetWidth(), GetHeight()));
}

void TvxDateScaler::CalcPixAndDrawScaleMarks(TCanvas* aCanvas, const TRect& aRect, int fx, int fy) {
  const int dx = aRect.Width(), dy = aRect.Height();
  for (const TScaleMark& mark : fShortScaleMarkDrawList) fShortLinePos.push_back(Round(mark.Pixel));
  for (const TScaleMark& mark : fLongScaleMarkDrawList) fLongLinePos.push_back(Round(mark.Pixel));
  if (fLookAndFeel == tlfBoxed) return;
  // The ticks where the areas below draw their lines.
  std::vector<double> pixels;
  for (const bool isLong : {false, true}) {
    GetScaleLinePixels(isLong, 0, pixels);
    const int length = isLong ? 15 : 5;
    for (const double pixel : pixels) {
      if (fHorizontal) {
        const int x = aRect.Left + Round(fx * pixel);
        Line(aCanvas, x, aRect.Top + dy, x, aRect.Top + (GetHeight() - length) * fy);
      } else {
        const int y = aRect.Top + Round(fy * pixel);
        Line(aCanvas, aRect.Left + dx, y, aRect.Left + dx - length * fx, y);
      }
    }
  }
}

void TvxDateScaler::GetScaleLinePixels(bool aLong, int aMinGap, std::vector<double>& aPixels) const {
  aPixels.clear();
  const bool boxed = fLookAndFeel == tlfBoxed;
  // One row's marked pixels: its ticks, or its box separators (between the
  // marks for steps under a day, as DrawBoxes puts them).
  auto collect = [boxed, this](const std::vector<TScaleMark>& list, std::vector<double>& out) {
    const double step = !list.empty() && list[0].LongNotShort ? fLongStep : fSmallStep;
    for (size_t i = 0; i < list.size(); ++i) {
      if (list[i].Hidden) continue;  // no tick: its pixel is the next mark's
      double p = list[i].Pixel;
      if (boxed) {
        if (i + 1 >= list.size()) break;
        if (step < kScale1Day) p = (p + list[i + 1].Pixel) / 2;
      }
      if (!out.empty() && Round(out.back()) == Round(p)) continue;
      out.push_back(p);
    }
  };
  collect(aLong ? fLongScaleMarkDrawList : fShortScaleMarkDrawList, aPixels);
  if (aMinGap <= 0 || aPixels.size() < 3) return;
  // The usual gap: hidden time and month lengths make single gaps misleading.
  std::vector<double> gaps;
  gaps.reserve(aPixels.size() - 1);
  for (size_t i = 1; i < aPixels.size(); ++i) gaps.push_back(aPixels[i] - aPixels[i - 1]);
  std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
  if (gaps[gaps.size() / 2] >= aMinGap) return;
  std::vector<double> longs;
  if (!aLong) collect(fLongScaleMarkDrawList, longs);
  // A line's count from the long mark at or before it (from the first long
  // mark backwards for lines before it); even counts stay.
  auto same = [](double a, double b) { return Round(a) == Round(b); };
  std::vector<double> kept;
  kept.reserve(aPixels.size() / 2 + 1);
  size_t nextLong = 0, anchor = 0;
  bool anchored = false;
  size_t firstAfterFirstLong = aPixels.size();
  if (!longs.empty())
    for (size_t i = 0; i < aPixels.size(); ++i)
      if (aPixels[i] >= longs[0] || same(aPixels[i], longs[0])) {
        firstAfterFirstLong = i;
        break;
      }
  size_t offset = 0;
  for (size_t i = 0; i < aPixels.size(); ++i) {
    const double p = aPixels[i];
    while (nextLong < longs.size() && (longs[nextLong] <= p || same(longs[nextLong], p))) {
      anchored = true;
      anchor = i;
      offset = same(longs[nextLong], p) ? 0 : 1;  // a long mark between two lines counts as one
      ++nextLong;
    }
    size_t count = i;
    if (anchored)
      count = i - anchor + offset;
    else if (!longs.empty())
      count = firstAfterFirstLong - i;
    // Nor a line right before a long mark (an odd number of ticks to it).
    const bool beforeLong =
        nextLong < longs.size() && (i + 1 >= aPixels.size() || longs[nextLong] <= aPixels[i + 1] + 0.5);
    if (count % 2 == 0 && !beforeLong) kept.push_back(p);
  }
  aPixels.swap(kept);
}

bool TvxDateScaler::TermsForLeftPlacedText(const TScaleMark& aMark) const noexcept {
  return aMark.LongNotShort && fLongDatesToLeftEnd && fHorizontal && fLongStep >= kScale1Day;
}

int TvxDateScaler::GetScaleMarkPix(const std::vector<TScaleMark>& aList, size_t i, bool aLeftPlaced) {
  const int here = Round(aList[i].Pixel);
  const int next = i + 1 < aList.size() ? Round(aList[i + 1].Pixel) : GetScaleLen();
  const double step = aList[i].LongNotShort ? fLongStep : fSmallStep;
  // Fine steps label their tick; calendar steps their interval.
  if (step < kScale1Day || aLeftPlaced) return here;
  return here + (next - here) / 2;
}

int TvxDateScaler::GetBoxPix(const std::vector<TScaleMark>& aList, size_t i) {
  const double step = aList[i].LongNotShort ? fLongStep : fSmallStep;
  if (step < kScale1Day) {
    const double next = i + 1 < aList.size() ? aList[i + 1].Pixel : GetScaleLen();
    return Round((aList[i].Pixel + next) / 2);
  }
  return Round(aList[i].Pixel);
}

void TvxDateScaler::RotateFontIfNeeded(TFont* aFont) const {
  if (!fHorizontal && fVerticalText) aFont->SetOrientation(900);
}

void TvxDateScaler::DrawLabel(TCanvas* aCanvas, const std::string& aText, TScalerFont aFont, int anAnchor,
                              int aTextPos, int& aLast, bool aLeftPlaced, bool aLong) {
  if (aText.empty()) return;
  aCanvas->GetBrush()->SetStyle(bsClear);
  aCanvas->SetFont(*GetTextFont(aFont));
  aCanvas->GetFont()->SetColor(clBtnText);
  PrintResizeFont();
  RotateFontIfNeeded(aCanvas->GetFont());
  if (fHorizontal) {
    const int w = aCanvas->TextWidth(aText);
    if (aLeftPlaced) {
      const int x = anAnchor + 5;
      aCanvas->TextOut(x, aTextPos, aText);
      aLast = x;
      return;
    }
    const int x = anAnchor - w / 2;
    if (x > 0 && aLast + w + 6 < x) {
      aCanvas->TextOut(x, aTextPos, aText);
      aLast = x;
    }
  } else if (fVerticalText) {
    const int w = aCanvas->TextWidth(aText);
    const int y = anAnchor + w / 2;
    // Neither the far end of the axis nor its right edge cuts a label.
    const bool inside = y <= GetHeight() && aTextPos + aCanvas->TextHeight(aText) <= GetWidth();
    if (y - w > 0 && aLast + w + 10 < y && inside) {
      aCanvas->TextOut(aTextPos, y, aText);  // written upwards from y
      aLast = y;
    }
  } else {
    const int h = aCanvas->TextHeight(aText);
    const int y = anAnchor - h / 2;
    const bool inside = y + h <= GetHeight() && aTextPos + aCanvas->TextWidth(aText) <= GetWidth();
    if (y - h > 0 && aLast + h + 10 < y && inside) {
      aCanvas->TextOut(aTextPos, y, aLong ? aText + "  " : aText);
      aLast = y;
    }
  }
}

void TvxDateScaler::DrawScaleMarksText(TCanvas* aCanvas, const TRect& aRect) {
  const double scale = fHorizontal ? GetScaley() : GetScalex();
  int longPos = fHorizontal ? aRect.Top + Round(15 * scale) : aRect.Left + Round(20 * scale);
  int shortPos = fHorizontal ? aRect.Top + Round(30 * scale) : aRect.Left + Round(40 * scale);
  if (!fHorizontal && fVerticalText) {
    // A narrow axis (a schedule's is 50 to 70 pixels) moves the rotated
    // labels in, so that the short ones end before their ticks and the long
    // ones before the short ones.
    aCanvas->SetFont(*GetTextFont(sTextFont1));
    PrintResizeFont();
    const int h = aCanvas->TextHeight("0");
    shortPos = std::min(shortPos, aRect.Right - Round(6 * scale) - h);
    longPos = std::min(longPos, shortPos - h - Round(2 * scale));
  }
  for (const std::vector<TScaleMark>* list : {&fShortScaleMarkDrawList, &fLongScaleMarkDrawList}) {
    int last = -1000;
    for (size_t i = 0; i < list->size(); ++i) {
      const TScaleMark& mark = (*list)[i];
      if (mark.Hidden) continue;
      const bool leftPlaced = TermsForLeftPlacedText(mark);
      const int anchor = GetScaleMarkPix(*list, i, leftPlaced);
      if (!mark.LongNotShort) {
        // The second label neither suppresses nor is suppressed by the main ones.
        int own = last;
        DrawLabel(aCanvas, mark.SubShortStr, mark.SubShortScalerFont, anchor, shortPos + 10, own, false, false);
      }
      DrawLabel(aCanvas, mark.PresString, mark.ScalerFont, anchor, mark.LongNotShort ? longPos : shortPos, last,
                leftPlaced, mark.LongNotShort);
    }
  }
}

void TvxDateScaler::DrawBoxes(TCanvas* aCanvas, const TRect& aRect) {
  const double scale = fHorizontal ? GetScaley() : GetScalex();
  TPen* pen = aCanvas->GetPen();
  pen->SetColor(kGrey);
  pen->SetWidth(1);
  if (fHorizontal) {
    const int y1 = aRect.Top + Round(15 * scale), y2 = aRect.Top + Round(30 * scale);
    Line(aCanvas, aRect.Left, y1, aRect.Right, y1);
    Line(aCanvas, aRect.Left, y2, aRect.Right, y2);
    for (size_t i = 0; i + 1 < fLongScaleMarkDrawList.size(); ++i)
      if (!fLongScaleMarkDrawList[i].Hidden) {
        const int x = aRect.Left + GetBoxPix(fLongScaleMarkDrawList, i);
        Line(aCanvas, x, y1, x, y2);
      }
    for (size_t i = 0; i + 1 < fShortScaleMarkDrawList.size(); ++i)
      if (!fShortScaleMarkDrawList[i].Hidden) {
        const int x = aRect.Left + GetBoxPix(fShortScaleMarkDrawList, i);
        Line(aCanvas, x, y2, x, aRect.Bottom);
      }
  } else {
    const int x1 = aRect.Left + Round(20 * scale), x2 = aRect.Left + Round(40 * scale);
    Line(aCanvas, x1, aRect.Top, x1, aRect.Bottom);
    Line(aCanvas, x2, aRect.Top, x2, aRect.Bottom);
    for (size_t i = 0; i + 1 < fLongScaleMarkDrawList.size(); ++i)
      if (!fLongScaleMarkDrawList[i].Hidden) {
        const int y = aRect.Top + GetBoxPix(fLongScaleMarkDrawList, i);
        Line(aCanvas, x1, y, x2, y);
      }
    for (size_t i = 0; i + 1 < fShortScaleMarkDrawList.size(); ++i)
      if (!fShortScaleMarkDrawList[i].Hidden) {
        const int y = aRect.Top + GetBoxPix(fShortScaleMarkDrawList, i);
        Line(aCanvas, x2, y, aRect.Right, y);
      }
  }
  pen->SetColor(clBtnText);
}

void TvxDateScaler::DrawScrollButtons(TCanvas* aCanvas) {
  if (fScrollButtons == tsbOff) {
    fUpButtonRect = fDownButtonRect = NoRect();
    return;
  }
  const int s = fScrollButtons == tsbClassic ? 20 : 12;
  const int w = GetWidth(), h = GetHeight();
  fDownButtonRect = Rect(1, 1, s, s);
  fUpButtonRect = fHorizontal ? Rect(w - s + 1, 1, w, s) : Rect(1, h - s, s, h);
  DrawTriangleButton(aCanvas, fDownButtonRect, fScrollSUBTIME, fHorizontal ? 9 : 12);
  DrawTriangleButton(aCanvas, fUpButtonRect, fScrollADDTIME, fHorizontal ? 3 : 6);
}

void TvxDateScaler::DrawTriangleButton(TCanvas* aCanvas, const TRect& aRect, bool aPressed, int aDirection) {
  // Lit edges (top and left) white, shaded ones grey; pressed swaps them.
  const TColor lit = aPressed ? kGrey : kWhite, shade = aPressed ? kWhite : kGrey;
  const int m = 3;
  const int l = aRect.Left + m, t = aRect.Top + m, r = aRect.Right - m, b = aRect.Bottom - m;
  const int cx = (l + r) / 2, cy = (t + b) / 2;
  TPen* pen = aCanvas->GetPen();
  const TColor old = pen->GetColor();
  auto edge = [&](TColor c, int x1, int y1, int x2, int y2) {
    pen->SetColor(c);
    Line(aCanvas, x1, y1, x2, y2);
  };
  switch (aDirection) {
    case 3:  // right
      edge(lit, l, b, l, t);
      edge(lit, l, t, r, cy);
      edge(shade, r, cy, l, b);
      break;
    case 9:  // left
      edge(lit, l, cy, r, t);
      edge(shade, r, t, r, b);
      edge(shade, r, b, l, cy);
      break;
    case 12:  // up
      edge(lit, l, b, cx, t);
      edge(shade, cx, t, r, b);
      edge(shade, r, b, l, b);
      break;
    default:  // down
      edge(lit, r, t, l, t);
      edge(lit, l, t, cx, b);
      edge(shade, cx, b, r, t);
      break;
  }
  pen->SetColor(old);
}

void TvxDateScaler::DrawZoomButtons(TCanvas*) {}

void TvxDateScaler::DrawScaleIndicator(TCanvas* aCanvas) {
  aCanvas->GetBrush()->SetStyle(bsClear);
  switch (fIndicatorStyle) {
    case isNormal: NormalIndicator(aCanvas); break;
    case isColorfull:
      if (!GetIsPrinting()) ColorFullIndicator(aCanvas);
      break;
    case isSober: SoberIndicator(aCanvas); break;
    default: break;
  }
}

void TvxDateScaler::NormalIndicator(TCanvas* aCanvas) {
  const double amount = VisibleTimeAmount();
  const double mid = fStart + amount / 2;
  double a, b;
  std::string text;
  // Grow the period outwards, a year (or a month) at a time, until it holds the window.
  const bool years = amount > 30;
  const double step = years ? kScale1Year : kScale1Month;
  const double jump = years ? 366 : 32;
  a = b = Snap(mid, step);
  // Back one period at a time: from a period's first day, the day before lies
  // in the previous one (a whole year or 32 days back would skip one).
  for (int k = 0; k < 10000 && fStart < a; ++k) a = Snap(a - 1, step);
  for (int k = 0; k < 10000 && fStop > b; ++k) b = Snap(b + jump, step);
  if (years)
    text = FormatDateTime("YYYY", a) + "-" + FormatDateTime("YYYY", b);
  else
    text = FormatDateTime("YYYY", fStart) + " " + FormatDateTime("mmm", a) + "-" + FormatDateTime("mmm", b);
  double f1 = 0, f2 = 1;
  if (b > a) {
    f1 = (fStart - a) / (b - a);
    f2 = (fStop - a) / (b - a);
  }
  TScalerFont font = sTextFont1;
  if (OnInfoStringEvent) OnInfoStringEvent(text, font);
  aCanvas->SetFont(*GetTextFont(font));
  aCanvas->GetFont()->SetColor(clGrayText);
  PrintResizeFont();
  TPen* pen = aCanvas->GetPen();
  if (fHorizontal) {
    aCanvas->TextOut(33, 2, text);
    const int x0 = 33 + aCanvas->TextWidth(text) + 10;
    const int length = GetWidth() - 33 - x0;
    if (length <= 0) return;
    pen->SetColor(clBtnHighlight);
    Line(aCanvas, x0, 5, x0 + length, 5);
    pen->SetColor(clBtnShadow);
    Line(aCanvas, x0, 6, x0 + length, 6);
    pen->SetColor(kDarkGreen);
    Line(aCanvas, x0 + Round(length * f1), 5, x0 + Round(length * f2) + 1, 5);
  } else {
    int y0 = 55;
    if (fVerticalText) {
      // Rotated along the indicator's band, the bar after it.
      RotateFontIfNeeded(aCanvas->GetFont());
      const int w = aCanvas->TextWidth(text);
      aCanvas->TextOut(2, 33 + w, text);
      y0 = 33 + w + 10;
    } else if (2 + aCanvas->TextWidth(text) <= kIndicatorBand) {
      aCanvas->TextOut(2, 33, text);  // only when it keeps out of the labels
    }
    const int length = GetHeight() - 33 - y0;
    if (length <= 0) return;
    pen->SetColor(clBtnHighlight);
    Line(aCanvas, 5, y0, 5, y0 + length);
    pen->SetColor(clBtnShadow);
    Line(aCanvas, 6, y0, 6, y0 + length);
    pen->SetColor(kDarkGreen);
    Line(aCanvas, 5, y0 + Round(length * f1), 5, y0 + Round(length * f2) + 1);
  }
  pen->SetColor(clBtnText);
}

void TvxDateScaler::SoberIndicator(TCanvas* aCanvas) {
  const double span = fStop - fStart;
  std::string text;
  int y1, m1, d1, y2, m2, d2;
  DecodeDate(fStart, y1, m1, d1);
  DecodeDate(fStop, y2, m2, d2);
  if (span > 365)
    text = FormatDateTime("YYYY", fStart) + " - " + FormatDateTime("YYYY", fStop);
  else if (m1 == m2 && span <= 3)
    text = FormatDateTime("dddddd", fStart);
  else if (m1 == m2 && span <= 30)
    text = FormatDateTime("dddddd", fStart) + " - " + FormatDateTime("dddddd", fStop);
  else
    text = FormatDateTime("mmmm YYYY", fStart) + " - " + FormatDateTime("mmmm YYYY", fStop);
  TScalerFont font = sTextFont1;
  if (OnInfoStringEvent) OnInfoStringEvent(text, font);
  aCanvas->SetFont(*GetTextFont(font));
  PrintResizeFont();
  if (fHorizontal) {
    aCanvas->TextOut(33, 2, text);
  } else if (fVerticalText) {
    RotateFontIfNeeded(aCanvas->GetFont());
    aCanvas->TextOut(2, GetHeight() - 33, text);
  } else if (2 + aCanvas->TextWidth(text) <= kIndicatorBand) {
    aCanvas->TextOut(2, 33, text);  // only when it keeps out of the labels
  }
}

void TvxDateScaler::ColorFullIndicator(TCanvas* aCanvas) {
  const double amount = VisibleTimeAmount();
  const int middle = GetScaleLen() / 2;
  TBrush* brush = aCanvas->GetBrush();
  const std::pair<double, TColor> bars[] = {
      {1, kDarkGreen}, {7, RGB(255, 255, 0)}, {30, RGB(255, 0, 0)}, {365, RGB(0, 0, 255)}};
  for (const auto& [period, colour] : bars) {
    const int half = std::min(100, Round(amount * 100 / period));
    brush->SetColor(colour);
    if (fHorizontal)
      aCanvas->FillRect(Rect(middle - half, 5, middle + half, 9));
    else
      aCanvas->FillRect(Rect(1, middle - half, 5, middle + half));
  }
  brush->SetColor(clBtnText);
  aCanvas->FrameRect(fHorizontal ? Rect(middle - 100, 4, middle + 100, 10) : Rect(0, middle - 100, 6, middle + 100));
  brush->SetStyle(bsClear);
}

void TvxDateScaler::DoBackground(TCanvas* aCanvas, const TRect& aRect) {
  if (OnUserDrawBackground) OnUserDrawBackground(this, aCanvas, aRect);
}

void TvxDateScaler::DoForeground(TCanvas* aCanvas, const TRect& aRect) {
  if (OnUserDrawForeground) OnUserDrawForeground(this, aCanvas, aRect);
}

// --- the mouse -------------------------------------------------------------------------

bool TvxDateScaler::RescaleNotPan() const noexcept {
  // By default a plain drag zooms and a Ctrl-drag pans; RescaleWithCtrl swaps them.
  return fRescaleWithCtrl ? fShift.Contains(ssCtrl) : !fShift.Contains(ssCtrl);
}

void TvxDateScaler::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!fDown) fMouseDownTime = Now();
  fDown = true;
  fDownX = X;
  fDownY = Y;
  fDownScale = GetScale();
  fShift = Shift;
  fDownPix = fHorizontal ? X : Y;
  fDownDate = PixelToDate(fDownPix);
  TvxOffscreenPaint::MouseDown(Button, Shift, X, Y);
  const TPoint at = Point(X, Y);
  if (fUpButtonRect.Contains(at) || fDownButtonRect.Contains(at)) {
    // Held down, a scroll button scrolls on the timer until it is released
    // or the pointer leaves it.
    fAutScrollStarted = false;
    fScrollADDTIME = fUpButtonRect.Contains(at);
    fScrollSUBTIME = !fScrollADDTIME;
    fScrollTimer->SetInterval(50);
    fScrollTimer->SetEnabled(true);
    Invalidate();
  }
  SetFocus();
  if (Button == mbLeft) fDownDate = Snap(fDownDate, fSmallStep);
}

void TvxDateScaler::MouseMove(TShiftState Shift, int X, int Y) {
  TvxOffscreenPaint::MouseMove(Shift, X, Y);
  if (IsDestroying() || fScrollTimer->GetEnabled() || !fDown) return;
  const int delta = fHorizontal ? X - fDownX : Y - fDownY;
  if (RescaleNotPan()) {
    fReScaling = true;
    if (fDownScale > 0 && delta != 0) {
      // 1 % of the press scale per pixel, measured from the press point.
      const double newScale = fDownScale * (1 + 0.01 * delta);
      if (newScale > 0) SetCenterScale(newScale, fDownDate, fDownPix);
    }
    return;
  }
  BeginUpdate();
  try {
    const double amount = VisibleTimeAmount();
    const double pixelTime = fCtrlStep / 10;
    double newStart = delta > 0 ? VisibleTimeToTrueTime_Low(VisibleTimeToTrueTime_Low(fStart) - delta * pixelTime)
                                : VisibleTimeToTrueTime_High(VisibleTimeToTrueTime_High(fStart) - delta * pixelTime);
    const double halfScreen = PixelLenToDate(GetScaleLen() / 2);
    if (newStart < fMinStart - halfScreen) newStart = fMinStart - PixelLenToDate(GetScaleLen() / 2 - 10);
    if (newStart + amount > fMaxStop + halfScreen) newStart = fMaxStop - amount + PixelLenToDate(GetScaleLen() / 2 - 10);
    if (CheckIfOkStartStop(newStart, newStart + amount)) {
      SetStart(newStart);
      SetStop(VisibleTimeDiffToTrueTime(fStart, amount));
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  fDownX = X;
  fDownY = Y;
}

void TvxDateScaler::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TvxOffscreenPaint::MouseUp(Button, Shift, X, Y);
  fDown = false;
  fScrollTimer->SetEnabled(false);
  fScrollADDTIME = false;
  fScrollSUBTIME = false;
  fReScaling = false;
  Repaint();  // delivers the change held back during a rescale
}

}  // namespace vx
