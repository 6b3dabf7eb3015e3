#include "screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace planora::testing {

bool saveScreenshot(QWidget& widget, const QString& name) {
    const QDir folder(QStringLiteral(PLANORA_BUILD_DIR "/screenshots"));
    if (!folder.mkpath(".")) {
        return false;
    }
    return widget.grab().save(folder.filePath(name + ".png"));
}

}  // namespace planora::testing
