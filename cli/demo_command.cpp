#include <filesystem>
#include <ostream>

#include "board/clock.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "messages/cli_messages.h"
#include "tools/demo/demo_hotel.h"
#include "tools/demo/hotel_schema.h"

namespace planora::cli {

namespace {

const std::vector<OptionDef> kDemoOptions = {{"--rooms", true},   {"--cards", true},
                                             {"--history", true}, {"--seed", true},
                                             {"--force", false},  {"--help", false}};

constexpr long long kMostRows = 100'000'000;

demo::DemoSize sizeFrom(const Arguments& args) {
    demo::DemoSize size;
    size.rooms = static_cast<int>(args.number("--rooms", 1, 90'000, size.rooms));
    size.cards = static_cast<int>(args.number("--cards", 0, kMostRows, size.cards));
    size.history = static_cast<int>(args.number("--history", 0, kMostRows, size.history));
    size.seed = static_cast<std::uint64_t>(
        args.number("--seed", 0, INT64_MAX, static_cast<long long>(size.seed)));
    return size;
}

int runDemo(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.positional().size() != 1) {
        throw UsageError(args.positional().empty() ? msg::dataFolderMissing()
                                                   : msg::oneDataFolderOnly());
    }
    const std::filesystem::path folder = args.positional().front();
    const demo::DemoSize size = sizeFrom(args);
    const auto existing = demo::existingDatabaseFiles(folder);
    if (!existing.empty() && !args.has("--force")) {
        err << "planora: " << msg::dataFolderHoldsDatabases(folder, existing.front()) << '\n';
        return kExitFailure;
    }
    for (const auto& file : existing) {
        std::filesystem::remove(file);
    }
    demo::writeDemoHotel(folder, size, board::SystemClock());
    out << msg::demoWritten(folder) << '\n';
    return kExitOk;
}

}  // namespace

int demoCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    return guarded("demo", kDemoUsage, err, [&] {
        const Arguments args(words, kDemoOptions);
        if (args.has("--help")) {
            out << kDemoUsage;
            return kExitOk;
        }
        return runDemo(args, out, err);
    });
}

}  // namespace planora::cli
