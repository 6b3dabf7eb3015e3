#pragma once

#include <QComboBox>
#include <QStringList>

namespace planora::desk {

// A drop-down list of the main window (hotels, layouts) whose names may be longer than the box:
// the chosen name is drawn cut with an ellipsis when it does not fit, and the whole name shows
// as the tooltip of the box and of each item of the list.
class ListBox : public QComboBox {
    Q_OBJECT

  public:
    explicit ListBox(QWidget* parent = nullptr);

    // Replaces the items without raising any choice handler.
    void setItems(const QStringList& items);
    // The chosen item's text as the box draws it.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

}  // namespace planora::desk
