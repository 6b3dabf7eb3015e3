#pragma once

#include <filesystem>
#include <optional>
#include <vector>

// Where the Access reader program (kReaderProgramName) is found.
namespace planora::db::access {

// The places to look, in order: the folder of the running program (an installed planora and
// the build tree's planora have the reader beside them), a folder named by the environment
// variable PLANORA_READER_DIR, and, for programs inside the build tree (tests, benchmarks), the
// build's app folder.
struct ReaderSearch {
    std::filesystem::path runningProgram;  // empty when unknown
    std::filesystem::path environmentFolder;
    std::filesystem::path buildRoot;
    std::filesystem::path buildFolder;

    // The search of this process.
    static ReaderSearch ofThisProcess();
};

struct ReaderLookup {
    std::optional<std::filesystem::path> program;
    std::vector<std::filesystem::path> searched;  // the folders looked in, for the message
};

ReaderLookup findReaderProgram(const ReaderSearch& search);

}  // namespace planora::db::access
