#pragma once

#include <optional>
#include <string>

#include "print/print_settings.h"

namespace planora::print::qt {

// What a print command did.
struct PrintOutcome {
    enum class Kind { Raw, SystemPrinter, Pdf };
    Kind kind = Kind::Raw;
    std::string where;  // the file, device or queue printed to, or the PDF file
};

// The print command: the board on the chosen destination, in raw mode or through a system
// printer as its command set says. A PDF destination whose target is not an installed printer
// gets the built-in PDF writer: "fd" + station code + ".pdf" in the data folder, drawn as
// system-printer mode draws. Throws planora::Error with the reason when anything fails;
// nothing is left half-printed.
PrintOutcome stampa(const PrintContext& context, const PrintOptions& options);

// The PDF command: the last destination whose name holds "PDF", then the print command on it.
// Nothing when the data folder has no PDF destination (the caller says so).
std::optional<PrintOutcome> stampaPdf(const PrintContext& context, PrintOptions options);

}  // namespace planora::print::qt
