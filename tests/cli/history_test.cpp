// sondix-cli decode H: the history answer and stored history files, as tables of made-up
// answers and one simulator capture, with the exported workbook read back.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "xlsx_reader.h"

namespace sondix {
namespace {

using Json = nlohmann::json;
using Args = std::vector<std::string>;

std::string Out(const std::string& name) {
    const std::string dir = std::string(SONDIX_TEST_OUT) + "/cli-history";
    std::filesystem::create_directories(dir);
    return dir + "/" + std::to_string(getpid()) + "-" + name;
}

Json Decode(const std::string& input, Args args = {}) {
    const std::string in = Out("in.txt");
    std::ofstream(in, std::ios::binary) << input;
    std::string cmd = std::string(SONDIX_CLI_PATH) + " decode H " + in;
    for (const std::string& a : args)
        cmd += " '" + a + "'";
    FILE* pipe = popen((cmd + " --now 2026-12-07T03:00:00 2>/dev/null").c_str(), "r");
    std::string out;
    char buf[65536];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    const int status = WEXITSTATUS(pclose(pipe));
    const Json j = Json::parse(out);
    EXPECT_EQ(status, j["messages"].empty() ? 0 : 3) << cmd;  // 3: a box reported an error
    return j;
}

// The messages' texts joined by "|".
std::string Texts(const Json& messages) {
    std::string t;
    for (const Json& m : messages)
        t += (t.empty() ? "" : "|") + m["text"].get<std::string>();
    return t;
}

// One record line as the sensor sends it: 60 columns and CR LF.
std::string Rec(double ticks, const char* status = "00000000", int value = 5000, int loopUa = 12000,
                int sig = 200, int noise = 100, int relays = 1) {
    char line[80];
    std::snprintf(line, sizeof line, "%12.0f %-8s%6d%6d%4d%4d%2d  %4d%11d\r\n", ticks, status,
                  value, loopUa, sig, noise, relays, 250, -7);
    return line;
}

std::string Answer(const std::string& records, const std::string& listing = "Vrefcal = 3680\r\n") {
    return "H\r\nDIST\r\nDist    = 5000\r\n" + listing + "VELHIST N=9 DT=10s\r\n" + records +
           "  ***  \r\n";
}

double Ticks(double minutes) {
    return std::ceil(minutes * 60000 / 87.381);
}

const std::string kThree = Rec(1000) + Rec(1100) + Rec(1200);

// ---- framing and the messages ----

struct FramingCase {
    const char* name;
    std::string input;
    std::string options;  // blank-separated
    std::string messages;
    std::size_t histories;
};

const std::string kPad(80, 'x');
const std::string kAns = Answer(kThree);

// 2100 records: more than 128000 blocks of one character, each counted once.
std::string Long() {
    std::string recs;
    for (int k = 0; k < 2100; ++k)
        recs += Rec(k);
    return Answer(recs);
}

const std::string kBadTime = Answer(Rec(1000) + "     12x4567" + Rec(1).substr(12));
const std::vector<FramingCase> kFraming{
    {"VelhistSplit", kAns, "--block 45", "", 1},  // the first block ends "VELH"
    {"FileGoesOnAfterMarker", kAns + "E\r\nOK\r\n" + kPad, "--from-file", "", 1},
    {"LongLastBlock", kAns + kPad, "", "", 1},
    {"MarkerSplit", kAns + kPad, "--block " + std::to_string(kAns.size() - 6), "", 1},
    {"FullHistoryInSingleCharacters", Long(), "--block 1", "", 1},
    {"FileWithoutMarker", kAns.substr(0, 200), "--from-file", "History - end marker missing", 0},
    {"FileWithoutHeader", kThree, "--from-file", "History - header not found", 0},
    {"LongFileWithoutHeader", std::string(32000, 'x'), "--from-file",
     "History - invalid header format|History - header not found", 0},
    {"NoLineEndAfterHeader", "VELHIST  ***  " + std::string(48, '-'), "--from-file",
     "Invalid history header format|History file is empty", 0},
    {"MarkerAfterHeader", Answer(""), "", "History file is empty", 0},
    {"NoRecordBeforeMarker", Answer("") + kPad, "--from-file", "", 0},
    {"TimeNotANumber", kBadTime, "", "Type mismatch i=2 kdeb=4 vsum=5000", 0},
    {"StatusNotHex", Answer(Rec(1000) + Rec(1100, "0000G000")), "--from-file",
     "Type mismatch i=2 kdeb=5 vsum=5000", 0},
};

class HistFraming : public ::testing::TestWithParam<FramingCase> {};

TEST_P(HistFraming, ShowsItsMessagesAndEndsIdle) {
    const FramingCase& c = GetParam();
    Args args;
    for (std::size_t at = 0; at < c.options.size();) {
        const std::size_t end = std::min(c.options.find(' ', at), c.options.size());
        args.push_back(c.options.substr(at, end - at));
        at = end + 1;
    }
    const Json j = Decode(c.input, args);
    EXPECT_EQ(Texts(j["messages"]), c.messages);
    EXPECT_EQ(j["history"].size(), c.histories);
    EXPECT_EQ(j["state"]["GraphState"], 0);
    // A fault stops the sensor and the program goes on; the framing messages send nothing.
    const bool fault = c.messages.rfind("Type mismatch", 0) == 0;
    EXPECT_EQ(j["sent"], fault ? "R" : "");
    EXPECT_TRUE(!fault || j["messages"][0]["title"] == "Sondix V3.58") << "no Hist error box";
}

INSTANTIATE_TEST_SUITE_P(Cases, HistFraming, ::testing::ValuesIn(kFraming),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the time axis ----

struct AxisCase {
    double minutes;
    double timeUnit;
    float xmax;
    int ndivs;
    const char* xTitle;
    int yScale;
    const char* yTitle;
};

const std::vector<AxisCase> kAxis{
    {9, 1.0 / 60, 570, 19, "Time (seconds)", 10, "Distance in 10% of Ymax"},
    {10, 1, 12, 6, "Time (minutes)", 10, "Distance in 10% of Ymax units"},
    {49, 1, 50, 25, "Time (minutes)", 10, "Distance in 10% of Ymax units"},
    {359, 1, 360, 36, "Time (minutes)", 100, "Distance in % of Ymax units"},
    {2879, 60, 48, 24, "Time (hours)", 10, "Distance in 10% of Ymax units"},
    {17279, 60, 288, 24, "Time (hours)", 100, "Distance in % of Ymax units"},
    {46079, 1440, 32, 16, "Time (days)", 10, "Distance in 10% of Ymax units"},
    {263519, 10080, 27, 27, "Time (weeks)", 10, "Distance in 10% of Ymax units"},
    {300000, 525949.2 / 12, 7, 7, "Time (months)", 10, "Distance in 10% of Ymax units"},
};

TEST(HistAxis, EveryRowOfTheTimeAxisTable) {
    for (const AxisCase& c : kAxis) {
        const Json h = Decode(Answer(Rec(500) + Rec(500 + Ticks(c.minutes))))["history"][0];
        SCOPED_TRACE(c.minutes);
        EXPECT_DOUBLE_EQ(h["TimeUnit"].get<double>(), c.timeUnit);
        EXPECT_FLOAT_EQ(h["SetScaleX"]["xmax"].get<float>(), c.xmax);
        EXPECT_EQ(h["SetScaleX"]["ndivs"], c.ndivs);
        EXPECT_EQ(h["SetScaleX"]["title"], c.xTitle);
        EXPECT_EQ(h["YScale"], c.yScale);
        EXPECT_EQ(h["SetScaleY"]["ymax"], c.yScale);
        EXPECT_EQ(h["SetScaleY"]["title"], c.yTitle);
        EXPECT_EQ(h["legends"][0], c.yScale == 100 ? "Dist % of max" : "Dist 10% of max");
    }
}

// ---- records, statistics and the footnote ----

TEST(HistRecords, StatusIndicatorAndAmplitudeCodes) {
    // Without a "Vrefcal =" line the reference stays 3.68.
    const Json h =
        Decode(Answer(Rec(1, "00000000", 5000, 12000, 0) + Rec(2, "2000", 5000, 3000, 13) +
                          Rec(3, "10000", 5000, 12000, 300) + Rec(4, "00100000") +
                          Rec(5, "FFFFFFFF") + Rec(6, "1"),
                      ""))["history"][0];
    const std::vector<float> chart{1, 16, 31, 51, 76, 11};
    const std::vector<int> status{0, 0x2000, 0x10000, 0x100000, -1, 1};
    for (std::size_t k = 0; k < chart.size(); ++k) {
        EXPECT_EQ(h["records"][k]["HistStatusChart"].get<float>(), chart[k]);
        EXPECT_EQ(h["records"][k]["HistStatus"], status[k]);
    }
    EXPECT_EQ(h["records"][0]["HistSignalPct"], 0);
    EXPECT_NEAR(h["records"][1]["HistSignalPct"].get<double>(), 2 * 100 / 3.68, 1e-4);
    EXPECT_EQ(h["records"][2]["HistSignalPct"], 100);
    EXPECT_EQ(h["records"][1]["HistLoopPct"], -6.25);
    EXPECT_EQ(h["points"][1][3], 0 - 0.625f) << "SetData keeps a negative value";
    EXPECT_EQ(h["HistN"], 4) << "loss of echo (also in FFFFFFFF) is left out";
}

struct StatsCase {
    std::vector<int> values;
    std::string listing;
    std::string statsLine;
    std::string ymax;
};

TEST(HistRecords, StatisticsAndFootnote) {
    const std::string vref = "Vrefcal = 3680\r\n";
    const std::vector<StatsCase> cases{
        // 1.0 and below and loss of echo (the third record) are not counted.
        {{1, 100, 5000, 300, 0}, vref, "Xavr=200.0+/-141.42mm (70.711% n=2)", "=  5050,"},
        {{1, 0, 1, 1, 1}, "", "Xavr=0.0+/-0.00mm (0.000% n=0)", "=  1.01,"},
        // Readings near 10 m: squares summed in single precision would give a deviation of 0.
        {{9999, 10001, 9999, 10001, 9999},
         "",
         "Xavr=10000.0+/-1.15mm (0.012% n=4)",
         "=  10101.01,"},
        // A reference of 0 and a largest value of 0: 0 %, nothing divided by zero.
        {{0, 0, 0, 0, 0}, "Vrefcal =    0\r\n", "Xavr=0.0+/-0.00mm (0.000% n=0)", "=  0,"},
    };
    for (const StatsCase& c : cases) {
        std::string recs;
        for (std::size_t k = 0; k < c.values.size(); ++k)
            recs += Rec(100 + k, k == 2 && c.values[k] == 5000 ? "2000" : "0", c.values[k]);
        if (c.values[4] == 9999) recs = recs.substr(0, recs.size() - 62);  // four readings
        const Json h = Decode(Answer(recs, c.listing))["history"][0];
        const std::string note = h["footnote"];
        EXPECT_EQ(note.substr(note.find("\n\r") + 2), c.statsLine);
        EXPECT_NE(note.find("Ymax(100%) " + c.ymax), std::string::npos) << note;
        EXPECT_EQ(h["records"][0]["HistSignalPct"] == 0, c.listing == "Vrefcal =    0\r\n");
        for (const Json& p : h["points"]) {
            for (std::size_t k = 1; k < p.size(); ++k)
                EXPECT_TRUE(p[k].is_number()) << p;
        }
    }
}

TEST(HistRecords, TitleFootnoteCutAndAtMost4096Records) {
    std::string recs;
    const double t0 = Ticks(12.349 * 1440);
    for (int k = 0; k < 4100; ++k)
        recs += Rec(t0 + k);
    const Json h =
        Decode(Answer(recs, "Timer=   12106783\r\n"), {"--header-str", "Unit#7"})["history"][0];
    EXPECT_EQ(h["HistCount"], 4096);
    EXPECT_EQ(h["points"].size(), 4096U);
    const std::string note = h["footnote"];
    EXPECT_EQ(note.substr(0, note.find(", Ymax")),
              " H command: Use Alt PrtScr to copy and paste graph window.  Time0 =  12.34d");
    EXPECT_EQ(h["title"], "History Unit#7  2026-12-07 03:00:00  T= 12.24d");
    EXPECT_EQ(h["caption"], "DIST History V3.58");
}

TEST(HistRecords, VelocimeterTextsWorkbookHeadingsAndStatusColours) {
    const std::string book = Out("vel.xlsx");
    std::string answer =
        Answer(Rec(1) + Rec(2, "2000") + Rec(3, "40") + Rec(4, "10000") + Rec(5, "80000000"));
    answer.erase(answer.find("Dist    = 5000\r\n"), 16);  // a velocimeter lists no distance
    const Json h = Decode(answer, {"--xlsx", book})["history"][0];
    EXPECT_EQ(h["caption"], "VEL History V3.58");
    EXPECT_EQ(h["legends"][0], "Vel 10% of max");
    EXPECT_EQ(h["SetScaleY"]["title"], "Velocity in 10% of Ymax");
    const std::string note = h["footnote"];
    EXPECT_EQ(note.substr(note.find("d, ")),
              "d, Vmax(100%) =  5050, Nrecords =  5\n\rVavr=5000.0+/-0.00mm/s (0.000% n=4)");
    const auto xl = test::XlsxBook::Open(book);
    ASSERT_TRUE(xl);
    EXPECT_EQ(xl->Text(1, 3), " Vel(mm/s) ");
    EXPECT_EQ(xl->Text(1, 4), " Total(mm) ");
    const std::vector<std::string> fills{"", "FFFFFF00", "FFFFFF00", "FFFFA500", "FFFF0000"};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(xl->Fill(k + 2, 1), fills[k]) << k;
}

// ---- the simulator's answer: block sizes, time order, the workbook ----

std::string Capture() {
    std::ifstream in(std::string(SONDIX_TEST_DATA) + "/history_H.cap", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(HistCapture, SameHistoryWholeOrInBlocks) {
    const Json whole = Decode(Capture())["history"];
    ASSERT_EQ(whole.size(), 1U);
    for (const char* block : {"1", "7", "64", "300"})
        EXPECT_EQ(Decode(Capture(), {"--block", block})["history"], whole) << block;
    EXPECT_EQ(Decode(Capture(), {"--from-file"})["history"], whole);
}

TEST(HistCapture, ChartedInTimeOrderExportedInRecordOrder) {
    const std::string book = Out("hist.xlsx");
    const Json h = Decode(Capture(), {"--xlsx", book, "--header-str", "Unit#7"})["history"][0];
    const Json& records = h["records"];
    // The simulator swapped records 5 and 6: the chart takes 6 first.
    EXPECT_EQ(h["order"][4], 6);
    EXPECT_EQ(h["order"][5], 5);
    for (std::size_t k = 1; k < h["points"].size(); ++k)
        EXPECT_LE(h["points"][k - 1][1], h["points"][k][1]);

    const auto xl = test::XlsxBook::Open(book);
    ASSERT_TRUE(xl);
    const std::vector<std::string> head{"  Status  ", "  Time(min)  ", " Dist(mm) ", " Vel(mm/s)",
                                        "I Loop%",    "LOE",           "Temp C",     "Signal%",
                                        "Noise%",     "Relay 1",       "Relay 2",    "Error Code"};
    for (int c = 1; c <= 12; ++c)
        EXPECT_EQ(xl->Text(1, c), head[c - 1]);
    EXPECT_EQ(xl->NumberFormat(1, 13), "yyyy-mm-dd hh:mm:ss");
    EXPECT_EQ(xl->Text(1, 14), "Unit#7");
    EXPECT_EQ(xl->BottomBorder(1, 1), "thin");
    EXPECT_EQ(xl->BottomBorder(1, 26), "thin");
    EXPECT_EQ(xl->CellCount(), 26 + 11 * records.size() + 4) << "column A coloured for 4 LOE";
    for (std::size_t k = 0; k < records.size(); ++k) {
        const Json& r = records[k];
        const int row = static_cast<int>(k) + 2;
        EXPECT_DOUBLE_EQ(xl->Number(row, 2), r["HistTime"].get<double>());
        EXPECT_EQ(xl->Number(row, 3), r["HistValue"].get<double>());
        EXPECT_EQ(xl->Number(row, 5), r["HistLoopPct"].get<double>());
        EXPECT_EQ(xl->Number(row, 6), r["HistStatus"] == 0x2000 ? 1 : 0);
        EXPECT_EQ(xl->Number(row, 10), 1);
        EXPECT_EQ(xl->Number(row, 11), r["HistRelays"] == 3 ? 1 : 0);
        EXPECT_EQ(xl->Text(row, 12), r["HistStatus"] == 0 ? "0" : "2000");
        EXPECT_EQ(xl->Fill(row, 1), r["HistStatus"] == 0 ? "" : "FFFFFF00");
    }
}

}  // namespace
}  // namespace sondix
