#include "files/no_case.h"

#include <string>
#include <system_error>

#include "db/error.h"
#include "db/value.h"
#include "messages/messages.h"

namespace planora::files {

namespace fs = std::filesystem;

namespace {

template <typename Accept>
std::optional<fs::path> find(const fs::path& folder, std::string_view name, Accept accept) {
    std::error_code error;
    const fs::path exact = folder / fs::path(std::string(name));
    if (fs::exists(fs::symlink_status(exact, error)) && accept(exact)) {
        return exact;
    }
    const std::string wanted = db::foldCase(name);
    fs::directory_iterator it(folder, error);
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        const fs::path& candidate = it->path();
        if (db::foldCase(candidate.filename().string()) == wanted && accept(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<fs::path> findFileNoCase(const fs::path& folder, std::string_view name) {
    return find(folder, name, [](const fs::path& path) {
        std::error_code error;
        return fs::is_regular_file(path, error);
    });
}

std::optional<fs::path> findEntryNoCase(const fs::path& folder, std::string_view name) {
    return find(folder, name, [](const fs::path&) { return true; });
}

fs::path fileNoCase(const fs::path& folder, std::string_view name) {
    if (auto file = findFileNoCase(folder, name)) {
        return *file;
    }
    if (auto other = findEntryNoCase(folder, name)) {
        std::error_code error;
        const fs::file_status target = fs::status(*other, error);
        // Another run of the same station may have renamed its file into place since the first
        // look: a regular file now is the file. A dangling link (or an entry gone again) is
        // where a new file may go: renaming over it replaces the link.
        if (fs::is_regular_file(target) || !fs::exists(target)) {
            return *other;
        }
        throw Error(msg::notARegularFile(*other));
    }
    return folder / fs::path(std::string(name));
}

}  // namespace planora::files
