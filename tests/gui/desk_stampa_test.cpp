// "&Stampa" and "&Esci" of the main window.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <optional>

#include "desk_fixture.h"
#include "dialog_driver.h"
#include "files/station.h"

namespace planora::desk {
namespace {

using board::EntryField;
using testing::DialogDriver;

class DeskStampaTest : public testing::DeskTest {
  protected:
    // Records the board runs that succeed instead of showing their notice.
    void recordRuns(PlxDesk& window) {
        window.setAfterBoard([this](PlxDesk&, const board::BoardResult& result) {
            boardFiles_.push_back(result.file);
        });
    }

    std::filesystem::path boardFile() const {
        return files::boardFilePath(folder_.path(), files::stationCode());
    }

    void stampaRooms(PlxDesk& window, const QString& first, const QString& last) {
        type(window.field(EntryField::FirstRoom), first);
        type(window.field(EntryField::LastRoom), last);
        pressStampa(window);
    }

    std::vector<std::filesystem::path> boardFiles_;
};

TEST_F(DeskStampaTest, EqualRoomsAreAcceptedAndTheBoardIsWritten) {
    auto window = openDesk();
    recordRuns(*window);
    DialogDriver driver;
    stampaRooms(*window, "101", "101");
    EXPECT_TRUE(driver.shown().empty());
    ASSERT_EQ(boardFiles_.size(), 1u);
    EXPECT_EQ(boardFiles_[0], boardFile());
    EXPECT_TRUE(std::filesystem::exists(boardFiles_[0]));
}

TEST_F(DeskStampaTest, AfterTheBoardTheWindowIsActivatedAgain) {
    auto window = openDesk();
    recordRuns(*window);
    window->layoutList()->setFocus();
    QTest::keyClick(window->layoutList(), Qt::Key_Down);
    type(window->field(EntryField::FirstRoom), "1");
    type(window->field(EntryField::LastRoom), "99");
    type(window->field(EntryField::ReferenceDate), "01/12/2026");
    pressStampa(*window);
    ASSERT_EQ(boardFiles_.size(), 1u);
    EXPECT_EQ(window->tableauNumber(), 1);
    EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), "101");
    EXPECT_EQ(window->field(EntryField::LastRoom)->text(), "105");
    EXPECT_EQ(window->field(EntryField::ReferenceDate)->text(), testing::kToday);
}

TEST_F(DeskStampaTest, WithoutAPrintMenuANoticeNamesTheBoardFile) {
    auto window = openDesk();
    DialogDriver driver;
    window->stampaButton()->setFocus();
    QTest::keyClick(window->stampaButton(), Qt::Key_Return);  // Enter presses the focused button
    ASSERT_EQ(driver.titles(), std::vector<QString>{"Tableau"});
    EXPECT_EQ(driver.shown()[0].text,
              "Tableau pronto nel file " + QString::fromStdString(boardFile().string()));
    EXPECT_TRUE(driver.shown()[0].visible[0]);
    EXPECT_FALSE(driver.shown()[0].visible[1]);
}

TEST_F(DeskStampaTest, RoomsNineToTenAreRejectedAndTheFocusGoesToTheFirstRoom) {
    auto window = openDesk();
    recordRuns(*window);
    DialogDriver driver;
    stampaRooms(*window, "9", "10");
    EXPECT_EQ(driver.titles(), std::vector<QString>{"Camere errate!"});
    EXPECT_TRUE(boardFiles_.empty());
    EXPECT_FALSE(std::filesystem::exists(boardFile()));
    EXPECT_TRUE(window->field(EntryField::FirstRoom)->hasFocus());
    EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), "9");
    EXPECT_EQ(window->field(EntryField::LastRoom)->text(), "10");
}

TEST_F(DeskStampaTest, AnUnconfirmedShortDateIsRejectedAndBecomesToday) {
    auto window = openDesk();
    recordRuns(*window);
    DialogDriver driver;
    type(window->field(EntryField::ReferenceDate), "010219");
    pressStampa(*window);
    EXPECT_EQ(driver.titles(), std::vector<QString>{"Data errata!"});
    EXPECT_TRUE(boardFiles_.empty());
    EXPECT_EQ(window->field(EntryField::ReferenceDate)->text(), testing::kToday);
    EXPECT_TRUE(window->field(EntryField::ReferenceDate)->hasFocus());
}

TEST_F(DeskStampaTest, TheSameDateConfirmedWithEnterIsAccepted) {
    auto window = openDesk();
    recordRuns(*window);
    DialogDriver driver;
    typeAndEnter(window->field(EntryField::ReferenceDate), "010219");
    QTest::keyClick(window->stampaButton(), Qt::Key_Return);
    EXPECT_TRUE(driver.shown().empty());
    EXPECT_EQ(boardFiles_.size(), 1u);
}

TEST_F(DeskStampaTest, AFailingRunIsReportedAndTheEntriesStay) {
    auto window = openDesk();
    recordRuns(*window);
    std::filesystem::remove(folder_.path() / "Scheda_Cliente.sqlite");
    DialogDriver driver;
    type(window->field(EntryField::LastRoom), "104");
    type(window->field(EntryField::Ditta), "ROSSI");
    pressStampa(*window);
    ASSERT_EQ(driver.shown().size(), 1u);
    EXPECT_TRUE(driver.shown()[0].text.contains("Scheda_Cliente"))
        << driver.shown()[0].text.toStdString();
    EXPECT_FALSE(driver.shown()[0].visible[1]);
    EXPECT_TRUE(boardFiles_.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->field(EntryField::LastRoom)->text(), "104");
    EXPECT_EQ(window->field(EntryField::Ditta)->text(), "ROSSI");
}

TEST_F(DeskStampaTest, EsciClosesTheWindow) {
    auto window = openDesk();
    QSignalSpy unloaded(window.get(), &PlxDesk::unloaded);
    QTest::mouseClick(window->esciButton(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(window->exitStatus(), 0);
}

}  // namespace
}  // namespace planora::desk
