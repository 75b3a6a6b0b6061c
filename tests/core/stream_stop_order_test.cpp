// A command button pressed while a stream runs stops the stream first, so the sensor sees "}"
// or "]" before the command and its answer is read; the Results button with the port closed
// says so and shows no value.
#include <gtest/gtest.h>

#include <string>

#include "session_fixture.h"
#include "terminal/main_window.h"

namespace sondix {
namespace {

using test::SessionFixture;

enum class Stream { Results, Spectrum, SpectrumBeforeFirst };

void StartStream(SessionFixture& f, Stream stream) {
    if (stream == Stream::Results) {
        cmdRptDist_Click(f.s);
        f.s.parser.AutoResults_status = kWaitHeader;
    } else {
        cmdRptSpect_Click(f.s);
        if (stream == Stream::Spectrum) {
            LoadGraphWindow(f.s);
            f.s.parser.AutoSpect_status = kWaitHeader;
        }
    }
    f.port.sent.clear();
}

struct StopCase {
    const char* name;
    void (*click)(Session&);
    Stream stream;
    const char* sent;
};

const StopCase kCases[] = {
    {"RefreshDuringResults", cmdRefresh_Click, Stream::Results, "}P"},
    {"RefreshDuringSpectrum", cmdRefresh_Click, Stream::Spectrum, "]P"},
    {"RefreshBeforeFirstSpectrum", cmdRefresh_Click, Stream::SpectrumBeforeFirst, "]P"},
    {"ScopeDuringResults", cmdScope_Click, Stream::Results, "}D"},
    {"ScopeBeforeFirstSpectrum", cmdScope_Click, Stream::SpectrumBeforeFirst, "]D"},
    {"SpectDuringSpectrum", cmdSpect_Click, Stream::Spectrum, "]F"},
    {"RampDuringResults", cmdRamp_Click, Stream::Results, "}y"},
    {"HistDuringSpectrum", cmdHist_Click, Stream::Spectrum, "]H"},
    {"ResultsBeforeFirstSpectrum", cmdRptDist_Click, Stream::SpectrumBeforeFirst, "]{"},
    {"StartSpecDuringResults", cmdRptSpect_Click, Stream::Results, "}["},
};

TEST(StreamStopOrder, TheStreamStopsBeforeTheCommandGoesOut) {
    for (const StopCase& c : kCases) {
        SessionFixture f;
        StartStream(f, c.stream);
        c.click(f.s);
        EXPECT_EQ(f.port.sent, c.sent) << c.name;
        // The command's answer is the one read next.
        EXPECT_EQ(f.s.CommandKey, KeyCode(c.sent[1])) << c.name;
    }
}

TEST(StreamStopOrder, ResultsWithThePortClosedSaysSoAndShowsNoValue) {
    SessionFixture f;
    f.port.open = false;
    const ButtonFace idle = f.s.cmdRptDist;
    cmdRptDist_Click(f.s);
    EXPECT_EQ(f.s.cmdRptDist.caption, idle.caption);
    EXPECT_EQ(f.s.cmdRptDist.face, idle.face);
    EXPECT_NE(f.host.statusPanel.find("closed"), std::string::npos) << f.host.statusPanel;
    EXPECT_EQ(f.s.results.txtOutputvalue, "");

    f.port.open = true;
    cmdRptDist_Click(f.s);
    EXPECT_TRUE(f.host.resultsWindow);
    EXPECT_EQ(f.s.results.txtOutputvalue, "");  // until the first line arrives
}

}  // namespace
}  // namespace sondix
