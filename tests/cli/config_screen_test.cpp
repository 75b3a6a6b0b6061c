// The configuration screen through `sondix-cli decode P LISTING --config`: the cases of
// tests/data/config_cases.txt (a listing, the user's actions, what the report must hold), and the
// usage errors of the actions.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace sondix::test {
namespace {

using Json = nlohmann::ordered_json;

// The parts of `s` between the `sep`s, blanks around them trimmed.
std::vector<std::string> Split(const std::string& s, const std::string& sep) {
    std::vector<std::string> out;
    for (std::size_t at = 0, p = 0; p != std::string::npos; at = p + sep.size()) {
        p = s.find(sep, at);
        const std::string part = s.substr(at, p == std::string::npos ? p : p - at);
        const std::size_t a = part.find_first_not_of(' ');
        out.push_back(a == std::string::npos ? ""
                                             : part.substr(a, part.find_last_not_of(' ') - a + 1));
    }
    return out;
}

// "dist[Units   =0>Units   =2]": the listing file with its edits, lines ended CR LF.
std::string WriteListing(const std::string& listing, const std::string& name) {
    if (listing == "-") return "/dev/null";
    const std::size_t b = listing.find('[');
    const std::string kind = listing.substr(0, b);
    std::string text = Slurp(std::string(SONDIX_TEST_DATA) + "/config_" +
                             (kind == "vel" ? "velocimeter" : "distance") + ".lst");
    for (std::size_t at = b; at != std::string::npos; at = listing.find('[', at + 1)) {
        const auto edit = Split(listing.substr(at + 1, listing.find(']', at) - at - 1), ">");
        text.replace(text.find(edit.at(0)), edit[0].size(), edit.at(1));
    }
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return WriteFile("cli-config-" + name + ".lst", crlf);
}

// The tool's run with `args` split at blanks.
CliRun Tool(const std::string& args) {
    std::vector<std::string> words;
    for (const std::string& a : Split(args, " "))
        if (!a.empty()) words.push_back(a);
    return RunCli(words);
}

// Strings as their text (CR LF written "\r\n"), anything else as compact JSON.
std::string Shown(const Json& j) {
    std::string t = j.is_string() ? j.get<std::string>() : j.dump();
    for (std::size_t p; (p = t.find("\r\n")) != std::string::npos;)
        t.replace(p, 2, "\\r\\n");
    return t;
}

// Each case: the listing, the actions, then "path=value" checks separated by " ; ".
TEST(ConfigScreenCli, EveryCaseOfTheTableReportsWhatTheScreenShows) {
    std::istringstream in(Slurp(std::string(SONDIX_TEST_DATA) + "/config_cases.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const auto c = Split(line, "|");
        SCOPED_TRACE(c.at(0));
        const CliRun r = Tool("decode P " + WriteListing(c.at(1), c[0]) + " --config " + c.at(2));
        ASSERT_EQ(r.exit, 0) << r.err;
        const Json report = Json::parse(r.out);
        for (const std::string& check : Split(c.at(3), " ; ")) {
            const std::size_t eq = check.find('=');
            std::string path = "/" + check.substr(0, eq);
            std::replace(path.begin(), path.end(), '.', '/');
            EXPECT_EQ(Shown(report.at(Json::json_pointer(path))), check.substr(eq + 1)) << path;
        }
    }
}

TEST(ConfigScreenCli, ActionsThatNameNoSuchControlOrValueAreUsageErrors) {
    for (const char* bad :
         {"--click txtSet4", "--set nothing=1", "--set optUnits(9)=1", "--set optUnits(1)=0",
          "--set updDamp=x", "--answer Maybe", "--set txtSet4"}) {
        EXPECT_EQ(Tool(std::string("decode P --config ") + bad).exit, 2) << bad;
    }
    EXPECT_EQ(Tool("decode D --config").exit, 2);
    EXPECT_EQ(Tool("decode P --click cmdSet4").exit, 2);
}

}  // namespace
}  // namespace sondix::test
