// The preview window "Anteprima di Stampa", driven through its buttons on real widgets.

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "board/builder.h"
#include "dialog_driver.h"
#include "messages/messages.h"
#include "messages/preview_messages.h"
#include "preview/process.h"
#include "preview/screen_text.h"
#include "preview/window/anteprima.h"
#include "screenshot.h"
#include "tests/preview/preview_fixture.h"
#include "tools/demo/demo_hotel.h"

namespace planora::preview {
namespace {

using testing::boardLine;
using testing::boardOf;
using testing::DialogDriver;
using testing::fileText;
using testing::waitForFile;
using testing::writeScript;
using testing::writeText;

enum Tasto { kEsci = 0, kRiduci, kEspandi, kAvanti, kInizio, kEmail, kSalva };

class AnteprimaTest : public testing::PreviewFolderTest {
  protected:
    std::unique_ptr<Anteprima> open(MailLauncher launcher = {}) {
        auto window = std::make_unique<Anteprima>(PreviewContext{folder_, "", std::move(launcher)});
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    static void press(Anteprima& window, int tasto) {
        QTest::mouseClick(window.tasto(tasto), Qt::LeftButton);
    }
    static int shownLines(const Anteprima& window) {
        return window.text()->document()->blockCount();
    }
    static QString firstLine(const Anteprima& window) {
        return window.text()->document()->firstBlock().text();
    }
    static QString screenLine(int number) {
        return QString::fromStdString(lineForScreen(boardLine(number)));
    }
    // Key presses carrying each character, accented ones too (QTest::keyClicks takes ASCII only).
    static void typeText(QWidget* widget, const QString& characters) {
        for (const QChar c : characters) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
    }
    double fontSize(const Anteprima& window) { return window.text()->font().pointSizeF(); }
};

TEST_F(AnteprimaTest, PagesOfTheirLimitsAndAvantiAtTheEnd) {
    writeText(folder_ / "FD", boardOf(400));
    auto window = open();
    EXPECT_EQ(shownLines(*window), 152);
    EXPECT_EQ(firstLine(*window), screenLine(1));
    press(*window, kAvanti);
    EXPECT_EQ(shownLines(*window), 197);
    EXPECT_EQ(firstLine(*window), screenLine(153));
    EXPECT_TRUE(window->text()->hasFocus());
    press(*window, kAvanti);
    EXPECT_EQ(shownLines(*window), 51);
    const QString last = window->text()->toPlainText();
    EXPECT_TRUE(last.endsWith(screenLine(400)));
    press(*window, kAvanti);
    EXPECT_EQ(window->text()->toPlainText(), last);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(AnteprimaTest, InizioStartsAgainFromTheFileWithTheLaterLimit) {
    writeText(folder_ / "FD", boardOf(400));
    auto window = open();
    press(*window, kAvanti);
    press(*window, kAvanti);
    writeText(folder_ / "FD", boardOf(10));
    press(*window, kInizio);
    EXPECT_EQ(shownLines(*window), 10);
    writeText(folder_ / "FD", boardOf(400));
    press(*window, kInizio);
    EXPECT_EQ(shownLines(*window), 197);
    EXPECT_EQ(firstLine(*window), screenLine(1));
    EXPECT_TRUE(window->text()->hasFocus());
}

TEST_F(AnteprimaTest, InizioWithTheBoardGoneIsANoticeAndThePageStays) {
    writeText(folder_ / "FD", boardOf(3));
    auto window = open();
    const QString shown = window->text()->toPlainText();
    std::filesystem::remove(folder_ / "FD");
    DialogDriver driver;
    press(*window, kInizio);
    ASSERT_EQ(driver.shown().size(), 1u);
    EXPECT_EQ(driver.shown()[0].title, QString::fromStdString(msg::previewTitle()));
    EXPECT_EQ(driver.shown()[0].text,
              QString::fromStdString(msg::boardFileMissing(folder_ / "FD")));
    EXPECT_EQ(window->text()->toPlainText(), shown);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(AnteprimaTest, FontSizeDownToOneAndUpWithoutLimit) {
    writeText(folder_ / "FD", boardOf(1));
    auto window = open();
    EXPECT_DOUBLE_EQ(fontSize(*window), 11.25);
    for (int i = 0; i < 12; ++i) {
        press(*window, kRiduci);
    }
    EXPECT_DOUBLE_EQ(fontSize(*window), 1.0);
    press(*window, kRiduci);
    EXPECT_DOUBLE_EQ(fontSize(*window), 1.0);
    for (int i = 0; i < 30; ++i) {
        press(*window, kEspandi);
    }
    EXPECT_DOUBLE_EQ(fontSize(*window), 31.0);
}

TEST_F(AnteprimaTest, SaveOnTheFirstPageKeepsTheRestWithTheEditInWindows1252) {
    writeText(folder_ / "FD", boardOf(400));
    auto window = open();
    // The clerk overwrites "riga 1" on the first line with "Città!".
    QPlainTextEdit* text = window->text();
    text->setFocus();
    text->moveCursor(QTextCursor::Start);
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(text, Qt::Key_Right);
    }
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(text, Qt::Key_Right, Qt::ShiftModifier);
    }
    typeText(text, QString::fromUtf8("Città!"));
    press(*window, kSalva);

    std::string edited = lineForScreen(boardLine(1));
    edited.replace(15, 6, "Citt\xE0!");
    std::string expected = edited + "\r\n";
    for (int i = 2; i <= 400; ++i) {
        expected += boardLine(i) + "\r\n";
    }
    EXPECT_EQ(fileText(folder_ / "FD"), expected);
    // The page stays as edited and the preview goes on after it.
    EXPECT_TRUE(firstLine(*window).startsWith(QString::fromUtf8("|      |      |Città!")));
    press(*window, kAvanti);
    EXPECT_EQ(firstLine(*window), screenLine(153));
}

TEST_F(AnteprimaTest, SaveThatFailsIsANoticeAndTheWindowStays) {
    writeText(folder_ / "FD", boardOf(2));
    auto window = open();
    std::filesystem::remove(folder_ / "FD");
    std::filesystem::create_directory(folder_ / "FD");
    DialogDriver driver;
    press(*window, kSalva);
    ASSERT_EQ(driver.shown().size(), 1u);
    EXPECT_EQ(driver.shown()[0].title, QString::fromStdString(msg::previewTitle()));
    EXPECT_TRUE(driver.shown()[0].text.contains("FD")) << driver.shown()[0].text.toStdString();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(AnteprimaTest, EmailWritesTheHandOffBytesThenStartsTheMailProgram) {
    writeText(folder_ / "FD", "Hotel CITT\xC0\r\n" + boardLine(7) + "\r\n");
    std::string seenAtStart;
    auto window = open([&](const std::filesystem::path& folder) {
        seenAtStart = fileText(folder / "e-mail.txt");
    });
    press(*window, kEmail);
    const std::string expected =
        "OGGETTO\r\nHotel CITT\xC0\r\n" + lineForScreen(boardLine(7)) + "\r\n";
    EXPECT_EQ(fileText(folder_ / "e-mail.txt"), expected);
    EXPECT_EQ(seenAtStart, expected);
}

TEST_F(AnteprimaTest, EmailStartsPostexFromThePathInTheDataFolder) {
    writeText(folder_ / "FD", boardOf(1));
    const std::filesystem::path bin = folder_ / "bin";
    std::filesystem::create_directories(bin);
    const std::filesystem::path record = folder_ / "avviato";
    writeScript(bin / "postex", "{ pwd; head -1 e-mail.txt; } > '" + record.string() +
                                    ".part'\nmv '" + record.string() + ".part' '" +
                                    record.string() + "'\n");
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", (bin.string() + ":" + oldPath).c_str(), 1);
    auto window = open();
    DialogDriver driver;
    press(*window, kEmail);
    setenv("PATH", oldPath.c_str(), 1);
    ASSERT_TRUE(waitForFile(record));
    EXPECT_EQ(fileText(record), folder_.string() + "\nOGGETTO\r\n");
    EXPECT_TRUE(driver.shown().empty());
}

TEST_F(AnteprimaTest, EmailWithoutAMailProgramIsANotice) {
    writeText(folder_ / "FD", boardOf(1));
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", folder_.c_str(), 1);
    auto window = open();
    DialogDriver driver;
    press(*window, kEmail);
    setenv("PATH", oldPath.c_str(), 1);
    ASSERT_EQ(driver.shown().size(), 1u);
    EXPECT_EQ(driver.shown()[0].title, QString::fromStdString(msg::mailTitle()));
    EXPECT_EQ(driver.shown()[0].text,
              QString::fromStdString(msg::mailProgramNotFound("postex", programFolder())));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(AnteprimaTest, MissingBoardIsANoticeInsteadOfAWindow) {
    DialogDriver driver;
    showAnteprima(PreviewContext{folder_, "12", {}}, nullptr);
    ASSERT_EQ(driver.shown().size(), 1u);
    EXPECT_EQ(driver.shown()[0].title, QString::fromStdString(msg::previewTitle()));
    EXPECT_EQ(driver.shown()[0].text,
              QString::fromStdString(msg::boardFileMissing(folder_ / "FD12")));
}

TEST_F(AnteprimaTest, ShownModallyOverItsParentUntilEsci) {
    writeText(folder_ / "FD", boardOf(1));
    QWidget parent;
    parent.show();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<Anteprima*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        seen = window->isModal() && window->parentWidget() == &parent;
        QTest::mouseClick(window->tasto(kEsci), Qt::LeftButton);
    });
    showAnteprima(PreviewContext{folder_, "", {}}, &parent);
    EXPECT_TRUE(seen);
}

TEST_F(AnteprimaTest, ControlsAsDesigned) {
    writeText(folder_ / "FD", boardOf(1));
    auto window = open();
    EXPECT_EQ(window->windowTitle(), "Anteprima di Stampa");
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    const QStringList captions = {"&Esci",   "&Riduci", "E&spandi", "&Avanti",
                                  "&Inizio", "E-&mail", "Sa&lva"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(window->tasto(i)->text(), captions[i]);
        EXPECT_TRUE(window->rect().contains(window->tasto(i)->geometry())) << i;
        EXPECT_GT(window->tasto(i)->y(), window->text()->geometry().bottom()) << i;
    }
    // One row, left to right 1 to 6 then 0.
    const int order[] = {1, 2, 3, 4, 5, 6, 0};
    for (int i = 0; i + 1 < 7; ++i) {
        EXPECT_LT(window->tasto(order[i])->geometry().right(), window->tasto(order[i + 1])->x());
    }
    EXPECT_EQ(window->text()->font().families().value(0), "Courier New");
    EXPECT_EQ(window->text()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_FALSE(window->text()->isReadOnly());
    EXPECT_EQ(window->text()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xFF));
}

TEST_F(AnteprimaTest, ScreenshotOverTheDemoBoard) {
    const board::FixedClock clock{board::LocalDateTime{2026, 12, 8, 10, 0, 0}};
    demo::writeDemoHotel(folder_, demo::DemoSize{24, 40, 60, 7}, clock);
    const board::BoardRequest request{1, 1, "0", "999", "08/12/2026", 0, ""};
    board::CreaTableau(request, {}, {folder_, "", &clock});
    auto window = open();
    EXPECT_TRUE(window->text()->toPlainText().contains(" Hotel : "));
    EXPECT_TRUE(testing::saveScreenshot(*window, "anteprima"));
}

}  // namespace
}  // namespace planora::preview
