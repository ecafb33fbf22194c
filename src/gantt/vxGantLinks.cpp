// Dependency links: which are drawn, their ends and routes; and the dotted
// outlines drawn while items are dragged.
#include <algorithm>

#include "gantt/vxGant.h"
#include "platform/rtl/Math.h"

namespace vx {

bool TvxGant_ComBasic::LinePassesThroughWindow(const TvxDataEntity_Kronit* theOwner,
                                               const TvxDataEntity_Kronit* theLinked) const {
  const TDateTime start = fDateScaler->GetStart(), stop = fDateScaler->GetStop();
  const TDateTime ownerStop = theOwner->GetStopDateTime(), linkedStart = theLinked->GetStartDateTime();
  if (ownerStop < start && linkedStart < start) return false;
  return ownerStop <= stop || linkedStart <= stop;
}

void TvxGant_ComBasic::RenderLinks() {
  TCanvas* c = fGA->GetOffscreenCanvas();
  for (int i = 0; i < fLinksDataList->Count(); ++i) {
    auto* link = static_cast<TvxDataEntity_Link*>(fLinksDataList->GetItems(i));
    TPoint start, stop;
    TLinkStyle style = tlsDefault;
    if (!link || !LinkEnds(link, start, stop, style)) continue;
    if (link->fLinkStyle == tlsUserDraw) {
      if (OnUserDrawLinks) OnUserDrawLinks(this, link, c, start, stop);
    } else {
      DrawLink(start, stop, c, style, link->fLinkColor, link->FLinkPenWidth, link);
    }
  }
}

bool TvxGant_ComBasic::LinkEnds(TvxDataEntity_Link* theLink, TPoint& theStart, TPoint& theStop, TLinkStyle& theStyle) {
  TvxDataEntity_Kronit* owner = theLink->fLinkOwner;
  TvxDataEntity_Kronit* target = theLink->fLinkedTo;
  if (!owner || !target) return false;
  TGantRow* ownerRow = owner->GetRow();
  TGantRow* targetRow = target->GetRow();
  if (!ownerRow || !targetRow || !ownerRow->GetVisible() || !targetRow->GetVisible()) return false;
  if (!LinePassesThroughWindow(owner, target)) return false;
  TRect A = RectFromDataEntity(owner), B = RectFromDataEntity(target);
  const TDateTime start = fDateScaler->GetStart(), stop = fDateScaler->GetStop();
  auto shown = [&](const TRect& r, const TvxDataEntity_Kronit* k) {
    return r.Top > -1 && k->GetStartDateTime() <= stop && k->GetStopDateTime() >= start;
  };
  const bool ownerShown = shown(A, owner), targetShown = shown(B, target);
  const bool aMissing = A.Top == -1, bMissing = B.Top == -1;
  if (aMissing && !bMissing) A = OffsetRect(B, B.Width() + 10, 0);
  if (bMissing && !aMissing) B = OffsetRect(A, -(A.Width() + 10), 0);
  switch (fLinkShow) {
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
  return true;
}

void TvxGant_ComBasic::DrawLink(TPoint theStart, TPoint theStop, TCanvas* c, TLinkStyle theStyle, TColor theColor,
                                int thePenWidth, TvxDataEntity_Link* theLink) {
  const int keepWidth = c->GetPen()->GetWidth();
  struct RestoreWidth {
    TCanvas* c;
    int width;
    ~RestoreWidth() { c->GetPen()->SetWidth(width); }
  } restore{c, keepWidth};
  c->GetPen()->SetColor(theColor);
  c->GetPen()->SetWidth(thePenWidth);
  c->MoveTo(theStart.X, theStart.Y);
  int head = 3, half = 3, dir = 1, ssOffset = 7;
  if (fGA->GetIsPrinting()) {
    head = Round(fGA->GetPrintScalex() * 3);
    half = Round(fGA->GetPrintScaley() * 3);
    ssOffset = Round(fGA->GetPrintScalex() * 7);
  }
  TPoint tip = theStop;
  if (theLink && theLink->GetStartFinishOption() == tlsfSS) {
    const int m = (theStart.X > theStop.X ? theStop.X : theStart.X) - ssOffset;
    c->LineTo(m, theStart.Y);
    c->LineTo(m, theStop.Y);
    c->LineTo(theStop.X, theStop.Y);
    theStyle = tlsDefault;  // and its head
  } else if (theStyle == tlsDefault) {
    if (theStart.X > theStop.X) dir = -1;
    tip.X = theStop.X - dir;
    const int mx = theStart.X + (tip.X - theStart.X) / 2;
    c->LineTo(mx, theStart.Y);
    c->LineTo(mx, theStop.Y);
    c->LineTo(tip.X, theStop.Y);
  } else if (theStyle == tlsMSProject) {
    if (theStart.Y < theStop.Y) dir = -1;
    tip.X = theStart.X < theStop.X ? theStop.X + half : theStop.X - half;
    tip.Y = theStop.Y + dir;
    c->LineTo(tip.X, theStart.Y);
    c->LineTo(tip.X, tip.Y + half * dir);
  }
  const TRect clip = c->GetClipRect();
  if (tip.X < clip.Left || tip.X > clip.Right || tip.Y < clip.Top || tip.Y > clip.Bottom) return;
  if (theStyle == tlsDefault) {
    c->MoveTo(tip.X, tip.Y);
    c->LineTo(tip.X - head * dir, tip.Y - head);
    c->LineTo(tip.X - head * dir, tip.Y + head);
    c->LineTo(tip.X, tip.Y);
  } else if (theStyle == tlsMSProject) {
    const TColor keep = c->GetBrush()->GetColor();
    c->GetBrush()->SetColor(theColor);
    const TPoint triangle[] = {tip, Point(tip.X - half, tip.Y + half * dir), Point(tip.X + half, tip.Y + half * dir)};
    c->Polygon(triangle);
    c->GetBrush()->SetColor(keep);
  }
}

void TvxGant_ComBasic::DrawOutline(const TRect& theRect, bool theHint, TCanvas* theCanvas) {
  if (theHint) {
    TDateTime start = 0, len = 0, stop = 0;
    GetStartStopLenFromRect(theRect, start, len, stop);
    fSnap->fCurrentScreenResolution = fDateScaler->GetSmallStep();
    fSnap->Snap(start, stop);
    if (OnHintInfo) OnHintInfo(nullptr, start, stop, stop - start);
  }
  theCanvas->GetPen()->SetMode(pmNot);
  theCanvas->GetPen()->SetStyle(psDot);
  theCanvas->GetPen()->SetWidth(1);
  theCanvas->MoveTo(theRect.Left, theRect.Top);
  theCanvas->LineTo(theRect.Left, theRect.Bottom);
  theCanvas->LineTo(theRect.Right, theRect.Bottom);
  theCanvas->LineTo(theRect.Right, theRect.Top);
  theCanvas->LineTo(theRect.Left, theRect.Top);
  theCanvas->GetPen()->SetMode(pmCopy);
  theCanvas->GetPen()->SetStyle(psSolid);
}

}  // namespace vx
