#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "print/page_plan.h"
#include "print/print_settings.h"
#include "print/raw_stream.h"
#include "print/raw_target.h"

namespace planora::print {

// Everything one print run reads at its start: the settings, the board, the menu's options.
struct PrintJob {
    PrintContext context;
    PrintOptions options;
    PrintSettings settings;
    std::vector<std::string> boardLines;
};

// Reads the settings, then the board file. Throws planora::Error when the destination or the
// board file is missing, before anything is printed.
PrintJob preparePrint(const PrintContext& context, const PrintOptions& options,
                      const Environment& environment = processEnvironment);

RawLayout rawLayout(const PrintJob& job);
PageLayout pageLayout(const PrintJob& job);

// The title of the job a printer queue shows.
std::string jobTitle(const PrintJob& job);

// Raw mode: the byte stream to the target. Returns what was printed to.
std::string printRaw(const PrintJob& job, const QueueLookup& isQueue = isCupsQueue);

// "fd" + station code + ".pdf": the built-in PDF writer's file in the data folder.
std::string pdfFileName(std::string_view stationCode);

}  // namespace planora::print
