// Shared pieces of the end-to-end tests: the main window connected to a running simulated
// sensor, event pumping with a condition, screenshots for a person to look at.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "history/ui/frmResults.h"
#include "memory_settings_store.h"
#include "response/ui/frmGraph.h"
#include "sim_process.h"
#include "terminal/headless_io.h"
#include "terminal/ui/frmTerminal.h"

namespace sondix::test {

// Processes events until `done` holds or `ms` have passed; returns whether it held.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (done()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

inline void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
}

// A picture of a window in the build's test-output folder.
inline QString SaveScreenshot(QWidget* w, const QString& name) {
    QDir().mkpath(SONDIX_TEST_OUT);
    const QString path = QString(SONDIX_TEST_OUT) + "/" + name + ".png";
    w->grab().save(path);
    return path;
}

// frmTerminal on the device of a fresh sondix-sim, started with `simOptions` (unpaced unless
// the options say otherwise), after its start-up has run.
struct SimulatedSession {
    SimProcess sim;
    MemorySettingsStore store;
    RecordingAsker asker;
    std::unique_ptr<frmTerminal> w;

    explicit SimulatedSession(std::vector<std::string> simOptions = {},
                              std::vector<std::string> args = {})
        : sim(WithBaud(std::move(simOptions))) {
        setenv("SONDIX_PORT", sim.device().c_str(), 1);
        w = std::make_unique<frmTerminal>(std::move(args), store, &asker);
        unsetenv("SONDIX_PORT");
        w->show();
        w->Form_Load();
    }
    Session& s() { return w->session(); }

  private:
    static std::vector<std::string> WithBaud(std::vector<std::string> o) {
        for (const auto& x : o)
            if (x == "--baud") return o;
        o.insert(o.begin(), {"--baud", "0"});
        return o;
    }
};

}  // namespace sondix::test
