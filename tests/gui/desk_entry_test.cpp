// Typing and Enter in each entry field of the main window.
#include <QPushButton>

#include "desk_fixture.h"
#include "dialog_driver.h"

namespace planora::desk {
namespace {

using board::EntryField;
using testing::DialogDriver;

class DeskEntryTest : public testing::DeskTest {};

TEST_F(DeskEntryTest, FocusSelectsTheWholeTextSoTypingReplacesIt) {
    auto window = openDesk();
    QLineEdit* last = window->field(EntryField::LastRoom);
    QTest::mouseClick(last, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(last->selectedText(), "105");
    QTest::keyClicks(last, "7");
    EXPECT_EQ(last->text(), "7");
}

TEST_F(DeskEntryTest, EnterInTheFirstRoomCleansItAndMovesToTheLastRoom) {
    auto window = openDesk();
    DialogDriver driver;
    typeAndEnter(window->field(EntryField::FirstRoom), "a'12");
    EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), "A12");
    EXPECT_TRUE(window->field(EntryField::LastRoom)->hasFocus());
    EXPECT_TRUE(driver.shown().empty());
}

TEST_F(DeskEntryTest, EnterInAnEmptyFieldLeavesOneBlank) {
    auto window = openDesk();
    QLineEdit* first = window->field(EntryField::FirstRoom);
    first->clear();
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(first->text(), " ");
}

TEST_F(DeskEntryTest, EnterInTheLastRoomAcceptsOnlyARoomSortingAfterTheFirst) {
    auto window = openDesk();
    QLineEdit* last = window->field(EntryField::LastRoom);
    typeAndEnter(last, "110");
    EXPECT_TRUE(window->field(EntryField::ReferenceDate)->hasFocus());

    for (const char* typed : {"101", "100"}) {
        DialogDriver driver;
        typeAndEnter(last, typed);
        EXPECT_EQ(driver.titles(), std::vector<QString>{"Camere errate!"}) << typed;
        EXPECT_EQ(driver.shown().at(0).text, "Controllare l'intervallo di camere richiesto!");
        // The notice leaves what was typed in place and the focus where it was.
        EXPECT_EQ(last->text(), typed);
        EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), "101");
        EXPECT_TRUE(last->hasFocus());
    }
}

TEST_F(DeskEntryTest, RoomsNineToTenAreRejectedOnEnter) {
    auto window = openDesk();
    DialogDriver driver;
    typeAndEnter(window->field(EntryField::FirstRoom), "9");
    typeAndEnter(window->field(EntryField::LastRoom), "10");
    EXPECT_EQ(driver.titles(), std::vector<QString>{"Camere errate!"});
}

TEST_F(DeskEntryTest, ShortDatesAreCompletedOnEnterAndFocusGoesToStampa) {
    auto window = openDesk();
    DialogDriver driver;
    for (EntryField index : {EntryField::ReferenceDate, EntryField::SelectionDate}) {
        QLineEdit* date = window->field(index);
        typeAndEnter(date, "010219");
        EXPECT_EQ(date->text(), "01/02/2019");
        EXPECT_TRUE(window->stampaButton()->hasFocus());
        typeAndEnter(date, "15062026");
        EXPECT_EQ(date->text(), "15/06/2026");
    }
    EXPECT_TRUE(driver.shown().empty());
}

TEST_F(DeskEntryTest, AWrongDateShowsTheDateMessageAndBecomesToday) {
    auto window = openDesk();
    for (EntryField index : {EntryField::ReferenceDate, EntryField::SelectionDate}) {
        QLineEdit* date = window->field(index);
        DialogDriver driver;
        QString shownInField;
        driver.inspectWith([&](dialog::MsgBox_Form&) { shownInField = date->text(); });
        typeAndEnter(date, "310221");
        ASSERT_EQ(driver.titles(), std::vector<QString>{"Data errata!"});
        EXPECT_EQ(driver.shown()[0].text, "La data deve essere inserita \nnel formato gg/mm/aaaa");
        EXPECT_EQ(shownInField, "31/02/2021");  // completed while the notice is up
        EXPECT_EQ(date->text(), testing::kToday);
        EXPECT_TRUE(date->hasFocus());
    }
}

TEST_F(DeskEntryTest, EnterInTheCompanyCleansItAndFocusesStampa) {
    auto window = openDesk();
    typeAndEnter(window->field(EntryField::Ditta), "l'alba srl");
    EXPECT_EQ(window->field(EntryField::Ditta)->text(), "LALBA SRL");
    EXPECT_TRUE(window->stampaButton()->hasFocus());
}

TEST_F(DeskEntryTest, FieldsTakeNoMoreThanTheirLength) {
    auto window = openDesk();
    type(window->field(EntryField::FirstRoom), "12345678");
    EXPECT_EQ(window->field(EntryField::FirstRoom)->text(), "123456");
    type(window->field(EntryField::ReferenceDate), "01/02/20190");
    EXPECT_EQ(window->field(EntryField::ReferenceDate)->text(), "01/02/2019");
}

}  // namespace
}  // namespace planora::desk
