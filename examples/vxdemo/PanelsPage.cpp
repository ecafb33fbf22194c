// The toolkit page: aligned panels around a self-drawn surface that paints
// off-screen and prints through the same code.
#include <QLabel>
#include <QVBoxLayout>

#include "Gallery.h"
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/rtl/Math.h>
#include <vxplan/platform/ui/ExtCtrls.h>

using namespace vx;

namespace {

class Sampler : public TvxOffscreenPaint {
public:
  explicit Sampler(TComponent* owner) : TvxOffscreenPaint(owner) { SetBevelOuter(bvNone); }

  void OffscreenPaint() override {
    TCanvas* c = GetOffscreenCanvas();
    const int w = GetWidth(), h = GetHeight();
    const int band = Round(24 * GetScaley());
    auto sx = [this](int x) { return Round(x * GetScalex()); };
    c->GetBrush()->SetColor(clWindow);
    c->FillRect(Rect(0, 0, w, h));
    static const TColor colours[] = {RGB(0xC4, 0xD8, 0xFF), RGB(0xFF, 0xE2, 0xB0), RGB(0xC4, 0xFF, 0xC4)};
    for (int k = 0; band > 0 && k * band < h; ++k) {
      // Pastel on a light window, a muted tint on a dark one.
      c->GetBrush()->SetColor(MixColors(clWindow, colours[k % 3], RelativeLuminance(clWindow) > 0.5 ? 0.6 : 0.22));
      c->FillRect(Rect(0, k * band, w, (k + 1) * band));
    }
    c->GetPen()->SetColor(clGridLine);
    for (int x = 0; x < w; x += sx(40)) {
      c->MoveTo(x, 0);
      c->LineTo(x, h);
    }
    c->GetPen()->SetColor(clNavy);
    c->GetBrush()->SetColor(RGB(0x33, 0x66, 0xCC));
    c->Rectangle(sx(40), band + 4, sx(220), 2 * band - 4);
    c->GetBrush()->SetColor(RGB(0xCC, 0x44, 0x33));
    c->Rectangle(sx(160), 2 * band + 4, sx(300), 3 * band - 4);
    c->DrawFocusRect(Rect(sx(156), 2 * band + 1, sx(304), 3 * band - 1));
    c->GetFont()->SetSize(9);
    PrintResizeFont();
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetColor(clWhite);
    TRect r = Rect(sx(44), band + 4, sx(220), 2 * band - 4);
    c->DrawText("Design", r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    r = Rect(sx(164), 2 * band + 4, sx(300), 3 * band - 4);
    c->DrawText("Build", r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    c->GetFont()->SetColor(clWindowText);
    c->GetFont()->SetStyle({fsBold});
    c->TextOut(sx(8), 3 * band + 6,
               GetIsPrinting() ? "printed through the device context" : "drawn off-screen, copied in one step");
  }
};

}  // namespace

GalleryPage MakePanelsPage() {
  auto* form = new TPanel(nullptr);
  form->SetBevelOuter(bvNone);
  auto* header = new TPanel(form);
  header->SetParent(form);
  header->SetHeight(30);
  header->SetAlign(alTop);
  header->SetCaption("A header panel across the top");
  header->GetFont()->SetStyle({fsBold});
  auto* side = new TPanel(form);
  side->SetParent(form);
  side->SetWidth(130);
  side->SetAlign(alLeft);
  side->SetBevelOuter(bvLowered);
  side->SetCaption("Side panel");
  auto* sampler = new Sampler(form);
  sampler->SetParent(form);
  sampler->SetAlign(alClient);

  auto* page = new QWidget;
  QVBoxLayout* layout = PageWithHelp(page, QStringLiteral(
      "Panels keep to their side of the window as it is resized: a header across the top, a side panel on the "
      "left, and a drawing surface filling the rest. The surface paints off-screen and prints through the same "
      "code (File > Print preview)."));
  layout->addWidget(form, 1);
  GalleryPage result{"panels", page, nullptr, nullptr, nullptr, {form}, nullptr};
  result.print = [sampler](TDeviceContext* dc) {
    sampler->Print(dc, 150, 150, 3, 3, true);
    dc->NewPage();
    sampler->Print(dc, 150, 150, 6, 6, true);
  };
  return result;
}
