#include "terminal/ui/terminal_box.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace sondix {

TermEdit::TermEdit(QWidget* parent) : QPlainTextEdit(parent) {
    // The core owns the text: typing reaches it through onKey, never the editor's own editing.
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

namespace {

// The character a key press stands for at the sensor's command interpreter, or -1.
int KeyChar(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return '\r';
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Tab:
            return 9;
        default:
            break;
    }
    const QString t = e->text();
    if (t.size() != 1 || t[0].unicode() > 0xFF) return -1;
    return t[0].unicode();
}

}  // namespace

void TermEdit::keyPressEvent(QKeyEvent* e) {
    // Copy keeps working when there is a selection; otherwise Ctrl+C is ETX for the sensor.
    if (e->matches(QKeySequence::Copy) && textCursor().hasSelection()) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    const int c = KeyChar(e);
    if (c < 0) {
        QPlainTextEdit::keyPressEvent(e);  // scrolling and selection keys
        return;
    }
    const bool consumed = onKey ? onKey(static_cast<char>(c)) : false;
    if (!consumed && onInsert) onInsert(static_cast<char>(c));
}

QtTextBox::QtTextBox(QPlainTextEdit* view) : view_(view) {}

QString QtTextBox::ViewText(std::string_view text) {
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r') {
            out += QChar('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += QChar('\n');
        } else if (c < 32 && c != '\t') {
            out += QChar(0x2400 + c);  // the control picture, so nothing received is invisible
        } else {
            out += QChar(c);
        }
    }
    return out;
}

void QtTextBox::RenderAll() {
    view_->setPlainText(ViewText(model_.text));
    view_->moveCursor(QTextCursor::End);
    view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->maximum());
}

void QtTextBox::SetText(std::string_view text) {
    model_.SetText(text);
    RenderAll();
}

void QtTextBox::SetSelStart(long long pos) {
    model_.SetSelStart(pos);
}

void QtTextBox::SetSelLength(long long len) {
    model_.SetSelLength(len);
}

void QtTextBox::SetSelText(std::string_view text) {
    const bool append =
        model_.selStart == static_cast<long long>(model_.text.size()) && model_.selLength == 0;
    model_.SetSelText(text);
    if (!append) {
        RenderAll();
        return;
    }
    QScrollBar* bar = view_->verticalScrollBar();
    const bool atBottom = bar->value() >= bar->maximum() - 2;
    QTextCursor c(view_->document());
    c.movePosition(QTextCursor::End);
    c.insertText(ViewText(text));
    if (atBottom) bar->setValue(bar->maximum());
}

void QtTextBox::InsertTyped(char key) {
    std::string& text = model_.text;
    if (key == 8) {
        if (text.empty()) return;
        // A line end is one step back, as the view shows it.
        const bool crlf = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
        text.resize(text.size() - (crlf ? 2 : 1));
        model_.SetSelStart(static_cast<long long>(text.size()));
        RenderAll();
        return;
    }
    model_.SetSelStart(static_cast<long long>(text.size()));
    SetSelText(key == '\r' ? std::string_view("\r\n") : std::string_view(&key, 1));
}

}  // namespace sondix
