#include "gantt/vxKronitItemTexts.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/Math.h"
#include "platform/ui/DeviceContext.h"

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

void TvxTimeItemTextCollection::DrawToCanvasInsideRect(const TRect& aRect, TCanvas* aCanvas, double aScaleX,
                                                       double aScaleY) {
  if (!aCanvas) return;
  for (const auto& t : fTexts) {
    if (t->FText.empty()) continue;
    if (fOnStyleSet) fOnStyleSet(this, aCanvas, t->FStyle);
    bool clip = true;
    int ox = Round(t->FPos.X * aScaleX), oy = Round(t->FPos.Y * aScaleY);
    TRect box = aRect;
    const int w = aRect.Width(), h = aRect.Height();
    if (t->fTextRectPlaceX == trpOutsideNear) {
      clip = false;
      box.Left = aRect.Left - w;
      box.Right = aRect.Left;
      ox = w - aCanvas->TextWidth(t->FText) - ox;  // the text ends ox pixels before the item
    } else if (t->fTextRectPlaceX == trpOutsideFar) {
      clip = false;
      box.Left = aRect.Right;
      box.Right = aRect.Right + w;
    }
    if (t->fTextRectPlaceY == trpOutsideNear) {
      clip = false;
      box.Top = aRect.Top - h;
      box.Bottom = aRect.Top;
      oy = h - aCanvas->TextHeight(t->FText) - oy;  // its bottom oy pixels above the item
    } else if (t->fTextRectPlaceY == trpOutsideFar) {
      clip = false;
      box.Top = aRect.Bottom;
      box.Bottom = aRect.Bottom + h;
    }
    const TRect textRect = Rect(box.Left + ox, box.Top + oy, box.Right - 1, box.Bottom - 1);
    if (textRect.Top >= textRect.Bottom || textRect.Right <= textRect.Left) continue;

    TBrush* brush = aCanvas->GetBrush();
    const TBrushStyle oldStyle = brush->GetStyle();
    brush->SetStyle(bsClear);
    if (clip)
      aCanvas->TextOutClipped(textRect, textRect.Left, textRect.Top, t->FText);
    else
      aCanvas->TextOut(box.Left + ox, box.Top + oy, t->FText);
    brush->SetStyle(oldStyle);
  }
}

}  // namespace vx
