#include "terminal/ui/mscomm_mapping.h"

#include <array>

namespace sondix {

QSerialPort::DataBits ToDataBits(int n) {
    switch (n) {
        case 5:
            return QSerialPort::Data5;
        case 6:
            return QSerialPort::Data6;
        case 7:
            return QSerialPort::Data7;
        default:
            return QSerialPort::Data8;
    }
}

QSerialPort::Parity ToParity(char letter) {
    switch (letter) {
        case 'e':
            return QSerialPort::EvenParity;
        case 'o':
            return QSerialPort::OddParity;
        case 'm':
            return QSerialPort::MarkParity;
        case 's':
            return QSerialPort::SpaceParity;
        default:
            return QSerialPort::NoParity;
    }
}

// A UART has no setting of its own for 1.5 stop bits: after 5-bit characters its "2 stop bits"
// bit sends 1.5, and that is the only place 1.5 exists. QSerialPort on Linux would quietly turn
// OneAndHalfStop into one stop bit, so 1.5 goes out as TwoStop; the settings rules allow 1.5
// only with 5 data bits and never 2 with 5, so TwoStop is unambiguous.
QSerialPort::StopBits ToStopBits(StopBits stop) {
    return stop == StopBits::One ? QSerialPort::OneStop : QSerialPort::TwoStop;
}

QSerialPort::FlowControl ToFlowControl(int handshaking) {
    switch (handshaking) {
        case 1:
            return QSerialPort::SoftwareControl;
        case 2:
            return QSerialPort::HardwareControl;
        case 3:
            // "XON/XOFF and RTS": QSerialPort offers one flow control at a time. Hardware flow
            // control is the half that protects our receive buffer (the sensor stops when RTS
            // drops), and the sensor's plain-text answers never need XON/XOFF bytes in band, so
            // this code behaves as RTS/CTS. Choosing XON/XOFF instead would also make 0x11 and
            // 0x13 vanish from the received bytes.
            return QSerialPort::HardwareControl;
        default:
            return QSerialPort::NoFlowControl;
    }
}

std::vector<int> ModemLineEvents(QSerialPort::PinoutSignals before,
                                 QSerialPort::PinoutSignals now) {
    struct LineEvent {
        QSerialPort::PinoutSignal line;
        int code;
    };
    constexpr std::array kLineEvents{LineEvent{QSerialPort::ClearToSendSignal, 3},
                                     LineEvent{QSerialPort::DataSetReadySignal, 4},
                                     LineEvent{QSerialPort::DataCarrierDetectSignal, 5}};
    const auto changed = before ^ now;
    std::vector<int> codes;
    for (const auto& ev : kLineEvents) {
        if (changed.testFlag(ev.line)) codes.push_back(ev.code);
    }
    if (changed.testFlag(QSerialPort::RingIndicatorSignal) &&
        now.testFlag(QSerialPort::RingIndicatorSignal)) {
        codes.push_back(6);
    }
    return codes;
}

std::string OpenErrorText(QSerialPort::SerialPortError error, const std::string& qtText) {
    const bool held =
        qtText.find("locking") != std::string::npos || qtText.find("busy") != std::string::npos;
    if (error == QSerialPort::PermissionError && held) {
        return "the device is in use by another program";
    }
    return qtText;
}

}  // namespace sondix
