#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The texts of the print menu, of printing and of the CSV export, in Italian.
namespace planora::msg {

// --- The print menu ---
inline constexpr std::string_view kPrintTitle = "Stampa";
inline constexpr std::string_view kNoPrinterEntry = "<nessuna stampante>";
std::string noPdfDestination();
std::string noDestinations();
std::string noArchiveCopy(const std::filesystem::path& copy, std::string_view reason);
std::string cannotOpenDocument(const std::filesystem::path& file);

// --- The print settings ---
std::string destinationNotFound(std::string_view destination);
std::string commandByteOutOfRange(std::string_view field, int tipoStampa, int group, int value);

// --- The board file ---

// --- Raw targets ---
std::string noTarget(std::string_view destination);
std::string cannotOpenTarget(std::string_view target, const std::filesystem::path& device,
                             int errnum);
std::string cannotWriteTarget(std::string_view target, const std::filesystem::path& device,
                              int errnum);

// --- CUPS jobs ---
std::string cupsJobRefused(std::string_view queue, std::string_view reason);
std::string cupsJobFailed(std::string_view queue, int job, std::string_view state,
                          std::string_view reason);
std::string cupsPrinterStopped(std::string_view queue, int job, std::string_view reason);
std::string cupsJobTimedOut(std::string_view queue, int job, int seconds);
// The state of a job that did not complete, as a user reads it.
std::string cupsJobState(int ippJobState);

// --- System printers and the PDF writer ---
std::string noSystemPrinter(std::string_view target);
std::string printerCannotStart(std::string_view printer);
std::string pdfCannotStart(const std::filesystem::path& file);

}  // namespace planora::msg
