// The message dialog on screen: button sets, answers of the real buttons, size and places.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtMath>
#include <optional>

#include "dialog/msgbox_form.h"
#include "dialog/msgbox_routine.h"
#include "dialog_driver.h"
#include "screenshot.h"

namespace planora::dialog {
namespace {

using testing::DialogDriver;

struct PressCase {
    std::int16_t buttons;
    int press;
    std::int16_t answer;
    std::array<const char*, 3> shown;  // captions of the visible buttons, nullptr for hidden
};

void PrintTo(const PressCase& c, std::ostream* out) {
    *out << "button set " << c.buttons << ", T " << c.press << " pressed";
}

class MsgBoxPressTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(MsgBoxPressTest, ShowsTheButtonSetAndReturnsTheAnswerOfTheButtonPressed) {
    const PressCase& c = GetParam();
    DialogDriver driver({c.press});
    EXPECT_EQ(MostraMessaggio(QString("Messaggio"), c.buttons, QString("Titolo")), c.answer);
    ASSERT_EQ(driver.shown().size(), 1u);
    const testing::ShownDialog& shown = driver.shown()[0];
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(shown.visible[i], c.shown[i] != nullptr) << "T " << i;
        if (c.shown[i] != nullptr) {
            EXPECT_EQ(shown.captions[i], c.shown[i]) << "T " << i;
        }
    }
    EXPECT_EQ(shown.title, "Titolo");
    EXPECT_EQ(shown.text, "Messaggio");
}

INSTANTIATE_TEST_SUITE_P(ButtonSets, MsgBoxPressTest,
                         ::testing::Values(PressCase{48, 0, 0, {"Ok", nullptr, nullptr}},
                                           PressCase{0, 0, 0, {"Ok", nullptr, nullptr}},
                                           PressCase{36, 0, 6, {"Si", "No", nullptr}},
                                           PressCase{36, 1, 7, {"Si", "No", nullptr}},
                                           PressCase{4, 1, 7, {"Si", "No", nullptr}},
                                           PressCase{300, 0, 6, {"Si", "No", nullptr}},
                                           PressCase{35, 2, 2, {"Si", "No", "Annulla"}},
                                           PressCase{51, 0, 6, {"Si", "No", "Annulla"}},
                                           PressCase{1, 0, 0, {"Ok", "Ok", "Annulla"}},
                                           PressCase{1, 1, 7, {"Ok", "Ok", "Annulla"}}),
                         [](const ::testing::TestParamInfo<PressCase>& info) {
                             return "set" + std::to_string(info.param.buttons) + "press" +
                                    std::to_string(info.param.press);
                         });

TEST(MsgBoxAnswer, ClosingWithoutAButtonReturnsThePreviousAnswer) {
    DialogDriver driver({1, DialogDriver::kCloseWindow, 2, DialogDriver::kCloseWindow});
    EXPECT_EQ(MostraMessaggio(QString("Continuare?"), 36, QString("Domanda")), 7);
    EXPECT_EQ(MostraMessaggio(QString("Avviso"), 48, QString("Avviso")), 7);
    EXPECT_EQ(MostraMessaggio(QString("Salvare?"), 35, QString("Domanda")), 2);
    EXPECT_EQ(MostraMessaggio(QString("Avviso"), 48, QString("Avviso")), 2);
}

TEST(MsgBoxAnswer, UtfEightTextsAndCoreNotices) {
    DialogDriver driver;
    const board::Message notice{"Camere errate!", "Controllare l'intervallo di camere richiesto!"};
    EXPECT_EQ(MostraMessaggio(notice), 0);
    EXPECT_EQ(MostraMessaggio(std::string("Perché così"), 48, std::string("Attenzione")), 0);
    ASSERT_EQ(driver.shown().size(), 2u);
    EXPECT_EQ(driver.shown()[0].title, "Camere errate!");
    EXPECT_FALSE(driver.shown()[0].visible[1]);
    EXPECT_EQ(driver.shown()[1].text, QString::fromUtf8("Perché così"));
}

// Geometry of the dialog as it is shown, taken inside the dialog's own event loop.
struct Seen {
    bool modal = false;
    bool onTop = false;
    bool titleBold = false;
    QSize client;
    QSize available;  // the screen's available area
    QRect title, text, viewport;
    std::vector<QString> lines;
    int shownLines = 0;          // lines as the box lays them out, wrapped ones counted
    int widestShown = 0;         // the widest of them, in pixels
    int scrollRange = 0;         // how far the box scrolls; 0 when the whole message shows
    std::vector<QRect> buttons;  // visible ones, in index order
    QFontMetrics metrics{QFont()};
};

Seen showAndMeasure(const QString& message, std::int16_t buttons, const QString& picture = {}) {
    Seen seen;
    DialogDriver driver;
    driver.inspectWith([&](MsgBox_Form& form) {
        seen.modal = form.isModal();
        seen.onTop = form.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.titleBold = form.titleStrip()->font().bold();
        seen.client = form.size();
        seen.title = form.titleStrip()->geometry();
        seen.text = form.messageBox()->geometry();
        seen.viewport = form.messageBox()->viewport()->geometry();
        seen.metrics = form.messageBox()->fontMetrics();
        seen.available = form.screen()->availableGeometry().size();
        for (QTextBlock b = form.messageBox()->document()->begin(); b.isValid(); b = b.next()) {
            seen.lines.push_back(b.text());
            const QTextLayout* layout = b.layout();
            for (int i = 0; i < layout->lineCount(); ++i) {
                seen.widestShown =
                    std::max(seen.widestShown, qCeil(layout->lineAt(i).naturalTextWidth()));
            }
            seen.shownLines += std::max(layout->lineCount(), 1);
        }
        seen.scrollRange = form.messageBox()->verticalScrollBar()->maximum();
        for (int i = 0; i < 3; ++i) {
            if (form.button(i)->isVisible()) {
                seen.buttons.push_back(form.button(i)->geometry());
            }
        }
        if (!picture.isEmpty()) {
            EXPECT_TRUE(testing::saveScreenshot(form, picture));
        }
    });
    MostraMessaggio(message, buttons, QString("Titolo del messaggio"));
    return seen;
}

void expectWholeMessageVisible(const Seen& seen) {
    EXPECT_LE(seen.widestShown, seen.viewport.width());
    EXPECT_LE(seen.shownLines * seen.metrics.lineSpacing(), seen.viewport.height());
    EXPECT_EQ(seen.scrollRange, 0);
    EXPECT_LE(seen.text.right(), seen.client.width());
}

void expectWithinTheScreen(const Seen& seen) {
    EXPECT_LE(seen.client.width(), seen.available.width());
    EXPECT_LE(seen.client.height(), seen.available.height());
}

void expectButtonsInOneCentredRowBelowTheText(const Seen& seen) {
    ASSERT_FALSE(seen.buttons.empty());
    for (std::size_t i = 0; i < seen.buttons.size(); ++i) {
        EXPECT_GT(seen.buttons[i].top(), seen.text.bottom());
        EXPECT_EQ(seen.buttons[i].top(), seen.buttons[0].top());
        EXPECT_LE(seen.buttons[i].bottom(), seen.client.height());
        if (i > 0) {
            const int gap = seen.buttons[i].left() - seen.buttons[i - 1].right() - 1;
            EXPECT_NEAR(gap, 70 / 15.0, 1.0);  // 70 twips
        }
    }
    const int leftMargin = seen.buttons.front().left();
    const int rightMargin = seen.client.width() - 1 - seen.buttons.back().right();
    EXPECT_LE(std::abs(leftMargin - rightMargin), 2);
}

TEST(MsgBoxGeometry, ModalOnTopWithBoldTitleStripAcrossTheTop) {
    const Seen seen = showAndMeasure("Avviso", 48);
    EXPECT_TRUE(seen.modal);
    EXPECT_TRUE(seen.onTop);
    EXPECT_TRUE(seen.titleBold);
    EXPECT_EQ(seen.title.top(), 0);
    EXPECT_EQ(seen.title.width(), seen.client.width());
    EXPECT_GE(seen.text.top(), seen.title.bottom());
}

TEST(MsgBoxGeometry, LinesBrokenByCarriageReturnsAllShowAndButtonsSitBelow) {
    const Seen seen = showAndMeasure(
        "La data deve essere inserita \r\nnel formato gg/mm/aaaa\rterza riga", 35, "msgbox");
    EXPECT_EQ(seen.lines, (std::vector<QString>{"La data deve essere inserita ",
                                                "nel formato gg/mm/aaaa", "terza riga"}));
    expectWholeMessageVisible(seen);
    expectButtonsInOneCentredRowBelowTheText(seen);
    EXPECT_EQ(seen.buttons.size(), 3u);
}

TEST(MsgBoxGeometry, LongAndManyLinedMessagesGrowTheWindow) {
    const Seen small = showAndMeasure("Breve", 36);
    const QString longLine(140, QChar('W'));
    const Seen wide = showAndMeasure("Prima\r" + longLine + "\rUltima", 36);
    QString many = "1";
    for (int i = 2; i <= 15; ++i) {
        many += "\r" + QString::number(i);
    }
    const Seen tall = showAndMeasure(many, 48);
    EXPECT_GT(wide.client.width(), small.client.width());
    EXPECT_GT(tall.client.height(), small.client.height());
    for (const Seen* seen : {&small, &wide, &tall}) {
        expectWholeMessageVisible(*seen);
        expectButtonsInOneCentredRowBelowTheText(*seen);
    }
    EXPECT_EQ(tall.lines.size(), 15u);
}

TEST(MsgBoxGeometry, ALongPathWrapsWithinTheScreen) {
    // A path of 344 characters without a blank, in a message of the file writer.
    QString path = "/srv/condivisa";
    while (path.size() < 344) {
        path += "/cartella_dei_dati_dell_albergo";
    }
    path.truncate(344);
    const QString message = "Impossibile scrivere il file '" + path + "/FD': il disco è pieno";
    const Seen seen = showAndMeasure(message, 48, "msgbox-long-path");
    expectWithinTheScreen(seen);
    EXPECT_GT(seen.shownLines, 2) << "the path is wrapped, not cut";
    expectWholeMessageVisible(seen);
    expectButtonsInOneCentredRowBelowTheText(seen);
}

TEST(MsgBoxGeometry, AMessageTallerThanTheScreenScrollsWithTheButtonsInSight) {
    QString many = "riga 1";
    for (int i = 2; i <= 400; ++i) {
        many += "\rriga " + QString::number(i);
    }
    const Seen seen = showAndMeasure(many, 35);
    expectWithinTheScreen(seen);
    EXPECT_GT(seen.scrollRange, 0) << "the message scrolls";
    EXPECT_EQ(seen.lines.size(), 400u);
    expectButtonsInOneCentredRowBelowTheText(seen);
    EXPECT_EQ(seen.buttons.size(), 3u);
}

}  // namespace
}  // namespace planora::dialog
