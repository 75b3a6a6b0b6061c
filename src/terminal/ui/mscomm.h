// MSComm1: the program's serial port over QSerialPort. Everything runs on the user-interface
// thread; the port reports through the OnComm signal with the event codes of the port event
// handler (2 data received, 3..6 modem lines, 1010 a failed write, 1100 the device was lost).
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <string>
#include <string_view>
#include <utility>

#include "common/platform.h"
#include "terminal/comm_settings.h"

namespace sondix {

class MSComm : public QObject, public CommPort {
    Q_OBJECT
  public:
    static constexpr int kEvReceive = 2;
    static constexpr int kEvCts = 3;
    static constexpr int kEvDsr = 4;
    static constexpr int kEvCd = 5;
    static constexpr int kEvRing = 6;
    static constexpr int kErTxFull = 1010;
    // Not one of the classic control's codes: the device went away (adapter unplugged, far end
    // of a pseudo-terminal closed) and the port has been closed. LastErrorText() says why.
    static constexpr int kErDeviceLost = 1100;
    static constexpr int kOutBufferSize = 512;  // the classic control's default
    static constexpr int kModemPollMs = 100;

    // Reads SONDIX_PORT from the environment once (see SetEnvironmentPort).
    explicit MSComm(QObject* parent = nullptr);
    ~MSComm() override;

    bool PortOpen() const override;
    std::string SetPortOpen(bool open) override;
    std::string Output(std::string_view bytes) override;
    std::string Input() override;
    int OutBufferCount() const override;
    int OutBufferSize() const override { return kOutBufferSize; }
    std::string Settings() const override { return FormatCommSettings(settings_); }
    std::string SetSettings(std::string_view settings) override;
    int CommPortNumber() const override { return commPort_; }
    std::string SetCommPortNumber(int n) override;
    int Handshaking() const override { return handshaking_; }
    std::string SetHandshaking(int code) override;
    std::string LastErrorText() const override { return lastError_; }
    // The SONDIX_PORT override while there is one, else the "PortName" setting.
    std::string PortName() const override;
    // A choice made in the properties dialog, which also ends the SONDIX_PORT override.
    std::string SetPortName(std::string_view path) override;
    std::string DeviceName() const override { return openDevice_; }

    // The code of the event being reported (valid inside an OnComm handler).
    int CommEvent() const { return commEvent_; }

    // The per-user "PortName" device path ("" = derive it from the port number).
    void SetPortNameSetting(std::string path) { portNameSetting_ = std::move(path); }
    // The SONDIX_PORT override for this run ("" = none).
    void SetEnvironmentPort(std::string path) { envPort_ = std::move(path); }
    // The device the next open uses.
    std::string DevicePath() const;

  signals:
    void OnComm(int code);

  private:
    void Raise(int code);
    void HandleError(QSerialPort::SerialPortError error);
    void FinishDeviceLost();
    void FinishWriteError();
    void PollModemLines();
    void StartModemPolling();
    bool DeviceUsable() const;
    bool HungUp() const;
    std::string LostText() const;
    std::string Apply(const CommSettings& s);
    std::string ApplyFlowControl(int code);
    std::string ErrorText() const;

    QSerialPort port_;
    QTimer modemTimer_;
    CommSettings settings_;
    int commPort_ = 1;
    int handshaking_ = 0;
    int commEvent_ = 0;
    std::string lastError_;
    std::string portNameSetting_;
    std::string envPort_;
    std::string openDevice_;
    QSerialPort::PinoutSignals lines_;
    bool lost_ = false;               // the device is gone; the close is queued
    bool writeErrorPending_ = false;  // a 1010 is queued
};

}  // namespace sondix
