// How the port's settings and handshaking codes translate into QSerialPort's terms.
#pragma once

#include <QSerialPort>
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

}  // namespace sondix
