#include "postex/postex_run.h"

#include <exception>
#include <ostream>

#include "db/error.h"
#include "files/station.h"
#include "messages/cli_messages.h"
#include "messages/postex_messages.h"
#include "postex/desktop_mail.h"
#include "postex/handoff.h"
#include "postex/mail_config.h"
#include "postex/mime_message.h"
#include "postex/smtp_sender.h"

namespace planora::postex {

namespace {

Outcome send(const std::filesystem::path& dataFolder) {
    const HandOff handOff = readHandOff(dataFolder, files::stationCode());
    std::filesystem::path configFile;
    const std::optional<MailConfig> config = loadMailConfig(dataFolder, &configFile);
    if (!config) {
        openDesktopMail(handOff, dataFolder, configFile);
        return {kExitSent, msg::desktopMailOpened(kDesktopMail)};
    }
    sendMail(*config, buildMessage(handOff, newEnvelope(config->from, config->to)));
    return {kExitSent, msg::mailSent(config->serverName(), addressList(config->to))};
}

}  // namespace

Outcome sendHandOff(const std::filesystem::path& dataFolder) {
    try {
        return send(dataFolder);
    } catch (const std::exception& e) {
        return {kExitFailure, e.what()};
    }
}

Outcome runPostex(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::filesystem::path dataFolder = ".";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            out << msg::postexUsage();
            return {kExitSent, ""};
        }
        if (args[i] == "--data" && i + 1 < args.size()) {
            dataFolder = args[++i];
            continue;
        }
        err << "postex: " << msg::unexpectedArgument(args[i]) << "\n\n" << msg::postexUsage();
        return {kExitUsage, ""};
    }
    const Outcome outcome = sendHandOff(std::filesystem::absolute(dataFolder));
    if (outcome.status == kExitSent) {
        out << "postex: " << outcome.message << '\n';
    } else {
        err << "postex: " << outcome.message << '\n';
    }
    return outcome;
}

}  // namespace planora::postex
