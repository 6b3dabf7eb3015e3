#pragma once

#include <QString>

class QWidget;

namespace planora::testing {

// Saves a picture of the widget as screenshots/<name>.png in the build folder; true on success.
bool saveScreenshot(QWidget& widget, const QString& name);

}  // namespace planora::testing
