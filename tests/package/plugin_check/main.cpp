// plugin_check PLUGIN: loads the Designer plugin from its installed file and
// makes each of its widgets. With a shared library, the installed widgets
// library must be the one the plugin uses: the casts below cross from the
// plugin into this program.
#include <QApplication>
#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <vxplan/designer/QvxWidgets.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: plugin_check PLUGIN\n");
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QPluginLoader loader(QString::fromLocal8Bit(argv[1]));
  auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
  if (!collection) {
    std::fprintf(stderr, "not loaded: %s\n", qPrintable(loader.errorString()));
    return 1;
  }
  int made = 0;
  for (QDesignerCustomWidgetInterface* d : collection->customWidgets()) {
    std::unique_ptr<QWidget> w(d->createWidget(nullptr));
    bool ok = w && d->group() == "vxplan" && w->metaObject()->className() == d->name();
#ifndef VX_STATIC_PACKAGE
    ok = ok && (qobject_cast<vx::QvxGant*>(w.get()) || qobject_cast<vx::QvxSchema*>(w.get()) ||
                qobject_cast<vx::QvxDateScaler*>(w.get()) || qobject_cast<vx::QvxGrid*>(w.get()) ||
                qobject_cast<vx::QvxTree*>(w.get()));
#endif
    std::printf("%s %s\n", ok ? "made" : "FAILED", qPrintable(d->name()));
    made += ok ? 1 : 0;
  }
  return made == 5 ? 0 : 1;
}
