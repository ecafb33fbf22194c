// The schedule's painter: the drawing area. Only what is shown is visited:
// the columns on screen, and in each the bookings that meet the scaler's
// window.
#include <algorithm>
#include <cmath>

#include <vxplan/paint/vxGraphStuff.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/schema/vxSchemaPainter.h>

#include <vxplan/schema/vxSchema.h>

namespace vx {

namespace {

constexpr TColor kSilver = 12632256;
constexpr TColor kActiveGrey = 8421504;

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

}  // namespace

const std::string& ShowableText(const std::string& theText, int theWidth, std::string& theCut) {
  // Code points take at most four bytes.
  const size_t most = 4 * (2 * static_cast<size_t>(std::clamp(theWidth, 0, 1 << 20)) + 16);
  if (theText.size() <= most) return theText;
  size_t end = most;
  while (end > 0 && (static_cast<unsigned char>(theText[end]) & 0xC0) == 0x80) --end;  // not inside a character
  theCut.assign(theText, 0, end);
  return theCut;
}

TSchemaPainter::TSchemaPainter(TvxSchema_ComBasic& theSchema) : fSchema(theSchema) {}

// --- drawing order ----------------------------------------------------------------------

TSchemaPainter::TDrawPlan TSchemaPainter::MakeDrawPlan() const {
  TDrawPlan plan;
  const int high = std::min({static_cast<int>(fSchema.itsDrawLayerArray.size()), fSchema.itsvxLayers->Count(),
                             TDataListTrav::MaxDrawingOrder});
  for (int k = 0; k < high; ++k) {
    const int layer = fSchema.itsDrawLayerArray[static_cast<size_t>(k)];
    // Entries that name no layer are stepped over.
    if (layer < 0 || layer >= fSchema.itsvxLayers->Count()) continue;
    if (TvxDataList* list = fSchema.itsvxLayers->GetDataList(layer)) plan.lists.push_back(list);
  }
  return plan;
}

std::vector<TvxDataList*> TSchemaPainter::DrawnLists() const {
  std::vector<TvxDataList*> lists;
  for (TvxDataList* list : MakeDrawPlan().lists)
    if (std::find(lists.begin(), lists.end(), list) == lists.end()) lists.push_back(list);
  return lists;
}

std::vector<TvxDataList*> TSchemaPainter::AllLayers() const {
  std::vector<TvxDataList*> lists;
  for (int k = 0; k < fSchema.itsvxLayers->Count(); ++k)
    if (TvxDataList* list = fSchema.itsvxLayers->GetDataList(k)) lists.push_back(list);
  return lists;
}

void TSchemaPainter::CollectShownItems(int theFirst, int theLast, TvxHeldList<TvxDataEntity_SchemaTime>& theItems) {
  const TDrawPlan plan = MakeDrawPlan();
  const bool byTime = fSchema.VisibilityFollowsTime();
  const double from = fSchema.itsScaler->GetStart(), to = fSchema.itsScaler->GetStop();
  // Widened a little: IsVisible decides exactly.
  const double slack = 1e-6 * (1 + std::fabs(from) + std::fabs(to));
  TvxHeldList<TvxDataEntity_SchemaTime> candidates;
  for (int c = theFirst; c <= theLast; ++c) {
    TvxDataEntity_SchemaColumn* column = fSchema.itsDataListColumns->GetColumn(c);
    if (!column || fSchema.itsDataListColumns->LiveSize(fSchema.itsFlipView, c) <= 0) continue;
    if (byTime) {
      const double offset = column->itsOffsetDate;
      fSchema.fIndex.ForEachMeeting(c, from + offset - slack, to + offset + slack,
                                    [&](TvxDataEntity_SchemaTime* item) { candidates.Add(item); });
    } else {
      for (TvxDataEntity_SchemaTime* item : fSchema.fIndex.Items(c)) candidates.Add(item);
    }
  }
  // Asked only now, and held: a visibility handler may change the bookings.
  struct Ranked {
    int pos, index;
    TvxDataEntity_SchemaTime* item;
  };
  std::vector<Ranked> ranked;
  candidates.ForEach([&](TvxDataEntity_SchemaTime* item) {
    if (!fSchema.VisibleHere(item)) return;
    const int index = item->ListIndex();
    plan.ForEachPosition(item->GetDataList(), [&](int k) { ranked.push_back(Ranked{k, index, item}); });
  });
  // The walk over the draw layers, backwards: the first booking of the walk
  // is drawn last and lies on top.
  std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    return a.pos != b.pos ? a.pos > b.pos : a.index > b.index;
  });
  theItems.Clear();
  for (const Ranked& r : ranked) theItems.Add(r.item);
}

void TSchemaPainter::Paint() {
  if (fSchema.IsDestroying()) return;
  TCanvas* c = fSchema.itsTA->GetOffscreenCanvas();
  const TRect all = Rect(0, 0, fSchema.itsTA->GetWidth(), fSchema.itsTA->GetHeight());
  DoBackground(c, 0, 0, all.Right, all.Bottom);
  DoTodayLine();
  if (fSchema.OnDrawBackground) fSchema.OnDrawBackground(&fSchema, all, c);
  DoForeGround();
  if (fSchema.OnDrawForeground) fSchema.OnDrawForeground(&fSchema, all, c);
}

TBitmap* TSchemaPainter::PyjamasBitMap() { return fStripes.Get(fSchema.itsBackColor, fSchema.itsPyjamasColor); }

// --- background -----------------------------------------------------------------------

void TSchemaPainter::DoBackground(TCanvas* theCanvas, int theLeft, int theTop, int theWidth, int theHeight) {
  TCanvas* c = theCanvas;
  const bool printing = fSchema.itsTA->GetIsPrinting();
  const bool flipped = fSchema.itsFlipView;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
  c->GetBrush()->SetColor(fSchema.itsBackColor);
  const TRect whole = Rect(theLeft, theTop, theLeft + theWidth, theTop + theHeight);
  if (!printing) c->FillRect(whole);
  c->GetPen()->SetColor(clBtnShadow);
  // The area once more from its origin (the same pixels when drawn there).
  if (!printing && whole != Rect(0, 0, theWidth, theHeight)) c->FillRect(Rect(0, 0, theWidth, theHeight));

  // Stripes along the column axis, every odd column (by its index) patterned.
  // Past the last column there is only the background: no stripe there
  // stands for a column.
  const double scale = flipped ? fSchema.itsTA->GetScaley() : fSchema.itsTA->GetScalex();
  const int extent = flipped ? theHeight : theWidth;
  const int count = fSchema.itsDataListColumns->Count();
  for (int index = fSchema.itsDataListColumns->GetTopLeftCol(); index < count; ++index) {
    int nearEdge, farEdge;
    fSchema.ColumnToPixels(index, nearEdge, farEdge);
    const int a = Round(nearEdge * scale), b = Round(farEdge * scale);
    if (a >= extent) break;
    if (index % 2 == 0 || b <= a) continue;
    if (printing) {
      c->GetBrush()->SetBitmap(nullptr);
      c->GetBrush()->SetColor(fSchema.itsPyjamasColor);
    } else {
      c->GetBrush()->SetBitmap(PyjamasBitMap());
    }
    c->FillRect(flipped ? Rect(theLeft, theTop + a, theLeft + theWidth, theTop + b)
                        : Rect(theLeft + a, theTop, theLeft + b, theTop + theHeight));
  }
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
  c->GetPen()->SetMode(pmCopy);

  // Scale lines across the area at the scaler's marks (screen pixels of the
  // scaler, on paper scaled as the area is).
  const double timeScale = flipped ? fSchema.itsTA->GetScalex() : fSchema.itsTA->GetScaley();
  auto across = [&](double thePixel) {
    const int m = Round(thePixel * timeScale);
    if (flipped)
      Line(c, m + theLeft, theTop, m + theLeft, theTop + theHeight);
    else
      Line(c, theLeft, m + theTop, theLeft + theWidth, m + theTop);
  };
  if (fSchema.itsDrawShortLines) {
    c->GetPen()->SetColor(kSilver);
    const std::vector<TScaleMark>& marks = fSchema.itsScaler->GetShortScaleMarks();
    const size_t step = marks.size() > 1 && marks[1].Pixel - marks[0].Pixel < 30 ? 2 : 1;
    for (size_t i = 0; i < marks.size(); i += step) across(marks[i].Pixel);
  }
  c->GetPen()->SetColor(clBackground);
  for (const TScaleMark& mark : fSchema.itsScaler->GetLongScaleMarks()) across(mark.Pixel);

  // Column separators at the far edges; every column before the top-left one
  // has its far edge at 0.
  const int top = fSchema.itsDataListColumns->GetTopLeftCol();
  auto separator = [&](int p) {
    const int s = Round(p * scale);
    if (flipped)
      Line(c, theLeft, s + theTop, theLeft + theWidth, s + theTop);
    else
      Line(c, s + theLeft, theTop, s + theLeft, theTop + theHeight);
    return s;
  };
  if (top > 0 && count > 0) separator(0);
  for (int i = top; i < count; ++i)
    if (separator(fSchema.itsDataListColumns->GetFarSideOffset_FW(flipped, i)) >= extent) break;

  if (fSchema.itsTA->Focused() && !printing) c->DrawFocusFrame(Rect(2, 2, theWidth - 2, theHeight - 2));
}

void TSchemaPainter::DoTodayLine() {
  if (!fSchema.fTodayLineOnOff) return;
  const int p = fSchema.itsScaler->DateToPixel(std::floor(Now()) + 0.5);
  TCanvas* c = fSchema.itsTA->GetOffscreenCanvas();
  c->GetPen()->SetColor(fSchema.fTodayLineColor);
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetMode(pmCopy);
  if (!fSchema.itsFlipView) {
    const int y = Round(p * fSchema.itsTA->GetScaley());
    if (p > 0 && p < fSchema.itsScaler->GetHeight()) Line(c, 0, y, fSchema.itsTA->GetWidth(), y);
  } else if (p > 0 && p < fSchema.itsScaler->GetWidth()) {
    const int x = Round(p * fSchema.itsTA->GetScalex());
    Line(c, x, 0, x, fSchema.itsTA->GetHeight());
  }
}

// --- bookings -------------------------------------------------------------------------

void TSchemaPainter::DoForeGround() {
  TCanvas* c = fSchema.itsTA->GetOffscreenCanvas();
  const int count = fSchema.itsDataListColumns->Count();
  if (count == 0) return;
  // The shown columns, from the top-left one until the area ends. A moved
  // rectangle, or a booking reaching out of its column, may show from any
  // column after it.
  const bool anywhere = fSchema.OnGetDrawingRect || fSchema.fNegativeInsetItems > 0;
  const double scale = fSchema.itsFlipView ? fSchema.itsTA->GetScaley() : fSchema.itsTA->GetScalex();
  const int extent = fSchema.itsFlipView ? fSchema.itsTA->GetHeight() : fSchema.itsTA->GetWidth();
  const int first = fSchema.itsDataListColumns->GetTopLeftCol();
  int last = count - 1;
  if (!anywhere) {
    for (int col = first; col < count; ++col) {
      int nearEdge, farEdge;
      fSchema.ColumnToPixels(col, nearEdge, farEdge);
      if (Round(nearEdge * scale) >= extent) {
        last = col - 1;
        break;
      }
    }
  }
  // The hooks below may delete any booking: the walk is over held ones, and
  // each is drawn only while it is still one of this control's.
  TvxHeldList<TvxDataEntity_SchemaTime> items;
  CollectShownItems(first, last, items);
  items.ForEach([&](TvxDataEntity_SchemaTime* item) {
    TRect r;
    if (fSchema.Here(item) && fSchema.RectFromDataEntity(fSchema.itsFlipView, item, r) && fSchema.Here(item))
      DrawContent(item, AreaClip(r), c);
  });
}

TRect TSchemaPainter::AreaClip(const TRect& theRect) const {
  // As far as the area shows it, and a little more: edges cut off stay out
  // of sight, and no fill ever covers more than the area.
  const TvxOffscreenPaint* area = fSchema.itsTA;
  const int w = Round(area->GetWidth() * area->GetScalex()), h = Round(area->GetHeight() * area->GetScaley());
  TRect r = theRect;
  r.Left = std::max(r.Left, -kClipMargin);
  r.Top = std::max(r.Top, -kClipMargin);
  r.Right = std::min(r.Right, w + kClipMargin);
  r.Bottom = std::min(r.Bottom, h + kClipMargin);
  return r;
}

void TSchemaPainter::DrawContent(TvxDataEntity* theDataEntity, const TRect& theRect, TCanvas* theCanvas) {
  TvxDataEntity_SchemaTime* item = DataEntity_Schema(theDataEntity);
  if (fSchema.OnDrawTimeContent && item->fStyle == tssUser) {
    // The application's drawing may delete the booking: then its marks go too.
    TvxHeld<TvxDataEntity_SchemaTime> held(item);
    fSchema.OnDrawTimeContent(&fSchema, item, theRect, theCanvas);
    if (!fSchema.Here(held.Get())) return;
  } else {
    fSchema.DefaultDrawContent(item, theRect, theCanvas);
  }
  if (item->GetSelected()) GStuff::DoSelectContent(theCanvas, theRect);
  if (item == fSchema.itsActiveDataEntity) {
    theCanvas->GetBrush()->SetStyle(bsSolid);
    theCanvas->GetBrush()->SetColor(kActiveGrey);
    theCanvas->DrawFocusRect(InflateRect(theRect, -2, -2));
  }
}

void TSchemaPainter::DefaultDrawContent(TvxDataEntity_SchemaTime* theSchemaTime, const TRect& theRect,
                                        TCanvas* theCanvas) {
  TCanvas* c = theCanvas;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetBitmap(nullptr);
  c->GetBrush()->SetColor(theSchemaTime->itsBackColor);
  c->FillRect(theRect);
  // The texts lie on the fill just made: filling behind them again would
  // paint the same colour twice.
  c->GetBrush()->SetStyle(bsClear);
  // Texts start where the booking comes into sight.
  const int left = std::max(theRect.Left, 0), top = std::max(theRect.Top, 0);
  // The print font handler may change or delete the booking: read afresh.
  TvxHeld<TvxDataEntity_SchemaTime> held(theSchemaTime);
  const std::vector<TvxSchemaText>& texts = theSchemaTime->itsTexts;
  for (size_t k = 0; k < texts.size(); ++k) {
    if (texts[k].GetText().empty()) continue;
    EnterTextStyle(c, texts[k].GetStyle());
    if (!held.Get() || k >= texts.size()) return;
    const TvxSchemaText& line = texts[k];
    // Offsets are screen pixels: on paper they grow with the font.
    const double dx = Round(line.GetPos().X * fSchema.itsTA->GetScalex());
    const double dy = Round(line.GetPos().Y * fSchema.itsTA->GetScaley());
    const int x = TvxSchema_ComBasic::FarPixel(left + dx), y = TvxSchema_ComBasic::FarPixel(top + dy);
    const TRect clip = Rect(x, y, theRect.Right - 1, theRect.Bottom - 1);
    std::string cut;
    if (clip.Top < clip.Bottom && clip.Right > clip.Left)
      c->TextRect(clip, x, y, ShowableText(line.GetText(), clip.Width(), cut));
  }
  c->GetBrush()->SetColor(theSchemaTime->itsFrameColor);
  c->FrameRect(theRect);
}

void TSchemaPainter::EnterTextStyle(TCanvas* theCanvas, int theStyle) {
  switch (theStyle) {
    case 1: theCanvas->SetFont(*fSchema.fTextFont1); break;
    case 2: theCanvas->SetFont(*fSchema.fTextFont2); break;
    case 3: theCanvas->SetFont(*fSchema.fTextFont3); break;
    default: theCanvas->SetFont(*fSchema.GetFont()); break;
  }
  if (fSchema.itsTA->GetIsPrinting()) fSchema.itsTA->PrintResizeFont();
}

}  // namespace vx
