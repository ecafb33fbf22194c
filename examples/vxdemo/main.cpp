// The demo: browses a data list of 10,000,000 virtually loaded entities, then
// renders a self-drawn panel to out/demo/panel.png and prints it onto two
// pages of out/demo/panel.pdf. (The widget gallery replaces this as the
// components arrive.)
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/vxDataEntityPack.h"
#include "paint/vxOffscreenPaint.h"
#include "platform/rtl/Math.h"
#include "platform/ui/ExtCtrls.h"

using namespace vx;

namespace {

struct Stats {
  long loads = 0;
  long unloads = 0;
};

void Show(const char* step, TvxDataList* list, const Stats& stats) {
  const TvxDataEntity* first = list->GetLoaded(0);
  const TvxDataEntity* last = list->GetLoaded(list->LoadedCount() - 1);
  std::printf("%-31s count %8d | before %8d | loaded %3d | after %8d | window %s .. %s | loads %5ld unloads %5ld\n",
              step, list->Count(), list->GetUnloadedPreCount(), list->LoadedCount(), list->GetUnloadedPostCount(),
              first ? first->GetVariantReference().AsString().c_str() : "-",
              last ? last->GetVariantReference().AsString().c_str() : "-", stats.loads, stats.unloads);
}

void BrowseVirtualList() {
  Stats stats;
  TvxListController controller;
  // The application fills a freshly loaded entity from its own data...
  controller.fOnLoadItem = [&](TvxDataEntity* e) {
    ++stats.loads;
    e->SetVariantReference(Variant("row " + std::to_string(e->ListIndex())));
  };
  // ...and lets any entity go again.
  controller.fOnUnLoadItem = [&](TvxDataEntity*, bool& canUnload) {
    canUnload = true;
    ++stats.unloads;
  };

  TvxOwned<TvxDataList> list(TvxDataList::Create(&controller, TvxDataEntityClass::Of<TvxDataEntity>()));
  list->AddUnloaded(10'000'000);
  Show("10,000,000 rows, none loaded", list.get(), stats);
  for (int top = 0; top < 2000; top += 50) {
    for (int i = top; i < top + 50; ++i) list->GetItems(i);
    if (top % 500 == 450 || top == 0) Show(("scrolled to row " + std::to_string(top)).c_str(), list.get(), stats);
  }
  for (int i = 7'654'321; i < 7'654'321 + 50; ++i) list->GetItems(i);
  Show("jumped to row 7,654,321", list.get(), stats);
  for (int i = 7'654'320; i >= 7'654'000; --i) list->GetItems(i);
  Show("scrolled back to row 7,654,000", list.get(), stats);
  list->GetItems(9'999'999);
  Show("jumped to the last row", list.get(), stats);

  TvxListController sortController;
  sortController.fOnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) {
    return a->GetVariantReference().AsString().compare(b->GetVariantReference().AsString());
  };
  TvxOwned<TvxDataList> fruits(TvxDataList::Create(&sortController, {}));
  for (const char* name : {"plum", "apple", "quince", "cherry", "fig", "banana"})
    fruits->Add()->SetVariantReference(Variant(name));
  auto print = [&](const char* title) {
    std::printf("%-31s", title);
    for (int i = 0; i < fruits->Count(); ++i)
      std::printf(" %s", fruits->GetItems(i)->GetVariantReference().AsString().c_str());
    std::printf("\n");
  };
  print("small list as inserted:");
  fruits->Sort(false);
  print("sorted ascending:");
  fruits->Sort(true);
  print("sorted descending:");
}

// A self-drawn surface: bands, a frame, lines, an inverted focus rectangle
// and text, the same on screen and on paper.
class Sampler : public TvxOffscreenPaint {
public:
  explicit Sampler(TComponent* owner) : TvxOffscreenPaint(owner) { SetBevelOuter(bvNone); }

  void OffscreenPaint() override {
    TCanvas* c = GetOffscreenCanvas();
    const int w = GetWidth(), h = GetHeight();
    const int band = Round(24 * GetScaley());
    c->GetBrush()->SetColor(clWindow);
    c->FillRect(Rect(0, 0, w, h));
    static const TColor colours[] = {RGB(0xE8, 0xF0, 0xFF), RGB(0xFF, 0xF4, 0xE0), RGB(0xE8, 0xFF, 0xE8)};
    for (int k = 0; band > 0 && k * band < h; ++k) {
      c->GetBrush()->SetColor(colours[k % 3]);
      c->FillRect(Rect(0, k * band, w, (k + 1) * band));
    }
    c->GetPen()->SetColor(clGray);
    for (int x = 0; x < w; x += Round(40 * GetScalex())) {
      c->MoveTo(x, 0);
      c->LineTo(x, h);
    }
    c->GetBrush()->SetColor(RGB(0x33, 0x66, 0xCC));
    c->GetPen()->SetColor(clNavy);
    c->Rectangle(Round(40 * GetScalex()), band + 4, Round(220 * GetScalex()), 2 * band - 4);
    c->GetBrush()->SetColor(RGB(0xCC, 0x44, 0x33));
    c->Rectangle(Round(160 * GetScalex()), 2 * band + 4, Round(300 * GetScalex()), 3 * band - 4);
    c->DrawFocusRect(Rect(Round(156 * GetScalex()), 2 * band + 1, Round(304 * GetScalex()), 3 * band - 1));
    c->GetFont()->SetSize(9);
    PrintResizeFont();
    c->GetFont()->SetColor(clWindowText);
    c->GetBrush()->SetStyle(bsClear);
    TRect r = Rect(Round(44 * GetScalex()), band + 4, Round(220 * GetScalex()), 2 * band - 4);
    c->GetFont()->SetColor(clWhite);
    c->DrawText("Design", r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    r = Rect(Round(164 * GetScalex()), 2 * band + 4, Round(300 * GetScalex()), 3 * band - 4);
    c->DrawText("Build", r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    c->GetFont()->SetColor(clWindowText);
    c->GetFont()->SetStyle({fsBold});
    c->TextOut(Round(8 * GetScalex()), 3 * band + 6, GetIsPrinting() ? "printed through the device context"
                                                                    : "drawn off-screen, copied in one step");
  }
};

void RenderPanels(const std::string& outDir) {
  TPanel form(nullptr);
  form.SetBounds(0, 0, 480, 220);
  form.SetBevelOuter(bvNone);
  auto* header = new TPanel(&form);
  header->SetParent(&form);
  header->SetHeight(30);
  header->SetAlign(alTop);
  header->SetCaption("vxplan: toolkit layer and off-screen panel");
  header->GetFont()->SetStyle({fsBold});
  auto* side = new TPanel(&form);
  side->SetParent(&form);
  side->SetWidth(110);
  side->SetAlign(alLeft);
  side->SetBevelOuter(bvLowered);
  side->SetCaption("alLeft panel");
  auto* sampler = new Sampler(&form);
  sampler->SetParent(&form);
  sampler->SetAlign(alClient);

  TBitmap shot;
  form.PaintTo(&shot);
  const std::string png = outDir + "/panel.png";
  std::printf("%s %s\n", shot.SaveToFile(png) ? "wrote" : "could not write", png.c_str());

  const std::string pdf = outDir + "/panel.pdf";
  auto dc = TDeviceContext::CreatePdf(pdf, 210, 297, 300);
  if (!dc) {
    std::printf("could not write %s\n", pdf.c_str());
    return;
  }
  sampler->Print(dc.get(), 150, 150, 3, 3, true);
  dc->NewPage();
  sampler->Print(dc.get(), 150, 150, 6, 6, true);
  dc->EndDoc();
  std::printf("wrote %s (%d pages)\n", pdf.c_str(), dc->PageCount());
}

}  // namespace

int main(int argc, char** argv) {
  BrowseVirtualList();
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const std::string outDir = "out/demo";
  QDir().mkpath(QString::fromStdString(outDir));
  RenderPanels(outDir);
  return 0;
}
