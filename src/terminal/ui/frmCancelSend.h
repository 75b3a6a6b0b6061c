// frmCancelSend: the small window that stays on top while a text file is transmitted and
// offers Cancel. It never takes the focus from the main window or a message box.
#pragma once

#include <QWidget>

#include "terminal/session.h"
#include "terminal/text_transmit.h"

class QLabel;
class QPushButton;

namespace sondix {

class frmCancelSend : public QWidget, public CancelSendWindow {
    Q_OBJECT
  public:
    frmCancelSend(Session& s, QWidget* parent);

    void ShowSending(std::string_view label) override;
    void HideSending() override;

    QLabel* Label1() const { return label1_; }
    QPushButton* Command1() const { return command1_; }

  protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void Command1_Click();

    Session& s_;
    QLabel* label1_;
    QPushButton* command1_;
};

}  // namespace sondix
