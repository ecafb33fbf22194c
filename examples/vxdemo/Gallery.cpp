// The gallery's pages, as a library that the window and the tests share.
#include "Gallery.h"

#include "platform/ui/Graphics.h"

void PrintBitmapOf(vx::TControl* theControl, vx::TDeviceContext* dc) {
  vx::TBitmap shot;
  theControl->PaintTo(&shot);
  const int ppi = dc->PixelsPerInch();
  const int w = shot.GetWidth() * ppi / 150, h = shot.GetHeight() * ppi / 150;
  vx::TCanvas c;
  c.SetHandle(dc);
  c.StretchDraw(vx::Rect(ppi / 2, ppi / 2, ppi / 2 + w, ppi / 2 + h), &shot);
  c.SetHandle(nullptr);
}

namespace {

struct PageMaker {
  const char* name;
  GalleryPage (*make)();
};

const PageMaker kPages[] = {{"gantt", MakeGanttPage},   {"ganttgrid", MakeGanttGridPage}, {"bigplan", MakeBigPlanPage},
                            {"schema", MakeSchemaPage}, {"grid", MakeGridPage},           {"scaler", MakeScalerPage},
                            {"panels", MakePanelsPage}, {"tree", MakeTreePage},           {"splitter", MakeSplitterPage}};

}  // namespace

std::vector<GalleryPage> MakeGalleryPages() {
  std::vector<GalleryPage> pages;
  for (const PageMaker& p : kPages) pages.push_back(p.make());
  return pages;
}

GalleryPage MakeGalleryPage(const std::string& theName) {
  for (const PageMaker& p : kPages)
    if (theName == p.name) return p.make();
  return {};
}
