#include <cstdint>
#include <filesystem>

#include "cli/print_commands.h"
#include "files/station.h"

namespace planora::cli {

const std::vector<OptionDef>& printOptionDefs() {
    static const std::vector<OptionDef> options = {{"--destination", true}, {"--printer", true},
                                                   {"--compressed", false}, {"--landscape", false},
                                                   {"--duplex", false},     {"--hotel", true},
                                                   {"--data", true},        {"--help", false}};
    return options;
}

std::string dataFolderOf(const Arguments& args) {
    return args.value("--data").value_or(std::filesystem::current_path().string());
}

print::PrintContext printContextOf(const Arguments& args) {
    print::PrintContext context;
    context.dataFolder = dataFolderOf(args);
    context.stationCode = files::stationCode();
    context.hotel = static_cast<std::int16_t>(args.number("--hotel", 1, INT16_MAX, 1));
    context.codiceAssistenza = print::readCodiceAssistenza(context.dataFolder).value_or("");
    return context;
}

print::PrintOptions printOptionsOf(const Arguments& args) {
    print::PrintOptions options;
    options.destination = args.value("--destination").value_or("");
    options.printer = args.value("--printer").value_or("");
    options.compressed = args.has("--compressed");
    options.landscape = args.has("--landscape");
    options.duplex = args.has("--duplex");
    return options;
}

}  // namespace planora::cli
