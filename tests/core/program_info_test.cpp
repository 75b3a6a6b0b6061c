// sondix --version and --help: only either word alone asks; any other single argument stays the
// access code.
#include <gtest/gtest.h>

#include "terminal/program_info.h"

namespace sondix {
namespace {

TEST(ProgramInfo, OnlyTheWordAloneAsks) {
    const struct {
        std::vector<std::string> args;
        bool info;
    } cases[] = {
        {{"--version"}, true},         {{"--help"}, true}, {{"417"}, false}, {{"--Version"}, false},
        {{"--version", "417"}, false}, {{"-h"}, false},    {{}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(!ProgramInfoText(c.args).empty(), c.info) << testing::PrintToString(c.args);
    EXPECT_EQ(ProgramInfoText({"--version"}), "Sondix V3.58\n");
}

}  // namespace
}  // namespace sondix
