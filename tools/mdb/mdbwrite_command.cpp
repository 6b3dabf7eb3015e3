#include "tools/mdb/mdbwrite_command.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <ostream>

#include "db/error.h"
#include "messages/mdb_messages.h"
#include "messages/messages.h"
#include "tools/mdb/sqlite_to_mdb.h"

namespace planora::jet {

namespace {

constexpr const char* kProgram = "planora-mdbwrite: ";

db::DateTime dateTimeOf(const board::LocalDateTime& t) {
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

}  // namespace

int mdbwriteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const board::Clock& clock) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << msg::kMdbwriteUsage;
        return 0;
    }
    if (args.size() != 2) {
        err << kProgram << msg::mdbwriteArguments(args.size()) << "\n\n" << msg::kMdbwriteUsage;
        return 2;
    }
    try {
        writeMdbFolder(args[0], args[1], dateTimeOf(clock.now()), [&out](const std::string& line) {
            out << line << '\n' << std::flush;
        });
        return 0;
    } catch (const Error& e) {
        err << kProgram << e.what() << '\n';
    } catch (const std::filesystem::filesystem_error& e) {
        err << kProgram << msg::cannotWriteFile(e.path1(), e.code().value()) << '\n';
    } catch (const std::bad_alloc&) {
        err << kProgram << msg::systemReason(ENOMEM) << '\n';
    }
    return 1;
}

}  // namespace planora::jet
