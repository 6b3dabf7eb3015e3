#include "desk/run_desk.h"

#include <QApplication>
#include <QEventLoop>
#include <memory>
#include <string>
#include <string_view>

#include "db/error.h"
#include "desk/plx_desk.h"
#include "dialog/msgbox_routine.h"
#include "files/station.h"
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
    try {
        desk = std::make_unique<PlxDesk>(std::filesystem::absolute(dataFolder), clock);
    } catch (const planora::Error& error) {
        dialog::MostraMessaggio(std::string(error.what()), 48, std::string("Planora"));
        return 1;
    }
    // After a board run the print menu opens over the window until it is closed.
    desk->setAfterBoard([folder = std::filesystem::absolute(dataFolder), &clock](
                            PlxDesk& window, const board::BoardResult&) {
        print::menu::MenuStampa menu({folder, files::stationCode(), window.hotelNumber(), &clock},
                                     &window);
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
    return runDeskWindow(dataFolderOf(argc, argv), clock);
}

}  // namespace planora::desk
