// The link painter: which links are drawn, their ends and routes.
#include <algorithm>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/platform/rtl/Math.h>

namespace vx {

bool TGantLinkPainter::LinePassesThroughWindow(const TvxDataEntity_Kronit* theOwner,
                                               const TvxDataEntity_Kronit* theLinked) const {
  const TDateTime start = fChart.fDateScaler->GetStart(), stop = fChart.fDateScaler->GetStop();
  const TDateTime ownerStop = theOwner->GetStopDateTime(), linkedStart = theLinked->GetStartDateTime();
  if (ownerStop < start && linkedStart < start) return false;
  return ownerStop <= stop || linkedStart <= stop;
}

void TGantLinkPainter::RenderLinks() {
  TCanvas* c = fChart.fGA->GetOffscreenCanvas();
  for (int i = 0; i < fChart.fLinksDataList->Count(); ++i) {
    auto* link = static_cast<TvxDataEntity_Link*>(fChart.fLinksDataList->GetItems(i));
    TPoint start, stop;
    TLinkStyle style = tlsDefault;
    TLinkBars bars;
    if (!link || !LinkEnds(link, start, stop, style, &bars)) continue;
    if (link->fLinkStyle == tlsUserDraw) {
      if (fChart.OnUserDrawLinks) fChart.OnUserDrawLinks(&fChart, link, c, start, stop);
    } else {
      DrawLink(start, stop, c, style, link->fLinkColor, link->FLinkPenWidth, link, &bars);
    }
  }
}

void TGantLinkPainter::StandInEnds(TvxDataEntity_Kronit* theOwner, TGantRow* theOwnerRow, TRect& A,
                                   TvxDataEntity_Kronit* theTarget, TGantRow* theTargetRow, TRect& B) {
  // On paper a page shows its own rows only.
  if (fChart.fGA->GetIsPrinting()) return;
  TGantSide* side = fChart.ShownSide();
  const int top = side->FirstIndexOnScreen();
  const int a = side->ShownIndexOf(theOwnerRow), b = side->ShownIndexOf(theTargetRow);
  auto standIn = [&](TvxDataEntity_Kronit* k, TGantRow* row, int index, int other) {
    // The top row itself (cut away by the header) counts as above unless it
    // lies below the other end.
    const bool above = index < top || (index == top && !(other >= 0 && index > other));
    const int y = above ? -10 : fChart.fGA->GetHeight() + 10;
    int x1 = 0, x2 = 0;
    row->XFromTimes(k, k->GetStartDateTime(), k->GetStopDateTime(), x1, x2);
    return Rect(x1, y, x2, y);
  };
  if (A.Top == -1 && a >= 0) A = standIn(theOwner, theOwnerRow, a, b);
  if (B.Top == -1 && b >= 0) B = standIn(theTarget, theTargetRow, b, a);
}

bool TGantLinkPainter::LinkEnds(TvxDataEntity_Link* theLink, TPoint& theStart, TPoint& theStop, TLinkStyle& theStyle,
                                TLinkBars* theBars) {
  TvxDataEntity_Kronit* owner = theLink->fLinkOwner;
  TvxDataEntity_Kronit* target = theLink->fLinkedTo;
  if (!owner || !target) return false;
  TGantRow* ownerRow = owner->GetRow();
  TGantRow* targetRow = target->GetRow();
  // A row counts when its node shows in the side's order, on screen or
  // scrolled away (a grid row's own visibility asks for the screen).
  auto listed = [](const TGantRow* r) {
    return r->GetTreeNode() ? r->GetVisible() : r->GetGridTreeNode() && r->GetGridTreeNode()->GetVisible();
  };
  if (!ownerRow || !targetRow || !listed(ownerRow) || !listed(targetRow)) return false;
  if (!LinePassesThroughWindow(owner, target)) return false;
  TRect A = fChart.RectFromDataEntity(owner), B = fChart.RectFromDataEntity(target);
  const TDateTime start = fChart.fDateScaler->GetStart(), stop = fChart.fDateScaler->GetStop();
  auto shown = [&](const TRect& r, const TvxDataEntity_Kronit* k) {
    return r.Top > -1 && k->GetStartDateTime() <= stop && k->GetStopDateTime() >= start;
  };
  const bool ownerShown = shown(A, owner), targetShown = shown(B, target);
  if (A.Top == -1 || B.Top == -1) StandInEnds(owner, ownerRow, A, target, targetRow, B);
  const bool aMissing = A.Top == -1, bMissing = B.Top == -1;
  if (aMissing && !bMissing) A = OffsetRect(B, B.Width() + 10, 0);
  if (bMissing && !aMissing) B = OffsetRect(A, -(A.Width() + 10), 0);
  switch (fChart.fLinkShow) {
    case lsOneEndVisible:
      if (!ownerShown && !targetShown) return false;
      break;
    case lsBothEndsVisible:
      if (!ownerShown || !targetShown) return false;
      break;
    case lsAlways:
      if (aMissing && bMissing) return false;
      break;
  }
  const int aMid = A.Left + A.Width() / 2, bMid = B.Left + B.Width() / 2;
  theStart = Point(aMid, A.Top + A.Height() / 2);
  theStop = Point(bMid, B.Top + B.Height() / 2);
  theStyle = theLink->fLinkStyle;
  if (theStyle == tlsMSProject && ownerRow == targetRow) theStyle = tlsDefault;
  if (theStyle == tlsMSProject) theStop.Y = A.Top < B.Top ? B.Top : B.Bottom;
  int dx = 0;
  switch (theLink->GetStartFinishOption()) {
    case tlsfNormal:
      if (aMid >= bMid) {
        theStart.X = A.Left;
        theStop.X = B.Right;
        dx = -3;
      } else {
        theStart.X = A.Right;
        theStop.X = B.Left;
        dx = 3;
      }
      break;
    case tlsfSS:
      theStart.X = A.Left;
      theStop.X = B.Left;
      theStop.Y = B.Top + B.Height() / 2;
      break;
    case tlsfSF:
      theStart.X = A.Left;
      theStop.X = B.Right;
      dx = -3;
      break;
    case tlsfFS:
      theStart.X = A.Right;
      theStop.X = B.Left;
      dx = 3;
      break;
    case tlsfFF:
      theStart.X = A.Right;
      theStop.X = B.Right;
      dx = -3;
      break;
  }
  if (theStyle == tlsMSProject) theStop.X += dx;
  if (theBars) {
    theBars->owner = A;
    theBars->target = B;
    theBars->leave = theStart.X == A.Left ? -1 : 1;
    theBars->arrive = theStop.X - (theStyle == tlsMSProject ? dx : 0) == B.Left ? 1 : -1;
  }
  return true;
}

TLinkRoute TGantLinkPainter::RouteLink(TPoint theStart, TPoint theStop, TLinkStyle theStyle,
                                       TvxDataEntity_Link* theLink, const TRect& theClip,
                                       const TLinkBars* theBars) const {
  TLinkRoute route;
  int head = 3, half = 3, dir = 1, ssOffset = 7;
  if (fChart.fGA->GetIsPrinting()) {
    head = Round(fChart.fGA->GetPrintScalex() * 3);
    half = Round(fChart.fGA->GetPrintScaley() * 3);
    ssOffset = Round(fChart.fGA->GetPrintScalex() * 7);
  }
  auto to = [&route](int x, int y) { route.line[route.lineCount++] = Point(x, y); };
  to(theStart.X, theStart.Y);
  TPoint tip = theStop;
  if (theLink && theLink->GetStartFinishOption() == tlsfSS) {
    const int m = (theStart.X > theStop.X ? theStop.X : theStart.X) - ssOffset;
    to(m, theStart.Y);
    to(m, theStop.Y);
    to(theStop.X, theStop.Y);
    theStyle = tlsDefault;  // and its head
  } else if (theStyle == tlsDefault && theBars && theBars->leave != 0 && theBars->arrive != 0) {
    // Out of the owner's side and into the target's side from outside: never
    // back along a bar, through its text.
    const int leave = theBars->leave, arrive = theBars->arrive;
    dir = arrive;
    tip.X = arrive > 0 ? theStop.X - 1 : theStop.X;  // the pixel beside the bar (its Right lies outside)
    // A short way out (a text may stand beside the owner), room for the head in.
    const int x1 = theStart.X + leave * head, x2 = tip.X - arrive * ssOffset;
    if (leave == arrive && (tip.X - theStart.X) * arrive >= 2 * ssOffset) {
      const int mx = theStart.X + (tip.X - theStart.X) / 2;  // room between the bars
      to(mx, theStart.Y);
      to(mx, theStop.Y);
    } else if (leave != arrive) {
      const int mx = leave > 0 ? std::max(x1, x2) : std::min(x1, x2);  // beyond both ends
      to(mx, theStart.Y);
      to(mx, theStop.Y);
    } else {
      const int lane = LinkLane(*theBars);
      to(x1, theStart.Y);
      to(x1, lane);
      to(x2, lane);
      to(x2, theStop.Y);
    }
    to(tip.X, theStop.Y);
  } else if (theStyle == tlsDefault) {
    if (theStart.X > theStop.X) dir = -1;
    tip.X = theStop.X - dir;
    const int mx = theStart.X + (tip.X - theStart.X) / 2;
    to(mx, theStart.Y);
    to(mx, theStop.Y);
    to(tip.X, theStop.Y);
  } else if (theStyle == tlsMSProject) {
    if (theStart.Y < theStop.Y) dir = -1;
    tip.X = theStart.X < theStop.X ? theStop.X + half : theStop.X - half;
    tip.Y = theStop.Y + dir;
    if (theBars && theBars->leave != 0 && (tip.X - theStart.X) * theBars->leave < ssOffset) {
      // The drop would start inside the owner: out of its side first, then
      // along between the rows.
      const int x1 = theStart.X + theBars->leave * head;
      const int lane = LinkLane(*theBars);
      to(x1, theStart.Y);
      to(x1, lane);
      to(tip.X, lane);
    } else {
      to(tip.X, theStart.Y);
    }
    to(tip.X, tip.Y + half * dir);
  }
  if (tip.X < theClip.Left || tip.X > theClip.Right || tip.Y < theClip.Top || tip.Y > theClip.Bottom) return route;
  if (theStyle == tlsDefault) {
    route.head[0] = tip;
    route.head[1] = Point(tip.X - head * dir, tip.Y - head);
    route.head[2] = Point(tip.X - head * dir, tip.Y + head);
    route.head[3] = tip;
    route.headCount = 4;
  } else if (theStyle == tlsMSProject) {
    route.head[0] = tip;
    route.head[1] = Point(tip.X - half, tip.Y + half * dir);
    route.head[2] = Point(tip.X + half, tip.Y + half * dir);
    route.headCount = 3;
    route.filledHead = true;
  }
  return route;
}

int TGantLinkPainter::LinkLane(const TLinkBars& theBars) {
  // Half way between the two bars; below both when they share a band.
  const TRect& a = theBars.owner;
  const TRect& b = theBars.target;
  if (b.Top >= a.Bottom) return a.Bottom + (b.Top - a.Bottom) / 2;
  if (a.Top >= b.Bottom) return b.Bottom + (a.Top - b.Bottom) / 2;
  return std::max(a.Bottom, b.Bottom) + 2;
}

void TGantLinkPainter::DrawLink(TPoint theStart, TPoint theStop, TCanvas* c, TLinkStyle theStyle, TColor theColor,
                                int thePenWidth, TvxDataEntity_Link* theLink, const TLinkBars* theBars) {
  const int keepWidth = c->GetPen()->GetWidth();
  struct RestoreWidth {
    TCanvas* c;
    int width;
    ~RestoreWidth() { c->GetPen()->SetWidth(width); }
  } restore{c, keepWidth};
  c->GetPen()->SetColor(theColor);
  c->GetPen()->SetWidth(thePenWidth);
  const TLinkRoute route = RouteLink(theStart, theStop, theStyle, theLink, c->GetClipRect(), theBars);
  c->MoveTo(route.line[0].X, route.line[0].Y);
  for (int k = 1; k < route.lineCount; ++k) c->LineTo(route.line[k].X, route.line[k].Y);
  const bool plain = c->GetBrush()->GetStyle() == bsSolid && !c->GetBrush()->GetBitmap() &&
                     c->GetPen()->GetStyle() == psSolid && c->GetPen()->GetMode() == pmCopy;
  if (route.filledHead && thePenWidth <= 1 && plain && !fChart.fGA->GetIsPrinting()) {
    const int half = route.head[2].X - route.head[0].X;
    TvxTimeDraw::ArrowHead(c, theColor, route.head[0], half, route.head[1].Y > route.head[0].Y ? 1 : -1);
  } else if (route.filledHead) {
    const TColor keep = c->GetBrush()->GetColor();
    c->GetBrush()->SetColor(theColor);
    c->Polygon(std::span<const TPoint>(route.head, static_cast<size_t>(route.headCount)));
    c->GetBrush()->SetColor(keep);
  } else if (route.headCount > 0) {
    c->MoveTo(route.head[0].X, route.head[0].Y);
    for (int k = 1; k < route.headCount; ++k) c->LineTo(route.head[k].X, route.head[k].Y);
  }
}

}  // namespace vx
