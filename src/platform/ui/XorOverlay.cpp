#include "platform/ui/XorOverlay.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>

namespace vx {

namespace {

// A transparent child on top of the control: Qt paints the control and its
// children first, so exclusive-or here works on what they drew.
class OverlayWidget : public QWidget {
public:
  explicit OverlayWidget(QWidget* theParent) : QWidget(theParent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(theParent->rect());
    raise();
    show();
  }
  struct Shape {
    TRect rect;
    TXorOverlay::TPattern pattern;
  };
  std::vector<Shape> shapes;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const Shape& s : shapes) {
      const QRect r(s.rect.Left, s.rect.Top, s.rect.Width(), s.rect.Height());
      p.fillRect(r, QBrush(Qt::white, s.pattern == TXorOverlay::xpHalftone ? Qt::Dense4Pattern : Qt::SolidPattern));
    }
  }
};

}  // namespace

struct TXorOverlay::Impl {
  QPointer<OverlayWidget> widget;
};

TXorOverlay::TXorOverlay(TWinControl* theControl) : fImpl(std::make_unique<Impl>()) {
  if (theControl) fImpl->widget = new OverlayWidget(theControl);
}

TXorOverlay::~TXorOverlay() { delete fImpl->widget.data(); }

void TXorOverlay::InvertRect(const TRect& theRect, TPattern thePattern) {
  OverlayWidget* w = fImpl->widget.data();
  if (!w || theRect.IsEmpty()) return;
  auto& shapes = w->shapes;
  auto same = [&](const OverlayWidget::Shape& s) { return s.rect == theRect && s.pattern == thePattern; };
  auto it = std::find_if(shapes.begin(), shapes.end(), same);
  if (it != shapes.end())
    shapes.erase(it);  // twice: gone again
  else
    shapes.push_back({theRect, thePattern});
  // The control may have grown since; the overlay covers it all the time.
  if (QWidget* parent = w->parentWidget()) w->setGeometry(parent->rect());
  w->raise();
  w->update(QRect(theRect.Left, theRect.Top, theRect.Width(), theRect.Height()));
}

int TXorOverlay::Count() const noexcept {
  return fImpl->widget ? static_cast<int>(fImpl->widget->shapes.size()) : 0;
}

}  // namespace vx
