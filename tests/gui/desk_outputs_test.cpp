// The program's own road from the main window to its outputs: "&Stampa" writes the board and
// opens the print menu, whose command 4 opens the preview of that board and whose command 1
// writes the CSV file and asks the desktop to open it.
#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>

#include "desk/run_desk.h"
#include "desk_fixture.h"
#include "dialog_driver.h"
#include "preview/window/anteprima.h"
#include "print/menu/menu_stampa.h"
#include "tools/demo/demo_hotel.h"

namespace planora::desk {
namespace {

using preview::Anteprima;
using print::menu::MenuStampa;

const board::FixedClock kClock(board::LocalDateTime{2026, 12, 8, 10, 0, 0});

template <typename Window>
Window* shown() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget);
            window != nullptr && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// Runs `step` on the window of that type once it is up (modal windows block their opener, so
// the steps are queued ahead); fails the test when it does not come up within a few seconds.
template <typename Window>
void whenShown(std::function<void(Window&)> step, int triesLeft = 100) {
    QTimer::singleShot(50, [step = std::move(step), triesLeft] {
        if (Window* window = shown<Window>()) {
            step(*window);
        } else if (triesLeft > 0) {
            whenShown<Window>(step, triesLeft - 1);
        } else {
            ADD_FAILURE() << "the window did not come up";
        }
    });
}

// Records the documents the menu asks the desktop to open.
class OpenedDocuments : public QObject {
    Q_OBJECT
  public:
    OpenedDocuments() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~OpenedDocuments() override { QDesktopServices::unsetUrlHandler("file"); }
    std::vector<std::filesystem::path> files;
  public slots:
    void open(const QUrl& url) { files.emplace_back(url.toLocalFile().toStdString()); }
};

TEST(DeskOutputs, StampaOpensTheMenuWhoseCommandsReachThePreviewAndTheCsv) {
    testing::TempFolder folder;
    demo::writeDemoHotel(folder.path(), {}, kClock);
    testing::DialogDriver dialogs;
    OpenedDocuments opened;
    QString previewText;

    whenShown<PlxDesk>([](PlxDesk& desk) { desk.stampaButton()->click(); });
    whenShown<MenuStampa>([&](MenuStampa& menu) {
        whenShown<Anteprima>([&](Anteprima& preview) {
            previewText = preview.text()->toPlainText();
            preview.tasto(0)->click();  // "&Esci"
        });
        menu.commandButton(MenuStampa::kAnteprima)->click();
        menu.commandButton(MenuStampa::kCsv)->click();
        menu.commandButton(MenuStampa::kChiudi)->click();
        whenShown<PlxDesk>([](PlxDesk& desk) { desk.esciButton()->click(); });
    });
    EXPECT_EQ(runDeskWindow(folder.path(), kClock), 0);

    EXPECT_TRUE(previewText.contains("Totale Generale")) << previewText.toStdString();
    EXPECT_TRUE(previewText.contains("Hotel :"));
    ASSERT_EQ(opened.files.size(), 1u);
    EXPECT_EQ(opened.files[0].filename(), "fd.csv");
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "fd.csv"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "FD"));
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.titles().front().toStdString();
}

}  // namespace
}  // namespace planora::desk

#include "desk_outputs_test.moc"
