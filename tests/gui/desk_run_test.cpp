// The program's run with its window: start, the closes for want of data, "&Esci".
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "board/desk_lists.h"
#include "desk/run_desk.h"
#include "desk_fixture.h"
#include "dialog_driver.h"

namespace planora::desk {
namespace {

using testing::DialogDriver;
using testing::TempFolder;

PlxDesk* shownDesk() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* desk = qobject_cast<PlxDesk*>(widget); desk != nullptr && desk->isVisible()) {
            return desk;
        }
    }
    return nullptr;
}

// Runs the window over the folder; once it is up, does what the user does.
int runWith(const std::filesystem::path& folder, std::function<void(PlxDesk&)> user = {}) {
    const board::FixedClock clock(board::LocalDateTime{2026, 12, 8, 10, 0, 0});
    if (user) {
        QTimer::singleShot(0, [user] {
            if (PlxDesk* desk = shownDesk()) {
                user(*desk);
            } else {
                ADD_FAILURE() << "the main window is not shown";
            }
        });
    }
    return runDeskWindow(folder, clock);
}

void writeHotels(const std::filesystem::path& folder, bool withLayout) {
    demo::HotelData data(folder);
    data.insert("AnagraficaHotels", "AnagraficaHotels",
                {{"Numero", 0}, {"RagioneSociale", "Sede"}});
    if (withLayout) {
        data.insert("AnagraficaHotels", "AnagraficaHotels",
                    {{"Numero", 3}, {"RagioneSociale", "Hotel Tre"}});
        data.insert("AnagraficaHotels", "AnagraficaHotels",
                    {{"Numero", 20}, {"RagioneSociale", "Hotel Venti"}});
        data.insert("Tableau", "Tableau",
                    {{"NumeroHotel", 3}, {"Codice", 1}, {"Descrizione", "Uno"}});
        data.insert("Tableau", "Tableau",
                    {{"NumeroHotel", 20}, {"Codice", 0}, {"Descrizione", "No"}});
    }
    data.finish();
}

TEST(DeskRun, EsciEndsTheRunWithStatusZero) {
    TempFolder folder;
    testing::writeDeskHotel(folder.path());
    bool pressed = false;
    EXPECT_EQ(runWith(folder.path(),
                      [&](PlxDesk& desk) {
                          pressed = true;
                          desk.esciButton()->click();
                      }),
              0);
    EXPECT_TRUE(pressed);
}

TEST(DeskRun, NoHotelIsReportedAndEndsWithAFailureStatus) {
    TempFolder folder;
    writeHotels(folder.path(), false);
    DialogDriver driver;
    EXPECT_NE(runWith(folder.path()), 0);
    ASSERT_EQ(driver.shown().size(), 1u);
    EXPECT_EQ(driver.shown()[0].text.toStdString(), board::noHotelMessage().text);
    EXPECT_EQ(shownDesk(), nullptr);
}

TEST(DeskRun, ChoosingAHotelWithoutLayoutIsReportedAndEndsTheRun) {
    TempFolder folder;
    writeHotels(folder.path(), true);
    DialogDriver driver;
    EXPECT_NE(runWith(folder.path(),
                      [](PlxDesk& desk) {
                          desk.hotelList()->setFocus();
                          QTest::keyClick(desk.hotelList(), Qt::Key_Down);
                      }),
              0);
    ASSERT_EQ(driver.shown().size(), 1u);
    EXPECT_EQ(driver.shown()[0].text.toStdString(), board::noLayoutMessage(20).text);
}

TEST(DeskRun, ADatabaseThatCannotBeOpenedIsReportedWithFileAndFolder) {
    TempFolder folder;
    testing::writeDeskHotel(folder.path());
    std::filesystem::remove(folder.path() / "NumeriCamere.sqlite");
    DialogDriver driver;
    EXPECT_NE(runWith(folder.path()), 0);
    ASSERT_EQ(driver.shown().size(), 1u);
    const QString text = driver.shown()[0].text;
    EXPECT_TRUE(text.contains("NumeriCamere")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromStdString(folder.path().filename().string())))
        << text.toStdString();
}

TEST(DeskRun, AMissingDataFolderIsReportedNotACrash) {
    TempFolder folder;
    DialogDriver driver;
    EXPECT_NE(runWith(folder.path() / "assente"), 0);
    ASSERT_EQ(driver.shown().size(), 1u);
    EXPECT_TRUE(driver.shown()[0].text.contains("Tableau")) << driver.shown()[0].text.toStdString();
}

}  // namespace
}  // namespace planora::desk
