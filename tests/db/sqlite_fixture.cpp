#include "sqlite_fixture.h"

#include <atomic>
#include <fstream>
#include <random>

#include "db/error.h"

namespace planora::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    std::random_device random;
    path_ = fs::temp_directory_path() /
            ("planora-db-" + std::to_string(random()) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void writeTable(const fs::path& file, const std::string& table,
                const std::vector<demo::ColumnDecl>& columns, const std::vector<Row>& rows) {
    demo::SqliteWriter writer(file);
    writer.createTable(table, columns);
    std::vector<std::string> names;
    for (const auto& column : columns) {
        names.push_back(column.name);
    }
    writer.begin();
    writer.insertRows(table, names, rows);
    writer.commit();
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

std::string errorMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

db::Value num(std::int64_t v) {
    return db::Value::integer(v);
}
db::Value txt(std::string v) {
    return db::Value::text(std::move(v));
}

}  // namespace planora::testing
