// The device the host opens: the slave side of a pseudo-terminal whose master the simulator
// keeps for its whole run, whether a client is connected or not.
#pragma once

#include <string>

namespace sondix::sim {

class PtyPort {
  public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Opens the pair: master non-blocking, slave side in raw mode. False with `error` set.
    bool Open(std::string& error);
    // Raw mode for the slave side (no echo, no line editing, no CR/LF translation). Applied
    // again whenever a client connects, since a client may have left other settings behind.
    bool MakeRaw();
    // Closes the master: the client's reads and writes fail as on an unplugged adapter.
    void Close();

    int Fd() const { return fd_; }
    const std::string& DevicePath() const { return path_; }

  private:
    int fd_ = -1;
    std::string path_;
};

// A symbolic link to the device, removed again when this object goes.
class DeviceLink {
  public:
    DeviceLink() = default;
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Creates `link` pointing at `target`; an existing link of that name is replaced.
    bool Create(const std::string& target, const std::string& link, std::string& error);
    void Remove();

  private:
    std::string path_;
};

}  // namespace sondix::sim
