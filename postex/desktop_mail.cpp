#include "postex/desktop_mail.h"

#include "db/error.h"
#include "messages/postex_messages.h"
#include "messages/preview_messages.h"
#include "preview/process.h"

namespace planora::postex {

void openDesktopMail(const HandOff& handOff, const std::filesystem::path& dataFolder,
                     const std::filesystem::path& config) {
    const auto program = preview::findOnPath(kDesktopMail);
    if (!program) {
        throw Error(msg::desktopMailMissing(kDesktopMail, config));
    }
    const preview::Ended ended = preview::runAndWait(
        *program, {std::string(kDesktopMail), "--subject", handOff.subject, "--body", handOff.body},
        dataFolder);
    if (!ended.exited) {
        throw Error(msg::mailProgramKilled(*program, ended.signal));
    }
    if (ended.status != 0) {
        throw Error(msg::desktopMailFailed(kDesktopMail, ended.status));
    }
}

}  // namespace planora::postex
