// A command button pressed while a stream runs stops the stream first, so the sensor sees "}"
// or "]" before the command and its answer is read; Results with the port closed says so.
#include <gtest/gtest.h>

#include "session_fixture.h"
#include "terminal/main_window.h"

namespace sondix {
namespace {

enum Stream { kResults, kSpectrum, kBeforeFirstSpectrum };

TEST(StreamStopOrder, TheStreamStopsBeforeTheCommandGoesOut) {
    const struct {
        void (*click)(Session&);
        Stream stream;
        const char* sent;
    } cases[] = {
        {cmdRefresh_Click, kResults, "}P"},
        {cmdRefresh_Click, kSpectrum, "]P"},
        {cmdRefresh_Click, kBeforeFirstSpectrum, "]P"},
        {cmdScope_Click, kBeforeFirstSpectrum, "]D"},
        {cmdSpect_Click, kSpectrum, "]F"},
        {cmdRamp_Click, kResults, "}y"},
        {cmdHist_Click, kSpectrum, "]H"},
        {cmdRptDist_Click, kBeforeFirstSpectrum, "]{"},
        {cmdRptSpect_Click, kResults, "}["},
    };
    for (const auto& c : cases) {
        test::SessionFixture f;
        (c.stream == kResults ? cmdRptDist_Click : cmdRptSpect_Click)(f.s);
        if (c.stream == kSpectrum) {
            LoadGraphWindow(f.s);
            f.s.parser.AutoSpect_status = kWaitHeader;
        }
        f.port.sent.clear();
        c.click(f.s);
        EXPECT_EQ(f.port.sent, c.sent);
        EXPECT_EQ(f.s.CommandKey, KeyCode(c.sent[1])) << c.sent;  // its answer is read next
    }
}

TEST(StreamStopOrder, ResultsWithThePortClosedSaysSoAndNoValueShowsBeforeAReading) {
    test::SessionFixture f;
    f.port.open = false;
    cmdRptDist_Click(f.s);
    EXPECT_EQ(f.s.cmdRptDist.caption, Session{}.cmdRptDist.caption);
    EXPECT_NE(f.host.statusPanel.find("closed"), std::string::npos) << f.host.statusPanel;
    f.port.open = true;
    cmdRptDist_Click(f.s);
    EXPECT_TRUE(f.host.resultsWindow);
    EXPECT_EQ(f.s.results.txtOutputvalue, "");
}

}  // namespace
}  // namespace sondix
