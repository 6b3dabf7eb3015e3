#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "board/clock.h"
#include "print/print_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace planora::print::menu {

// Where the menu works: the data folder, the station code, the hotel of the board.
struct MenuContext {
    std::filesystem::path dataFolder;
    std::string stationCode;
    std::int16_t hotel = 0;  // 0 counts as hotel 1
    const board::Clock* clock = nullptr;
};

// The print menu: the destinations of Stampanti, the system printers, three print options and
// six commands (archive copy, CSV, PDF, print, preview, close). Modal and on top while shown.
class MenuStampa : public QDialog {
    Q_OBJECT

  public:
    enum Command { kArchivio = 0, kCsv = 1, kPdf = 2, kStampa = 3, kAnteprima = 4, kChiudi = 5 };

    // Loads: centres itself, makes the archive copy, lists the system printers. The window is
    // activated when it is first shown.
    MenuStampa(MenuContext context, QWidget* parent = nullptr);
    ~MenuStampa() override;

    // Reloads the destinations of hotel 1 and CodiceAssistenza, and chooses the first
    // destination. Without a destination it says so and only the print commands are disabled.
    void activate();

    // Command 4; the menu stays modal while it runs and is activated again afterwards.
    void setPreviewCommand(std::function<void()> preview) { preview_ = std::move(preview); }

    // The options the menu holds, as the print run takes them.
    PrintOptions options() const;
    const std::filesystem::path& archivePath() const { return archivePath_; }
    const std::string& codiceAssistenza() const { return codiceAssistenza_; }

    QComboBox* destinationList() const { return combo1_; }
    QComboBox* printerList() const { return combo2_; }
    QCheckBox* compressedBox() const { return chk_; }
    QCheckBox* landscapeBox() const { return chk2_; }
    QCheckBox* duplexBox() const { return chk3_; }
    QPushButton* commandButton(Command command) const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void load();
    void centre();
    void runCommand(Command command);
    void openArchive();
    void exportCsv();
    void printPdf();
    void print();
    void preview();
    void openDocument(const std::filesystem::path& file);
    void showFailure(const std::string& message);
    PrintContext printContext() const;

    MenuContext context_;
    std::filesystem::path archivePath_;
    std::optional<std::string> archiveFailure_;
    std::string codiceAssistenza_;
    std::function<void()> preview_;
    bool activated_ = false;

    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QCheckBox* chk_ = nullptr;
    QCheckBox* chk2_ = nullptr;
    QCheckBox* chk3_ = nullptr;
    std::array<QPushButton*, 6> tst_{};
    std::array<QLabel*, 3> label1_{};
};

}  // namespace planora::print::menu
