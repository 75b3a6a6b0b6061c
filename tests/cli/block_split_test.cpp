// sondix-cli decode: the same results and charts whatever --block splits the capture into; the
// current time in titles unless --now is given; exit status 3 when a box reported an error.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>

namespace sondix {
namespace {

using Json = nlohmann::json;

Json Decode(const std::string& args, int* exitCode = nullptr) {
    FILE* pipe = popen((std::string(SONDIX_CLI_PATH) + " decode " + args).c_str(), "r");
    std::string out;
    char buf[4096];
    for (std::size_t n = 0; pipe != nullptr && (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    if (exitCode != nullptr) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return Json::parse(out);
}

std::string Data(const std::string& name) {
    return std::string(SONDIX_TEST_DATA) + "/" + name;
}

TEST(BlockSplit, EveryLineAndSpectrumIsDecodedWhateverTheBlockSize) {
    const struct {
        std::string args;
        std::size_t graphs, results;
        const char *field, *last;  // of the last chart or results line: how it starts
    } captures[] = {{"'{' " + Data("results_stream.cap"), 0, 3, "txtOutputvalue", "5099.2"},
                    {"'[' " + Data("stream_spectra.cap"), 2, 0, "footnote", "X= 5103mm"}};
    // One fixed moment for every run, so titles cannot differ by the second they were made in.
    const std::string now = " --now 2024-01-02T03:04:05";
    for (const auto& c : captures) {
        const Json whole = Decode(c.args + now);
        ASSERT_EQ(whole["graphs"].size(), c.graphs) << c.args;
        ASSERT_EQ(whole["results"].size(), c.results) << c.args;
        const Json& last = c.graphs > 0 ? whole["graphs"].back() : whole["results"].back();
        EXPECT_EQ(last[c.field].get<std::string>().rfind(c.last, 0), 0U) << last[c.field];
        for (const int block : {1, 7, 64, 1000}) {
            const Json split = Decode(c.args + now + " --block " + std::to_string(block));
            EXPECT_EQ(split["graphs"], whole["graphs"]) << c.args << " block " << block;
            EXPECT_EQ(split["results"], whole["results"]) << c.args << " block " << block;
        }
    }
}

TEST(DecodeExit, ThreeWhenABoxReportedAnErrorAndTitlesDatedNowUnlessGiven) {
    const std::string bad = std::string(SONDIX_TEST_OUT) + "/bad_nwords_exit.cap";
    std::ofstream(bad, std::ios::binary) << "D\r\nNWORDS=0300 \r\nFIRST\r\n";
    int exitCode = -1;
    EXPECT_EQ(Decode("D " + bad, &exitCode)["messages"].size(), 1U);
    EXPECT_EQ(exitCode, 3);
    const std::time_t t = std::time(nullptr);
    char today[16];
    std::strftime(today, sizeof today, "%Y-%m-%d", std::localtime(&t));
    const Json j = Decode("D " + Data("time_series_D.cap"), &exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_NE(j["graphs"][0]["title"].get<std::string>().find(today), std::string::npos);
}

}  // namespace
}  // namespace sondix
