#pragma once

#include <QTabWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/DeviceContext.h"

// One page of the gallery: a Qt widget holding a component and its controls,
// and how the component prints.
struct GalleryPage {
  std::string name;
  QWidget* widget = nullptr;
  std::function<void(vx::TDeviceContext* theDC)> print;
};

GalleryPage MakeScalerPage();
GalleryPage MakePanelsPage();
