// A pseudo-terminal pair standing in for a serial line in tests.
//
// The program under test opens slavePath() as if it were a serial device; the test plays the
// sensor on the master side. Both sides start in raw mode (cfmakeraw: no echo, no line editing,
// no CR/LF translation), so every byte value 0x00..0xFF crosses unchanged. The fixture keeps its
// own slave descriptor open for its whole life, so bytes written to the master before the
// program opens the slave wait in the line instead of being lost, and the master never sees a
// hang-up when the program closes its side. closeMaster() is the "far side went away" event
// (an unplugged USB adapter): the program's reads on the slave then fail.
//
// Reads and writes are poll-based with a timeout in milliseconds and never block for longer.
// Construction throws std::runtime_error when no pseudo-terminal can be had.
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

    // Device path of the slave side, e.g. "/dev/pts/3".
    const std::string& slavePath() const { return slavePath_; }
    // The fixture's own slave descriptor: tcgetattr() on it shows the line settings that the
    // program applied to the slave (the program may hold the slave exclusively, so a second
    // open of slavePath() can fail).
    int slaveFd() const { return slave_; }

    // Writes all bytes to the master; false when they could not all go within `timeoutMs`.
    bool writeMaster(std::string_view bytes, int timeoutMs = 1000);
    // Reads from the master until `n` bytes have arrived or `timeoutMs` has passed; returns what
    // arrived (possibly fewer than n, never more).
    std::string readMaster(std::size_t n, int timeoutMs);
    // Closes the master side now; the slave side sees a hang-up.
    void closeMaster();

  private:
    // Appends at most `limit` bytes that arrive before the deadline; false on timeout or error.
    bool readSome(std::string& into, std::size_t limit, long long deadlineMs);

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace sondix::test
