// Painting the grid view: every cell with its background, header look, text
// or check box, icon and lines; tree buttons and lines after all cells; the
// focus; and the measuring that shares the painting's set-up.
#include <algorithm>

#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/grid/vxBabGridViewInternal.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/paint/vxGraphStuff.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/rtl/FlagScope.h>
#include <vxplan/platform/ui/ExpandBox.h>

namespace vx {

using gridview::StringData;

// ---------------------------------------------------------------- the paint

void TBabGridView_Custom::OffscreenPaint() {
  if (GetIsPrinting() && !GetAssignedPrintingCanvas()) return;
  PaintCells();
  AskAgainForAxisChange();
}

void TBabGridView_Custom::PaintCells() {
  TFlagScope painting(fPainting);
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  if (fDoFirstGridInit) {
    fDoFirstGridInit = false;
    if (auto* data = dynamic_cast<TBabSubGridCellData*>(g->GetBabCellData())) initSubGridContent(data);
  }
  UpdateLayout();
  fCellsThatNeedButtonsAndLines.clear();
  // The grid's own font, whatever the last cell of the previous paint set.
  Canvas()->GetFont()->Assign(*GetFont());
  if (GetIsPrinting()) PrintResizeFont();
  fLastSeenLayoutProp = nullptr;
  const TRect area = GetDrawRect();
  g->Draw(area, [this](TRect r, TBabCell* cell, TBabDrawStateSet state) { OnDrawBabCell(r, cell, state); });
  DrawButtonsAndLines();
  TCanvas* c = Canvas();
  if (HasInputFocus() && !GetIsPrinting() && fFocusRect_Grid) c->DrawFocusFrame(InflateRect(area, -1, -1));
  if (!GetIsPrinting()) DrawBorder();
  TvxOffscreenPaint::OffscreenPaint();
}

void TBabGridView_Custom::DrawBorder() {
  TCanvas* c = Canvas();
  const int w = GetWidth(), h = GetHeight();
  const int inset = GetBorderStyle() == bsSingle ? 1 : 0;
  // The corner between two bars.
  if (fHorz->GetVisible() && fVert->GetVisible() && !fHijackVerticalScroll) {
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(Rect(w - inset - fVert->GetWidth(), h - inset - fHorz->GetHeight(), w - inset, h - inset));
  }
  if (inset == 0) return;
  c->GetBrush()->SetColor(clWindowFrame);
  c->FrameRect(Rect(0, 0, w, h));
}

bool TBabGridView_Custom::HasInputFocus() const {
  if (Focused()) return true;
  auto* editor = dynamic_cast<TInputControl*>(fCurrentEditor);
  return editor && editor->ContainsFocus();
}

TColor TBabGridView_Custom::GetHighLightColor() {
  if (GetIsPrinting()) return clWhite;
  return HasInputFocus() ? clHighlight : clBtnFace;
}

// ---------------------------------------------------------------- one cell

void TBabGridView_Custom::OnDrawBabCell(TRect theRect, TBabCell* theCell, TBabDrawStateSet theState) {
  if (GetIsPrinting() && !GetAssignedPrintingCanvas()) return;
  // Painting a cell calls out (render events, the queries of buttons, icons
  // and frames): a cell that goes on the way is painted no further.
  TvxWatch<TBabCell> alive(theCell);
  const TRect r = InflateRect(theRect, -1, -1);
  if (theState.Contains(babFixed)) PaintFixedCell(r, theCell);
  if (theCell->IsGridCell())
    PaintGridCell(r, theCell, theState);
  else {
    TRect textRect = r;
    PaintSimpleCell(textRect, theCell, theState);
  }
  if (!alive) return;
  DoLines(r, theCell, theState);
  if (!alive) return;
  if (theState.Contains(babFocused) && theCell->getGridCell() && !GetIsPrinting() && fFocusRect_Cell &&
      HasInputFocus()) {
    TCanvas* c = Canvas();
    c->GetBrush()->SetColor(clBtnHighlight);
    c->DrawFocusRect(theCell->IsGridCell() ? Rect(r.Left, r.Top, r.Right + 1, r.Bottom + 1) : InflateRect(r, 2, 2));
  }
}

void TBabGridView_Custom::PaintFixedCell(const TRect& r, TBabCell* theCell) {
  TCanvas* c = Canvas();
  TLayoutProp* lp = theCell->GetLayoutProp();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(lp ? lp->BackColor : clBtnFace);
  c->FillRect(InflateRect(r, 1, 1));
  // A raised header: light above and left, shadow below and right.
  TPen* pen = c->GetPen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetColor(clBtnHighlight);
  c->MoveTo(r.Right, r.Top);
  c->LineTo(r.Left, r.Top);
  c->LineTo(r.Left, r.Bottom);
  pen->SetColor(clBtnShadow);
  c->LineTo(r.Right, r.Bottom);
  c->LineTo(r.Right, r.Top);
}

void TBabGridView_Custom::PaintSimpleCell(TRect& r, TBabCell* theCell, TBabDrawStateSet theState) {
  TCanvas* c = Canvas();
  const bool fixed = theState.Contains(babFixed);
  const TRect last = theCell->GetLastDrawnRect();
  TRect b = Rect(last.Left + 1, last.Top + 1, last.Right, last.Bottom + 1);
  std::string text;
  bool value = false, isText = true, flagDraw = false;
  TvxWatch<TBabCell> alive(theCell);
  if (!SetRenderAttributes(theCell, theState, text, value, isText, flagDraw)) return;
  if (theState.Contains(babSelected) && !fixed && !GetIsPrinting()) {
    c->FillRect(b);
    const TColor highlight = GetHighLightColor();
    c->GetBrush()->SetColor(highlight);
    if (highlight == clHighlight) c->GetFont()->SetColor(clHighlightText);
    c->FillRect(OffsetRect(b, 0, -1));
  } else if (!fixed) {
    TBabGridCell* g = theCell->getGridCell();
    const bool nested = g && g->getGridCell();
    if (nested) --b.Top;
    // On screen the area starts in the control's colour: a cell of the
    // outermost grid in that colour, drawn over nothing, is filled already.
    const bool filled = !nested && !GetIsPrinting() && !theCell->GetIsGroupedCell() &&
                        ColorToRGB(c->GetBrush()->GetColor()) == ColorToRGB(GetColor());
    if (!filled) c->FillRect(b);
  }
  TRect textRect, icon, button;
  DivideTheRectIntoSections(theCell, theState, textRect, icon, button, r, true);
  r = textRect;
  bool defaultDraw = true;
  if (alive && OnUserRenderCell) OnUserRenderCell(this, c, theCell, text, value, isText, theState, r, defaultDraw);
  if (!alive) return;
  if (defaultDraw) {
    if (!isText) {
      DrawCheckBoxFast(c, r, value);
    } else if (!text.empty()) {
      // The background is filled already.
      c->GetBrush()->SetStyle(bsClear);
      TRect t = r;
      const unsigned flags = GetFlags(theCell);
      c->DrawText(WholeLines(text, r, flags), t, flags);
      c->GetBrush()->SetStyle(bsSolid);
    }
  }
  if (theCell == fCurrentSortCol) DrawSortingSymbol(theCell, fCurrentSortUpNotDown, r);
}

void TBabGridView_Custom::PaintGridCell(const TRect& r, TBabCell* theCell, TBabDrawStateSet theState) {
  TCanvas* c = Canvas();
  TLayoutProp* lp = theCell->GetLayoutProp();
  const TRect last = theCell->GetLastDrawnRect();
  c->GetBrush()->SetStyle(bsSolid);
  if (lp) {
    c->GetBrush()->SetColor(lp->BackColor);
    c->FillRect(Rect(last.Left, last.Top + 1, last.Right, last.Bottom));
  }
  if (theState.Contains(babSelected) && !theState.Contains(babFixed)) {
    auto* g = static_cast<TBabGridCell*>(theCell);
    c->GetBrush()->SetColor(lp ? lp->BackColor : clWindow);
    // An empty nested grid shows its selection itself; a filled one through its cells.
    if (g->GetAxisContentListX()->Count() == 0 || g->GetAxisContentListY()->Count() == 0)
      c->GetBrush()->SetColor(GetHighLightColor());
    c->FillRect(Rect(r.Left, r.Top, r.Right + 1, r.Bottom + 1));
  }
}

void TBabGridView_Custom::PreDrawGetStringAndSetAttributes(TBabCell* theCell, TBabDrawStateSet, std::string& theText,
                                                           bool& theValue, bool& theIsText) {
  TvxWatch<TBabCell> alive(theCell);
  if (OnBeforeRenderCell) OnBeforeRenderCell(this, theCell);
  theIsText = true;
  theText.clear();
  if (!alive) return;
  TBabSimpleCellStringData* data = StringData(theCell);
  theText = data ? data->GetString() : std::string();
  if (data && data->GetIsBoolean()) {
    theIsText = false;
    theValue = gridview::UpperText(theText) == "TRUE";
  }
}

bool TBabGridView_Custom::SetRenderAttributes(TBabCell* theCell, TBabDrawStateSet theState, std::string& theText,
                                              bool& theValue, bool& theIsText, bool& theFlagDraw) {
  TvxWatch<TBabCell> alive(theCell);
  PreDrawGetStringAndSetAttributes(theCell, theState, theText, theValue, theIsText);
  if (!alive) return false;
  TCanvas* c = Canvas();
  TLayoutProp* lp = theCell->GetLayoutProp();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetPen()->SetStyle(psSolid);
  if (!lp) {
    // A cell without a layout (a header) draws in the grid's font, not in
    // the one a layout of the cell before set.
    if (fLastSeenLayoutProp) {
      c->GetFont()->Assign(*GetFont());
      if (GetIsPrinting()) PrintResizeFont();
    }
    c->GetPen()->SetColor(clWindowText);
    c->GetFont()->SetColor(clWindowText);
    c->GetBrush()->SetColor(theState.Contains(babFixed) ? clBtnFace : clWindow);
    fLastSeenLayoutProp = nullptr;
  } else {
    // Consecutive cells of a column mostly share a layout: the font is set
    // only when the layout changes.
    if (lp != fLastSeenLayoutProp || GetIsPrinting()) {
      TFont* f = c->GetFont();
      if (!lp->UseFontInfo) {
        f->Assign(*GetFont());
      } else {
        f->SetName(lp->FontName);
        f->SetSize(lp->FontSize);
        f->SetStyle(lp->FontStyle);
      }
      if (GetIsPrinting()) PrintResizeFont();
    }
    if (!theCell->IsGridCell()) {
      c->GetFont()->SetColor(lp->FontColor);
      theFlagDraw = lp->FlagDraw;
    }
    c->GetPen()->SetColor(lp->FrontColor);
    c->GetBrush()->SetColor(lp->BackColor);
    fLastSeenLayoutProp = lp;
  }
  PostDrawGetStringAndSetAttributes(theCell, theState, theText, theValue, theIsText);
  return static_cast<bool>(alive);
}

// A text of several lines shows the lines that fit the cell whole, the last
// of them ending in an ellipsis when more follow: no line is cut in half.
std::string TBabGridView_Custom::WholeLines(const std::string& theText, const TRect& r, unsigned theFlags) {
  if ((theFlags & (DT_SINGLELINE | DT_WORDBREAK)) || theText.find('\n') == std::string::npos) return theText;
  const int lineHeight = std::max(Canvas()->TextHeight("Xg"), 1);
  const int fit = std::max(r.Height() / lineHeight, 1);
  size_t end = 0, from = 0;
  for (int line = 0; line < fit; ++line, from = end + 1) {
    end = theText.find('\n', from);
    if (end == std::string::npos) return theText;
  }
  std::string shown = theText.substr(0, end);
  if (!shown.empty() && shown.back() == '\r') shown.pop_back();
  return shown + "\u2026";
}

unsigned TBabGridView_Custom::GetFlags(TBabCell* theCell) const {
  const TLayoutProp* lp = theCell ? theCell->GetLayoutProp() : nullptr;
  if (!lp) return DT_NOPREFIX;
  unsigned flags = lp->Flags | DT_NOPREFIX;
  if (lp->WrapTextAndFit) flags |= DT_WORDBREAK;
  if (lp->HorzAlignRight) flags |= DT_RIGHT;
  if (lp->HorzAlignCenter) flags |= DT_CENTER;
  if (lp->VertAlignCenter) flags |= DT_VCENTER;
  if (lp->EndEllipsis) flags |= DT_END_ELLIPSIS;
  return flags;
}

void TBabGridView_Custom::DivideTheRectIntoSections(TBabCell* theCell, TBabDrawStateSet theState, TRect& theText,
                                                    TRect& theIcon, TRect& theButton, TRect& r, bool theDoDraw) {
  theButton = NoRect();
  theIcon = NoRect();
  theText = InflateRect(r, -1, -1);
  TvxWatch<TBabCell> alive(theCell);
  const bool hasButton = !theState.Contains(babFixed) && CellHasButton(theCell) && !GetIsPrinting();
  if (!alive) return;
  if (hasButton) {
    if (theDoDraw) fCellsThatNeedButtonsAndLines.emplace_back(theCell);
    theButton = Rect(r.Left, r.Top, std::min(r.Left + 15, r.Right), r.Bottom);
    r.Left = std::min(r.Left + 16, r.Right);
  }
  const bool hasIcon = fImageList && CellHasIcon(theCell);
  if (!alive) return;
  if (hasIcon) {
    int w = fImageList->GetWidth();
    if (GetIsPrinting()) w = Round(w * GetPrintScalex());
    theIcon = Rect(r.Left, r.Top, std::min(r.Left + w, r.Right), r.Bottom);
    r.Left = std::min(r.Left + w + 1, r.Right);
    if (theDoDraw) {
      const int index = CellIconIndex(theCell);
      if (!alive) return;
      if (GetIsPrinting())
        GStuff::PrintBitmap_ImageList(
            Canvas(), Rect(theIcon.Left, theIcon.Top, theIcon.Left + w, theIcon.Top + Round(fImageList->GetHeight() * GetPrintScaley())),
            fImageList, index);
      else
        fImageList->Draw(Canvas(), theIcon.Left, theIcon.Top, index);
    }
  }
  theText = InflateRect(r, -1, -1);
}

// ---------------------------------------------------------------- lines

void TBabGridView_Custom::DoLines(TRect r, TBabCell* theCell, TBabDrawStateSet theState) {
  if (theState.Contains(babFixed)) return;
  TLayoutProp* lp = theCell->GetLayoutProp();
  if (lp && lp->FrameOptionsUse)
    LayoutPropertyLines(r, theCell);
  else
    DefaultLines(r, theCell);
}

void TBabGridView_Custom::DefaultLines(TRect r, TBabCell* theCell) {
  TCanvas* c = Canvas();
  TPen* pen = c->GetPen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetColor(clBtnFace);
  if (!theCell->IsGridCell()) {
    c->MoveTo(r.Right, r.Top);
    c->LineTo(r.Right, r.Bottom);
    // The frame of a nested grid stays on top of its cells.
    TBabGridCell* g = theCell->getGridCell();
    if (g && g->getGridCell()) DefaultLines(InflateRect(g->getVisibleRect(), -1, -1), g);
    return;
  }
  c->MoveTo(r.Left, r.Top);
  c->LineTo(r.Left, r.Bottom - 1);
  c->LineTo(r.Right, r.Bottom - 1);
  c->LineTo(r.Right, r.Top);
}

void TBabGridView_Custom::LayoutPropertyLines(TRect r, TBabCell* theCell) {
  TCanvas* c = Canvas();
  TvxWatch<TBabCell> alive(theCell);
  TRect frame = r;
  if (!theCell->IsGridCell()) {
    TRect text, icon, button, rest = r;
    DivideTheRectIntoSections(theCell, TBabDrawStateSet(), text, icon, button, rest, false);
    frame = InflateRect(text, 1, 1);
  }
  if (!alive || !theCell->GetLayoutProp()) return;
  // Read once: the frame hook may change the cell's layout, or drop the cell.
  struct {
    TFrameOptions FrameOptions;
    TColor FrameColor;
    TFrameKind FrameKind;
    TOnLineDraw ColumnFrameLineDraw, OnFrameLineDraw;
  } const lp{theCell->GetLayoutProp()->FrameOptions, theCell->GetLayoutProp()->FrameColor,
             theCell->GetLayoutProp()->FrameKind, theCell->GetLayoutProp()->ColumnFrameLineDraw,
             theCell->GetLayoutProp()->OnFrameLineDraw};
  TPen* pen = c->GetPen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  for (TFrameOption option : {foLeft, foRight, foTop, foBottom}) {
    if (!lp.FrameOptions.Contains(option)) continue;
    pen->SetColor(lp.FrameColor);
    TPoint a, z;
    switch (option) {
      case foLeft: a = Point(frame.Left, frame.Top); z = Point(frame.Left, frame.Bottom); break;
      case foRight: a = Point(frame.Right, frame.Top); z = Point(frame.Right, frame.Bottom); break;
      case foTop: a = Point(frame.Left, frame.Top); z = Point(frame.Right, frame.Top); break;
      case foBottom: a = Point(frame.Left, frame.Bottom); z = Point(frame.Right, frame.Bottom); break;
    }
    bool defaultDraw = true;
    for (const TOnLineDraw* hook : {&lp.ColumnFrameLineDraw, &lp.OnFrameLineDraw}) {
      if (*hook && defaultDraw) (*hook)(theCell->GetLayoutProp(), option, theCell, frame, a, z, defaultDraw, c);
      if (!alive) return;
    }
    if (!defaultDraw) continue;
    c->MoveTo(a.X, a.Y);
    c->LineTo(z.X, z.Y);
    if (lp.FrameKind == fk3d) {
      // A second line beside the first, a quarter lighter (on the colour value).
      const TColor v = ColorToRGB(lp.FrameColor);
      pen->SetColor((v + Round(v * 0.25)) & 0xFFFFFF);
      const bool horizontal = option == foTop || option == foBottom;
      const int dx = horizontal ? 0 : -1, dy = horizontal ? -1 : 0;
      c->MoveTo(a.X + dx, a.Y + dy);
      c->LineTo(z.X + dx, z.Y + dy);
    }
  }
  TBabGridCell* g = theCell->getGridCell();
  if (!theCell->IsGridCell() && g && g->getGridCell()) DefaultLines(InflateRect(g->getVisibleRect(), -1, -1), g);
}

// ---------------------------------------------------------------- check box and sort symbol

TRect TBabGridView_Custom::CheckBoxRectFromDrawRect(const TRect& r) {
  return Rect(r.Left + 1, r.Top + 3, r.Left + 12, r.Top + 14);
}

void TBabGridView_Custom::DrawCheckBox(TCanvas* theCanvas, const TRect& r, bool theChecked, bool theSmooth) {
  const TRect box = CheckBoxRectFromDrawRect(r);
  TBrush* brush = theCanvas->GetBrush();
  TPen* pen = theCanvas->GetPen();
  brush->SetStyle(bsSolid);
  brush->SetColor(clWindow);
  theCanvas->FillRect(box);
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  // Sunken: dark above and left, light below and right.
  pen->SetColor(cl3DDkShadow);
  theCanvas->MoveTo(box.Left, box.Bottom - 1);
  theCanvas->LineTo(box.Left, box.Top);
  theCanvas->LineTo(box.Right, box.Top);
  pen->SetColor(cl3DLight);
  theCanvas->MoveTo(box.Right - 1, box.Top + 1);
  theCanvas->LineTo(box.Right - 1, box.Bottom - 1);
  theCanvas->LineTo(box.Left, box.Bottom - 1);
  if (!theChecked) return;
  pen->SetColor(clWindowText);
  const int bx = r.Left + 3, by = r.Top + 5;
  if (theSmooth) {
    // On a dense screen: the same tick as one smooth line through the middle
    // of the strokes below, drawn at the device's own resolution.
    const TCanvas::TPointF tick[] = {{bx + 1.5, by + 4.5}, {bx + 3.5, by + 6.5}, {bx + 7.5, by + 2.5}};
    theCanvas->SmoothPolyline(tick, 2.4);
    return;
  }
  const int strokes[6][4] = {{1, 3, 5, 7}, {1, 4, 4, 7}, {1, 5, 4, 8}, {7, 1, 3, 5}, {7, 2, 3, 6}, {7, 3, 3, 7}};
  for (const auto& s : strokes) {
    theCanvas->MoveTo(bx + s[0], by + s[1]);
    theCanvas->LineTo(bx + s[2], by + s[3]);
  }
}

// On screen the two looks of a check box are drawn once and copied, at the
// screen's pixel ratio (a look made at one and stretched would be coarse).
void TBabGridView_Custom::DrawCheckBoxFast(TCanvas* theCanvas, const TRect& r, bool theChecked) {
  if (GetIsPrinting()) {
    DrawCheckBox(theCanvas, r, theChecked);
    return;
  }
  const double ratio = GetDrawBitmap()->GetDevicePixelRatio();
  std::unique_ptr<TBitmap>& look = fCheckBoxLooks[theChecked ? 1 : 0];
  if (!look || look->GetDevicePixelRatio() != ratio) {
    look = std::make_unique<TBitmap>();
    look->SetDevicePixelRatio(ratio);
    look->SetSize(11, 11);
    DrawCheckBox(look->GetCanvas(), Rect(-1, -3, 10, 8), theChecked, ratio > 1);
  }
  const TRect box = CheckBoxRectFromDrawRect(r);
  theCanvas->Draw(box.Left, box.Top, look.get());
}

void TBabGridView_Custom::DrawSortingSymbol(TBabCell*, bool theUpNotDown, const TRect& r) {
  TCanvas* c = Canvas();
  TPen* pen = c->GetPen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  const int x0 = r.Right - 3, m = r.Top + (r.Bottom - r.Top) / 2;
  if (theUpNotDown) {
    pen->SetColor(cl3DDkShadow);
    c->MoveTo(x0, m - 3);
    c->LineTo(x0 - 7, m - 3);
    c->LineTo(x0 - 4, m + 3);
    pen->SetColor(clBtnHighlight);
    c->MoveTo(x0 - 3, m + 3);
    c->LineTo(x0, m - 3);
  } else {
    pen->SetColor(clBtnHighlight);
    c->MoveTo(x0 - 7, m + 3);
    c->LineTo(x0, m + 3);
    c->LineTo(x0 - 3, m - 3);
    pen->SetColor(cl3DDkShadow);
    c->MoveTo(x0 - 4, m - 3);
    c->LineTo(x0 - 7, m + 3);
  }
}

// ---------------------------------------------------------------- tree buttons and lines

TRect TBabGridView_Custom::ButtonSection(TBabCell* theCell) {
  const TRect r = InflateRect(theCell->getVisibleRect(), -1, -1);
  return Rect(r.Left, r.Top, std::min(r.Left + 15, r.Right), r.Bottom);
}

TPoint TBabGridView_Custom::ButtonMiddle(TBabCell* theCell) {
  const TRect s = ButtonSection(theCell);
  return Point((s.Left + 2 + s.Left + 11) / 2, (s.Top + 4 + s.Top + 13) / 2);
}

int TBabGridView_Custom::IndentOf(TBabCell* theCell) { return 15 * std::clamp(CellInset(theCell), 0, kMaxCellInset); }

bool TBabGridView_Custom::ButtonRegistered(const TBabCell* theCell) const {
  for (const TvxWatch<TBabCell>& w : fCellsThatNeedButtonsAndLines)
    if (w && w.Is(theCell)) return true;
  return false;
}

// Every query here calls out: the cells are watched throughout.
void TBabGridView_Custom::DrawTreeLine(TBabCell* theCell) {
  TvxWatch<TBabCell> alive(theCell);
  TvxWatch<TBabCell> parent(GetParentButtonCell(theCell));
  if (!alive) return;
  const TPoint own = ButtonMiddle(theCell);
  if (!alive) return;
  TPoint start;
  if (parent && ButtonRegistered(parent.Get())) {
    start = ButtonMiddle(parent.Get());
  } else {
    // The parent is not on screen: the line comes in from the top, at the
    // parent's level.
    const int levels = parent ? IndentOf(theCell) - (parent ? IndentOf(parent.Get()) : 0) : 0;
    if (!alive) return;
    TBabGridCell* g = theCell->getGridCell();
    start.X = own.X - levels;
    start.Y = g->GetDrawRect().Top;
    if (g->GetFixedRows() > 0)
      if (TBabCell* header = g->getCell(0, g->GetFixedRows() - 1)) start.Y = ButtonMiddle(header).Y;
  }
  if (!alive) return;
  TCanvas* c = Canvas();
  c->MoveTo(start.X, start.Y + 8);
  c->LineTo(start.X, own.Y);
  c->LineTo(start.X + 10, own.Y);
}

void TBabGridView_Custom::DrawButtonsAndLines() {
  if (fCellsThatNeedButtonsAndLines.empty()) return;
  // The hooks below may drop cells: a copy of the watches is walked.
  const std::vector<TvxWatch<TBabCell>> cells = fCellsThatNeedButtonsAndLines;
  TPen* pen = Canvas()->GetPen();
  if (fShowLinesTree) {
    pen->SetColor(clGridLine);
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    for (const TvxWatch<TBabCell>& cell : cells)
      if (cell) DrawTreeLine(cell.Get());
  }
  pen->SetColor(clBlack);
  pen->SetStyle(psSolid);
  for (const TvxWatch<TBabCell>& cell : cells) {
    if (!cell) continue;
    const TRect button = ButtonSection(cell.Get());
    if (cell) RenderButton(cell.Get(), button);
  }
}

void TBabGridView_Custom::RenderButton(TBabCell* theCell, const TRect& theButton) {
  TCanvas* c = Canvas();
  if (OnRenderButton) {
    OnRenderButton(this, c, theCell, theButton);
    return;
  }
  TvxWatch<TBabCell> alive(theCell);
  if (IsButtonTerminal(theCell) || !alive || !ButtonHasNonHiddenChildren(theCell) || !alive) return;
  const bool expanded = IsButtonExpanded(theCell);
  DrawExpandBox(*c, Point(theButton.Left + 6, theButton.Top + 8), expanded, clWindow);
}

// ---------------------------------------------------------------- measuring

// The text of theCell and the section of theRect it is drawn in, set up as
// for painting; theWidth is the width left after the frame. False when the
// cell went on the way (the set-up calls out).
bool TBabGridView_Custom::TextSection(TBabCell* theCell, TRect theRect, std::string& theText, TRect& theSection,
                                      int& theWidth) {
  TvxWatch<TBabCell> alive(theCell);
  bool value = false, isText = true, flagDraw = false;
  if (!SetRenderAttributes(theCell, TBabDrawStateSet(), theText, value, isText, flagDraw)) return false;
  TRect r = InflateRect(theRect, -1, -1);
  OnCellRectTampering(fBabGridCellForViewer.get(), theCell, r);
  if (!alive) return false;
  theWidth = r.Width();
  TRect icon, button;
  DivideTheRectIntoSections(theCell, TBabDrawStateSet(), theSection, icon, button, r, false);
  return static_cast<bool>(alive);
}

void TBabGridView_Custom::_OnMeasureHeight(TBabGridCell*, TBabCell* theCell, int& theHeight) {
  if (IsDestroying() || !theCell) return;
  TLayoutProp* lp = theCell->GetLayoutProp();
  if (!lp || !lp->WrapTextAndFit) return;
  TAxisContentItem* col = theCell->GetAxisContentItemX();
  const int width = GetWidthOffAxisContentItemForHeightCalculation(theCell->getGridCell(), col);
  TRect rect = Rect(0, 0, width, theCell->GetAxisContentItemY()->GetCalculatedSize());
  fBabGridCellForViewer->ScaleRect(rect);
  std::string text;
  TRect t;
  int shrunk = 0;
  if (!TextSection(theCell, rect, text, t, shrunk)) return;
  Canvas()->DrawText(text, t, GetFlags(theCell) | DT_CALCRECT);
  int h = t.Height() + 3;
  if (GetIsPrinting()) h = Round(h / GetPrintScaley());
  const int minHeight = theCell->GetLayoutProp() ? theCell->GetLayoutProp()->MinHeight : 0;
  theHeight = std::clamp(std::max(minHeight, h), 0, kMaxItemSize);
}

int TBabGridView_Custom::MeasureAutoSize(TBabCell* theCell) {
  const TRect last = theCell->GetLastDrawnRect();
  if (last == NoRect()) return 0;
  std::string text;
  TRect t;
  int shrunk = 0;
  if (!TextSection(theCell, last, text, t, shrunk)) return 0;
  TRect m = t;
  Canvas()->DrawText(text, m, GetFlags(theCell) | DT_CALCRECT);
  return (shrunk - t.Width()) + m.Width() + 2;
}

void TBabGridView_Custom::HandleAutoSize(TBabCell* theCell, bool theIsHorz) {
  if (!theCell || !theIsHorz || !theCell->getGridCell()) return;
  // Measuring calls out (render events): the column is held, rows looked up afresh.
  TvxWatch<TBabCell> alive(theCell);
  TBabGridCell* g = theCell->getGridCell();
  TvxWatch<TBabCell> grid(g);
  TvxHeld<TAxisContentItem> item(theCell->GetAxisContentItemX());
  int best = 0;
  for (int k = 0; grid && item && k < g->GetAxisContentListY()->VisibleCount(); ++k) {
    TBabCell* c = g->getCell(item.Get()->ListIndex(), g->GetAxisContentListY()->getVisibleAxisContentItem(k)->ListIndex());
    if (!c || c->IsGridCell() || !c->GetLayoutProp() || c->GetLayoutProp()->WrapTextAndFit) continue;
    TvxWatch<TBabCell> measured(c);
    if (InternalGetEditorType(c) == babETBool || !measured) continue;
    best = std::max(best, MeasureAutoSize(c));
  }
  if (!item) return;
  // Nothing measurable: the column keeps its width.
  const int size = best < 5 ? item.Get()->GetCalculatedSize() : std::min(best, kMaxItemSize);
  item.Get()->SetUserSizeActive(true);
  item.Get()->SetUserSize(size);
  if (OnAfterUserSize && item && alive) OnAfterUserSize(this, theCell, true, item.Get());
  RecalcExtents();
}

}  // namespace vx
