#include "db/access_reader_program.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "db/access_request.h"

namespace planora::db::access {

namespace fs = std::filesystem;

namespace {

bool isInside(const fs::path& path, const fs::path& folder) {
    if (path.empty() || folder.empty()) {
        return false;
    }
    std::error_code error;
    const fs::path relative =
        fs::weakly_canonical(path, error).lexically_relative(fs::weakly_canonical(folder, error));
    return !error && !relative.empty() && *relative.begin() != "..";
}

bool isProgram(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

}  // namespace

ReaderSearch ReaderSearch::ofThisProcess() {
    ReaderSearch search;
    std::error_code error;
    search.runningProgram = fs::read_symlink("/proc/self/exe", error);
    if (const char* folder = std::getenv("PLANORA_READER_DIR"); folder && *folder) {
        search.environmentFolder = folder;
    }
#if defined(PLANORA_READER_BUILD_ROOT) && defined(PLANORA_READER_BUILD_DIR)
    search.buildRoot = PLANORA_READER_BUILD_ROOT;
    search.buildFolder = PLANORA_READER_BUILD_DIR;
#endif
    return search;
}

ReaderLookup findReaderProgram(const ReaderSearch& search) {
    ReaderLookup lookup;
    if (!search.runningProgram.empty()) {
        lookup.searched.push_back(search.runningProgram.parent_path());
    }
    if (!search.environmentFolder.empty()) {
        lookup.searched.push_back(search.environmentFolder);
    }
    if (isInside(search.runningProgram, search.buildRoot)) {
        lookup.searched.push_back(search.buildFolder);
    }
    for (const fs::path& folder : lookup.searched) {
        const fs::path candidate = folder / kReaderProgramName;
        if (isProgram(candidate)) {
            lookup.program = candidate;
            return lookup;
        }
    }
    return lookup;
}

}  // namespace planora::db::access
