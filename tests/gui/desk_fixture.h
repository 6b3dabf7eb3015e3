#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "board/clock.h"
#include "desk/plx_desk.h"
#include "tests/board/desk_test_hotel.h"

namespace planora::testing {

inline constexpr const char* kToday = "08/12/2026";

// A main window over a fresh copy of the small test hotel, shown and active, with the date
// of the fixed clock as today.
class DeskTest : public ::testing::Test {
  protected:
    void SetUp() override { writeDeskHotel(folder_.path()); }

    // Over the fixture's clock, or another one the test gives.
    std::unique_ptr<desk::PlxDesk> openDesk(const board::Clock* clock = nullptr) {
        auto window =
            std::make_unique<desk::PlxDesk>(folder_.path(), clock != nullptr ? *clock : clock_);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        EXPECT_TRUE(window->activate());
        QCoreApplication::processEvents();
        return window;
    }

    QLineEdit* field(desk::PlxDesk& window, board::EntryField index) { return window.field(index); }

    // The user goes to a field and types over its text: clicking into a field from elsewhere
    // selects its text; in the field that has the focus already, Ctrl+A does.
    static void type(QLineEdit* box, const QString& text) {
        if (box->hasFocus()) {
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        } else {
            QTest::mouseClick(box, Qt::LeftButton);
            QCoreApplication::processEvents();
        }
        QTest::keyClicks(box, text);
    }
    // Then Enter, and back to the window once any notice is answered.
    static void typeAndEnter(QLineEdit* box, const QString& text) {
        type(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitForWindowActive(box->window()));
    }

    // A click on "&Stampa", and back to the window once any notice is answered.
    static void pressStampa(desk::PlxDesk& window) {
        QTest::mouseClick(window.stampaButton(), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    TempFolder folder_;
    board::FixedClock clock_{board::LocalDateTime{2026, 12, 8, 10, 0, 0}};
};

}  // namespace planora::testing
