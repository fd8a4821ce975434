#include "platform/qt/limited_line_edit.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace vostrel::platform::qt {

LimitedLineEdit::LimitedLineEdit(int maxChars, QWidget* parent) : QLineEdit(parent), maxChars_(maxChars) {
    setAcceptDrops(false); // dropped text would bypass the limit
    connect(this, &QLineEdit::cursorPositionChanged, this, [this](int, int now) {
        if (text() == shown_) cursorBefore_ = now;
    });
    // Qt signals textEdited before textChanged, so while an edit is checked shown_ still holds
    // the text before it. The argument of textChanged may be outdated by a refused edit: text()
    // is what stands.
    connect(this, &QLineEdit::textChanged, this, [this] { shown_ = text(); });
    connect(this, &QLineEdit::textEdited, this, [this](const QString& edited) { refuseOverlongEdit(edited); });
}

void LimitedLineEdit::refuseOverlongEdit(const QString& edited) {
    const QString before = shown_;
    if (maxChars_ <= 0 || edited.size() <= maxChars_ || edited.size() <= before.size()) return;
    // The edit replaced the middle of the old text by an insertion; keep as much of the insertion
    // as fits, as the classic edit control does with a paste.
    int prefix = 0;
    while (prefix < before.size() && prefix < edited.size() && before[prefix] == edited[prefix]) ++prefix;
    int suffix = 0;
    while (suffix < before.size() - prefix && suffix < edited.size() - prefix &&
           before[before.size() - 1 - suffix] == edited[edited.size() - 1 - suffix])
        ++suffix;
    const int room = std::max(0, maxChars_ - prefix - suffix);
    const QString inserted = edited.mid(prefix, edited.size() - prefix - suffix).left(room);
    const QString kept = (prefix + suffix > maxChars_) ? before : before.left(prefix) + inserted + before.right(suffix);
    setText(kept);
    setCursorPosition(kept == before ? std::min(cursorBefore_, static_cast<int>(kept.size()))
                                     : prefix + static_cast<int>(inserted.size()));
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
        event->accept(); // a character beyond the limit is refused
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
