// The spectrum charts keep the chart's fixed y axis, -0.5 to 4.0 V in 9 divisions, whatever the
// data: a running stream does not rescale with every spectrum.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "response/show_data.h"
#include "session_fixture.h"

namespace sondix {
namespace {

std::string Capture(const std::string& name) {
    std::ifstream in(std::string(SONDIX_TEST_DATA) + "/" + name, std::ios::binary);
    std::ostringstream buf;
    buf << in.rdbuf();
    return buf.str();
}

TEST(SpectrumAxis, TheYAxisStaysAtItsFixedVolts) {
    for (const auto& [key, file] :
         {std::pair{'F', "F_spectrum.cap"}, {'[', "stream_spectra.cap"}}) {
        test::SessionFixture f;
        int charts = 0;
        f.host.onShowGraph = [&] {
            ++charts;
            EXPECT_FALSE(f.s.graph.yAxisAuto) << file;
            EXPECT_EQ(f.s.graph.yAxis.min, -0.5) << file;
            EXPECT_EQ(f.s.graph.yAxis.max, 4.0) << file;
            EXPECT_EQ(f.s.graph.yAxis.major, 9) << file;
        };
        f.s.CommandKey = key;
        std::string block = Capture(file);
        ShowData(f.s, f.term, block);
        EXPECT_EQ(charts, key == 'F' ? 1 : 2);
    }
}

}  // namespace
}  // namespace sondix
