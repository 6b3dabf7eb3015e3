#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "print/print_settings.h"

namespace planora::cli {

// The CSV export of the print menu.
int csvCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kCsvUsage;
extern const char* const kPdfUsage;
extern const char* const kPrintUsage;

// The options the print commands share, as the print menu holds them.
const std::vector<OptionDef>& printOptionDefs();
// The data folder of a command: --data, else the current folder.
std::string dataFolderOf(const Arguments& args);
// Where and for whom a print command prints: the data folder, the station code, the hotel of
// --hotel (1 by default) and the option letters of hotel 1.
print::PrintContext printContextOf(const Arguments& args);
print::PrintOptions printOptionsOf(const Arguments& args);

}  // namespace planora::cli
