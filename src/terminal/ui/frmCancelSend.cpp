#include "terminal/ui/frmCancelSend.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "terminal/ui/qt_platform.h"

namespace sondix {

frmCancelSend::frmCancelSend(Session& s, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), s_(s) {
    setObjectName("frmCancelSend");
    setWindowTitle("Corvane Terminal");
    // Shown without being activated, so the terminal and any message box keep the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    label1_->setWordWrap(true);
    label1_->setMinimumWidth(440);
    command1_ = new QPushButton("Cancel", this);
    command1_->setObjectName("Command1");
    command1_->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(command1_, 0, Qt::AlignHCenter);
    connect(command1_, &QPushButton::clicked, this, &frmCancelSend::Command1_Click);
}

void frmCancelSend::ShowSending(std::string_view label) {
    label1_->setText(QString::fromStdString(std::string(label)));  // holds a file name: UTF-8
    adjustSize();
    show();
    raise();
}

void frmCancelSend::HideSending() {
    hide();
}

void frmCancelSend::Command1_Click() {
    s_.CancelSend = true;
}

void frmCancelSend::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // Minimised or pushed away while the file is still being sent: back on top, unfocused.
    if (e->type() == QEvent::WindowStateChange && isMinimized() && !s_.CancelSend) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
    }
}

void frmCancelSend::closeEvent(QCloseEvent* e) {
    // Closing the window is the same wish as its Cancel button.
    Command1_Click();
    QWidget::closeEvent(e);
}

}  // namespace sondix
