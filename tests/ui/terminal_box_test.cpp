// The terminal box keeps the text byte for byte, shows CR LF as line breaks, echoes typed keys.
#include <gtest/gtest.h>

#include "terminal/ui/terminal_box.h"

namespace sondix {
namespace {

TEST(QtTextBox, KeepsEveryByteAndShowsLineEnds) {
    QPlainTextEdit view;
    QtTextBox box{&view};
    box.SetText("Type ? for help...\r\n");
    box.SetSelStart(static_cast<long long>(box.Text().size()));
    box.SetSelText("P\r\nUnits   =2\r\n");
    EXPECT_EQ(box.Text(), "Type ? for help...\r\nP\r\nUnits   =2\r\n");
    EXPECT_EQ(view.toPlainText(), "Type ? for help...\nP\nUnits   =2\n");
    // A block that starts with a backspace selects the last character and replaces it.
    box.SetText("ABC");
    box.SetSelStart(2);
    box.SetSelLength(1);
    box.SetSelText("x");
    EXPECT_EQ(view.toPlainText(), "ABx");
    box.SetText(std::string("a\x01\tb\xe9", 5));
    EXPECT_EQ(box.Text(), std::string("a\x01\tb\xe9", 5));
    EXPECT_EQ(view.toPlainText(), QString("a") + QChar(0x2401) + "\tb" + QChar(0xE9));
    // Typed keys echo locally.
    box.SetText("ok\r\n");
    box.InsertTyped('x');
    box.InsertTyped('\r');
    EXPECT_EQ(box.Text(), "ok\r\nx\r\n");
    box.InsertTyped(8);  // a line end is one step back
    EXPECT_EQ(box.Text(), "ok\r\nx");
    box.InsertTyped(8);
    EXPECT_EQ(box.Text(), "ok\r\n");
    EXPECT_EQ(view.toPlainText(), "ok\n");
}

}  // namespace
}  // namespace sondix
