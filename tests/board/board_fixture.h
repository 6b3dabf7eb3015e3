#pragma once

// The hotel of the board tests, built by hand in a temporary data folder, and the expected
// board files of tests/board/golden.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "board/builder.h"
#include "board/clock.h"
#include "board/request.h"

namespace planora::boardtest {

// A fresh temporary folder, removed with its content.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Writes the test hotels into the folder:
// hotel 1 "HOTEL SOLE", layout 1 "PRIMO PIANO": rooms 10, 101-106 (105 of a kind not on the
//   board) and 9, with current guests, reservations and history cards around 08/12/2026 and
//   history cards around 01/11/2026;
// hotel 3 "HOTEL L'ANCORA": rooms 1'A and 2'B with apostrophes in names and companies;
// hotel 4: layouts whose room number, room type, persons or title do not fit the board;
// hotel 6: rooms B1, B3, B4, b9 and codes that differ from the tested ones only in case.
void writeTestHotels(const std::filesystem::path& folder);

// The formats of the hotel's database files: SQLite, and the Access (.mdb) copies that
// planora-mdbwrite makes of them.
enum class DataFormat { Sqlite, Mdb };
std::string formatName(const ::testing::TestParamInfo<DataFormat>& info);

// The test hotels in a data folder of SQLite files and in one of their Access copies.
struct TestHotelFolders {
    TestHotelFolders();
    const std::filesystem::path& folder(DataFormat format) const {
        return format == DataFormat::Mdb ? mdb.path() : sqlite.path();
    }
    ScratchFolder sqlite;
    ScratchFolder mdb;
};

// A test suite over the data folders of the test hotels, written once for the suite; Base is
// ::testing::Test, or ::testing::TestWithParam<DataFormat> for a suite run over both formats.
template <typename Base>
class TestHotelSuiteOf : public Base {
  protected:
    static void SetUpTestSuite() { folders_ = std::make_unique<TestHotelFolders>(); }
    static void TearDownTestSuite() { folders_.reset(); }
    static const std::filesystem::path& folder(DataFormat format = DataFormat::Sqlite) {
        return folders_->folder(format);
    }

  private:
    static inline std::unique_ptr<TestHotelFolders> folders_;
};

using TestHotelSuite = TestHotelSuiteOf<::testing::Test>;

// The board file of the run, as bytes.
std::string readBytes(const std::filesystem::path& file);

// An expected board file: tests/board/golden/<name>.txt is UTF-8 text, one board line per
// text line, frame characters drawn as box-drawing characters; returned as the bytes the
// board file must hold (frame bytes of code page 437, Latin letters as Windows-1252, CR LF).
std::string goldenBytes(const std::string& name);

// 08/12/2026 09:30, the "now" of every test run.
const board::FixedClock& testClock();

// Hotel 1, layout 1, rooms "1" to "999", reference date 08/12/2026, no selection date.
board::BoardRequest dayRequest();

}  // namespace planora::boardtest
