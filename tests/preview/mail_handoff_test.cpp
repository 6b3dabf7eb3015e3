#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "db/error.h"
#include "messages/preview_messages.h"
#include "preview/mail_handoff.h"
#include "preview/process.h"
#include "tests/preview/preview_fixture.h"

namespace planora::preview {
namespace {

using testing::fileText;
using testing::waitForFile;
using testing::writeScript;
using testing::writeText;

class MailHandOff : public testing::PreviewFolderTest {};

TEST_F(MailHandOff, FileNameCarriesTheRawStationCode) {
    EXPECT_EQ(handOffFileName(""), "e-mail.txt");
    EXPECT_EQ(handOffFileName("03"), "e-mail03.txt");
    EXPECT_EQ(handOffFileName("Sala"), "e-mailSala.txt");
}

TEST_F(MailHandOff, OggettoThenEveryLineInWindows1252) {
    EXPECT_EQ(handOffContent("| Città |\n---\n€ 5"),
              "OGGETTO\r\n| Citt\xE0 |\r\n---\r\n\x80 5\r\n");
    EXPECT_EQ(handOffContent("riga\n"), "OGGETTO\r\nriga\r\n");
    EXPECT_EQ(handOffContent(""), "OGGETTO\r\n");
}

TEST_F(MailHandOff, WrittenOverAnExistingFileOfAnotherCase) {
    writeText(folder_ / "E-Mail07.TXT", "vecchio");
    const std::filesystem::path file = writeHandOff(folder_, "07", "nuovo");
    EXPECT_EQ(file, folder_ / "E-Mail07.TXT");
    EXPECT_EQ(fileText(file), "OGGETTO\r\nnuovo\r\n");
}

TEST_F(MailHandOff, MailProgramStartsOnlyOnceTheFileIsComplete) {
    std::string seen;
    std::filesystem::path startedIn;
    const std::filesystem::path file =
        InviaEMail(folder_, "", "testo", [&](const std::filesystem::path& folder) {
            startedIn = folder;
            seen = fileText(folder / "e-mail.txt");
        });
    EXPECT_EQ(file, folder_ / "e-mail.txt");
    EXPECT_EQ(startedIn, folder_);
    EXPECT_EQ(seen, "OGGETTO\r\ntesto\r\n");
}

TEST_F(MailHandOff, FailingLauncherFailsTheHandOffAfterTheFileIsWritten) {
    EXPECT_THROW(InviaEMail(folder_, "", "testo",
                            [](const std::filesystem::path&) { throw Error("non parte"); }),
                 Error);
    EXPECT_EQ(fileText(folder_ / "e-mail.txt"), "OGGETTO\r\ntesto\r\n");
}

class OutsidePrograms : public testing::PreviewFolderTest {
  protected:
    void SetUp() override {
        PreviewFolderTest::SetUp();
        std::filesystem::create_directories(folder_ / "a");
        std::filesystem::create_directories(folder_ / "b");
        std::filesystem::create_directories(folder_ / "lavoro");
    }
};

TEST_F(OutsidePrograms, FirstExecutableOnThePathWins) {
    writeText(folder_ / "a" / "postex", "not executable");
    writeScript(folder_ / "b" / "postex", "exit 0\n");
    const std::string path = ":" + (folder_ / "a").string() + ":" + (folder_ / "b").string();
    EXPECT_EQ(findOnPath("postex", path), folder_ / "b" / "postex");
    EXPECT_EQ(findOnPath("postex", (folder_ / "a").string()), std::nullopt);
    EXPECT_EQ(findOnPath("postex", ""), std::nullopt);
}

TEST_F(OutsidePrograms, DetachedProgramRunsInTheGivenFolder) {
    const std::filesystem::path record = folder_ / "avviato";
    writeScript(folder_ / "a" / "postex",
                "pwd > '" + record.string() + ".part'; echo \"$0 $#\" >> '" + record.string() +
                    ".part'; mv '" + record.string() + ".part' '" + record.string() + "'\n");
    startDetached(folder_ / "a" / "postex", {"postex"}, folder_ / "lavoro");
    ASSERT_TRUE(waitForFile(record));
    EXPECT_EQ(fileText(record),
              (folder_ / "lavoro").string() + "\n" + (folder_ / "a" / "postex").string() + " 0\n");
}

TEST_F(OutsidePrograms, ProgramThatCannotStartIsAnError) {
    writeText(folder_ / "a" / "postex", "#!/nessun/interprete\n");
    std::filesystem::permissions(folder_ / "a" / "postex", std::filesystem::perms::owner_all);
    try {
        startDetached(folder_ / "a" / "postex", {"postex"}, folder_);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  msg::cannotStartMailProgram(folder_ / "a" / "postex", ENOENT));
    }
    EXPECT_THROW(startDetached(folder_ / "a" / "postex", {"postex"}, folder_ / "manca"), Error);
}

TEST_F(OutsidePrograms, WaitedProgramGivesItsStatus) {
    writeScript(folder_ / "a" / "prova", "[ \"$(pwd)\" = '" + (folder_ / "lavoro").string() +
                                             "' ] || exit 9\nexit \"$1\"\n");
    const Ended ended = runAndWait(folder_ / "a" / "prova", {"prova", "4"}, folder_ / "lavoro");
    EXPECT_TRUE(ended.exited);
    EXPECT_EQ(ended.status, 4);
    writeScript(folder_ / "a" / "ucciso", "kill -9 $$\n");
    const Ended killed = runAndWait(folder_ / "a" / "ucciso", {"ucciso"}, folder_);
    EXPECT_FALSE(killed.exited);
    EXPECT_EQ(killed.signal, 9);
    EXPECT_THROW(runAndWait(folder_ / "a" / "manca", {"manca"}, folder_), Error);
}

}  // namespace
}  // namespace planora::preview
