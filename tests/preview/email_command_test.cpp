// planora email: the preview's hand-off from the command line.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "messages/messages.h"
#include "messages/preview_messages.h"
#include "preview/mail_handoff.h"
#include "preview/process.h"
#include "preview/screen_text.h"
#include "tests/preview/preview_fixture.h"

namespace planora::preview {
namespace {

using testing::boardLine;
using testing::boardOf;
using testing::fileText;
using testing::writeScript;
using testing::writeText;

class EmailCommand : public testing::PreviewFolderTest {
  protected:
    void SetUp() override {
        PreviewFolderTest::SetUp();
        const char* path = std::getenv("PATH");
        oldPath_ = path != nullptr ? path : "";
        setenv("PCLocal", "5", 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath_.c_str(), 1);
        unsetenv("PCLocal");
        PreviewFolderTest::TearDown();
    }

    int run(std::vector<std::string> words) {
        words.insert(words.begin(), "planora");
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        out_.str("");
        err_.str("");
        return cli::run(static_cast<int>(argv.size()), argv.data(), out_, err_);
    }

    // A fake postex first on the PATH: records its folder and the hand-off it found, ends with
    // `status`.
    void fakePostex(int status) {
        const std::filesystem::path bin = folder_ / "bin";
        std::filesystem::create_directories(bin);
        writeScript(bin / "postex", "pwd > '" + (folder_ / "avvio").string() +
                                        "'\ncp e-mail5.txt '" + (folder_ / "visto").string() +
                                        "'\nexit " + std::to_string(status) + "\n");
        setenv("PATH", (bin.string() + ":" + oldPath_).c_str(), 1);
    }

    std::string oldPath_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(EmailCommand, WritesTheWholeBoardAsThePreviewShowsIt) {
    writeText(folder_ / "FD5", boardOf(400));
    ASSERT_EQ(run({"email", "--data", folder_.string(), "--no-send"}), 0) << err_.str();
    EXPECT_EQ(out_.str(), (folder_ / "e-mail5.txt").string() + "\n");
    const std::string handOff = fileText(folder_ / "e-mail5.txt");
    EXPECT_EQ(handOff.rfind("OGGETTO\r\n" + lineForScreen(boardLine(1)) + "\r\n", 0), 0u);
    EXPECT_TRUE(handOff.ends_with(lineForScreen(boardLine(400)) + "\r\n"));
    EXPECT_EQ(std::count(handOff.begin(), handOff.end(), '\n'), 401);
}

TEST_F(EmailCommand, RunsThePostexOfThePathInTheDataFolderAndGivesItsStatus) {
    writeText(folder_ / "FD5", boardOf(2));
    fakePostex(0);
    EXPECT_EQ(run({"email", "--data", folder_.string()}), 0) << err_.str();
    EXPECT_EQ(fileText(folder_ / "avvio"), folder_.string() + "\n");
    EXPECT_EQ(fileText(folder_ / "visto"), fileText(folder_ / "e-mail5.txt"));
    fakePostex(1);
    EXPECT_EQ(run({"email", "--data", folder_.string()}), 1);
}

TEST_F(EmailCommand, MissingBoardIsReportedAndNothingIsWritten) {
    fakePostex(0);
    EXPECT_EQ(run({"email", "--data", folder_.string()}), 1);
    EXPECT_EQ(err_.str(), "planora: " + msg::boardFileMissing(folder_ / "FD5") + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "e-mail5.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "avvio"));
}

TEST_F(EmailCommand, NoMailProgramAnywhere) {
    writeText(folder_ / "FD5", boardOf(1));
    setenv("PATH", folder_.c_str(), 1);
    EXPECT_EQ(run({"email", "--data", folder_.string()}), 1);
    EXPECT_EQ(err_.str(), "planora: " + msg::mailProgramNotFound("postex", programFolder()) + "\n");
}

TEST_F(EmailCommand, HelpAndUnexpectedArgument) {
    EXPECT_EQ(run({"email", "--help"}), 0);
    EXPECT_EQ(out_.str().rfind("Uso: planora email", 0), 0u);
    EXPECT_EQ(run({"email", "altro"}), 2);
    EXPECT_EQ(err_.str().rfind("planora email: argomento inatteso 'altro'\n", 0), 0u);
}

}  // namespace
}  // namespace planora::preview
