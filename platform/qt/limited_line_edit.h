#pragma once
// A single-line edit box whose limit applies to what the operator types, pastes or composes,
// never to text the program sets: QLineEdit::setMaxLength would also cut programmatic text and
// refuse deletions from a text longer than the limit.
#include <QLineEdit>

namespace vostrel::platform::qt {

class LimitedLineEdit final : public QLineEdit {
public:
    LimitedLineEdit(int maxChars, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // How many characters may still be inserted in place of the current selection.
    int room() const;
    // Any other way text gets in (the context menu's paste, for one) is checked afterwards: an
    // operator's edit that makes the text longer than the limit is taken back.
    void refuseOverlongEdit(const QString& edited);

    int maxChars_;
    QString shown_; // the text as of the last change
    int cursorBefore_ = 0;
};

} // namespace vostrel::platform::qt
