#include "terminal/ui/mscomm.h"

#include <poll.h>

#include <QByteArray>
#include <QMetaObject>
#include <QString>
#include <algorithm>
#include <climits>

#include "terminal/port_naming.h"
#include "terminal/ui/mscomm_mapping.h"

namespace sondix {
namespace {

constexpr std::string_view kNotOpen = "Operation valid only when the port is open";

}  // namespace

MSComm::MSComm(QObject* parent)
    : QObject(parent), envPort_(qEnvironmentVariable("SONDIX_PORT").toStdString()) {
    modemTimer_.setInterval(kModemPollMs);
    connect(&modemTimer_, &QTimer::timeout, this, &MSComm::PollModemLines);
    // Queued, so that the receive handler runs from the event loop and not inside QSerialPort's
    // read notification: QSerialPort emits no further readyRead while a readyRead slot is still
    // running, and the handler may wait with events processed (a fault box, a pause), during
    // which newly arrived data must raise its own event. Bytes that arrived just before the
    // device was lost are still announced before the loss.
    connect(
        &port_, &QSerialPort::readyRead, this,
        [this] {
            if (port_.isOpen()) Raise(kEvReceive);
        },
        Qt::QueuedConnection);
    // Direct, so that the first fatal error is caught before QSerialPort repeats it.
    connect(&port_, &QSerialPort::errorOccurred, this, &MSComm::HandleError);
}

MSComm::~MSComm() {
    modemTimer_.stop();
    port_.disconnect(this);
    if (port_.isOpen()) port_.close();
}

std::string MSComm::DevicePath() const {
    return DeviceForPort(commPort_, portNameSetting_, envPort_);
}

bool MSComm::PortOpen() const {
    return port_.isOpen() && !lost_;
}

std::string MSComm::SetPortOpen(bool open) {
    if (!open) {
        modemTimer_.stop();
        if (port_.isOpen()) port_.close();
        port_.clearError();
        return {};
    }
    if (lost_) return lastError_;  // the loss is reported before the port can open again
    if (port_.isOpen()) return {};
    const std::string device = DevicePath();
    if (device.empty()) return "Invalid port number " + std::to_string(commPort_);
    port_.setPortName(QString::fromLocal8Bit(device.data(), static_cast<qsizetype>(device.size())));
    // On a closed port these only record the values; open() applies them.
    Apply(settings_);
    port_.setFlowControl(ToFlowControl(handshaking_));
    if (!port_.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = port_.error();
        const std::string why = ErrorText();
        const std::string shown = OpenErrorText(error, why);
        std::string text = "Cannot open port " + device + ": " + shown;
        // Not held by another program: the user may lack the right to open the device.
        if (error == QSerialPort::PermissionError && shown == why) text += PermissionHint(device);
        port_.clearError();
        return text;
    }
    lastError_.clear();
    openDevice_ = device;
    StartModemPolling();
    return {};
}

std::string MSComm::Output(std::string_view bytes) {
    if (!PortOpen()) return std::string(kNotOpen);
    if (bytes.empty()) return {};
    const auto size = static_cast<qint64>(bytes.size());
    if (port_.write(bytes.data(), size) != size) {
        std::string text = ErrorText();
        port_.clearError();
        return text;
    }
    return {};
}

std::string MSComm::Input() {
    if (!port_.isOpen()) return {};
    const QByteArray data = port_.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

int MSComm::OutBufferCount() const {
    if (!port_.isOpen()) return 0;
    return static_cast<int>(std::min<qint64>(port_.bytesToWrite(), INT_MAX));
}

std::string MSComm::SetSettings(std::string_view settings) {
    CommSettings next = settings_;
    if (auto why = ParseCommSettings(settings, next); !why.empty()) return why;
    if (auto why = Apply(next); !why.empty()) {
        Apply(settings_);
        return why;
    }
    settings_ = next;
    return {};
}

std::string MSComm::SetCommPortNumber(int n) {
    if (port_.isOpen()) return "Port already open: the port number can change only while closed";
    if (n < 1) return "Invalid port number " + std::to_string(n);
    commPort_ = n;
    return {};
}

std::string MSComm::PortName() const {
    return envPort_.empty() ? portNameSetting_ : envPort_;
}

std::string MSComm::SetPortName(std::string_view path) {
    if (port_.isOpen()) return "Port already open: the port can change only while closed";
    portNameSetting_ = path;
    envPort_.clear();
    return {};
}

std::string MSComm::SetHandshaking(int code) {
    if (auto why = ValidateHandshaking(code); !why.empty()) return why;
    if (!port_.setFlowControl(ToFlowControl(code))) {
        std::string text = "Cannot set handshaking " + std::to_string(code) + ": " + ErrorText();
        port_.clearError();
        return text;
    }
    handshaking_ = code;
    return {};
}

std::string MSComm::Apply(const CommSettings& s) {
    const bool ok = port_.setBaudRate(s.baud) && port_.setDataBits(ToDataBits(s.dataBits)) &&
                    port_.setParity(ToParity(s.parity)) && port_.setStopBits(ToStopBits(s.stop));
    if (ok) return {};
    std::string text =
        "Cannot apply port settings \"" + FormatCommSettings(s) + "\": " + ErrorText();
    port_.clearError();
    return text;
}

std::string MSComm::ErrorText() const {
    return port_.errorString().toLatin1().toStdString();
}

void MSComm::Raise(int code) {
    commEvent_ = code;
    emit OnComm(code);
}

void MSComm::HandleError(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::NoError:
        case QSerialPort::DeviceNotFoundError:  // open-time errors: SetPortOpen reports them
        case QSerialPort::PermissionError:
        case QSerialPort::OpenError:
        case QSerialPort::UnsupportedOperationError:  // no modem lines, unsupported speed
        case QSerialPort::TimeoutError:
            return;
        case QSerialPort::WriteError:
            if (!PortOpen() || writeErrorPending_) return;
            lastError_ = ErrorText();
            writeErrorPending_ = true;
            QMetaObject::invokeMethod(this, &MSComm::FinishWriteError, Qt::QueuedConnection);
            return;
        case QSerialPort::ReadError:
        case QSerialPort::ResourceError:
            break;
        default:
            if (DeviceUsable()) return;
            break;
    }
    if (!port_.isOpen() || lost_) return;
    // The far side is gone. QSerialPort keeps reporting the failed read in a tight loop until the
    // port is closed, but it reports from inside its own read notifier, which close() deletes:
    // the close waits for the event loop, the port counts as closed from now on, and every
    // repetition until then is ignored, so the loss is reported exactly once.
    lost_ = true;
    lastError_ = LostText();
    modemTimer_.stop();
    QMetaObject::invokeMethod(this, &MSComm::FinishDeviceLost, Qt::QueuedConnection);
}

void MSComm::FinishDeviceLost() {
    if (!lost_) return;
    if (port_.isOpen()) port_.close();
    port_.clearError();
    lost_ = false;
    Raise(kErDeviceLost);
}

void MSComm::FinishWriteError() {
    writeErrorPending_ = false;
    if (!PortOpen()) return;  // a lost device is reported as such
    // Dropped: kept, the unsendable bytes would be retried and fail at every write notification.
    port_.clear(QSerialPort::Output);
    port_.clearError();
    Raise(kErTxFull);
}

std::string MSComm::LostText() const {
    const std::string lead = "Connection to " + openDevice_ + " lost: ";
    // A hung-up line reads as end of file, and QSerialPort then names whatever errno was left
    // over from an earlier call; the hang-up itself is the better explanation.
    if (HungUp()) return lead + "the device hung up (unplugged, or its far end closed)";
    return lead + ErrorText();
}

bool MSComm::HungUp() const {
    if (port_.handle() < 0) return false;
    pollfd p{port_.handle(), 0, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP) != 0;
}

bool MSComm::DeviceUsable() const {
    if (!port_.isOpen() || port_.handle() < 0) return false;
    pollfd p{port_.handle(), 0, 0};
    if (::poll(&p, 1, 0) < 0) return false;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
}

void MSComm::StartModemPolling() {
    // A pseudo-terminal has no modem lines: reading them fails with UnsupportedOperationError.
    // Then there is nothing to watch, and that is no fault to show.
    port_.clearError();
    lines_ = port_.pinoutSignals();
    if (port_.error() != QSerialPort::NoError) {
        port_.clearError();
        return;
    }
    modemTimer_.start();
}

void MSComm::PollModemLines() {
    if (!PortOpen()) {
        modemTimer_.stop();
        return;
    }
    port_.clearError();
    const auto now = port_.pinoutSignals();
    if (port_.error() != QSerialPort::NoError) {
        // The lines cannot be read any more; a lost device has been handled by HandleError.
        modemTimer_.stop();
        if (!lost_) port_.clearError();
        return;
    }
    const auto before = lines_;
    lines_ = now;
    for (int code : ModemLineEvents(before, now)) {
        Raise(code);
    }
}

}  // namespace sondix
