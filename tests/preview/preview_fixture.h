#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "tests/postex/child_process.h"

namespace planora::testing {

// A board of `count` framed lines of 132 characters, "riga N" in the name field, and the bytes
// of the board file (CR LF after each line).
inline std::string boardLine(int number) {
    std::string line(132, ' ');
    for (std::size_t column : {0, 7, 14, 40, 66, 73, 77, 83, 89, 100, 131}) {
        line[column] = '\xB3';
    }
    const std::string name = "riga " + std::to_string(number);
    line.replace(15, name.size(), name);
    return line;
}

inline std::string boardOf(int count) {
    std::string bytes;
    for (int i = 1; i <= count; ++i) {
        bytes += boardLine(i) + "\r\n";
    }
    return bytes;
}

// A fresh folder of its own for each test, removed afterwards.
class PreviewFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "planora-preview-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path folder_;
};

}  // namespace planora::testing
