// The header control: sections drawn by the toolkit, resized with the mouse.
#include <algorithm>

#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/Menus.h>

namespace vx {

// --- a section ------------------------------------------------------------------------

void THeaderSection::SetWidth(int theWidth) {
  theWidth = std::clamp(std::max(theWidth, 0), std::min(fMinWidth, fMaxWidth), fMaxWidth);
  if (theWidth == fWidth) return;
  fWidth = theWidth;
  fOwner->Changed(true);
}

void THeaderSection::SetText(const std::string& theText) {
  if (theText == fText) return;
  fText = theText;
  fOwner->Changed(false);
}

void THeaderSection::SetMinWidth(int theValue) {
  fMinWidth = std::max(theValue, 0);
  if (fWidth < fMinWidth) SetWidth(fMinWidth);
}

void THeaderSection::SetMaxWidth(int theValue) {
  fMaxWidth = std::max(theValue, 0);
  if (fWidth > fMaxWidth) SetWidth(fMaxWidth);
}

void THeaderSection::SetAlignment(TAlignment theValue) {
  fAlignment = theValue;
  fOwner->Changed(false);
}

int THeaderSection::GetIndex() const { return fOwner->IndexOf(this); }

int THeaderSection::GetLeft() const { return fOwner->LeftOf(GetIndex()); }

// --- the sections ---------------------------------------------------------------------

THeaderSections::~THeaderSections() = default;

THeaderSection* THeaderSections::GetItem(int i) const {
  return i >= 0 && i < Count() ? fItems[static_cast<size_t>(i)].get() : nullptr;
}

THeaderSection* THeaderSections::Insert(int i) {
  if (i < 0 || i > Count()) return nullptr;
  auto it = fItems.insert(fItems.begin() + i, std::make_unique<THeaderSection>(this));
  Changed(true);
  return it->get();
}

void THeaderSections::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  fItems.erase(fItems.begin() + i);
  Changed(true);
}

void THeaderSections::Clear() {
  if (fItems.empty()) return;
  fItems.clear();
  Changed(true);
}

int THeaderSections::IndexOf(const THeaderSection* theSection) const {
  for (size_t k = 0; k < fItems.size(); ++k)
    if (fItems[k].get() == theSection) return static_cast<int>(k);
  return -1;
}

void THeaderSections::EndUpdate() {
  if (fUpdate > 0 && --fUpdate == 0) fOwner->Invalidate();
}

void THeaderSections::Changed(bool theSizes) {
  if (theSizes) fLeftsValid = false;
  fOwner->SectionsChanged(theSizes);
}

int THeaderSections::LeftOf(int i) const {
  if (i < 0 || i >= Count()) return 0;
  if (!fLeftsValid) {
    // Recomputed once after any number of changes.
    fLefts.resize(fItems.size());
    int x = 0;
    for (size_t k = 0; k < fItems.size(); ++k) {
      fLefts[k] = x;
      x += fItems[k]->GetWidth();
    }
    fLeftsValid = true;
  }
  return fLefts[static_cast<size_t>(i)];
}

// --- the control ----------------------------------------------------------------------

THeaderControl::THeaderControl(TComponent* AOwner)
    : TWinControl(AOwner), fSections(std::make_unique<THeaderSections>(this)) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 17);
}

THeaderControl::~THeaderControl() {
  Destroying();
  if (fPopupMenu) fPopupMenu->RemoveFreeNotification(this);
}

void THeaderControl::SetPopupMenu(TPopupMenu* theMenu) {
  if (theMenu == fPopupMenu) return;
  if (fPopupMenu) fPopupMenu->RemoveFreeNotification(this);
  fPopupMenu = theMenu;
  if (fPopupMenu) fPopupMenu->FreeNotification(this);
}

void THeaderControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == fPopupMenu) fPopupMenu = nullptr;
}

void THeaderControl::SectionsChanged(bool theSizes) {
  if (theSizes) ++fSizeStamp;
  if (!fSections->Updating()) Invalidate();
}

int THeaderControl::SectionEdgeAt(int x) const {
  int best = -1, bestDistance = ResizeMargin;
  for (int i = 0; i < fSections->Count(); ++i) {
    const THeaderSection* s = fSections->GetItem(i);
    if (s->GetWidth() <= 0) continue;
    const int right = s->GetRight();
    if (right - x > ResizeMargin) break;  // every later edge lies further right
    const int distance = std::abs(x - right);
    if (distance <= bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

int THeaderControl::SectionAt(int x) const {
  for (int i = 0; i < fSections->Count(); ++i) {
    const THeaderSection* s = fSections->GetItem(i);
    if (s->GetWidth() > 0 && x >= s->GetLeft() && x < s->GetRight()) return i;
  }
  return -1;
}

int THeaderControl::TextWidth(const std::string& theText) {
  TCanvas* c = GetCanvas();
  c->SetFont(*GetFont());
  return c->TextWidth(theText);
}

void THeaderControl::Paint() {
  TCanvas* c = GetCanvas();
  const int h = GetHeight();
  int right = 0;
  for (int i = 0; i < fSections->Count(); ++i) {
    THeaderSection* s = fSections->GetItem(i);
    if (s->GetWidth() <= 0) continue;
    right = s->GetRight();
    if (s->GetLeft() >= GetWidth()) break;
    DrawSection(s, Rect(s->GetLeft(), 0, right, h));
  }
  // The rest of the row: an empty raised band.
  if (right < GetWidth()) {
    TRect r = Rect(right, 0, GetWidth(), h);
    Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(r);
  }
  TWinControl::Paint();
}

void THeaderControl::DrawSection(THeaderSection* theSection, const TRect& theRect) {
  TCanvas* c = GetCanvas();
  TRect r = theRect;
  const bool pressed = fPressed == theSection->GetIndex() && fTracking < 0;
  Frame3D(c, r, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnShadow : clBtnShadow, 1);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  if (theSection->GetText().empty()) return;
  // The lines as one block, centred vertically, clipped to the section.
  c->SetFont(*GetFont());
  c->GetBrush()->SetStyle(bsClear);
  std::vector<std::string> lines;
  const std::string& text = theSection->GetText();
  for (size_t from = 0;;) {
    const size_t end = text.find('\n', from);
    std::string line = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::string::npos) break;
    from = end + 1;
  }
  const int lineHeight = c->TextHeight("Xg");
  const int block = lineHeight * static_cast<int>(lines.size());
  int y = r.Top + std::max(0, (r.Height() - block) / 2);
  const TRect clip = InflateRect(r, -2, 0);
  for (const std::string& line : lines) {
    const int w = c->TextWidth(line);
    int x = clip.Left + 2;
    if (theSection->GetAlignment() == taCenter) x = clip.Left + std::max(0, (clip.Width() - w) / 2);
    if (theSection->GetAlignment() == taRightJustify) x = std::max(clip.Left, clip.Right - 2 - w);
    c->TextRect(clip, x, y, line);
    y += lineHeight;
  }
  c->GetBrush()->SetStyle(bsSolid);
}

void THeaderControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    fTracking = SectionEdgeAt(X);
    if (fTracking >= 0) {
      THeaderSection* s = fSections->GetItem(fTracking);
      fTrackOffset = s->GetRight() - X;
      if (OnSectionTrack) OnSectionTrack(this, s, s->GetWidth(), tsTrackBegin);
    } else {
      fPressed = SectionAt(X);
      if (fPressed >= 0) Invalidate();
    }
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void THeaderControl::SectionResize(THeaderSection* theSection) {
  if (OnSectionResize) OnSectionResize(this, theSection);
}

void THeaderControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (fTracking >= 0 && Shift.Contains(ssLeft)) {
    THeaderSection* s = fSections->GetItem(fTracking);
    if (!s) {
      fTracking = -1;
    } else {
      const int width = X + fTrackOffset - s->GetLeft();
      if (OnSectionTrack) OnSectionTrack(this, s, width, tsTrackMove);
      const int before = s->GetWidth();
      s->SetWidth(width);
      if (s->GetWidth() != before) SectionResize(s);
    }
  }
  SetCursor(fTracking >= 0 || (!Shift.Contains(ssLeft) && SectionEdgeAt(X) >= 0) ? crHSplit : crDefault);
  TWinControl::MouseMove(Shift, X, Y);
}

void THeaderControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    const int tracked = fTracking, pressed = fPressed;
    fTracking = -1;
    fPressed = -1;
    if (THeaderSection* s = fSections->GetItem(tracked)) {
      if (OnSectionTrack) OnSectionTrack(this, s, s->GetWidth(), tsTrackEnd);
    } else if (pressed >= 0) {
      Invalidate();
      if (SectionAt(X) == pressed && OnSectionClick) OnSectionClick(this, fSections->GetItem(pressed));
    }
  }
  TWinControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbRight && fPopupMenu && GetClientRect().Contains(Point(X, Y))) {
    const TPoint at = ClientToScreen(Point(X, Y));
    fPopupMenu->Popup(at.X, at.Y);
  }
}

void THeaderControl::DoEndDrag(TObject* Target, int X, int Y) {
  if (fPressed >= 0) {
    fPressed = -1;
    Invalidate();
  }
  TWinControl::DoEndDrag(Target, X, Y);
}

}  // namespace vx
