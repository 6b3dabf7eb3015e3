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

}  // namespace planora::cli
