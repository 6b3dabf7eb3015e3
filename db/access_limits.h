#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace planora::db {

// Bounds on one isolated read of an Access file. libmdb may crash, hang or allocate without
// end on a damaged file (the hotel system writes these files while we read them), so every
// read runs in a reader program of its own that is killed when it passes one of these bounds.
struct AccessReadLimits {
    // Time the reader may go without sending anything (a large table read slowly from a
    // network folder keeps sending rows, and is given all the time it needs).
    std::chrono::milliseconds timePerTable{20'000};
    // Resident memory the reader program may reach.
    std::size_t readerMemoryBytes = std::size_t{1} << 30;
    // Bytes the reader may send back in one run (guards this process against endless rows).
    std::size_t streamBytes = std::size_t{1} << 30;
    // Files up to this size have all their tables read along with the table list, in one
    // run; larger files have each table read on demand, where a selection or a pass over the
    // columns a find looks at sends only what the board uses. A file of lookup tables is a
    // few pages; a small hotel's guest cards are already worth reading on demand.
    std::uintmax_t readAllTablesUpToFileBytes = std::uintmax_t{128} << 10;
    // The reader program; empty: the one found by findReaderProgram().
    std::filesystem::path readerProgram;
};

}  // namespace planora::db
