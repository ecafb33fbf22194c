#include <vxplan/platform/ui/ExpandBox.h>

namespace vx {

void DrawExpandBox(TCanvas& theCanvas, TPoint theCentre, bool theExpanded, TColor theFill) {
  const int x = theCentre.X, y = theCentre.Y;
  TBrush* brush = theCanvas.GetBrush();
  brush->SetStyle(bsSolid);
  brush->SetColor(theFill);
  const TRect box = Rect(x - 4, y - 4, x + 5, y + 5);
  theCanvas.FillRect(box);
  brush->SetColor(clGray);  // a mid grey shows on light and dark windows alike
  theCanvas.FrameRect(box);
  // Strokes are fills too: a wide pen left by earlier drawing does not show.
  brush->SetColor(clWindowText);
  theCanvas.FillRect(Rect(x - 2, y, x + 3, y + 1));
  if (!theExpanded) theCanvas.FillRect(Rect(x, y - 2, x + 1, y + 3));
}

}  // namespace vx
