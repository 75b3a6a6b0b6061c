// How the port's settings and handshaking codes translate into QSerialPort's terms.
#pragma once

#include <QSerialPort>
#include <string>
#include <vector>

#include "terminal/comm_settings.h"

namespace sondix {

QSerialPort::DataBits ToDataBits(int dataBits);
QSerialPort::Parity ToParity(char parityLetter);
QSerialPort::StopBits ToStopBits(StopBits stop);
QSerialPort::FlowControl ToFlowControl(int handshaking);

// The port events for a change of the modem lines from `before` to `now`, in the order CTS (3),
// DSR (4), CD (5), ring (6). Ring is reported when the indicator comes on, not when it goes off.
std::vector<int> ModemLineEvents(QSerialPort::PinoutSignals before, QSerialPort::PinoutSignals now);

// Why an open failed, in the user's terms: a device held by another program (Qt says
// "Permission error while locking the device", or the kernel "Device or resource busy") is
// named so; other failures keep Qt's text.
std::string OpenErrorText(QSerialPort::SerialPortError error, const std::string& qtText);

}  // namespace sondix
