// Helpers of the core tests: a session on the headless fakes fed with blocks, captures read from
// tests/data, an action run inside one of the session's own pauses, the boxes asked as text.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "response/show_data.h"
#include "session_fixture.h"
#include "test_files.h"

namespace sondix::test {

using V = std::vector<std::string>;

inline void Feed(SessionFixture& f, std::string block) {
    ShowData(f.s, f.term, block);
}

inline std::string Capture(const std::string& name) {
    return Slurp(std::string(SONDIX_TEST_DATA) + "/" + name);
}

// Runs act once, at the first event-loop pass of a pause for which when() holds: the window is on
// the screen during pauses, so clicks and port events land there.
inline void OnceDuring(SessionFixture& f, std::function<bool()> when, std::function<void()> act) {
    f.clock.onEvents = [when, act, done = false]() mutable {
        if (done || !when()) return;
        done = true;
        act();
    };
}

// "title: text" of every box asked, one a line.
inline std::string Boxes(const SessionFixture& f) {
    std::string out;
    for (const AskedMessage& m : f.asker.asked)
        out += m.title + ": " + m.text + "\n";
    return out;
}

}  // namespace sondix::test
