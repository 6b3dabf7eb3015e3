#pragma once

#include <filesystem>

// The database files of a data folder: which file a bare name stands for (resolveDataFile, in
// database.h) and what kind of database a file holds.
namespace planora::db {

enum class FileKind { Sqlite, Access, Unknown };

// By the file's first bytes. Throws planora::Error with the system's reason (a permission
// denied, say) when they cannot be read.
FileKind fileKindOf(const std::filesystem::path& file);

}  // namespace planora::db
