// Shared pieces of the end-to-end tests: the main window connected to a running simulated
// sensor, event pumping with a condition, screenshots for a person to look at.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "history/ui/frmResults.h"
#include "memory_settings_store.h"
#include "response/ui/frmGraph.h"
#include "sim_process.h"
#include "terminal/headless_io.h"
#include "terminal/ui/frmTerminal.h"

namespace sondix::test {

// Runs the event loop (asleep while nothing happens, handling each event as it comes, as the
// program runs for a user) until `done` holds or `ms` have passed; returns whether it held.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

inline void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
}

// The program's pauses shortened `by` times: an unpaced simulator answers at once.
struct QuickClock : QtClock {
    explicit QuickClock(double by = 4) : by_(by) {}
    void Wait(double seconds) override { QtClock::Wait(seconds / by_); }

  private:
    double by_;
};

// A picture of a window in the build's test-output folder.
inline QString SaveScreenshot(QWidget* w, const QString& name) {
    QDir().mkpath(SONDIX_TEST_OUT);
    const QString path = QString(SONDIX_TEST_OUT) + "/" + name + ".png";
    w->grab().save(path);
    return path;
}

// The port as the session sees it, passing every call on to the window's real port and counting
// what each receive event read (bytes, line ends, answers' terminators, even one split between
// two blocks); when `keep`, also keeping it, so that a test can compare or decode the same bytes.
class ReceiveTap : public CommPort {
  public:
    explicit ReceiveTap(Session& s, bool keep = true) : s_(s), port_(s.io.port), keep_(keep) {
        s_.io.port = this;
    }
    ~ReceiveTap() override { s_.io.port = port_; }
    ReceiveTap(const ReceiveTap&) = delete;
    ReceiveTap& operator=(const ReceiveTap&) = delete;

    std::string Input() override {
        std::string block = port_->Input();
        if (keep_) received += block;
        if (!block.empty()) ++blocks;
        bytes += block.size();
        lines += std::ranges::count(block, '\n');
        const std::string seen = tail_ + block;
        for (auto at = seen.find(kEnd); at != std::string::npos; at = seen.find(kEnd, at + 1))
            ++terminators;
        tail_ = seen.substr(seen.size() - std::min(seen.size(), kEnd.size() - 1));
        return block;
    }
    void Clear() {
        received.clear();
        blocks = 0;
    }

    bool PortOpen() const override { return port_->PortOpen(); }
    std::string SetPortOpen(bool open) override { return port_->SetPortOpen(open); }
    std::string Output(std::string_view bytes) override { return port_->Output(bytes); }
    int OutBufferCount() const override { return port_->OutBufferCount(); }
    int OutBufferSize() const override { return port_->OutBufferSize(); }
    std::string Settings() const override { return port_->Settings(); }
    std::string SetSettings(std::string_view s) override { return port_->SetSettings(s); }
    int CommPortNumber() const override { return port_->CommPortNumber(); }
    std::string SetCommPortNumber(int n) override { return port_->SetCommPortNumber(n); }
    int Handshaking() const override { return port_->Handshaking(); }
    std::string SetHandshaking(int code) override { return port_->SetHandshaking(code); }
    std::string PortName() const override { return port_->PortName(); }
    std::string SetPortName(std::string_view path) override { return port_->SetPortName(path); }
    std::string LastErrorText() const override { return port_->LastErrorText(); }
    std::string DeviceName() const override { return port_->DeviceName(); }

    std::string received;
    int blocks = 0;
    std::size_t bytes = 0, lines = 0, terminators = 0;

  private:
    static constexpr std::string_view kEnd = "  ***  ";
    Session& s_;
    CommPort* port_;
    bool keep_;
    std::string tail_;
};

// frmTerminal on the device of a fresh sondix-sim, started with `simOptions` (unpaced unless
// the options say otherwise), after its start-up has run; `clock` (if given) times its pauses,
// `device` (if given) is the port it opens instead of the simulator's own device.
struct SimulatedSession {
    SimProcess sim;
    MemorySettingsStore store;
    RecordingAsker asker;
    std::unique_ptr<frmTerminal> w;

    explicit SimulatedSession(std::vector<std::string> simOptions = {},
                              std::vector<std::string> args = {}, Clock* clock = nullptr,
                              const std::string& device = "")
        : sim(WithBaud(std::move(simOptions))) {
        setenv("SONDIX_PORT", device.empty() ? sim.device().c_str() : device.c_str(), 1);
        w = std::make_unique<frmTerminal>(std::move(args), store, &asker, clock);
        unsetenv("SONDIX_PORT");
        w->show();
        w->Form_Load();
    }
    Session& s() { return w->session(); }

  private:
    static std::vector<std::string> WithBaud(std::vector<std::string> o) {
        if (std::ranges::find(o, "--baud") == o.end()) o.insert(o.begin(), {"--baud", "0"});
        return o;
    }
};

}  // namespace sondix::test
