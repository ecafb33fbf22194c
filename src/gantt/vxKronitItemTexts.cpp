#include <vxplan/gantt/vxKronitItemTexts.h>

#include <limits>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/DeviceContext.h>

namespace vx {

TvxTimeItemText* TvxTimeItemTextCollection::AddText(const std::string& aText, int x, int y, int aStyle) {
  return AddTextEx(aText, x, y, aStyle, trpInside, trpInside);
}

TvxTimeItemText* TvxTimeItemTextCollection::AddTextEx(const std::string& aText, int x, int y, int aStyle,
                                                      TTextRectPlace aPlaceX, TTextRectPlace aPlaceY) {
  auto text = std::make_unique<TvxTimeItemText>();
  text->FText = aText;
  text->SetPos(Point(x, y));
  text->FStyle = aStyle;
  text->fTextRectPlaceX = aPlaceX;
  text->fTextRectPlaceY = aPlaceY;
  fTexts.push_back(std::move(text));
  return fTexts.back().get();
}

void TvxTimeItemTextCollection::DropText(int i) {
  if (i < 0 || i >= GetCount()) throw EListError(i);
  fTexts.erase(fTexts.begin() + i);
}

TvxTimeItemText* TvxTimeItemTextCollection::GetTimeItemText(int i) const {
  if (i < 0 || i >= GetCount()) throw EListError(i);
  return fTexts[static_cast<size_t>(i)].get();
}

bool TvxTimeItemTextCollection::HasTextBeside() const noexcept {
  return std::any_of(fTexts.begin(), fTexts.end(), [](const auto& t) { return t->fTextRectPlaceX != trpInside; });
}

const std::string& TvxTimeItemText::Fitted(TCanvas* aCanvas, int aRoom) {
  const TFont* font = aCanvas->GetFont();
  const int ppi = aCanvas->PixelsPerInch();
  TFitted* f = fFit.get();
  if (f && f->room == aRoom && f->height == font->GetHeight() && f->ppi == ppi && f->style == font->GetStyle() &&
      f->font == font->GetName())
    return f->text;
  if (!f) fFit = std::make_unique<TFitted>(), f = fFit.get();
  f->text = TvxTimeItemTextCollection::FitToRoom(aCanvas, FText, aRoom);
  f->room = aRoom;
  f->height = font->GetHeight();
  f->ppi = ppi;
  f->style = font->GetStyle();
  f->font = font->GetName();
  return f->text;
}

std::string TvxTimeItemTextCollection::FitToRoom(TCanvas* aCanvas, const std::string& aText, int aRoom) {
  if (aText.empty() || aRoom <= 0) return {};
  if (aCanvas->TextWidth(aText) <= aRoom) return aText;
  static const std::string kEllipsis = "\xE2\x80\xA6";
  // Character boundaries (UTF-8): a cut never splits a character.
  std::vector<size_t> ends;
  for (size_t i = 1; i <= aText.size(); ++i)
    if (i == aText.size() || (static_cast<unsigned char>(aText[i]) & 0xC0) != 0x80) ends.push_back(i);
  constexpr size_t kLeast = 3;
  if (ends.size() <= kLeast) return {};
  // The longest prefix that fits with its ellipsis.
  size_t lo = kLeast, hi = ends.size() - 1, best = 0;
  while (lo <= hi) {
    const size_t mid = (lo + hi) / 2;
    if (aCanvas->TextWidth(aText.substr(0, ends[mid - 1]) + kEllipsis) <= aRoom) {
      best = mid;
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return best ? aText.substr(0, ends[best - 1]) + kEllipsis : std::string();
}

void TvxTimeItemTextCollection::DrawToCanvasInsideRect(const TRect& aRect, TCanvas* aCanvas, double aScaleX,
                                                       double aScaleY) {
  DrawToCanvasInsideRect(aRect, aCanvas, aScaleX, aScaleY, std::numeric_limits<int>::min(),
                         std::numeric_limits<int>::max());
}

void TvxTimeItemTextCollection::DrawToCanvasInsideRect(const TRect& aRect, TCanvas* aCanvas, double aScaleX,
                                                       double aScaleY, int aRoomLeft, int aRoomRight) {
  if (!aCanvas) return;
  // A gap to the neighbour, so that a text never touches it.
  constexpr int kGap = 2;
  for (const auto& t : fTexts) {
    if (t->FText.empty()) continue;
    if (fOnStyleSet) fOnStyleSet(this, aCanvas, t->FStyle);
    bool clip = true;
    int ox = Round(t->FPos.X * aScaleX), oy = Round(t->FPos.Y * aScaleY);
    TRect box = aRect;
    const int w = aRect.Width(), h = aRect.Height();
    const std::string* text = &t->FText;
    if (t->fTextRectPlaceX == trpOutsideNear) {
      clip = false;
      box.Left = aRect.Left - w;
      box.Right = aRect.Left;
      // The text ends ox pixels before the item, and starts after the neighbour.
      const long long end = static_cast<long long>(aRect.Left) - ox;
      text = &t->Fitted(aCanvas, static_cast<int>(std::clamp<long long>(end - aRoomLeft - kGap, 0, 1 << 30)));
      if (text->empty()) continue;
      ox = w - aCanvas->TextWidth(*text) - ox;
    } else if (t->fTextRectPlaceX == trpOutsideFar) {
      clip = false;
      box.Left = aRect.Right;
      box.Right = aRect.Right + w;
      const long long begin = static_cast<long long>(aRect.Right) + ox;
      text = &t->Fitted(aCanvas, static_cast<int>(std::clamp<long long>(aRoomRight - kGap - begin, 0, 1 << 30)));
      if (text->empty()) continue;
    }
    if (t->fTextRectPlaceY == trpOutsideNear) {
      clip = false;
      box.Top = aRect.Top - h;
      box.Bottom = aRect.Top;
      oy = h - aCanvas->TextHeight(*text) - oy;  // its bottom oy pixels above the item
    } else if (t->fTextRectPlaceY == trpOutsideFar) {
      clip = false;
      box.Top = aRect.Bottom;
      box.Bottom = aRect.Bottom + h;
    }
    const TRect textRect = Rect(box.Left + ox, box.Top + oy, box.Right - 1, box.Bottom - 1);
    if (textRect.Top >= textRect.Bottom || textRect.Right <= textRect.Left) continue;
    if (clip) {
      text = &t->Fitted(aCanvas, textRect.Width());
      if (text->empty()) continue;
    }

    TBrush* brush = aCanvas->GetBrush();
    const TBrushStyle oldStyle = brush->GetStyle();
    brush->SetStyle(bsClear);
    if (clip)
      aCanvas->TextOutClipped(textRect, textRect.Left, textRect.Top, *text);
    else
      aCanvas->TextOut(box.Left + ox, box.Top + oy, *text);
    brush->SetStyle(oldStyle);
  }
}

}  // namespace vx
