#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace planora::cli {

// The print commands that draw through Qt; each starts an offscreen Qt application when the
// program has none.
int pdfCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int printCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Makes "pdf" and "print" known to cli::run().
void addPrintCommands();

}  // namespace planora::cli
