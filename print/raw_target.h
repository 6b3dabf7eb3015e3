#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "print/cups_job.h"

namespace planora::print {

// Where raw bytes go.
struct RawTarget {
    enum class Kind { CupsQueue, Port, Device, File };
    Kind kind = Kind::File;
    std::string name;            // the target as the settings give it
    std::filesystem::path path;  // the device or file; empty for a queue
};

using QueueLookup = std::function<bool(std::string_view)>;

// In this order: the name of a CUPS queue; "LPT1" to "LPT3" and "PRN" (= LPT1), with or
// without ":", as the parallel ports /dev/lp0 to /dev/lp2; else a device or a file, a relative
// path being taken from the data folder. Throws planora::Error naming the destination when
// the target is empty.
RawTarget classifyRawTarget(std::string_view target, std::string_view destination,
                            const std::filesystem::path& dataFolder,
                            const QueueLookup& isQueue = isCupsQueue);

// Sends the bytes whole: a queue gets one raw job, a port or a device the bytes as they are,
// a file its new content through the safe writer (a failure leaves no partial file). Throws
// planora::Error naming the target and the reason. Returns what was printed to, for a user.
std::string sendRaw(const RawTarget& target, std::string_view bytes, const CupsDocument& job);

}  // namespace planora::print
