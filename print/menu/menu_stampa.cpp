#include "print/menu/menu_stampa.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "db/error.h"
#include "dialog/msgbox_routine.h"
#include "messages/print_messages.h"
#include "print/csv_export.h"
#include "print/menu/archive_copy.h"
#include "print/qt/stampa.h"
#include "print/qt/system_printers.h"

namespace planora::print::menu {

namespace {

constexpr std::int16_t kNotice = 48;

QString qText(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The wait cursor while a command works.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

MenuStampa::MenuStampa(MenuContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    if (context_.hotel == 0) {
        context_.hotel = 1;
    }
    buildControls();
    load();
}

MenuStampa::~MenuStampa() = default;

QPushButton* MenuStampa::commandButton(Command command) const {
    return tst_.at(static_cast<std::size_t>(command));
}

void MenuStampa::load() {
    adjustSize();
    centre();
    const board::SystemClock systemClock;
    const board::Clock& clock = context_.clock != nullptr ? *context_.clock : systemClock;
    try {
        archivePath_ = archiveCopyPath(context_.dataFolder, context_.stationCode, clock.now());
        writeArchiveCopy(context_.dataFolder, context_.stationCode, archivePath_);
    } catch (const Error& error) {
        // The menu opens all the same; the archive command says why it has no copy.
        archiveFailure_ = msg::noArchiveCopy(archivePath_, error.what());
    }
    combo2_->clear();
    for (const std::string& printer : qt::systemPrinterNames()) {
        combo2_->addItem(qText(printer));
    }
    if (combo2_->count() == 0) {
        combo2_->addItem(qText(std::string(msg::kNoPrinterEntry)));
    }
    combo2_->setCurrentIndex(-1);
}

void MenuStampa::centre() {
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void MenuStampa::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        // Once the window is on screen, as a message it may show needs it there.
        QMetaObject::invokeMethod(
            this, [this] { activate(); }, Qt::QueuedConnection);
    }
}

void MenuStampa::activate() {
    combo1_->clear();
    std::vector<std::string> destinations;
    bool failed = false;
    try {
        if (auto codice = readCodiceAssistenza(context_.dataFolder)) {
            codiceAssistenza_ = *codice;
        }
        destinations = destinationNames(context_.dataFolder);
    } catch (const Error& error) {
        failed = true;
        showFailure(error.what());
    }
    for (const std::string& destination : destinations) {
        combo1_->addItem(qText(destination));
    }
    const bool any = combo1_->count() > 0;
    combo1_->setCurrentIndex(any ? 0 : -1);
    commandButton(kPdf)->setEnabled(any);
    commandButton(kStampa)->setEnabled(any);
    if (!any && !failed) {
        showFailure(msg::noDestinations());
    }
}

PrintOptions MenuStampa::options() const {
    return PrintOptions{combo1_->currentText().toStdString(), combo2_->currentText().toStdString(),
                        chk_->isChecked(), chk2_->isChecked(), chk3_->isChecked()};
}

PrintContext MenuStampa::printContext() const {
    return PrintContext{context_.dataFolder, context_.stationCode, context_.hotel,
                        codiceAssistenza_};
}

void MenuStampa::runCommand(Command command) {
    switch (command) {
        case kArchivio:
            return openArchive();
        case kCsv:
            return exportCsv();
        case kPdf:
            return printPdf();
        case kStampa:
            return print();
        case kAnteprima:
            return preview();
        case kChiudi:
            accept();
            return;
    }
}

void MenuStampa::openArchive() {
    if (archiveFailure_) {
        showFailure(*archiveFailure_);
        return;
    }
    openDocument(archivePath_);
}

void MenuStampa::exportCsv() {
    std::filesystem::path csv;
    try {
        const BusyCursor busy;
        csv = print::exportCsv(context_.dataFolder, context_.stationCode);
    } catch (const Error& error) {
        showFailure(error.what());
        return;
    }
    openDocument(csv);
}

void MenuStampa::printPdf() {
    int chosen = -1;
    for (int i = 0; i < combo1_->count(); ++i) {
        if (isPdfDestination(combo1_->itemText(i).toStdString())) {
            chosen = i;
        }
    }
    if (chosen < 0) {
        QMessageBox::warning(this, qText(std::string(msg::kPrintTitle)),
                             qText(msg::noPdfDestination()));
        return;
    }
    combo1_->setCurrentIndex(chosen);
    print();
}

void MenuStampa::print() {
    qt::PrintOutcome outcome;
    try {
        const BusyCursor busy;
        outcome = qt::stampa(printContext(), options());
    } catch (const Error& error) {
        showFailure(error.what());
        return;
    }
    if (outcome.kind == qt::PrintOutcome::Kind::Pdf) {
        openDocument(outcome.where);
    }
}

void MenuStampa::preview() {
    if (preview_) {
        preview_();
    }
    activate();
}

void MenuStampa::openDocument(const std::filesystem::path& file) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(qText(file.string())))) {
        showFailure(msg::cannotOpenDocument(file));
    }
}

void MenuStampa::showFailure(const std::string& message) {
    dialog::MostraMessaggio(message, kNotice, std::string(msg::kPrintTitle));
}

}  // namespace planora::print::menu
