#include <vxplan/paint/vxGraphStuff.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include <vxplan/core/vxHolding.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/Menus.h>

namespace vx {

namespace {

bool UsableStep(TDateTime s) { return std::isfinite(s) && s > 0; }

// To the nearest multiple of theStep counted from the midnight of theTime's day.
TDateTime SnapToStep(TDateTime theTime, TDateTime theStep) {
  if (!std::isfinite(theTime)) return theTime;
  const TDateTime midnight = std::trunc(theTime);
  return midnight + static_cast<double>(Round((theTime - midnight) / theStep)) * theStep;
}

constexpr int kHintWidth = 120;
constexpr int kHintHeight = 30;
constexpr int kHintMaxTextWidth = 400;

}  // namespace

// --- snapping -------------------------------------------------------------------------------

TDateTime TSnapHandler::CalcScreenSnap(TDateTime aSnap) const {
  if (!UsableStep(aSnap) || !std::isfinite(fCurrentScreenResolution)) return aSnap;
  const double n = static_cast<double>(Round(fCurrentScreenResolution / aSnap));
  return n * aSnap > aSnap ? n * aSnap : aSnap;
}

void TSnapHandler::Snap(TDateTime& aStart, TDateTime& aStop) const {
  if (fStopSnapONOFF) {
    const TDateTime s = CalcScreenSnap(fStopSnap);
    if (UsableStep(s)) aStop = SnapToStep(aStop, s);
  }
  if (fStartSnapONOFF) {
    const TDateTime s = CalcScreenSnap(fStartSnap);
    if (UsableStep(s)) aStart = SnapToStep(aStart, s);
  }
}

void TSnapHandler::SnapMove(TDateTime& aStart, TDateTime& aStop) const {
  const TDateTime length = aStop - aStart;
  Snap(aStart, aStop);
  if (!fStopSnapOnMoveONOFF) aStop = aStart + length;
}

void TSnapHandler::SnapMoveTo24HIfMoveOver12H(TDateTime aOrigStart, TDateTime aOrigStop, TDateTime& aStart,
                                               TDateTime& aStop) {
  const TDateTime startMove = aStart - aOrigStart, stopMove = aStop - aOrigStop;
  if (!std::isfinite(startMove) || !std::isfinite(stopMove)) return;
  if (std::fabs(startMove) >= 0.5 && std::fabs(stopMove) >= 0.5) {
    aStart = aOrigStart + std::nearbyint(startMove);
    aStop = aOrigStop + std::nearbyint(stopMove);
  }
}

// --- hint window ------------------------------------------------------------------------------

TGraphHintWindow::TGraphHintWindow(TComponent* AOwner) : THintWindow(AOwner) {
  SetBounds(0, 0, kHintWidth, kHintHeight);
  SetColor(clInfoBk);
  fHideTimer = new TTimer(this);
  fHideTimer->SetEnabled(false);
  fHideTimer->SetInterval(5000);
  fHideTimer->SetOnTimer([this](TObject* s) { DoHide(s); });
  fShowTimer = new TTimer(this);
  fShowTimer->SetEnabled(false);
  fShowTimer->SetInterval(1000);
  fShowTimer->SetOnTimer([this](TObject* s) { DoShow(s); });
}

TGraphHintWindow::~TGraphHintWindow() {
  Destroying();
  TDoLater::NeverMind(DoLaterCall<&TGraphHintWindow::DoShowAsync>(this));
  TDoLater::NeverMind(DoLaterCall<&TGraphHintWindow::DoHideAsync>(this));
  fShowTimer->SetEnabled(false);
  fHideTimer->SetEnabled(false);
}

TControl* TGraphHintWindow::OwnerControl() const { return dynamic_cast<TControl*>(GetOwner()); }

void TGraphHintWindow::ShowSlowHintFor(TObject* anObject, int X, int Y) {
  if (anObject && anObject != fHintObject) {
    fShowTimer->SetEnabled(true);  // (re)starts from the full interval
    if (fOnUpdateTextEvent) fOnUpdateTextEvent(this, anObject);
  }
  if (!anObject) {
    // Off every object: nothing is to show later either.
    fShowTimer->SetEnabled(false);
    ReleaseHandle();
  }
  Place(X, Y);
  fHintObject = anObject;
}

void TGraphHintWindow::Place(int X, int Y) {
  if (fStaticPos) {
    UpdateStaticPos();
  } else {
    FitText();
    SetPos(X, Y);
  }
}

void TGraphHintWindow::FitText() {
  // At least the standard size; larger when the text needs it, so that no
  // line is cut off.
  const TRect need = CalcHintRect(kHintMaxTextWidth, GetCaption());
  const int w = std::max(kHintWidth, need.Width()), h = std::max(kHintHeight, need.Height());
  if (w != GetWidth() || h != GetHeight()) SetBounds(GetLeft(), GetTop(), w, h);
}

void TGraphHintWindow::SetPos(int X, int Y) {
  TControl* owner = OwnerControl();
  const TPoint o = owner ? owner->ClientToScreen(Point(0, 0)) : Point(0, 0);
  if (fShowBelowOwner && owner) {
    SetBounds(o.X + X, o.Y + owner->GetHeight() + 4, GetWidth(), GetHeight());
    return;
  }
  PlaceBesidePointer(X, Y);
}

void TGraphHintWindow::PlaceBesidePointer(int X, int Y) {
  TControl* owner = OwnerControl();
  const TPoint o = owner ? owner->ClientToScreen(Point(0, 0)) : Point(0, 0);
  // Beside the pointer, below and right of it as tool tips stand; turned to
  // the other side where the screen ends.
  const TPoint pointer = Point(AddClamped(o.X, X), AddClamped(o.Y, Y));
  const TRect screen = ScreenWorkArea(pointer);
  int left = pointer.X + PointerOffsetX, top = pointer.Y + PointerOffsetY;
  if (left + GetWidth() > screen.Right) left = pointer.X - PointerOffsetX - GetWidth();
  if (top + GetHeight() > screen.Bottom) top = pointer.Y - PointerOffsetX - GetHeight();
  left = std::max(screen.Left, std::min(left, screen.Right - GetWidth()));
  top = std::max(screen.Top, std::min(top, screen.Bottom - GetHeight()));
  SetBounds(left, top, GetWidth(), GetHeight());
}

void TGraphHintWindow::UpdateStaticPos() {
  TControl* owner = OwnerControl();
  const TPoint o = owner ? owner->ClientToScreen(Point(0, 0)) : Point(0, 0);
  SetBounds(o.X + fStaticPosRect.Left, o.Y + fStaticPosRect.Top, fStaticPosRect.Right, fStaticPosRect.Bottom);
}

void TGraphHintWindow::ShowDirect(int X, int Y) {
  Place(X, Y);
  SetVisible(true);
  raise();
  fShowTimer->SetEnabled(false);
  fHideTimer->SetEnabled(false);
}

void TGraphHintWindow::ShowAtPointer(int X, int Y) {
  FitText();
  PlaceBesidePointer(X, Y);
  SetVisible(true);
  raise();
  fShowTimer->SetEnabled(false);
  fHideTimer->SetEnabled(false);
}

void TGraphHintWindow::ShowMoveInfo(const std::string& s1, const std::string& s2, const std::string& s3, int X,
                                    int Y) {
  SetCaption(s1 + "\r" + s2 + "\r" + s3);
  ShowDirect(X, Y);
}

void TGraphHintWindow::DoShow(TObject*) {
  TDoLater::DoLater(DoLaterCall<&TGraphHintWindow::DoShowAsync>(this), nullptr);
  fShowTimer->SetEnabled(false);
}

void TGraphHintWindow::DoShowAsync(TObject*) {
  if (!FormIsActive(OwnerControl())) return;
  SetVisible(true);
  raise();
  fHideTimer->SetEnabled(true);  // (re)starts from the full interval
}

void TGraphHintWindow::DoHide(TObject*) {
  TDoLater::DoLater(DoLaterCall<&TGraphHintWindow::DoHideAsync>(this), nullptr);
  fShowTimer->SetEnabled(false);
  fHideTimer->SetEnabled(false);
}

void TGraphHintWindow::DoHideAsync(TObject*) {
  ReleaseHandle();
  if (Focused()) clearFocus();
}

// --- drawing helpers ---------------------------------------------------------------------------

TColor GStuff::TintColor(TColor aColor, double f) {
  const TColor c = ColorToRGB(aColor);
  auto tint = [f](TColor byte) { return static_cast<TColor>(std::clamp(Round(static_cast<double>(byte) * f), 0, 255)); };
  const TColor r = tint(c & 0xFF), g = tint((c >> 8) & 0xFF), b = tint((c >> 16) & 0xFF);
  if (r == 0 && g == 0 && b == 0) return c & 0xFF0000;
  return r | (g << 8) | (b << 16);
}

void GStuff::FillRadiated(TCanvas* aCanvas, const TRect& aRect, TColor aColor) {
  if (!aCanvas || aRect.IsEmpty()) return;
  TPen* pen = aCanvas->GetPen();
  pen->SetColor(aColor);
  const int h = aRect.Height(), w = aRect.Width();
  if (h < 15 && w < 15) {
    aCanvas->GetBrush()->SetColor(aColor);
    aCanvas->GetBrush()->SetStyle(bsSolid);
    aCanvas->FillRect(aRect);
    return;
  }
  const int step = h / 50 + 1;
  const int darkRows = Round(h * 0.66) + 1;
  pen->SetColor(ColorToRGB(aColor));
  for (int i = 0; i < h; ++i) {
    if (i % step == 0) pen->SetColor(TintColor(pen->GetColor(), i < darkRows ? 0.97 : 1.031));
    aCanvas->MoveTo(aRect.Left, aRect.Top + i);
    aCanvas->LineTo(aRect.Right, aRect.Top + i);
  }
}

void GStuff::DoSelectContent(TCanvas* aCanvas, const TRect& aRect) {
  if (!aCanvas) return;
  TBrush* brush = aCanvas->GetBrush();
  const TColor keepColor = brush->GetColor();
  const TBrushStyle keepStyle = brush->GetStyle();
  brush->SetColor(clBlack);
  brush->SetStyle(bsSolid);
  aCanvas->FillRect(Rect(aRect.Left, aRect.Top, aRect.Left + 5, aRect.Top + 5));
  aCanvas->FillRect(Rect(aRect.Right - 5, aRect.Top, aRect.Right, aRect.Top + 5));
  aCanvas->FillRect(Rect(aRect.Left, aRect.Bottom - 5, aRect.Left + 5, aRect.Bottom));
  aCanvas->FillRect(Rect(aRect.Right - 5, aRect.Bottom - 5, aRect.Right, aRect.Bottom));
  brush->SetColor(keepColor);
  brush->SetStyle(keepStyle);
}

void GStuff::BevelRect(TCanvas* aCanvas, const TRect& aRect, bool aRaised) {
  if (!aCanvas || aRect.IsEmpty()) return;
  TRect r = aRect;
  Frame3D(aCanvas, r, aRaised ? clBtnHighlight : clBtnShadow, aRaised ? clBtnShadow : clBtnHighlight, 1);
}

void GStuff::RotateFont(TFont* aFont, int anAngle) {
  if (!aFont) return;
  // A new font of the same name and height: the style does not come along.
  aFont->SetStyle(TFontStyles());
  aFont->SetOrientation(anAngle * 10);
}

bool GStuff::BigEnough(const TRect& aRect, int aWidth, int aHeight) {
  return aRect.Width() >= aWidth && aRect.Height() >= aHeight;
}

TRect GStuff::Fixrect(const TRect& aRect, int dLeft, int dTop, int dRight, int dBottom) {
  return Rect(aRect.Left + dLeft, aRect.Top + dTop, aRect.Right + dRight, aRect.Bottom + dBottom);
}

void GStuff::PrintBitmap(TCanvas* aCanvas, const TRect& aRect, TBitmap* aBitmap) {
  if (!aCanvas || !aBitmap || aBitmap->GetWidth() <= 0 || aBitmap->GetHeight() <= 0) return;
  aCanvas->StretchDraw(aRect, aBitmap);
}

void GStuff::PrintBitmap_ImageList(TCanvas* aCanvas, const TRect& aRect, TCustomImageList* anImageList,
                                   int anIndex) {
  if (!anImageList || anIndex < 0 || anIndex >= anImageList->Count()) return;
  TBitmap picture(anImageList->GetWidth(), anImageList->GetHeight());
  anImageList->Draw(picture.GetCanvas(), 0, 0, anIndex);
  PrintBitmap(aCanvas, aRect, &picture);
}

// --- pick-one menus ------------------------------------------------------------------------------

namespace {

// An entry of a pick-one menu: the pick reaches the caller's handler through
// Click, and the entry's OnClick stays the application's, heard after it.
class TOptionItem : public TMenuItem, public TvxWatchable {
public:
  explicit TOptionItem(TNotifyEvent thePick) : TMenuItem(nullptr), fPick(std::move(thePick)) {}
  void Click() override {
    TvxWatch<TOptionItem> alive(this);
    // A copy: the handler may free the entry and its menu.
    if (const TNotifyEvent pick = fPick) pick(this);
    if (alive) TMenuItem::Click();
  }

private:
  TNotifyEvent fPick;
};

}  // namespace

void GStuff::CreateMenuOptions(TPopupMenu* aPopup, const std::vector<std::string>& aStrings, TNotifyEvent aOnClick,
                               int aDefaultIndex, bool aAddCancel) {
  if (!aPopup) return;
  TMenuItem* items = aPopup->GetItems();
  for (size_t i = 0; i < aStrings.size(); ++i) {
    auto* item = new TOptionItem(aOnClick);
    item->SetCaption(aStrings[i]);
    item->SetTag(static_cast<std::intptr_t>(i));
    item->SetDefault(static_cast<int>(i) == aDefaultIndex);
    items->Add(item);
  }
  if (aAddCancel) {
    auto* separator = new TMenuItem(nullptr);
    separator->SetCaption("-");
    items->Add(separator);
    auto* cancel = new TMenuItem(nullptr);
    cancel->SetCaption("Avbryt");
    items->Add(cancel);
  }
}

int GStuff::UserOptionStrings(TControl* aControl, int X, int Y, const std::vector<std::string>& aStrings,
                              int aDefault) {
  int picked = -1;
  auto menu = std::make_unique<TPopupMenu>(nullptr);
  CreateMenuOptions(
      menu.get(), aStrings,
      [&picked](TObject* Sender) {
        if (auto* item = dynamic_cast<TMenuItem*>(Sender)) picked = static_cast<int>(item->GetTag());
      },
      aDefault, true);
  const TPoint at = aControl ? aControl->ClientToScreen(Point(X, Y)) : Point(X, Y);
  menu->PopupModal(at.X, at.Y);
  Application()->ProcessMessages();
  menu.reset();
  return picked;
}

int GStuff::UserOption(TControl* aControl, int X, int Y, std::initializer_list<std::string> anArrayOfStrings,
                       int aDefault) {
  return UserOptionStrings(aControl, X, Y, std::vector<std::string>(anArrayOfStrings), aDefault);
}

}  // namespace vx
