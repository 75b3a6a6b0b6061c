// txtTerm: the terminal display. The text the core edits is kept here byte for byte (Latin-1,
// lines ending in CR LF); the view shows it with CR LF as line breaks. Appending at the end, the
// common case of every received block, touches only the end of the view.
#pragma once

#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "common/platform.h"
#include "terminal/headless_io.h"

namespace sondix {

class TermEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TermEdit(QWidget* parent = nullptr);
    // A typed character; returns true when it is consumed (not inserted locally).
    std::function<bool(char)> onKey;
    std::function<void(char)> onInsert;

  protected:
    void keyPressEvent(QKeyEvent* e) override;
};

class QtTextBox : public TextBox {
  public:
    explicit QtTextBox(QPlainTextEdit* view);

    std::string Text() const override { return model_.text; }
    std::size_t TextLength() const override { return model_.text.size(); }
    void SetText(std::string_view text) override;
    void SetSelStart(long long pos) override;
    void SetSelLength(long long len) override;
    void SetSelText(std::string_view text) override;

    // Local echo of a typed key at the caret (backspace deletes, Enter is CR LF).
    void InsertTyped(char key);

    // How the view shows a piece of the text: CR LF a line break, other control characters as
    // their visible symbols.
    static QString ViewText(std::string_view text);

  private:
    void RenderAll();

    QPlainTextEdit* view_;
    StringTextBox model_;  // the text and selection, byte for byte
};

}  // namespace sondix
