#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "db/database.h"

namespace planora::test_support {

// A fresh folder under the system's temporary folder, removed with the test.
class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        folder_ = std::filesystem::temp_directory_path() /
                  ("planora-demo-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Every record of a table, read through the record access layer, as the text of one field.
    std::vector<std::string> column(const std::string& file, const std::string& table,
                                    const std::string& field, const std::string& criteria) {
        db::RecordSet records = db::Database::open(folder_, file).openRecordset(table);
        std::vector<std::string> values;
        for (records.findFirst(criteria); !records.noMatch(); records.findNext(criteria)) {
            values.push_back(records.field(field).toText());
        }
        return values;
    }

    std::filesystem::path folder_;
};

}  // namespace planora::test_support
