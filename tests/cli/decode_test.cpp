// sondix-cli decode, run as a program on the captures in tests/data. Each run's whole report is
// compared with its expected report in tests/data/expected/ (one JSON line each): every figure,
// text, state and mirror value, and the order of the members. Members the tool gains later are
// left alone, so new fields do not break old reports. To accept a deliberate change, run the
// test with SONDIX_UPDATE_EXPECTED=1 and read the diff of tests/data/expected/ before committing.
// Then the exit codes and the usage text.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace sondix {
namespace {

using Json = nlohmann::ordered_json;

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buf;
    buf << in.rdbuf();
    return buf.str();
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (const char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs sondix-cli with `args` in the data folder; `stdinFile` (if given) is its standard input.
RunResult RunCli(const std::vector<std::string>& args, const std::string& stdinFile = "") {
    const std::string dir = std::string(SONDIX_TEST_OUT) + "/cli";
    std::filesystem::create_directories(dir);
    // ctest runs each case in a process of its own, two at a time: the name carries the pid.
    const std::string errFile = dir + "/stderr" + std::to_string(getpid()) + ".txt";
    std::string cmd = "cd " + Quote(SONDIX_TEST_DATA) + " && " + Quote(SONDIX_CLI_PATH);
    for (const std::string& a : args)
        cmd += " " + Quote(a);
    cmd += " 2>" + Quote(errFile) + " <" + Quote(stdinFile.empty() ? "/dev/null" : stdinFile);
    RunResult r;
    FILE* pipe = popen(cmd.c_str(), "r");
    char buf[4096];
    for (std::size_t n = 0; pipe && (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        r.out.append(buf, n);
    const int status = pipe ? pclose(pipe) : -1;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = ReadFile(errFile);
    return r;
}

// Every member of `want` is in `got`, equal and in the same order; `failures` counts down.
void ExpectContains(const Json& got, const Json& want, const std::string& path, int& failures) {
    if (failures <= 0) return;
    if (want.is_object() && got.is_object()) {
        std::size_t last = 0;
        for (const auto& [key, value] : want.items()) {
            const auto it = got.find(key);
            if (it == got.end()) {
                ADD_FAILURE() << path << "/" << key << " is missing";
                --failures;
                continue;
            }
            const auto at = static_cast<std::size_t>(std::distance(got.begin(), it));
            EXPECT_GE(at, last) << path << "/" << key << " out of order";
            last = at;
            ExpectContains(*it, value, path + "/" + key, failures);
        }
    } else if (want.is_array() && got.is_array() && want.size() == got.size()) {
        for (std::size_t i = 0; i < want.size(); ++i)
            ExpectContains(got[i], want[i], path + "/" + std::to_string(i), failures);
    } else if (got != want) {
        ADD_FAILURE() << path << " is " << got.dump().substr(0, 200) << ", expected "
                      << want.dump().substr(0, 200);
        --failures;
    }
}

// (expected report, stdin capture or "", arguments after "decode")
struct Case {
    const char* name;
    const char* stdinFile;
    std::vector<std::string> args;
};

const Case kCases[] = {
    // The header step sets the point count before the chart window is loaded for the decode;
    // the window's set-up keeps that count, or the chart would have no points.
    {"time_series_D", "", {"D", "time_series_D.cap"}},
    {"time_series_D_options",
     "",
     {"D", "time_series_D.cap", "--units", "2", "--firmware", "1.51", "--velocimeter",
      "--header-str", "Unit#1047"}},
    // clang-format off
    {"F_spectrum", "", {"F", "F_spectrum.cap"}},
    {"F_spectrum_blocks_of_3", "", {"F", "F_spectrum.cap", "--block=3"}},
    {"ramp_y", "", {"y", "ramp_y.cap"}},
    // clang-format on
    // Blocks as the line delivers them, the second spectrum after the sensor's pause.
    {"stream_spectra", "", {"[", "stream_spectra.cap", "--block", "1742"}},
    {"results_stream", "", {"{", "results_stream.cap", "--block", "5"}},
    // One block holding three lines: every line is read; the units reach the window.
    // clang-format off
    {"results_stream_one_block_m", "", {"{", "results_stream.cap", "--units", "2"}},
    {"listing", "", {"P", "listing.cap"}}, {"timer", "", {"T", "timer.cap"}},
    {"logo", "", {"L", "logo.cap"}}, {"unknown_key", "", {"x", "logo.cap"}},
    // clang-format on
    // Answers of the simulated sensor: a velocimeter's spectrum, stream and listing, and a
    // 2048-word time series in blocks of 100.
    {"velocimeter_F", "", {"F", "velocimeter_F.cap", "--velocimeter"}},
    {"velocimeter_stream", "", {"[", "velocimeter_stream.cap", "--block", "3316"}},
    {"velocimeter_P", "", {"P", "velocimeter_P.cap"}},
    {"time_series_2048_D", "", {"D", "time_series_2048_D.cap", "--block", "100"}},
    // Standard input, Latin-1 characters and a framing error.
    {"bad_nwords", "bad_nwords.cap", {"D", "-"}},
};

TEST(Decode, EveryCaptureGivesItsExpectedReport) {
    const bool update = std::getenv("SONDIX_UPDATE_EXPECTED") != nullptr;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"decode", "--now", "2024-01-02T03:04:05"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const std::string in =
            *c.stdinFile ? std::string(SONDIX_TEST_DATA) + "/" + c.stdinFile : "";
        const RunResult r = RunCli(args, in);
        ASSERT_TRUE(r.out.ends_with("\n")) << r.err;
        // 0 when the decode ran, 3 when a box reported an error.
        EXPECT_EQ(r.exitCode, Json::parse(r.out)["messages"].empty() ? 0 : 3) << r.err;
        for (const char ch : r.out)  // Latin-1 leaves as \u escapes
            ASSERT_LT(static_cast<unsigned char>(ch), 0x80);
        const std::string expected =
            std::string(SONDIX_TEST_DATA) + "/expected/" + c.name + ".json";
        if (update) std::ofstream(expected, std::ios::binary) << r.out;
        int failures = 10;
        ExpectContains(Json::parse(r.out), Json::parse(ReadFile(expected)), "", failures);
    }
}

TEST(Decode, WritesTheChartWorkbook) {
    const std::string out = std::string(SONDIX_TEST_OUT) + "/cli/chart.xlsx";
    std::filesystem::remove(out);
    EXPECT_EQ(RunCli({"decode", "D", "time_series_D.cap", "--xlsx", out}).exitCode, 0);
    EXPECT_EQ(ReadFile(out).substr(0, 2), "PK");  // a zip container; its cells: core tests
}

TEST(Decode, UsageErrorsAndUnreadableFilesExitWithTheirCodeAndTellWhy) {
    const std::pair<std::vector<std::string>, int> cases[] = {
        // clang-format off
        {{}, 2}, {{"encode"}, 2}, {{"decode"}, 2}, {{"decode", "DF", "x"}, 2},
        {{"decode", "D", "a", "b"}, 2}, {{"decode", "D", "--fast"}, 2},
        {{"decode", "D", "--block", "0"}, 2}, {{"decode", "D", "--now", "yesterday"}, 2},
        // clang-format on
        {{"decode", "D", "--units"}, 2},
        {{"decode", "D", "/nonexistent/capture"}, 1}};
    for (const auto& [args, code] : cases) {
        const RunResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, code) << testing::PrintToString(args);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("sondix-cli: ")) << r.err;
    }
    const RunResult help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: sondix-cli decode KEY [FILE]"), std::string::npos);
}

}  // namespace
}  // namespace sondix
