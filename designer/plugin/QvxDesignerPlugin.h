#pragma once

// Qt Designer's view of the components: one entry per widget of
// designer/QvxWidgets.h in the widget box's "vxplan" group.

#include <QIcon>
#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <functional>

namespace vx {

// One widget as Designer sees it: names, texts, icon and how to make one.
struct QvxWidgetDescription {
  QString className;  // with the namespace, as forms name it
  QString objectName;  // the name a new instance starts with
  QString toolTip;
  QString whatsThis;
  QSize size;  // of a new instance on the form
  std::function<QIcon()> icon;
  std::function<QWidget*(QWidget*)> create;
};

class QvxDesignerWidget : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
  QvxDesignerWidget(QvxWidgetDescription theDescription, QObject* parent);

  QString name() const override { return fDescription.className; }
  QString group() const override { return QStringLiteral("vxplan"); }
  QString toolTip() const override { return fDescription.toolTip; }
  QString whatsThis() const override { return fDescription.whatsThis; }
  QString includeFile() const override { return QStringLiteral("designer/QvxWidgets.h"); }
  QIcon icon() const override { return fIcon; }
  bool isContainer() const override { return false; }
  QWidget* createWidget(QWidget* parent) override { return fDescription.create(parent); }
  bool isInitialized() const override { return fInitialized; }
  void initialize(QDesignerFormEditorInterface*) override { fInitialized = true; }
  QString domXml() const override;

private:
  QvxWidgetDescription fDescription;
  QIcon fIcon;
  bool fInitialized = false;
};

class QvxDesignerWidgets : public QObject, public QDesignerCustomWidgetCollectionInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
  explicit QvxDesignerWidgets(QObject* parent = nullptr);
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return fWidgets; }

private:
  QList<QDesignerCustomWidgetInterface*> fWidgets;
};

}  // namespace vx
