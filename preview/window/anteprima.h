#pragma once

#include <QDialog>
#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "preview/mail_handoff.h"
#include "preview/preview_board.h"

class QPlainTextEdit;
class QPushButton;

namespace planora::preview {

// What the preview works on: the data folder, the station code (PCLocal as it is) and what
// starts the mail program (empty: postex, beside planora or on the PATH).
struct PreviewContext {
    std::filesystem::path dataFolder;
    std::string stationCode;
    MailLauncher startMail;
};

// "Anteprima di Stampa": the board page by page in an editable text box, with zoom, first page,
// save and e-mail. A failing button action is shown in the message dialog and the window stays.
class Anteprima : public QDialog {
    Q_OBJECT

  public:
    // Opens the board file and shows its first page. Throws planora::Error when the board file
    // is missing.
    explicit Anteprima(PreviewContext context, QWidget* parent = nullptr);

    QPlainTextEdit* text() const { return text_; }
    // Tasto 0 "&Esci", 1 "&Riduci", 2 "E&spandi", 3 "&Avanti", 4 "&Inizio", 5 "E-&mail",
    // 6 "Sa&lva".
    QPushButton* tasto(int index) const;
    const PreviewBoard& board() const { return board_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildControls();
    void placeControls();
    void onTasto(int index);
    void showPage();
    // Runs a button action; a failure becomes a notice with that title.
    void guarded(const std::string& title, const std::function<void()>& action);
    void setFontSize(double points);

    PreviewContext context_;
    PreviewBoard board_;
    QPlainTextEdit* text_ = nullptr;
    std::array<QPushButton*, 7> tasti_{};
};

// Shows the preview modally over the parent; a missing board file is reported in the message
// dialog instead.
void showAnteprima(const PreviewContext& context, QWidget* parent);

}  // namespace planora::preview
