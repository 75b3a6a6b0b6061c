// A live session with the sensor: the program's core (Session, ShowData, send_cmd) on the real
// serial port and QtCore's event loop, without windows. Message boxes the core would show are
// recorded and become the command's error; the windows' models are read instead of drawn.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "live_options.h"
#include "progress.h"
#include "response/graph_model.h"
#include "terminal/headless_io.h"
#include "terminal/session.h"
#include "terminal/ui/mscomm.h"
#include "terminal/ui/qt_core_platform.h"

namespace sondix::cli {

// The program's port with a tap: what the core reads is also kept for the tool (raw, the "s"
// replies) and the time of the last byte tells a silent sensor from a slow line.
class TapPort : public CommPort {
  public:
    TapPort(CommPort& inner, Clock& clock) : inner_(inner), clock_(clock) {}
    bool PortOpen() const override { return inner_.PortOpen(); }
    std::string SetPortOpen(bool open) override { return inner_.SetPortOpen(open); }
    std::string Output(std::string_view bytes) override { return inner_.Output(bytes); }
    std::string Input() override;
    int OutBufferCount() const override { return inner_.OutBufferCount(); }
    int OutBufferSize() const override { return inner_.OutBufferSize(); }
    std::string Settings() const override { return inner_.Settings(); }
    std::string SetSettings(std::string_view s) override { return inner_.SetSettings(s); }
    int CommPortNumber() const override { return inner_.CommPortNumber(); }
    std::string SetCommPortNumber(int n) override { return inner_.SetCommPortNumber(n); }
    int Handshaking() const override { return inner_.Handshaking(); }
    std::string SetHandshaking(int code) override { return inner_.SetHandshaking(code); }
    std::string PortName() const override { return inner_.PortName(); }
    std::string SetPortName(std::string_view path) override { return inner_.SetPortName(path); }
    std::string LastErrorText() const override { return inner_.LastErrorText(); }

    std::string received;  // everything read, in order
    double lastByte = 0;   // monotonic seconds of the last byte (or of the last Begin)

  private:
    CommPort& inner_;
    Clock& clock_;
};

class LiveLink {
  public:
    explicit LiveLink(const LiveOptions& o);
    LiveLink(const LiveLink&) = delete;
    LiveLink& operator=(const LiveLink&) = delete;

    // Opens the port as the program would (its stored settings, then --port and --settings);
    // kExitOk or kExitPort with the reason on standard error.
    int Open();

    // Waits with events processed until `done` holds: kExitOk; kExitNoAnswer when no byte came
    // for the timeout; kExitFraming or kExitPort when the core raised its error box. The error is
    // on standard error. `expected`: the bytes the answer will hold, for the progress line
    // (0: unknown).
    int Await(const std::function<bool()>& done, std::string_view what,
              const std::function<long long()>& expected = {});

    // "P": the listing into the mirror, and the unit's name for chart titles.
    int ReadListing();

    // Restarts the no-answer clock and forgets earlier data (before a new command).
    void Begin();

    Session& s() { return s_; }
    QtClock clock;
    MSComm comm;
    TapPort tap{comm, clock};
    RecordingAsker asker;
    RecordingHost host;
    StringTextBox term;
    std::vector<GraphModel> graphs;  // the chart at each ShowGraph
    std::size_t resultsSeen = 0;     // ResultsChanged calls
    std::size_t histShows = 0;       // ShowHistWindow calls

  private:
    int Fault();

    const LiveOptions& o_;
    Session s_;
    Progress progress_;
};

}  // namespace sondix::cli
