// Faults found trying the program, one case table or test each: single-precision rounding in
// pictures, workbook cells, the spectrum's y axis, the label after a refused setting, a lost
// device, a data graph's progress.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "common/gen_format.h"
#include "export/graph_workbook.h"
#include "graph_answer.h"
#include "memory_settings_store.h"
#include "response/show_data.h"
#include "session_fixture.h"
#include "terminal/main_window.h"

namespace sondix {
namespace {

using test::SessionFixture;

void Feed(SessionFixture& f, std::string block) {
    ShowData(f.s, f.term, block);
}

TEST(FormatSingle, RoundsTheDecimalTheValueReadsAsHalvesAwayFromZero) {
    const struct {
        float v;
        const char *picture, *shown;
    } cases[] = {{0.175f, "0.00", "0.18"},         {4.665f, "#0.00", "4.67"},
                 {-0.175f, "0.00", "-0.18"},       {1.005f, "0.00", "1.01"},
                 {0.0012355f, "0.000%", "0.124%"}, {12.5f, "#0", "13"}};
    for (const auto& c : cases)
        EXPECT_EQ(Gen::Format(c.v, c.picture), c.shown) << c.v << " " << c.picture;
    EXPECT_EQ(Gen::Format(0.17499999701976776, "0.00"), "0.17");  // a double reads as it is
}

TEST(WorkbookCells, SingleStepsAreWrittenAsTheDecimalsTheyShow) {
    const struct {
        float step;
        int row;
        double shown;
    } cases[] = {{0.05f, 3, 0.05},
                 {0.05f, 5, 0.15},
                 {0.2f, 2049, 409.4},
                 {24.4140625f, 1025, 24975.5859375}};
    for (const auto& c : cases) {
        GraphModel g;
        g.SetNPoints(2048);
        g.XAxisScaleFact = c.step;
        for (const SheetCell& cell : GraphWorkbookCells(g, "", {}))
            if (cell.row == c.row && cell.col == 2) EXPECT_EQ(cell.number, c.shown) << c.step;
    }
}

TEST(SpectrumAxis, TheYAxisKeepsItsFixedVoltsThroughAStream) {
    for (const auto& [key, file] :
         {std::pair{'F', "F_spectrum.cap"}, {'[', "stream_spectra.cap"}}) {
        SessionFixture f;
        int charts = 0;
        f.host.onShowGraph = [&] {
            ++charts;
            EXPECT_FALSE(f.s.graph.yAxisAuto);
            EXPECT_TRUE(f.s.graph.yAxis.min == -0.5 && f.s.graph.yAxis.max == 4.0 &&
                        f.s.graph.yAxis.major == 9);
        };
        f.s.CommandKey = key;
        std::ostringstream capture;
        capture
            << std::ifstream(std::string(SONDIX_TEST_DATA) + "/" + file, std::ios::binary).rdbuf();
        Feed(f, capture.str());
        EXPECT_EQ(charts, key == 'F' ? 1 : 2);
    }
}

TEST(StartupLabel, ARefusedSettingLeavesTheLabelAsDesigned) {
    for (const char* key : {"Settings", "CommPort", "Handshaking"}) {
        SessionFixture f;
        f.port.open = false;
        f.port.settingsError = "Invalid Port Settings";
        test::MemorySettingsStore store(std::map<std::string, std::string>{{key, "99999"}});
        Startup(f.s, store, {});
        EXPECT_EQ(f.asker.asked.size(), 1U) << key;
        EXPECT_EQ(f.s.lblVerAndSerialNum, Session{}.lblVerAndSerialNum) << key;
    }
}

TEST(LostDevice, StreamButtonsGoIdleAndTheResultsValueIsStale) {
    const Session idle;
    for (void (*start)(Session&) : {cmdRptDist_Click, cmdRptSpect_Click}) {
        SessionFixture f;
        start(f.s);
        f.port.open = false;
        OnComm(f.s, kCommDeviceLost);
        EXPECT_EQ(f.s.cmdRptSpect.caption + f.s.cmdRptDist.caption,
                  idle.cmdRptSpect.caption + idle.cmdRptDist.caption);
        EXPECT_TRUE(f.s.cmdRptDist.face == f.s.SaveColor && f.s.cmdRptSpect.face == f.s.SaveColor);
        EXPECT_EQ(f.s.results.stale, f.s.ResultDisp_Loaded);
    }
}

TEST(GraphProgress, TheStatusPanelCountsTheCharactersAndTheTimeLeft) {
    SessionFixture f;
    f.s.CommandKey = 'D';
    const std::string header = "D\r\n" + test::TimeHeaderLine(512, 3, 3680, 5000);
    const std::string answer =
        header + test::WordLines(std::vector<int>(512, 100), 4) + "\r\n  ***  \r\n";
    Feed(f, answer.substr(0, header.size() + 1000));
    // 512 words end with the terminator line at 2121; 1121 characters at 960 a second.
    EXPECT_NE(f.host.statusPanel.find("1000 of 2121"), std::string::npos) << f.host.statusPanel;
    EXPECT_NE(f.host.statusPanel.find(" 2 s"), std::string::npos) << f.host.statusPanel;
    Feed(f, answer.substr(header.size() + 1000));
    EXPECT_EQ(f.host.graphShows + f.host.statusTimerStarts, 2);  // charted, the panel clears
}

}  // namespace
}  // namespace sondix
