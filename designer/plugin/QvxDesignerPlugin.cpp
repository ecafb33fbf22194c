#include <vxplan/designer/plugin/QvxDesignerPlugin.h>

#include <QPainter>
#include <QPixmap>

#include <vxplan/designer/QvxWidgets.h>

namespace vx {

namespace {

// The widget box's icons, drawn rather than shipped: a sketch of each
// component at 32 x 32.
QIcon Sketch(const std::function<void(QPainter&)>& theDraw) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(0x40, 0x40, 0x40));
  p.setBrush(Qt::white);
  p.drawRect(1, 1, 29, 29);
  theDraw(p);
  p.end();
  return QIcon(pixmap);
}

const QColor kBlue(0x5B, 0x8D, 0xD6);
const QColor kGreen(0x6A, 0xB8, 0x6A);
const QColor kLine(0x80, 0x80, 0x80);

QIcon GantIcon() {
  return Sketch([](QPainter& p) {
    p.fillRect(2, 2, 28, 6, QColor(0xE0, 0xE0, 0xE0));
    p.fillRect(5, 11, 12, 4, kBlue);
    p.fillRect(14, 18, 10, 4, kBlue);
    p.fillRect(20, 25, 8, 3, kGreen);
    p.setPen(QColor(0xD0, 0x30, 0x30));
    p.drawLine(16, 15, 16, 17);  // a link from the first bar to the second
  });
}

QIcon SchemaIcon() {
  return Sketch([](QPainter& p) {
    p.setPen(kLine);
    for (int x = 9; x < 30; x += 7) p.drawLine(x, 2, x, 29);
    p.fillRect(10, 6, 6, 10, kBlue);
    p.fillRect(17, 12, 6, 14, kGreen);
    p.fillRect(24, 4, 5, 8, kBlue);
  });
}

QIcon ScalerIcon() {
  return Sketch([](QPainter& p) {
    p.setPen(kLine);
    p.drawLine(2, 16, 29, 16);
    for (int x = 4; x < 30; x += 4) p.drawLine(x, 16, x, x % 12 == 4 ? 26 : 21);
    p.fillRect(4, 5, 10, 6, QColor(0xE0, 0xE0, 0xE0));
    p.fillRect(17, 5, 10, 6, QColor(0xE0, 0xE0, 0xE0));
  });
}

QIcon GridIcon() {
  return Sketch([](QPainter& p) {
    p.fillRect(2, 2, 28, 6, QColor(0xE0, 0xE0, 0xE0));
    p.setPen(kLine);
    for (int y = 8; y < 30; y += 6) p.drawLine(2, y, 29, y);
    for (int x = 11; x < 30; x += 9) p.drawLine(x, 2, x, 29);
  });
}

QIcon TreeIcon() {
  return Sketch([](QPainter& p) {
    p.setPen(kLine);
    p.drawLine(7, 9, 7, 25);
    p.drawLine(7, 17, 13, 17);
    p.drawLine(7, 25, 13, 25);
    p.fillRect(4, 5, 14, 4, kBlue);
    p.fillRect(14, 15, 12, 4, kGreen);
    p.fillRect(14, 23, 12, 4, kGreen);
  });
}

template <class W>
std::function<QWidget*(QWidget*)> Maker() {
  return [](QWidget* parent) -> QWidget* { return new W(parent); };
}

}  // namespace

QvxDesignerWidget::QvxDesignerWidget(QvxWidgetDescription theDescription, QObject* parent)
    : QObject(parent), fDescription(std::move(theDescription)), fIcon(fDescription.icon()) {}

QString QvxDesignerWidget::domXml() const {
  return QStringLiteral(
             "<ui language=\"c++\"><widget class=\"%1\" name=\"%2\">"
             "<property name=\"geometry\"><rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect></property>"
             "</widget></ui>")
      .arg(fDescription.className, fDescription.objectName)
      .arg(fDescription.size.width())
      .arg(fDescription.size.height());
}

QvxDesignerWidgets::QvxDesignerWidgets(QObject* parent) : QObject(parent) {
  const QvxWidgetDescription descriptions[] = {
      {"vx::QvxGant", "gant", "Gantt chart: rows in a tree or grid beside bars on a time axis",
       "A Gantt chart (TvxGant). Fill it through gant(): tree nodes, bars in their rows, links.", {640, 320},
       GantIcon, Maker<QvxGant>()},
      {"vx::QvxSchema", "schema", "Schedule: bookings in day or resource columns against time",
       "A schedule (TvxSchema). Columns and bookings go through schema().", {640, 400}, SchemaIcon,
       Maker<QvxSchema>()},
      {"vx::QvxDateScaler", "dateScaler", "Date scaler: a time axis to zoom and pan",
       "A date scaler (TvxDateScaler), the time axis of the charts on its own.", {480, 40}, ScalerIcon,
       Maker<QvxDateScaler>()},
      {"vx::QvxGrid", "grid", "Column grid: columns from definitions, rows added at run time",
       "A column grid (TvxGrid). Set the columns here; rows and cells go through grid().", {480, 240}, GridIcon,
       Maker<QvxGrid>()},
      {"vx::QvxTree", "tree", "Tree bound to data lists, nodes made on demand",
       "A tree (TvxTree) whose nodes are data entities; fill it through tree().", {240, 320}, TreeIcon,
       Maker<QvxTree>()},
  };
  for (const QvxWidgetDescription& d : descriptions) fWidgets.append(new QvxDesignerWidget(d, this));
}

}  // namespace vx
