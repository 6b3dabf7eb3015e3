#pragma once

#include <filesystem>
#include <memory>

#include "db/access_limits.h"
#include "db/backend.h"

namespace planora::db {

// As openAccessBackend(file), with explicit bounds on the isolated reads.
std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file,
                                           const AccessReadLimits& limits);

}  // namespace planora::db
