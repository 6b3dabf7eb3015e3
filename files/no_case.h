#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace planora::files {

// The regular file of the folder whose name equals `name` without regard to case (ASCII and
// Latin-1 letters); the exact spelling wins when several match. Links to regular files count.
// Never throws: a folder that cannot be listed has no such file.
std::optional<std::filesystem::path> findFileNoCase(const std::filesystem::path& folder,
                                                    std::string_view name);

// Any entry of the folder (file, folder, device, ...) of that name without regard to case,
// exact spelling first. Never throws.
std::optional<std::filesystem::path> findEntryNoCase(const std::filesystem::path& folder,
                                                     std::string_view name);

// Where a file of that name is to be read or written: the existing regular file found without
// regard to case, else folder / name. Throws planora::Error naming the entry when the name is
// taken by something that is not a regular file (a folder named like the file).
std::filesystem::path fileNoCase(const std::filesystem::path& folder, std::string_view name);

}  // namespace planora::files
