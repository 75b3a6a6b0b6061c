// sondix-cli decode, run as a program on the captures in tests/data. Each run's whole report is
// compared with its expected report in tests/data/expected/ (one JSON line each): every figure,
// text, state and mirror value, and the order of the members. Members the tool gains later are
// left alone, so new fields do not break old reports. To accept a deliberate change, run the
// test with SONDIX_UPDATE_EXPECTED=1 and read the diff of tests/data/expected/ before committing.
// Then: any --block gives the same results, charts and history; the exit codes and usage.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace sondix::test {
namespace {

using Json = nlohmann::ordered_json;
const std::string kData = SONDIX_TEST_DATA;

// The tool run in the data folder, its titles dated at one fixed moment unless `now` is "".
CliRun Decode(std::vector<std::string> args, const std::string& in = "/dev/null",
              const std::string& now = "2024-01-02T03:04:05") {
    if (!now.empty()) args.insert(args.begin(), {"--now", now});
    args.insert(args.begin(), "decode");
    return RunCli(args, in, "cd " + Quote(kData) + " &&");
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

// (expected report, arguments after "decode"; "-" reads bad_nwords.cap from standard input)
const std::pair<const char*, std::vector<std::string>> kCases[] = {
    // The header step sets the point count before the chart window is loaded for the decode;
    // the window's set-up keeps that count, or the chart would have no points.
    {"time_series_D", {"D", "time_series_D.cap"}},
    {"time_series_D_options",
     {"D", "time_series_D.cap", "--units", "2", "--firmware", "1.51", "--velocimeter",
      "--header-str", "Unit#1047"}},
    // clang-format off
    {"F_spectrum", {"F", "F_spectrum.cap"}},
    {"F_spectrum_blocks_of_3", {"F", "F_spectrum.cap", "--block=3"}},
    {"ramp_y", {"y", "ramp_y.cap"}},
    // Blocks as the line delivers them, the second spectrum after the sensor's pause.
    {"stream_spectra", {"[", "stream_spectra.cap", "--block", "1742"}},
    {"results_stream", {"{", "results_stream.cap", "--block", "5"}},
    // One block holding three lines: every line is read; the units reach the window.
    {"results_stream_one_block_m", {"{", "results_stream.cap", "--units", "2"}},
    {"listing", {"P", "listing.cap"}}, {"timer", {"T", "timer.cap"}},
    {"logo", {"L", "logo.cap"}}, {"unknown_key", {"x", "logo.cap"}},
    // Answers of the simulated sensor: a velocimeter's spectrum, stream and listing, a
    // 2048-word time series in blocks of 100, a history with two records swapped.
    {"velocimeter_F", {"F", "velocimeter_F.cap", "--velocimeter"}},
    {"velocimeter_stream", {"[", "velocimeter_stream.cap", "--block", "3316"}},
    {"velocimeter_P", {"P", "velocimeter_P.cap"}},
    {"time_series_2048_D", {"D", "time_series_2048_D.cap", "--block", "100"}},
    {"history_H", {"H", "history_H.cap", "--header-str", "Unit#7"}},
    // Histories made up: status and amplitude codes without a "Vrefcal =" line (3.68 stays);
    // statistics leaving out 1.0 and below and loss of echo; none counted; readings near 10 m
    // (squares summed in single precision would give a deviation of 0); a reference and a
    // largest value of 0 (0 %, nothing divided by zero); a velocimeter's texts.
    {"history_codes", {"H", "history_codes.cap"}},
    {"history_stats_loe", {"H", "history_stats_loe.cap"}},
    {"history_stats_none", {"H", "history_stats_none.cap"}},
    {"history_stats_10m", {"H", "history_stats_10m.cap"}},
    {"history_stats_zero", {"H", "history_stats_zero.cap", "--from-file"}},
    {"history_velocimeter", {"H", "history_velocimeter.cap"}},
    // clang-format on
    // Standard input, Latin-1 characters and a framing error.
    {"bad_nwords", {"D", "-"}},
};

TEST(Decode, EveryCaptureGivesItsExpectedReport) {
    const bool update = std::getenv("SONDIX_UPDATE_EXPECTED") != nullptr;
    for (const auto& [name, args] : kCases) {
        SCOPED_TRACE(name);
        const CliRun r = Decode(args, args[1] == "-" ? kData + "/bad_nwords.cap" : "/dev/null");
        ASSERT_TRUE(r.out.ends_with("\n")) << r.err;
        // 0 when the decode ran, 3 when a box reported an error.
        EXPECT_EQ(r.exit, Json::parse(r.out)["messages"].empty() ? 0 : 3) << r.err;
        for (const char ch : r.out)  // Latin-1 leaves as \u escapes
            ASSERT_LT(static_cast<unsigned char>(ch), 0x80);
        const std::string expected = kData + "/expected/" + name + ".json";
        if (update) std::ofstream(expected, std::ios::binary) << r.out;
        int failures = 10;
        ExpectContains(Json::parse(r.out), Json::parse(Slurp(expected)), "", failures);
    }
}

// Every complete results line, spectrum and history in a read is decoded, in order, whatever
// blocks the line delivers.
TEST(Decode, AnyBlockSizeGivesTheSameResultsChartsAndHistory) {
    for (const auto& [key, capture] : {std::pair{"{", "results_stream.cap"},
                                       {"[", "stream_spectra.cap"},
                                       {"H", "history_H.cap"}}) {
        const Json whole = Json::parse(Decode({key, capture}).out);
        for (const std::string block :
             {"--block=1", "--block=7", "--block=64", "--block=1000", "--from-file"}) {
            if (block == "--from-file" && key[0] != 'H') continue;
            const Json j = Json::parse(Decode({key, capture, block}).out);
            for (const char* part : {"graphs", "results", "history"})
                EXPECT_EQ(j[part], whole[part]) << capture << " " << block << " " << part;
        }
    }
}

// Without --now the titles carry the current time; --xlsx writes the chart's workbook.
TEST(Decode, TitlesDatedNowUnlessGivenAndTheChartWorkbookWritten) {
    const std::string out = OutPath("cli-chart.xlsx");
    std::filesystem::remove(out);
    const CliRun r = Decode({"D", "time_series_D.cap", "--xlsx", out}, "/dev/null", "");
    EXPECT_EQ(r.exit, 0);
    const std::time_t t = std::time(nullptr);
    char today[16];
    std::strftime(today, sizeof today, "%Y-%m-%d", std::localtime(&t));
    EXPECT_NE(Json::parse(r.out)["graphs"][0]["title"].get<std::string>().find(today),
              std::string::npos);
    EXPECT_EQ(Slurp(out).substr(0, 2), "PK");  // a zip container; its cells: core tests
}

TEST(Decode, UsageErrorsAndUnreadableFilesExitWithTheirCodeAndTellWhy) {
    const std::pair<std::vector<std::string>, int> cases[] = {
        // clang-format off
        {{}, 2}, {{"encode"}, 2}, {{"decode"}, 2}, {{"decode", "DF", "x"}, 2},
        {{"decode", "D", "a", "b"}, 2}, {{"decode", "D", "--fast"}, 2},
        {{"decode", "D", "--block", "0"}, 2}, {{"decode", "D", "--now", "yesterday"}, 2},
        {{"decode", "D", "--units"}, 2}, {{"decode", "D", "/nonexistent/capture"}, 1}};
    // clang-format on
    for (const auto& [args, code] : cases) {
        const CliRun r = RunCli(args);
        EXPECT_EQ(r.exit, code) << testing::PrintToString(args);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("sondix-cli: ")) << r.err;
    }
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.exit, 0);
    EXPECT_NE(help.out.find("usage: sondix-cli decode KEY [FILE]"), std::string::npos);
}

}  // namespace
}  // namespace sondix::test
