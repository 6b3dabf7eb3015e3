// A file read into memory whole: its bytes as they are, or nothing when it is not a file to
// hold in memory, so that the reader falls back to reading it from disk.

#include "db/reader/file_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/db/sqlite_fixture.h"

namespace planora::mdbtest {
namespace {

using db::access::FileImage;

std::string textOf(const FileImage& image) {
    const auto bytes = image.bytes();
    return std::string(bytes.begin(), bytes.end());
}

class FileImageTest : public ::testing::Test {
  protected:
    std::filesystem::path write(const std::string& name, const std::string& bytes) {
        const auto file = folder_.path() / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    testing::TempFolder folder_;
};

TEST_F(FileImageTest, HoldsEveryByteOfASmallFile) {
    std::string bytes(20000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7 % 251);
    }
    const auto image = FileImage::read(write("Tableau.mdb", bytes), bytes.size());
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(image.size(), bytes.size());
    EXPECT_EQ(textOf(image), bytes);
}

TEST_F(FileImageTest, LeavesToTheDiskWhatItShouldNotHold) {
    const auto large = write("Storico.mdb", std::string(4097, 'x'));
    EXPECT_TRUE(FileImage::read(large, 4096).empty());
    EXPECT_FALSE(FileImage::read(large, 4097).empty());
    EXPECT_TRUE(FileImage::read(write("Vuoto.mdb", ""), 4096).empty());
    EXPECT_TRUE(FileImage::read(folder_.path() / "Assente.mdb", 4096).empty());
    EXPECT_TRUE(FileImage::read(folder_.path(), 1 << 20).empty()) << "a folder";
    EXPECT_TRUE(FileImage().bytes().empty());
}

}  // namespace
}  // namespace planora::mdbtest
