#include "platform/qt/limited_line_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace vostrel::platform::qt {

LimitedLineEdit::LimitedLineEdit(int maxChars, QWidget* parent) : QLineEdit(parent), maxChars_(maxChars) {
    setAcceptDrops(false);  // dropped text would bypass the limit
}

int LimitedLineEdit::room() const {
    if (maxChars_ <= 0) return 1 << 30;
    return maxChars_ - (static_cast<int>(text().size()) - static_cast<int>(selectedText().size()));
}

void LimitedLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        // Like the classic edit control: a paste keeps only as much as fits.
        const QString pasted = QGuiApplication::clipboard()->text().section(QLatin1Char('\n'), 0, 0);
        const int fits = std::max(0, std::min(room(), static_cast<int>(pasted.size())));
        if (fits > 0) insert(pasted.left(fits));
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
    if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        static_cast<int>(typed.size()) > room()) {
        event->accept();  // a character beyond the limit is refused
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void LimitedLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    const int fits = std::max(0, room());
    if (commit.size() > fits) {
        QInputMethodEvent trimmed(event->preeditString(), event->attributes());
        trimmed.setCommitString(commit.left(fits), event->replacementStart(), event->replacementLength());
        QLineEdit::inputMethodEvent(&trimmed);
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

} // namespace vostrel::platform::qt
