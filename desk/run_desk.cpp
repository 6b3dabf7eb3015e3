#include "desk/run_desk.h"

#include <QApplication>
#include <QEventLoop>
#include <memory>
#include <string>
#include <string_view>

#include "desk/plx_desk.h"
#include "dialog/failure_notice.h"
#include "dialog/msgbox_routine.h"
#include "files/station.h"
#include "preview/window/anteprima.h"
#include "print/menu/menu_stampa.h"

namespace planora::desk {

namespace {

std::filesystem::path dataFolderOf(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "--data") {
            return argv[i + 1];
        }
    }
    return ".";
}

}  // namespace

int runDeskWindow(const std::filesystem::path& dataFolder, const board::Clock& clock) {
    std::unique_ptr<PlxDesk> desk;
    const bool opened = dialog::showingFailures(
        [&] { desk = std::make_unique<PlxDesk>(std::filesystem::absolute(dataFolder), clock); });
    if (!opened) {
        return 1;
    }
    // After a board run the print menu opens over the window until it is closed.
    desk->setAfterBoard([folder = std::filesystem::absolute(dataFolder), &clock](
                            PlxDesk& window, const board::BoardResult&) {
        const std::string station = files::stationCode();
        print::menu::MenuStampa menu({folder, station, window.hotelNumber(), &clock}, &window);
        menu.setPreviewCommand([&] {
            preview::showAnteprima(preview::PreviewContext{folder, station, {}}, &menu);
        });
        menu.exec();
    });
    QEventLoop loop;
    QObject::connect(desk.get(), &PlxDesk::unloaded, &loop, &QEventLoop::quit);
    desk->show();
    if (desk->activate()) {
        loop.exec();
    }
    return desk->exitStatus();
}

int runDesk(int argc, char** argv) {
    QApplication app(argc, argv);
    const board::SystemClock clock;
    int status = 1;
    // The windows' handlers show their own failures; this catches what happens around them.
    dialog::showingFailures([&] { status = runDeskWindow(dataFolderOf(argc, argv), clock); });
    return status;
}

}  // namespace planora::desk
