#include <filesystem>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "db/error.h"

namespace planora::cli {

int guarded(const std::string& command, const char* usage, std::ostream& err,
            const std::function<int()>& body) {
    try {
        return body();
    } catch (const UsageError& e) {
        err << "planora " << command << ": " << e.what() << "\n\n" << usage;
        return kExitUsage;
    } catch (const Error& e) {
        err << "planora: " << e.what() << '\n';
        return kExitFailure;
    } catch (const std::filesystem::filesystem_error& e) {
        err << "planora: " << e.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace planora::cli
