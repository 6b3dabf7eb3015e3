#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <vector>

namespace planora::print::testing {

// Takes the place of the desktop's handler for file URLs while it lives, and keeps the files
// that the program asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT

  public:
    UrlRecorder() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler("file"); }

    const std::vector<QString>& opened() const { return opened_; }

  public slots:
    void open(const QUrl& url) { opened_.push_back(url.toLocalFile()); }

  private:
    std::vector<QString> opened_;
};

}  // namespace planora::print::testing
