// The main window's lists, the choice of hotel and layout, and the activation that resets them.
#include <QComboBox>
#include <QPushButton>

#include "desk_fixture.h"
#include "dialog_driver.h"

namespace planora::desk {
namespace {

using board::EntryField;

QStringList itemsOf(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->itemText(i);
    }
    return items;
}

// The user opens the list with the keyboard and moves to the next item.
void chooseNext(QComboBox* list) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
}

class DeskActivationTest : public testing::DeskTest {};

TEST_F(DeskActivationTest, ListsTheHotelsAndTheFirstHotelsLayouts) {
    auto window = openDesk();
    EXPECT_EQ(itemsOf(window->hotelList()), (QStringList{"  5 Hotel Aurora", " 12 Hotel Brezza"}));
    EXPECT_EQ(itemsOf(window->layoutList()), (QStringList{"  1 Piano terra", "  2 Primo piano"}));
    EXPECT_EQ(window->hotelList()->currentIndex(), 0);
    EXPECT_EQ(window->layoutList()->currentIndex(), 0);
    EXPECT_EQ(window->hotelNumber(), 5);
    EXPECT_EQ(window->tableauNumber(), 1);
}

TEST_F(DeskActivationTest, ProposesTheLayoutsRoomRangeAndTodayWithFocusOnTheFirstRoom) {
    auto window = openDesk();
    EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), "101");
    EXPECT_EQ(window->field(EntryField::LastRoom)->text(), "105");
    EXPECT_EQ(window->field(EntryField::ReferenceDate)->text(), testing::kToday);
    QLineEdit* first = window->field(EntryField::FirstRoom);
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(first->selectedText(), "101");
}

TEST_F(DeskActivationTest, ChoosingALayoutProposesItsRangeAndFocusesStampa) {
    auto window = openDesk();
    chooseNext(window->layoutList());
    EXPECT_EQ(window->tableauNumber(), 2);
    // Rooms 9 and 10 compare as text.
    EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), "10");
    EXPECT_EQ(window->field(EntryField::LastRoom)->text(), "9");
    EXPECT_TRUE(window->stampaButton()->hasFocus());
}

TEST_F(DeskActivationTest, ChoosingAHotelListsItsLayoutsAndChoosesTheFirst) {
    auto window = openDesk();
    chooseNext(window->hotelList());
    EXPECT_EQ(window->hotelNumber(), 12);
    EXPECT_EQ(itemsOf(window->layoutList()), QStringList{"  7 Unico"});
    EXPECT_EQ(window->tableauNumber(), 7);
    // No room of kind C: character 255 to nothing.
    EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), QString(QChar(0xFF)));
    EXPECT_EQ(window->field(EntryField::LastRoom)->text(), "");
}

TEST_F(DeskActivationTest, ActivationResetsHotelLayoutRangeAndDate) {
    auto window = openDesk();
    chooseNext(window->hotelList());
    type(window->field(EntryField::FirstRoom), "300");
    type(window->field(EntryField::LastRoom), "310");
    type(window->field(EntryField::ReferenceDate), "01/01/2027");
    ASSERT_EQ(window->hotelNumber(), 12);

    ASSERT_TRUE(window->activate());
    QCoreApplication::processEvents();
    EXPECT_EQ(window->hotelList()->currentIndex(), 0);
    EXPECT_EQ(window->hotelNumber(), 5);
    EXPECT_EQ(window->layoutList()->currentIndex(), 0);
    EXPECT_EQ(window->tableauNumber(), 1);
    EXPECT_EQ(itemsOf(window->layoutList()), (QStringList{"  1 Piano terra", "  2 Primo piano"}));
    EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), "101");
    EXPECT_EQ(window->field(EntryField::LastRoom)->text(), "105");
    EXPECT_EQ(window->field(EntryField::ReferenceDate)->text(), testing::kToday);
    EXPECT_TRUE(window->field(EntryField::FirstRoom)->hasFocus());
}

TEST_F(DeskActivationTest, TodayComesFromTheClockAtEachActivation) {
    auto window = openDesk();
    clock_.set(board::LocalDateTime{2027, 1, 2, 8, 0, 0});
    ASSERT_TRUE(window->activate());
    EXPECT_EQ(window->field(EntryField::ReferenceDate)->text(), "02/01/2027");
}

TEST_F(DeskActivationTest, ReturningToTheWindowDoesNotResetIt) {
    auto window = openDesk();
    type(window->field(EntryField::FirstRoom), "102");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    other.close();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), "102");
}

TEST_F(DeskActivationTest, ADatabaseFailingOnAChoiceIsReportedAndClosesTheWindow) {
    auto window = openDesk();
    std::filesystem::remove(folder_.path() / "TipiCamere.sqlite");
    testing::DialogDriver driver;
    chooseNext(window->layoutList());
    ASSERT_EQ(driver.shown().size(), 1u);
    EXPECT_TRUE(driver.shown()[0].text.contains("TipiCamere"))
        << driver.shown()[0].text.toStdString();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->exitStatus(), 1);
}

}  // namespace
}  // namespace planora::desk
