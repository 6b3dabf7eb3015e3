#include <filesystem>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/print_commands.h"
#include "files/station.h"
#include "print/csv_export.h"

namespace planora::cli {

namespace {

const std::vector<OptionDef> kCsvOptions = {{"--data", true}, {"--help", false}};

}  // namespace

int csvCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    return optionsCommand(
        "csv", kCsvUsage, kCsvOptions, words, out, err, [&](const Arguments& args) {
            out << print::exportCsv(dataFolderOf(args), files::stationCode()).string() << '\n';
            return kExitOk;
        });
}

}  // namespace planora::cli
