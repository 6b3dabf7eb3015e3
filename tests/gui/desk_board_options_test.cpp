// "&Stampa" hands the window's request and choices to the board run: the board the window
// writes is the board of the same request and options built directly.
#include <QCheckBox>
#include <QRadioButton>
#include <fstream>
#include <sstream>

#include "board/builder.h"
#include "desk/plx_desk.h"
#include "desk_fixture.h"
#include "dialog_driver.h"
#include "files/station.h"
#include "tools/demo/demo_hotel.h"

namespace planora::desk {
namespace {

using board::EntryField;

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DeskBoardOptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        demo::writeDemoHotel(folder_.path(), demo::DemoSize{24, 40, 60, 7}, clock_);
        window_ = std::make_unique<PlxDesk>(folder_.path(), clock_);
        window_->setAfterBoard([this](PlxDesk&, const board::BoardResult& result) {
            windowBoard_ = contentOf(result.file);
        });
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        ASSERT_TRUE(window_->activate());
    }

    // The board of the window's current entries, then the same request built directly.
    std::pair<std::string, std::string> boards(const board::BoardOptions& options,
                                               std::int16_t addArrangement) {
        const board::BoardRequest request{
            window_->hotelNumber(),
            window_->tableauNumber(),
            window_->field(EntryField::FirstRoom)->text().toStdString(),
            window_->field(EntryField::LastRoom)->text().toStdString(),
            window_->field(EntryField::ReferenceDate)->text().toStdString(),
            addArrangement,
            window_->field(EntryField::SelectionDate)->text().toStdString()};
        windowBoard_.clear();
        QTest::mouseClick(window_->stampaButton(), Qt::LeftButton);
        const board::BoardContext context{folder_.path(), files::stationCode(), &clock_};
        const board::BoardResult direct = board::CreaTableau(request, options, context);
        return {windowBoard_, contentOf(direct.file)};
    }

    testing::TempFolder folder_;
    board::FixedClock clock_{board::LocalDateTime{2026, 12, 8, 10, 0, 0}};
    std::unique_ptr<PlxDesk> window_;
    std::string windowBoard_;
    testing::DialogDriver driver_;
};

TEST_F(DeskBoardOptionsTest, DefaultChoicesGiveTheDayBoard) {
    const auto [fromWindow, direct] = boards(board::BoardOptions{true, false, ""}, 0);
    ASSERT_FALSE(fromWindow.empty());
    EXPECT_EQ(fromWindow, direct);
    EXPECT_TRUE(driver_.shown().empty());
}

TEST_F(DeskBoardOptionsTest, DeparturesArrangementAndSelectionDateReachTheRun) {
    const auto [dayBoard, ignored] = boards(board::BoardOptions{true, false, ""}, 0);
    window_->option(1)->click();
    window_->arrangementBox()->click();
    window_->field(EntryField::SelectionDate)->setText(testing::kToday);
    const auto [fromWindow, direct] = boards(board::BoardOptions{false, false, ""}, 1);
    EXPECT_EQ(fromWindow, direct);
    EXPECT_NE(fromWindow, dayBoard);
}

TEST_F(DeskBoardOptionsTest, CompanyChoiceReachesTheRun) {
    window_->perDittaBox()->click();
    window_->field(EntryField::Ditta)->setText("A");
    window_->field(EntryField::SelectionDate)->setText(testing::kToday);
    const auto [fromWindow, direct] = boards(board::BoardOptions{true, true, "A"}, 0);
    EXPECT_EQ(fromWindow, direct);
    window_->perDittaBox()->click();
    const auto [withoutCompany, ignored] = boards(board::BoardOptions{true, false, "A"}, 0);
    EXPECT_NE(fromWindow, withoutCompany);
}

}  // namespace
}  // namespace planora::desk
