// sondix-cli decode dates its titles with the current time unless --now is given, and its exit
// status tells whether a message box reported an error (3) or not (0).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

namespace sondix {
namespace {

struct CliRun {
    int exitCode = -1;
    nlohmann::json report;
};

CliRun Decode(const std::string& args) {
    FILE* pipe = popen((std::string(SONDIX_CLI_PATH) + " decode " + args).c_str(), "r");
    std::string out;
    char buf[4096];
    for (std::size_t n = 0; pipe != nullptr && (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    CliRun r;
    if (pipe == nullptr) return r;
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.report = nlohmann::json::parse(out);
    return r;
}

std::string Today() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &tm);
    return buf;
}

std::string Data(const std::string& name) {
    return std::string(SONDIX_TEST_DATA) + "/" + name;
}

TEST(DecodeExit, ZeroWhenDecodedThreeWhenABoxReportedAnError) {
    const std::string bad = std::string(SONDIX_TEST_OUT) + "/bad_nwords_exit.cap";
    std::ofstream(bad, std::ios::binary) << "D\r\nNWORDS=0300 \r\nFIRST\r\n";
    const struct {
        std::string args;
        int exitCode;
    } cases[] = {
        {"D " + Data("time_series_D.cap"), 0},
        {"'{' " + Data("results_stream.cap"), 0},
        {"D " + bad, 3},
        {"'{' " + Data("results_stream.cap") + " --block 4096", 0},
    };
    for (const auto& c : cases) {
        const CliRun r = Decode(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args;
        EXPECT_EQ(r.report["messages"].empty(), c.exitCode == 0) << c.args;
    }
}

TEST(DecodeExit, TitlesCarryTheCurrentDateUnlessNowIsGiven) {
    const std::string before = Today();
    const std::string title =
        Decode("D " + Data("time_series_D.cap")).report["graphs"][0]["title"].get<std::string>();
    const std::string after = Today();
    EXPECT_TRUE(title.find(before) != std::string::npos || title.find(after) != std::string::npos)
        << title;
    const std::string fixed =
        Decode("D " + Data("time_series_D.cap") + " --now 2024-01-02T03:04:05")
            .report["graphs"][0]["title"]
            .get<std::string>();
    EXPECT_NE(fixed.find("2024-01-02 03:04:05"), std::string::npos) << fixed;
}

}  // namespace
}  // namespace sondix
