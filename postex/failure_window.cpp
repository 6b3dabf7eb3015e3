#include "postex/failure_window.h"

#include <QApplication>
#include <cstdlib>

#include "dialog/msgbox_routine.h"
#include "messages/postex_messages.h"

namespace planora::postex {

namespace {

bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return true;
        }
    }
    return false;
}

}  // namespace

void showFailureWhenDisplayed(int argc, char** argv, const std::string& message) {
    if (!hasDisplay()) {
        return;
    }
    QApplication application(argc, argv);
    dialog::MostraMessaggio(message, 48, msg::postexTitle());
}

}  // namespace planora::postex
