#include <vxplan/platform/ui/XorOverlay.h>

#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cstdlib>

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
    TRect rect;  // for a line: from (Left, Top) to (Right, Bottom)
    TXorOverlay::TPattern pattern;
    bool line = false;
    friend bool operator==(const Shape&, const Shape&) = default;
  };
  std::vector<Shape> shapes;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const Shape& s : shapes) {
      if (s.line) {
        DrawLine(p, s);
        continue;
      }
      const QRect r(s.rect.Left, s.rect.Top, s.rect.Width(), s.rect.Height());
      p.fillRect(r, QBrush(Qt::white, s.pattern == TXorOverlay::xpHalftone ? Qt::Dense4Pattern : Qt::SolidPattern));
    }
  }

private:
  // The end stays out (one step short along the longer axis); dots fall on
  // every other pixel.
  static void DrawLine(QPainter& p, const Shape& s) {
    // In doubles: a long bar's outline is far wider than an int product allows.
    const double x0 = s.rect.Left, y0 = s.rect.Top;
    const double dx = s.rect.Right - x0, dy = s.rect.Bottom - y0;
    const double n = std::max(std::abs(dx), std::abs(dy));
    if (n == 0) return;
    QPen pen(Qt::white, 0);
    if (s.pattern == TXorOverlay::xpHalftone) pen.setDashPattern({1, 1});
    p.setPen(pen);
    const double t = (n - 1) / n;
    p.drawLine(QPointF(x0, y0), QPointF(x0 + dx * t, y0 + dy * t));
  }
};

// Shapes far outside any screen are kept to a range where sizes and areas
// cannot overflow; the same shape maps to the same range, so that drawing it
// twice still takes it away.
constexpr int kFar = 1 << 20;
int Near(int v) { return std::clamp(v, -kFar, kFar); }
TRect Near(const TRect& r) { return Rect(Near(r.Left), Near(r.Top), Near(r.Right), Near(r.Bottom)); }

// Adds the shape, or takes it away when it is there already.
void Toggle(OverlayWidget* w, const OverlayWidget::Shape& shape, const QRect& theArea) {
  auto& shapes = w->shapes;
  auto it = std::find(shapes.begin(), shapes.end(), shape);
  if (it != shapes.end())
    shapes.erase(it);  // twice: gone again
  else
    shapes.push_back(shape);
  // The control may have grown since; the overlay covers it all the time.
  if (QWidget* parent = w->parentWidget())
    if (w->geometry() != parent->rect()) w->setGeometry(parent->rect());
  w->raise();
  w->update(theArea.adjusted(0, 0, 1, 1));
}

}  // namespace

struct TXorOverlay::Impl {
  QPointer<OverlayWidget> widget;
};

TXorOverlay::TXorOverlay(TWinControl* theControl) : fImpl(std::make_unique<Impl>()) {
  if (theControl) fImpl->widget = new OverlayWidget(theControl);
}

TXorOverlay::~TXorOverlay() { delete fImpl->widget.data(); }

void TXorOverlay::InvertRect(const TRect& theRectAsked, TPattern thePattern) {
  OverlayWidget* w = fImpl->widget.data();
  const TRect theRect = Near(theRectAsked);
  if (!w || theRect.IsEmpty()) return;
  Toggle(w, OverlayWidget::Shape{theRect, thePattern, false}, QRect(theRect.Left, theRect.Top, theRect.Width(), theRect.Height()));
}

void TXorOverlay::InvertLine(TPoint theA, TPoint theB, TPattern thePattern) {
  OverlayWidget* w = fImpl->widget.data();
  const TPoint a = Point(Near(theA.X), Near(theA.Y)), b = Point(Near(theB.X), Near(theB.Y));
  if (!w || a == b) return;
  const QRect area = QRect(QPoint(std::min(a.X, b.X), std::min(a.Y, b.Y)), QPoint(std::max(a.X, b.X), std::max(a.Y, b.Y)));
  Toggle(w, OverlayWidget::Shape{Rect(a.X, a.Y, b.X, b.Y), thePattern, true}, area);
}

void TXorOverlay::Clear() {
  OverlayWidget* w = fImpl->widget.data();
  if (!w || w->shapes.empty()) return;
  w->shapes.clear();
  w->update();
}

int TXorOverlay::Count() const noexcept {
  return fImpl->widget ? static_cast<int>(fImpl->widget->shapes.size()) : 0;
}

}  // namespace vx
