// sondix-cli decode, run as a program on the captures in tests/data: the JSON report's fixed
// shape, what each command's answer leaves in it, the options, and the exit codes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/wait.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace sondix {
namespace {

using Json = nlohmann::ordered_json;

// A string member as the Latin-1 bytes the tool was given (the JSON carries them as code points).
std::string Text(const Json& j) {
    std::string out;
    const std::string utf8 = j.get<std::string>();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        out.push_back(c < 0x80 ? utf8[i]
                               : static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F)));
    }
    return out;
}

// An object's member names in the order written.
std::vector<std::string> Keys(const Json& j) {
    std::vector<std::string> keys;
    for (const auto& [k, v] : j.items())
        keys.push_back(k);
    return keys;
}

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (const char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string DataFile(const std::string& name) {
    return std::string(SONDIX_TEST_DATA) + "/" + name;
}

std::string OutDir() {
    const std::string dir = std::string(SONDIX_TEST_OUT) + "/cli";
    std::filesystem::create_directories(dir);
    return dir;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buf;
    buf << in.rdbuf();
    return buf.str();
}

// Runs sondix-cli with `args`; `stdinFile` (if given) becomes its standard input.
RunResult RunCli(const std::vector<std::string>& args, const std::string& stdinFile = "") {
    // ctest runs each case in a process of its own, two at a time: the name carries the pid.
    static int counter = 0;
    const std::string errFile =
        OutDir() + "/stderr" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".txt";
    std::string cmd = Quote(SONDIX_CLI_PATH);
    for (const std::string& a : args)
        cmd += " " + Quote(a);
    cmd += " 2>" + Quote(errFile);
    cmd += " <" + Quote(stdinFile.empty() ? "/dev/null" : stdinFile);
    RunResult r;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (pipe == nullptr) return r;
    char buf[4096];
    std::size_t n = 0;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        r.out.append(buf, n);
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = ReadFile(errFile);
    return r;
}

Json Decode(const std::vector<std::string>& args, const std::string& stdinFile = "") {
    std::vector<std::string> all{"decode"};
    all.insert(all.end(), args.begin(), args.end());
    const RunResult r = RunCli(all, stdinFile);
    EXPECT_EQ(r.out.back(), '\n');
    const Json j = Json::parse(r.out);
    EXPECT_EQ(r.exitCode, j["messages"].empty() ? 0 : 3) << r.err;  // 3: a box reported an error
    return j;
}

std::string WriteInput(const std::string& name, const std::string& bytes) {
    const std::string path = OutDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// The terminal's form of a capture without backspaces: LF dropped, every CR followed by LF.
std::string Shown(const std::string& capture) {
    std::string out;
    for (const char c : capture) {
        if (c == '\n') continue;
        out.push_back(c);
        if (c == '\r') out.push_back('\n');
    }
    return out;
}

// The number was written as its single-precision value's shortest decimal (which reads back as
// exactly the double nearest to that decimal), not as the float widened to double.
bool IsShortestFloat(const Json& v) {
    const double d = v.get<double>();
    char buf[32];
    const auto end = std::to_chars(std::begin(buf), std::end(buf), static_cast<float>(d)).ptr;
    double back = 0;
    std::from_chars(buf, end, back);
    return back == d;
}

// ---- every key ----

struct KeyCase {
    const char* name;
    char key;
    const char* file;
    std::vector<std::string> options;
    int graphs;
    int results;
    int autoSpect;
    int autoResults;
    int npoints;  // of every chart
};

class DecodeKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DecodeKey, ReportsTheAnswerOfItsCommand) {
    const KeyCase& c = GetParam();
    std::vector<std::string> args{std::string(1, c.key), DataFile(c.file), "--now",
                                  "2024-01-02T03:04:05"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Json j = Decode(args);
    const std::string capture = ReadFile(DataFile(c.file));

    EXPECT_EQ(j["messages"].size(), 0U);
    EXPECT_EQ(Text(j["sent"]), "");
    EXPECT_EQ(Text(j["terminal"]), Shown(capture));
    EXPECT_EQ(Text(j["log"]), Shown(capture));
    EXPECT_EQ(j["state"]["CommandKey"], static_cast<unsigned char>(c.key));
    EXPECT_EQ(j["state"]["GraphState"], 0);
    EXPECT_EQ(j["state"]["AutoSpect_status"], c.autoSpect);
    EXPECT_EQ(j["state"]["AutoResults_status"], c.autoResults);
    ASSERT_EQ(j["graphs"].size(), static_cast<std::size_t>(c.graphs));
    EXPECT_EQ(j["results"].size(), static_cast<std::size_t>(c.results));
    for (const Json& g : j["graphs"]) {
        EXPECT_EQ(Text(g["kind"]), std::string(1, c.key));
        EXPECT_NE(Text(g["title"]).find("2024-01-02 03:04:05"), std::string::npos);
        EXPECT_NE(Text(g["caption"]).find("V3.58"), std::string::npos);
        EXPECT_EQ(g["npoints"], c.npoints);
        EXPECT_EQ(g["points"].size(), static_cast<std::size_t>(c.npoints));
        for (const Json& p : g["points"]) {
            ASSERT_EQ(p.size(), 2U);
            ASSERT_TRUE(IsShortestFloat(p[0]) && IsShortestFloat(p[1])) << p;
        }
        EXPECT_EQ(g["y_axis"].type() == Json::value_t::object, c.key == 'y');
    }
}

const KeyCase kKeyCases[] = {
    // The header step sets the point count before the chart window is loaded for the decode;
    // the window's set-up keeps that count, or the chart would have no points.
    {"TimeSeries", 'D', "time_series_D.cap", {}, 1, 0, 0, 0, 512},
    {"Spectrum", 'F', "F_spectrum.cap", {}, 1, 0, 0, 0, 512},
    {"Ramp", 'y', "ramp_y.cap", {}, 1, 0, 0, 0, 512},
    // Blocks as the line delivers them, the second spectrum after the sensor's pause.
    {"SpectrumStream", '[', "stream_spectra.cap", {"--block", "1742"}, 2, 0, 1, 0, 51},
    {"ResultsStream", '{', "results_stream.cap", {"--block", "5"}, 0, 3, 0, 1, 0},
    {"Listing", 'P', "listing.txt", {}, 0, 0, 0, 0, 0},
    {"Timer", 'T', "timer.cap", {}, 0, 0, 0, 0, 0},
    {"Logo", 'L', "logo.cap", {}, 0, 0, 0, 0, 0},
    {"UnknownKey", 'x', "logo.cap", {}, 0, 0, 0, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Captures, DecodeKey, ::testing::ValuesIn(kKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the report's fixed shape ----

TEST(DecodeReport, HasEveryFieldInItsPlace) {
    const Json j = Decode({"D", DataFile("time_series_D.cap")});
    EXPECT_EQ(Keys(j), (std::vector<std::string>{"terminal", "log", "sent", "messages", "state",
                                                 "mirror", "graphs", "results"}));
    EXPECT_EQ(Keys(j["state"]),
              (std::vector<std::string>{
                  "CommandKey",     "GraphState",     "AutoSpect_status", "AutoResults_status",
                  "NWords",         "ResultVel",      "ResultDist",       "ResultFreq",
                  "ResultFdif",     "ResultSignal",   "ModeVelocity",     "ModeText",
                  "SamplePeriodUs", "SamplePeriodMs", "VrefCal",          "UnitTimeDays",
                  "RampText",       "StatMean",       "StatSd",           "StatRel",
                  "StatCount"}));
    const std::vector<std::string> mirror{
        "LogoStr",       "FirmwareRev",    "SerNum",   "Password",
        "Units",         "Damping",        "Range",    "Set__4",
        "Set_20",        "Raw_Fmin",       "Raw_Fmax", "GENfault",
        "LOEfault",      "Loop_Tst",       "HistLog",  "BaudRate",
        "CalOffs",       "CalFac",         "Algoritm", "CalDist",
        "Log2Nfft",      "LoopTime",       "SampleT",  "Trim_4",
        "Trim_20",       "AmpMin",         "Gain",     "Rly1Dist",
        "Rly2Dist",      "Rly1Mode",       "Rly2Mode", "DistMax",
        "TestFlgs",      "Tcorrfac",       "Vrampmin", "Vrampmax",
        "CalDopplr",     "Vramp0",         "Vramp1",   "Vramp2",
        "Vramp3",        "Vramp4",         "MargStrt", "MargEnd",
        "PeakSel",       "Dither",         "OutSel",   "NumberOfFFTdatapoints",
        "FirstInitDone", "VelocimeterMode"};
    EXPECT_EQ(Keys(j["mirror"]), mirror);
    ASSERT_EQ(j["graphs"].size(), 1U);
    EXPECT_EQ(Keys(j["graphs"][0]),
              (std::vector<std::string>{"kind", "npoints", "points", "XAxisScaleFact", "label_step",
                                        "divisions_per_label", "divisions_per_tick", "y_axis",
                                        "title", "caption", "footnote"}));
    EXPECT_EQ(j["state"]["NWords"], 512);
    EXPECT_EQ(Text(j["state"]["ModeText"]), "Distance");
    EXPECT_EQ(Text(j["state"]["RampText"]), "RAMP DOWN");
}

TEST(DecodeReport, ResultsCarryTheWindowsFields) {
    const Json j = Decode({"{", DataFile("results_stream.cap"), "--block", "5"});
    ASSERT_EQ(j["results"].size(), 3U);
    const Json& r = j["results"][0];
    EXPECT_EQ(Keys(r),
              (std::vector<std::string>{"txtOutputvalue", "txtSigstrength", "pbrSigstrength",
                                        "SigColor", "shpRelay1", "shpRelay2"}));
    EXPECT_EQ(Text(r["txtOutputvalue"]), "5112.5");
    EXPECT_EQ(Text(r["txtSigstrength"]), "24");
    EXPECT_EQ(r["pbrSigstrength"], 24);
    EXPECT_EQ(r["shpRelay1"].size(), 3U);
    EXPECT_EQ(Text(j["results"][2]["txtOutputvalue"]), "5099.2");
}

// One block holding three lines: every line is read; the units option reaches the results window.
TEST(DecodeReport, ResultsInOneBlockTakeEveryLineInTheChosenUnits) {
    const Json j = Decode({"{", DataFile("results_stream.cap"), "--units", "2"});
    ASSERT_EQ(j["results"].size(), 3U);
    EXPECT_EQ(Text(j["results"][0]["txtOutputvalue"]), "5.113");  // metres
}

// 332 Hz shows a tenth of the spectrum (the point count: the table above).
TEST(DecodeChart, StreamSpectrumHasItsZoomedPoints) {
    const Json j = Decode({"[", DataFile("stream_spectra.cap"), "--block", "1742"});
    ASSERT_EQ(j["graphs"].size(), 2U);
    const Json& g = j["graphs"][0];
    EXPECT_EQ(g["points"][1][0], 19.53125);
    EXPECT_EQ(g["XAxisScaleFact"], 19.53125);
    EXPECT_EQ(j["state"]["StatCount"], 2);
    EXPECT_EQ(Text(j["graphs"][1]["footnote"]).find("X= 5103mm"), 0U);
}

TEST(DecodeListing, FillsTheMirror) {
    const Json j = Decode({"P", DataFile("listing.txt")});
    const Json& m = j["mirror"];
    EXPECT_EQ(Text(m["LogoStr"]), "FMCW RADAR Ver0.47\r\nDISTANCE\r\n");
    EXPECT_EQ(m["FirmwareRev"], 0.47);
    EXPECT_EQ(m["SerNum"], 1047);
    EXPECT_EQ(m["Password"], 417);
    EXPECT_EQ(m["CalFac"], 15.36);  // the float's shortest decimal
    EXPECT_EQ(m["Rly2Dist"], -2000);
    EXPECT_EQ(m["NumberOfFFTdatapoints"], 2048);
    EXPECT_FALSE(m["VelocimeterMode"].get<bool>());
    EXPECT_EQ(j["state"]["ResultDist"], 5108);  // the status lines of the listing
}

TEST(DecodeOptions, MirrorValuesAndHeaderText) {
    const Json j = Decode({"D", DataFile("time_series_D.cap"), "--units", "2", "--firmware", "1.51",
                           "--velocimeter", "--header-str", "Unit#1047"});
    EXPECT_EQ(j["mirror"]["Units"], 2);
    EXPECT_EQ(j["mirror"]["FirmwareRev"], 1.51);
    EXPECT_TRUE(j["mirror"]["VelocimeterMode"].get<bool>());
    ASSERT_EQ(j["graphs"].size(), 1U);
    EXPECT_NE(Text(j["graphs"][0]["title"]).find(" Unit#1047  "), std::string::npos);
}

TEST(DecodeOptions, SmallBlocksGiveTheSameChart) {
    const Json whole = Decode({"F", DataFile("F_spectrum.cap")});
    const Json small = Decode({"F", DataFile("F_spectrum.cap"), "--block=3"});
    ASSERT_EQ(small["graphs"].size(), 1U);
    EXPECT_EQ(Text(small["graphs"][0]["footnote"]), Text(whole["graphs"][0]["footnote"]));
    EXPECT_EQ(small["graphs"][0]["label_step"], whole["graphs"][0]["label_step"]);
}

TEST(DecodeOptions, WritesTheChartWorkbook) {
    const std::string out = OutDir() + "/chart.xlsx";
    std::filesystem::remove(out);
    const Json j = Decode({"D", DataFile("time_series_D.cap"), "--xlsx", out});
    EXPECT_EQ(j["graphs"].size(), 1U);
    EXPECT_EQ(ReadFile(out).substr(0, 2), "PK");  // a zip container
}

// ---- input and failures ----

TEST(DecodeInput, StandardInputLatin1AndAFramingError) {
    const std::string input =
        WriteInput("bad_nwords.cap", std::string("D\r\nNWORDS=0300 \xe9\x01\r\n", 20));
    const Json j = Decode({"D"}, input);
    ASSERT_EQ(j["messages"].size(), 1U);
    EXPECT_EQ(Text(j["messages"][0]["title"]), "Graph error");
    EXPECT_EQ(Text(j["messages"][0]["text"]), "Data graph - invalid NWORDS value");
    EXPECT_EQ(j["state"]["CommandKey"], 0);
    EXPECT_EQ(j["state"]["GraphState"], 4);
    EXPECT_EQ(Text(j["terminal"]), std::string("D\r\nNWORDS=0300 \xe9\x01\r\n", 20));
    const RunResult raw = RunCli({"decode", "D", "-"}, input);
    EXPECT_NE(raw.out.find("\\u00e9\\u0001"), std::string::npos);
    for (const char c : raw.out)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
}

struct FailCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
};

class DecodeFailure : public ::testing::TestWithParam<FailCase> {};

TEST_P(DecodeFailure, ExitsWithItsCodeAndTellsWhy) {
    const RunResult r = RunCli(GetParam().args);
    EXPECT_EQ(r.exitCode, GetParam().exitCode);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("sondix-cli: "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeFailure,
    ::testing::Values(FailCase{"NoCommand", {}, 2}, FailCase{"UnknownCommand", {"encode"}, 2},
                      FailCase{"NoKey", {"decode"}, 2},
                      FailCase{"LongKey", {"decode", "DF", "x"}, 2},
                      FailCase{"TwoFiles", {"decode", "D", "a", "b"}, 2},
                      FailCase{"UnknownOption", {"decode", "D", "--fast"}, 2},
                      FailCase{"ZeroBlock", {"decode", "D", "--block", "0"}, 2},
                      FailCase{"BadNow", {"decode", "D", "--now", "yesterday"}, 2},
                      FailCase{"MissingValue", {"decode", "D", "--units"}, 2},
                      FailCase{"UnreadableFile", {"decode", "D", "/nonexistent/capture"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeHelp, PrintsUsage) {
    const RunResult r = RunCli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("usage: sondix-cli decode KEY [FILE]"), std::string::npos);
}

}  // namespace
}  // namespace sondix
