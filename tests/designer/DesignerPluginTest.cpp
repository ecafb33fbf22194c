// The Qt Designer plugin as Designer uses it: loaded from its file, each
// widget made through the plugin, its design-time properties set and read
// through Qt's property system (as the property editor and .ui forms do).
#include <gtest/gtest.h>

#include <QDomDocument>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <map>
#include <memory>

#include "UiTestSupport.h"
#include <vxplan/designer/QvxWidgets.h>
#include <vxplan/gantt/vxGant.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/scaler/vxScaler.h>
#include <vxplan/schema/vxSchema.h>
#include <vxplan/tree/vxTree.h>

using namespace vx;

namespace {

std::map<QString, QDesignerCustomWidgetInterface*> LoadWidgets() {
  static QPluginLoader loader(QStringLiteral(VX_DESIGNER_PLUGIN));
  std::map<QString, QDesignerCustomWidgetInterface*> r;
  auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
  EXPECT_NE(collection, nullptr) << loader.errorString().toStdString();
  if (!collection) return r;
  for (QDesignerCustomWidgetInterface* w : collection->customWidgets()) r[w->name()] = w;
  return r;
}

// The component a wrapper holds, when it is of the kind expected.
template <class Component, class Wrapper>
Component* Held(QWidget* theWidget, Component* (Wrapper::*theGetter)() const) {
  auto* wrapper = qobject_cast<Wrapper*>(theWidget);
  return wrapper ? dynamic_cast<Component*>((wrapper->*theGetter)()) : nullptr;
}

}  // namespace

TEST(DesignerPlugin, OffersEveryComponentInItsGroupAndMakesTheRightWidget) {
  const auto widgets = LoadWidgets();
  const std::map<QString, std::function<bool(QWidget*)>> expected = {
      {"vx::QvxGant", [](QWidget* w) { return Held<TvxGant>(w, &QvxGant::gant) != nullptr; }},
      {"vx::QvxSchema", [](QWidget* w) { return Held<TvxSchema>(w, &QvxSchema::schema) != nullptr; }},
      {"vx::QvxDateScaler", [](QWidget* w) { return Held<TvxDateScaler>(w, &QvxDateScaler::scaler) != nullptr; }},
      {"vx::QvxGrid", [](QWidget* w) { return Held<TvxGrid>(w, &QvxGrid::grid) != nullptr; }},
      {"vx::QvxTree", [](QWidget* w) { return Held<TvxTree>(w, &QvxTree::tree) != nullptr; }},
  };
  ASSERT_EQ(widgets.size(), expected.size());
  // Shown, as Designer shows its forms: sizes reach hidden widgets only then.
  QWidget form;
  form.resize(800, 600);
  form.show();
  for (const auto& [name, isRightKind] : expected) {
    SCOPED_TRACE(name.toStdString());
    ASSERT_TRUE(widgets.count(name));
    QDesignerCustomWidgetInterface* d = widgets.at(name);
    EXPECT_EQ(d->group(), "vxplan");
    EXPECT_FALSE(d->icon().pixmap(32, 32).toImage().isNull());
    EXPECT_EQ(d->includeFile(), "designer/QvxWidgets.h");
    EXPECT_FALSE(d->isContainer());
    // The form snippet names the same class and gives a size.
    QDomDocument dom;
    ASSERT_TRUE(dom.setContent(d->domXml()));
    const QDomElement widget = dom.documentElement().firstChildElement("widget");
    EXPECT_EQ(widget.attribute("class"), name);
    EXPECT_FALSE(widget.attribute("name").isEmpty());

    QWidget* w = d->createWidget(&form);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), &form);
    EXPECT_EQ(QString::fromLatin1(w->metaObject()->className()), name);
    EXPECT_TRUE(isRightKind(w));
    // The component fills the widget as it is sized on the form.
    w->show();
    w->resize(420, 230);
    const QList<QWidget*> children = w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children[0]->geometry(), QRect(0, 0, 420, 230));
    delete w;
  }
}

// Every design-time property reads back what was written; those that convert
// (colours, dates, enums, column lists) reach the component as meant.
TEST(DesignerPlugin, PropertiesReachTheComponents) {
  const auto widgets = LoadWidgets();
  QWidget form;
  auto make = [&](const char* theName) {
    return std::unique_ptr<QWidget>(widgets.count(theName) ? widgets.at(theName)->createWidget(&form) : nullptr);
  };

  // Booleans, colours and texts round-trip on every widget.
  for (const auto& [name, d] : widgets) {
    SCOPED_TRACE(name.toStdString());
    std::unique_ptr<QWidget> w(d->createWidget(&form));
    const QMetaObject* meta = w->metaObject();
    int own = 0;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i, ++own) {
      const QMetaProperty p = meta->property(i);
      SCOPED_TRACE(p.name());
      EXPECT_TRUE(p.isWritable() && p.isDesignable());
      QVariant v = p.read(w.get());
      if (p.typeId() == QMetaType::Bool) {
        ASSERT_TRUE(p.write(w.get(), !v.toBool()));
        EXPECT_EQ(p.read(w.get()).toBool(), !v.toBool());
      } else if (p.typeId() == QMetaType::QColor) {
        const QColor c(0x12, 0x9A, 0xCE);
        ASSERT_TRUE(p.write(w.get(), c));
        EXPECT_EQ(p.read(w.get()).value<QColor>(), c);
      } else if (p.typeId() == QMetaType::QString) {
        ASSERT_TRUE(p.write(w.get(), QStringLiteral("dd.MM.yyyy")));
        EXPECT_EQ(p.read(w.get()).toString(), "dd.MM.yyyy");
      } else if (p.isEnumType()) {
        const QMetaEnum e = p.enumerator();
        for (int k = 0; k < e.keyCount(); ++k) {
          ASSERT_TRUE(p.write(w.get(), e.value(k)));
          EXPECT_EQ(p.read(w.get()).toInt(), e.value(k)) << e.key(k);
        }
      }
    }
    EXPECT_GE(own, 5);
  }

  std::unique_ptr<QWidget> gant = make("vx::QvxGant");
  ASSERT_TRUE(gant);
  TvxGant* g = static_cast<QvxGant*>(gant.get())->gant();
  gant->setProperty("treeWidth", 210);
  EXPECT_EQ(g->GetTreeWidth(), 210);
  gant->setProperty("backColor", QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(g->GetGantBackColor(), RGB(0x10, 0x20, 0x30));
  // Dates as forms store them: local date and time, to the second.
  const QDateTime start(QDate(2025, 3, 3), QTime(8, 30));
  gant->setProperty("start", start);
  EXPECT_EQ(gant->property("start").toDateTime(), start);
  EXPECT_DOUBLE_EQ(g->GetStart(), EncodeDate(2025, 3, 3) + 8.5 / 24);
  gant->setProperty("stop", start.addDays(14));
  EXPECT_EQ(gant->property("stop").toDateTime(), start.addDays(14));
  EXPECT_DOUBLE_EQ(g->GetStop(), EncodeDate(2025, 3, 17) + 8.5 / 24);

  std::unique_ptr<QWidget> scaler = make("vx::QvxDateScaler");
  ASSERT_TRUE(scaler);
  TvxDateScaler* s = static_cast<QvxDateScaler*>(scaler.get())->scaler();
  scaler->setProperty("lookAndFeel", QvxDateScaler::Boxed);
  EXPECT_EQ(s->GetLookAndFeel(), tlfBoxed);
  scaler->setProperty("scrollButtons", QvxDateScaler::NoButtons);
  EXPECT_EQ(s->GetScrollButtons(), tsbOff);

  // The grid's columns: definitions added, renamed and deleted at the end.
  std::unique_ptr<QWidget> grid = make("vx::QvxGrid");
  ASSERT_TRUE(grid);
  TvxGrid* gr = static_cast<QvxGrid*>(grid.get())->grid();
  grid->setProperty("columnWidth", 90);
  grid->setProperty("columns", QStringList{"Task", "Start", "Finish"});
  ASSERT_EQ(gr->GetColumns()->Count(), 3);
  EXPECT_EQ(gr->GetColumns()->GetColumn(2)->GetHeaderText(), "Finish");
  EXPECT_EQ(gr->GetColumns()->GetColumn(1)->GetWidth(), 90);
  // The grid's own columns: the info column and one per definition.
  EXPECT_EQ(gr->GetBabGridCellForViewer()->GetAxisContentListX()->Count(), 4);
  grid->setProperty("columns", QStringList{"Name", "Owner"});
  ASSERT_EQ(gr->GetColumns()->Count(), 2);
  EXPECT_EQ(gr->GetColumns()->GetColumn(0)->GetHeaderText(), "Name");
  EXPECT_EQ(grid->property("columns").toStringList(), (QStringList{"Name", "Owner"}));
}
