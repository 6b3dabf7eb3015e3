#include <exception>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "messages/cli_messages.h"

namespace planora::cli {

int guarded(const std::string& command, const char* usage, std::ostream& err,
            const std::function<int()>& body) {
    try {
        return body();
    } catch (const UsageError& e) {
        err << "planora " << command << ": " << e.what() << "\n\n" << usage;
        return kExitUsage;
    } catch (...) {
        // planora::Error, and whatever else a library throws: memory, files, ...
        err << "planora: " << msg::failureText(std::current_exception()) << '\n';
        return kExitFailure;
    }
}

int optionsCommand(const std::string& command, const char* usage,
                   const std::vector<OptionDef>& options, const std::vector<std::string>& words,
                   std::ostream& out, std::ostream& err,
                   const std::function<int(const Arguments&)>& run) {
    return guarded(command, usage, err, [&] {
        const Arguments args(words, options);
        if (args.has("--help")) {
            out << usage;
            return kExitOk;
        }
        if (!args.positional().empty()) {
            throw UsageError(msg::unexpectedArgument(args.positional().front()));
        }
        return run(args);
    });
}

}  // namespace planora::cli
