// How the port's settings and handshaking codes translate into QSerialPort's terms.
#pragma once

#include <QSerialPort>

#include "terminal/comm_settings.h"

namespace sondix {

QSerialPort::DataBits ToDataBits(int dataBits);
QSerialPort::Parity ToParity(char parityLetter);
QSerialPort::StopBits ToStopBits(StopBits stop);
QSerialPort::FlowControl ToFlowControl(int handshaking);

}  // namespace sondix
