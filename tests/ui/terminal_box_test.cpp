// The terminal box keeps the text byte for byte and shows CR LF as line breaks.
#include <gtest/gtest.h>

#include "terminal/ui/terminal_box.h"

namespace sondix {
namespace {

struct Box {
    QPlainTextEdit view;
    QtTextBox box{&view};
    QString shown() const { return view.toPlainText(); }
};

TEST(QtTextBox, AppendsAtTheEndAndShowsLineEnds) {
    Box b;
    b.box.SetText("Type ? for help...\r\n");
    b.box.SetSelStart(static_cast<long long>(b.box.Text().size()));
    b.box.SetSelText("P\r\nUnits   =2\r\n");
    EXPECT_EQ(b.box.Text(), "Type ? for help...\r\nP\r\nUnits   =2\r\n");
    EXPECT_EQ(b.shown(), "Type ? for help...\nP\nUnits   =2\n");
}

TEST(QtTextBox, ReplacingTheLastCharacterShowsTheWholeText) {
    // A block that starts with a backspace selects the last character and replaces it.
    Box b;
    b.box.SetText("ABC");
    b.box.SetSelStart(2);
    b.box.SetSelLength(1);
    b.box.SetSelText("x");
    EXPECT_EQ(b.box.Text(), "ABx");
    EXPECT_EQ(b.shown(), "ABx");
}

TEST(QtTextBox, EveryByteStaysVisible) {
    Box b;
    b.box.SetText(std::string("a\x01\tb\xe9", 5));
    EXPECT_EQ(b.box.Text(), std::string("a\x01\tb\xe9", 5));
    EXPECT_EQ(b.shown(), QString("a") + QChar(0x2401) + "\tb" + QChar(0xE9));
}

TEST(QtTextBox, TypedKeysEchoLocally) {
    Box b;
    b.box.SetText("ok\r\n");
    b.box.InsertTyped('x');
    b.box.InsertTyped('\r');
    EXPECT_EQ(b.box.Text(), "ok\r\nx\r\n");
    b.box.InsertTyped(8);  // a line end is one step back
    EXPECT_EQ(b.box.Text(), "ok\r\nx");
    b.box.InsertTyped(8);
    EXPECT_EQ(b.box.Text(), "ok\r\n");
    EXPECT_EQ(b.shown(), "ok\n");
}

}  // namespace
}  // namespace sondix
