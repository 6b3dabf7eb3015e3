#include <filesystem>
#include <ostream>

#include "board/clock.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "db/error.h"
#include "messages/cli_messages.h"
#include "messages/mdb_messages.h"
#include "tools/demo/demo_hotel.h"
#include "tools/demo/hotel_schema.h"
#include "tools/mdb/sqlite_to_mdb.h"

namespace planora::cli {

namespace {

const std::vector<OptionDef> kDemoOptions = {
    {"--rooms", true},  {"--cards", true},  {"--history", true}, {"--seed", true},
    {"--format", true}, {"--force", false}, {"--help", false}};

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

enum class Format { Sqlite, Mdb };

Format formatFrom(const Arguments& args) {
    const std::string format = args.value("--format").value_or("sqlite");
    if (format != "sqlite" && format != "mdb") {
        throw UsageError(msg::demoUnknownFormat(format));
    }
    return format == "mdb" ? Format::Mdb : Format::Sqlite;
}

// The SQLite files of the demo hotel become Access files of the same names: written where
// they are, so that paths kept in the data (the print destinations) stay right.
void turnIntoAccessFiles(const std::filesystem::path& folder, const board::Clock& clock) {
    const board::LocalDateTime now = clock.now();
    const db::DateTime created{now.year, now.month, now.day, now.hour, now.minute, now.second};
    for (const demo::DatabaseSchema& database : demo::hotelSchema()) {
        const std::filesystem::path sqlite = folder / database.file;
        std::vector<std::string> notes;
        jet::writeMdbCopy(sqlite, std::filesystem::path(sqlite).replace_extension(".mdb"), created,
                          notes);
        std::filesystem::remove(sqlite);
    }
}

int runDemo(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.positional().size() != 1) {
        throw UsageError(args.positional().empty() ? msg::dataFolderMissing()
                                                   : msg::oneDataFolderOnly());
    }
    const std::filesystem::path folder = args.positional().front();
    const demo::DemoSize size = sizeFrom(args);
    const Format format = formatFrom(args);
    const auto existing = demo::existingDatabaseFiles(folder);
    if (!existing.empty() && !args.has("--force")) {
        err << "planora: " << msg::dataFolderHoldsDatabases(folder, existing.front()) << '\n';
        return kExitFailure;
    }
    for (const auto& file : existing) {
        std::filesystem::remove(file);
    }
    const board::SystemClock clock;
    demo::writeDemoHotel(folder, size, clock);
    if (format == Format::Mdb) {
        turnIntoAccessFiles(folder, clock);
    }
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
