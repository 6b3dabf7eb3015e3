// postex without an SMTP server: the desktop's mail program, the command line, failures before
// sending.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "messages/postex_messages.h"
#include "tests/postex/child_process.h"
#include "tests/postex/postex_fixture.h"

namespace planora::postex {
namespace {

using testing::fileText;
using testing::writeScript;
using testing::writeText;

class PostexProgram : public testing::PostexTest {
  protected:
    // A fake xdg-email that records its folder and arguments, one a line, and ends with
    // `status`.
    std::string fakeDesktopMail(int status) {
        const std::filesystem::path bin = folder_ / "bin";
        std::filesystem::create_directories(bin);
        writeScript(bin / "xdg-email",
                    "pwd > '" + (folder_ / "args").string() +
                        "'\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> '" +
                        (folder_ / "args").string() + "'\nexit " + std::to_string(status) + "\n");
        return bin.string() + ":/usr/bin:/bin";
    }
};

TEST_F(PostexProgram, WithoutSettingsTheDesktopMailProgramGetsSubjectAndBody) {
    writeText(data_ / "E-MAIL3.TXT", "OGGETTO\r\n Hotel :  Mare \r\nriga \xC8\r\n");
    const Run run = runPostex({}, fakeDesktopMail(0));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "postex: " + msg::desktopMailOpened("xdg-email") + "\n");
    EXPECT_EQ(fileText(folder_ / "args"), data_.string() +
                                              "\n--subject\nHotel : Mare\n--body\n Hotel :  Mare "
                                              "\nriga È\n\n");
}

TEST_F(PostexProgram, DesktopMailProgramFailing) {
    writeText(data_ / "e-mail3.txt", "OGGETTO\r\nx\r\n");
    const Run run = runPostex({}, fakeDesktopMail(3));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "postex: " + msg::desktopMailFailed("xdg-email", 3) + "\n");
}

TEST_F(PostexProgram, NeitherSettingsNorDesktopMailProgram) {
    writeText(data_ / "e-mail3.txt", "OGGETTO\r\nx\r\n");
    const std::filesystem::path empty = folder_ / "vuota";
    std::filesystem::create_directories(empty);
    const Run run = runPostex({}, empty.string());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "postex: " + msg::desktopMailMissing("xdg-email", data_ / "postex.conf") + "\n");
}

TEST_F(PostexProgram, HandOffOfTheOwnStationOnly) {
    writeText(data_ / "e-mail.txt", "OGGETTO\r\nx\r\n");
    writeText(data_ / "e-mail33.txt", "OGGETTO\r\nx\r\n");
    const Run run = runPostex({}, fakeDesktopMail(0));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "postex: " + msg::handOffMissing(data_ / "e-mail3.txt") + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "args"));
}

TEST_F(PostexProgram, SettingsErrorStopsBeforeSending) {
    writeText(data_ / "e-mail3.txt", "OGGETTO\r\nx\r\n");
    writeText(data_ / "Postex.Conf", "server = s\n");
    const Run run = runPostex({}, fakeDesktopMail(0));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "postex: " + msg::configMissingKey(data_ / "Postex.Conf", "from") + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "args"));
}

TEST_F(PostexProgram, DataFolderFromTheCommandLine) {
    const std::filesystem::path other = folder_ / "altra";
    std::filesystem::create_directories(other);
    writeText(other / "e-mail3.txt", "OGGETTO\r\nda altra\r\n");
    const Run run = runPostex({"--data", other.string()}, fakeDesktopMail(0));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(fileText(folder_ / "args").find("\nda altra\n"), std::string::npos);
}

TEST_F(PostexProgram, HelpAndBadArguments) {
    const Run help = runPostex({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, msg::postexUsage());
    const Run bad = runPostex({"--server", "x"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "postex: argomento inatteso '--server'\n\n" + msg::postexUsage());
}

}  // namespace
}  // namespace planora::postex
