// A Session wired to the headless fakes, for core tests.
#pragma once

#include "terminal/headless_io.h"
#include "terminal/session.h"

namespace sondix::test {

struct SessionFixture {
    RecordingPort port;
    RecordingAsker asker;
    ManualClock clock;
    RecordingHost host;
    StringTextBox term;
    Session s;

    SessionFixture() {
        s.io = Outside{&port, &asker, &clock, &host, &term};
        port.open = true;
    }
};

}  // namespace sondix::test
