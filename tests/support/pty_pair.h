// A pseudo-terminal pair standing in for a serial line: the program opens slavePath(), the test
// plays the sensor on the master side. Both sides are raw, so every byte crosses unchanged; the
// fixture holds the slave open, so early bytes wait and the program's close is no hang-up.
// closeMaster() is the unplugged adapter. Reads and writes poll with a timeout in milliseconds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sondix::test {

class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // The slave side's path ("/dev/pts/3") and the fixture's own descriptor of it (tcgetattr()
    // on it shows the program's line settings).
    const std::string& slavePath() const { return slavePath_; }
    int slaveFd() const { return slave_; }

    // Writes all bytes to the master; false when they could not all go within `timeoutMs`.
    bool writeMaster(std::string_view bytes, int timeoutMs = 1000);
    // What arrives within `timeoutMs`, at most `n` bytes.
    std::string readMaster(std::size_t n, int timeoutMs);
    // Closes the master side now; the slave side sees a hang-up.
    void closeMaster();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace sondix::test
