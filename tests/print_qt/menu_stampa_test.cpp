// The print menu driven offscreen: its lists, its six commands, the files they make and open,
// and its messages.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "board/clock.h"
#include "dialog_driver.h"
#include "print/menu/menu_stampa.h"
#include "tests/print/print_fixture.h"
#include "url_recorder.h"

namespace planora::print::menu {
namespace {

using planora::testing::DialogDriver;
using print::testing::groups;

class MenuStampaTest : public print::testing::PrintFolderTest {
  protected:
    void SetUp() override {
        PrintFolderTest::SetUp();
        cupsSetServer("127.0.0.1:1");  // no CUPS server answers: no system printer
        data_.destinations = {{1, "Laser", 1, "laser.prn"},
                              {2, "Altro hotel PDF", 4, ""},
                              {1, "PDF uno", 4, ""},
                              {1, "Stampante PDF", 4, ""},
                              {1, "archivio pdf", 1, "archivio.prn"}};
        data_.commandSets = {{1, groups({27, 15, 0, 0, 0, 0, 27, 18}), groups({})},
                             {4, groups({7, 0, 0, 0, 0, 1, 9}), groups({})}};
        data_.codiceAssistenza = "K";
    }
    void TearDown() override {
        cupsSetServer(nullptr);
        PrintFolderTest::TearDown();
    }

    // The menu over the data folder, on screen and activated.
    std::unique_ptr<MenuStampa> openMenu(bool withBoard = true) {
        writeData(data_);
        if (withBoard) {
            writeBoard({"Tableau \xB3 uno", "Totale"});
        }
        auto menu = std::make_unique<MenuStampa>(MenuContext{folder_, "", 0, &clock_});
        menu->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu.get()));
        QCoreApplication::processEvents();
        return menu;
    }

    static QStringList items(QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->itemText(i);
        }
        return texts;
    }

    static void press(MenuStampa& menu, MenuStampa::Command command) {
        QTest::mouseClick(menu.commandButton(command), Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    print::testing::PrintData data_;
    board::FixedClock clock_{board::LocalDateTime{2026, 12, 8, 10, 30, 0}};
    print::testing::UrlRecorder urls_;
};

TEST_F(MenuStampaTest, LoadingArchivesTheBoardAndListsThePrinters) {
    auto menu = openMenu();
    EXPECT_EQ(menu->windowTitle(), "Stampe non modificabili");
    EXPECT_EQ(menu->archivePath(), folder_ / "doc" / "fd202612081030.doc");
    EXPECT_EQ(get("doc/fd202612081030.doc"), get("FD"));
    EXPECT_EQ(items(menu->printerList()), QStringList{"<nessuna stampante>"});
    EXPECT_EQ(menu->printerList()->currentIndex(), -1);
    EXPECT_TRUE(menu->windowFlags() & Qt::WindowStaysOnTopHint);
    for (int i = 0; i < 6; ++i) {
        const QPushButton* button = menu->commandButton(static_cast<MenuStampa::Command>(i));
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_FALSE(button->toolTip().isEmpty());
    }
}

TEST_F(MenuStampaTest, TheDestinationsOfHotelOneWithTheFirstChosen) {
    auto menu = openMenu();
    EXPECT_EQ(items(menu->destinationList()),
              (QStringList{"Laser", "PDF uno", "Stampante PDF", "archivio pdf"}));
    EXPECT_EQ(menu->destinationList()->currentText(), "Laser");
    EXPECT_EQ(menu->codiceAssistenza(), "K");
}

TEST_F(MenuStampaTest, ThePdfCommandPrintsOnTheLastPdfEntryAndOpensThePdf) {
    auto menu = openMenu();
    press(*menu, MenuStampa::kPdf);
    EXPECT_EQ(menu->destinationList()->currentText(), "Stampante PDF");  // not "archivio pdf"
    EXPECT_TRUE(std::filesystem::exists(folder_ / "fd.pdf"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "archivio.prn"));
    EXPECT_EQ(urls_.opened(),
              std::vector<QString>{QString::fromStdString((folder_ / "fd.pdf").string())});
}

TEST_F(MenuStampaTest, WithoutAPdfDestinationTheSystemMessageBoxSaysSo) {
    data_.destinations = {{1, "Laser", 1, "laser.prn"}, {1, "archivio pdf", 1, "archivio.prn"}};
    auto menu = openMenu();
    QString title, text;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        }
    });
    press(*menu, MenuStampa::kPdf);
    EXPECT_EQ(title, "Stampa");
    EXPECT_EQ(text, "Nessuna stampante PDF impostata!");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "archivio.prn"));
    EXPECT_TRUE(menu->isVisible());
}

TEST_F(MenuStampaTest, ThePrintCommandTakesTheMenusOptions) {
    auto menu = openMenu();
    menu->compressedBox()->setChecked(true);
    press(*menu, MenuStampa::kStampa);
    // Compressed pitch; letter "K" keeps the frame byte.
    EXPECT_EQ(get("laser.prn"),
              std::string("\x1B\x0F\0\0\0", 5) + "Tableau \xB3 uno\r\nTotale\r\n\f");
    EXPECT_TRUE(urls_.opened().empty());
}

TEST_F(MenuStampaTest, CsvAndArchiveCopyAreOpenedWithTheDesktopsProgram) {
    auto menu = openMenu();
    press(*menu, MenuStampa::kCsv);
    press(*menu, MenuStampa::kArchivio);
    EXPECT_EQ(get("fd.csv"), "\xEF\xBB\xBFTableau ³ uno\r\nTotale\r\n");
    EXPECT_EQ(urls_.opened(),
              (std::vector<QString>{QString::fromStdString((folder_ / "fd.csv").string()),
                                    QString::fromStdString(menu->archivePath().string())}));
}

TEST_F(MenuStampaTest, FailuresAreShownAndTheMenuStays) {
    auto menu = openMenu(false);
    DialogDriver driver;
    press(*menu, MenuStampa::kStampa);
    press(*menu, MenuStampa::kArchivio);
    ASSERT_EQ(driver.titles(), (std::vector<QString>{"Stampa", "Stampa"}));
    EXPECT_EQ(driver.shown()[0].text.toStdString(),
              "Il file del tableau '" + (folder_ / "FD").string() +
                  "' non esiste: crearlo prima con \"Stampa\" nella finestra principale");
    EXPECT_TRUE(driver.shown()[1].text.startsWith("La copia d'archivio del tableau"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "laser.prn"));
    EXPECT_TRUE(urls_.opened().empty());
    EXPECT_TRUE(menu->isVisible());
}

TEST_F(MenuStampaTest, WithoutDestinationsAMessageAndOnlyThePrintCommandsAreOff) {
    data_.destinations = {{2, "Altro hotel PDF", 4, ""}};
    DialogDriver driver;
    auto menu = openMenu();
    EXPECT_EQ(driver.titles(), std::vector<QString>{"Stampa"});
    ASSERT_FALSE(driver.shown().empty());
    EXPECT_EQ(driver.shown()[0].text,
              "Nessuna destinazione di stampa in Stampanti.mdb per l'hotel 1");
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(menu->commandButton(MenuStampa::kPdf)->isEnabled());
    EXPECT_FALSE(menu->commandButton(MenuStampa::kStampa)->isEnabled());
    press(*menu, MenuStampa::kCsv);
    EXPECT_TRUE(std::filesystem::exists(folder_ / "fd.csv"));
}

TEST_F(MenuStampaTest, ReturningFromThePreviewChoosesTheFirstDestinationAgain) {
    auto menu = openMenu();
    int previews = 0;
    menu->setPreviewCommand([&] {
        ++previews;
        menu->destinationList()->setCurrentIndex(2);
    });
    press(*menu, MenuStampa::kAnteprima);
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(menu->destinationList()->currentIndex(), 0);
    EXPECT_EQ(menu->destinationList()->count(), 4);
}

TEST_F(MenuStampaTest, TheCloseCommandClosesTheMenu) {
    auto menu = openMenu();
    press(*menu, MenuStampa::kChiudi);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(menu->result(), QDialog::Accepted);
}

}  // namespace
}  // namespace planora::print::menu
