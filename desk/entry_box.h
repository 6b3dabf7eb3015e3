#pragma once

#include <QLineEdit>

namespace planora::desk {

// An entry field that selects its whole text whenever it gets the focus, by keyboard, mouse
// or program, so that typing replaces the proposed value.
class EntryBox : public QLineEdit {
    Q_OBJECT

  public:
    using QLineEdit::QLineEdit;

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace planora::desk
