// Escape and the title bar's close box answer every box the program shows with the choice that
// ends or discards the least: never Abort, which ends the program from a fault box.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "terminal/ui/qt_platform.h"

namespace sondix {
namespace {

enum class Dismiss { Escape, CloseBox };

struct BoxCase {
    const char* title;
    MsgButtons buttons;
    MsgAnswer expected;
};

// The boxes as the program asks them: port fault, transfer too long, output not drained, a
// failing log write, a plain message.
const BoxCase kBoxes[] = {
    {"MSComm Fault", MsgButtons::AbortRetryIgnore, MsgAnswer::Ignore},
    {"D-command fault", MsgButtons::AbortRetryIgnore, MsgAnswer::Ignore},
    {"", MsgButtons::AbortRetryIgnore, MsgAnswer::Ignore},  // "Data cannot be sent"
    {"", MsgButtons::RetryCancel, MsgAnswer::Cancel},
    {"Graph error", MsgButtons::OK, MsgAnswer::OK},
    {"", MsgButtons::YesNo, MsgAnswer::No},
    {"", MsgButtons::OKCancel, MsgAnswer::Cancel},
    {"", MsgButtons::YesNoCancel, MsgAnswer::Cancel},
};

MsgAnswer AskAndDismiss(const BoxCase& c, Dismiss how) {
    QtMessageAsker asker(nullptr);
    // A box that refuses to go would hang the test: the second timer clicks its first button.
    QTimer::singleShot(50, [how] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) return;
        if (how == Dismiss::Escape) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->close();
        }
    });
    QTimer::singleShot(2000, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->buttons().front()->click();
    });
    return asker.Ask(c.title, "text", c.buttons, MsgIcon::None);
}

TEST(BoxEscape, EscapeAndCloseBoxGiveTheMildestAnswer) {
    for (const BoxCase& c : kBoxes) {
        for (const Dismiss how : {Dismiss::Escape, Dismiss::CloseBox}) {
            EXPECT_EQ(static_cast<int>(AskAndDismiss(c, how)), static_cast<int>(c.expected))
                << c.title << " buttons " << static_cast<int>(c.buttons) << " dismissed "
                << static_cast<int>(how);
        }
    }
}

}  // namespace
}  // namespace sondix
