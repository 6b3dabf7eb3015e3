#pragma once

#include <filesystem>
#include <memory>

#include "db/access_limits.h"
#include "db/backend.h"

namespace planora::db {

class AccessReaders;

// As openAccessBackend(file), with explicit bounds on the isolated reads.
std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file,
                                           const AccessReadLimits& limits);
// As openAccessBackend(file), read by the reader programs of a run, shared with its other files.
std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file,
                                           std::shared_ptr<AccessReaders> readers);

}  // namespace planora::db
