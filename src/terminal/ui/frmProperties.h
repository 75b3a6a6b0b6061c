// frmProperties ("CommPort Properties"): the port, its speed, data format, flow control, local
// echo and automatic reconnection. The rules live in terminal/port_properties.h; this window
// shows the lists and hands the choices over.
#pragma once

#include <QDialog>
#include <vector>

#include "terminal/port_properties.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QTabWidget;

namespace sondix {

// The serial devices the system reports (QSerialPortInfo), with description and USB ids.
std::vector<SerialDevice> SystemSerialDevices();

class frmProperties : public QDialog {
    Q_OBJECT
  public:
    frmProperties(Session& s, SettingsStore& store, std::vector<SerialDevice> devices,
                  QWidget* parent = nullptr);

    // What the controls show now.
    PropertyChoices Choices() const;
    void cmdOK_Click();

  private:
    void BuildControls();
    void LoadPropertySettings();

    Session& s_;
    SettingsStore& store_;
    std::vector<PortEntry> entries_;
    QTabWidget* tabSettings_ = nullptr;
    QComboBox* cboPort_ = nullptr;
    QComboBox* cboSpeed_ = nullptr;
    QComboBox* cboDataBits_ = nullptr;
    QComboBox* cboParity_ = nullptr;
    QComboBox* cboStopBits_ = nullptr;
    QButtonGroup* optFlow_ = nullptr;
    QButtonGroup* optEcho_ = nullptr;
    QCheckBox* chkReconnect_ = nullptr;
};

}  // namespace sondix
