#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace planora::print {

inline constexpr std::string_view kRawFormat = "application/vnd.cups-raw";
inline constexpr std::string_view kPdfFormat = "application/pdf";

// One document sent to a CUPS queue as a job of its own.
struct CupsDocument {
    std::string title;
    std::string format{kRawFormat};
    std::vector<std::pair<std::string, std::string>> options;  // e.g. {"sides", "two-sided-..."}
    std::chrono::milliseconds timeout{std::chrono::seconds(60)};
};

// Whether the CUPS server (CUPS_SERVER, else the local one) has a queue of that name. False
// when no server answers.
bool isCupsQueue(std::string_view name);

// Sends the bytes as one job and waits until CUPS reports it printed: the job is complete when
// its backend has taken every byte. A job that CUPS refuses, that fails, that is cancelled,
// that waits on a stopped printer or that does not end within the timeout is cancelled and
// reported: throws planora::Error naming the queue, the job and the reason. Returns the job id.
int printCupsJob(std::string_view queue, std::string_view bytes, const CupsDocument& document);

}  // namespace planora::print
