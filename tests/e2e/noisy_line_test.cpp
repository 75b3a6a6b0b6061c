// A noisy line, end to end: the history transfer and the configuration screen's refresh and
// writes, with the session logged from the start, against sondix-sim on a line that splits,
// garbles or drops its answers, or hangs up. Whatever the line does: no crash, no click that
// hangs, no busy loop while the program waits, only the dispatcher's own boxes, a log holding
// every byte the port delivered in order, and the next command answered. On a line that only
// splits, every use comes through intact; after a hang-up the device comes back by itself and
// the feature works again.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "known_boxes.h"
#include "serial_rig.h"
#include "terminal/main_window.h"

namespace sondix::test {
namespace {

constexpr int kRecords = 240;  // the simulator's history
constexpr int kUses = 2;
constexpr double kBusy = 0.5;  // a waiting program uses less than half a core

void Click(SerialRig& r, const char* name) {
    QWidget* c = r.w->ConfigWindow() ? r.w->ConfigWindow()->Control(name) : nullptr;
    auto* b = c ? qobject_cast<QPushButton*>(c) : r.w->Button(name);
    ASSERT_NE(b, nullptr) << name;
    b->click();
}

// Each use says whether it came through intact.
bool UseHist(SerialRig& r, int) {
    if (r.w->HistWindow()) r.w->HistWindow()->hide();
    const std::size_t boxes = r.asker.asked.size();
    const auto shown = [&] { return r.w->HistWindow() && r.w->HistWindow()->isVisible(); };
    Click(r, "cmdHist");
    PumpUntil([&] { return shown() || r.asker.asked.size() > boxes || !r.LampGreen(); }, 5000);
    return shown() && r.s().histChart.NPoints() == kRecords;
}

bool UseRefresh(SerialRig& r, int) {
    r.s().mirror.Set__4 = 0;
    Click(r, "cmdRefreshPar");
    return r.s().mirror.Set__4 == 500;  // the sensor's 4 mA point
}

bool UseWrite(SerialRig& r, int k) {
    const int mm = 600 + 10 * (k % 10);
    auto* box = qobject_cast<QLineEdit*>(r.w->ConfigWindow()->Control("txtSet4"));
    box->selectAll();
    QTest::keyClicks(box, QString::number(mm / 1000.0, 'f', 2));  // the screen shows metres
    Click(r, "cmdSet4");
    r.s().mirror.Set__4 = 0;
    Click(r, "cmdRefreshPar");
    return r.s().mirror.Set__4 == mm;
}

enum class Fault { Split, Noise, HangUp };

struct Row {
    const char* name;
    bool (*use)(SerialRig&, int);
    std::vector<std::string> line;
    Fault fault;
};

const std::vector<Row> kRows = {
    {"HistSplit", UseHist, {"--split", "1:300"}, Fault::Split},
    {"HistGarble", UseHist, {"--garble", "0.002"}, Fault::Noise},
    {"HistDrop", UseHist, {"--drop", "0.002"}, Fault::Noise},
    {"HistHangUp", UseHist, {"--baud", "38400", "--hangup-after", "2"}, Fault::HangUp},
    {"RefreshSplit", UseRefresh, {"--split", "1:300"}, Fault::Split},
    {"RefreshGarble", UseRefresh, {"--garble", "0.005"}, Fault::Noise},
    {"RefreshDrop", UseRefresh, {"--drop", "0.005"}, Fault::Noise},
    {"RefreshHangUp", UseRefresh, {"--baud", "19200", "--hangup-after", "2"}, Fault::HangUp},
    {"WriteSplit", UseWrite, {"--split", "1:300"}, Fault::Split},
    {"WriteGarble", UseWrite, {"--garble", "0.005"}, Fault::Noise},
    {"WriteDrop", UseWrite, {"--drop", "0.005"}, Fault::Noise},
    {"WriteHangUp", UseWrite, {"--baud", "19200", "--hangup-after", "2"}, Fault::HangUp},
};

// A typed "T" brings the sensor's timer line (some 20 characters, whatever the noise).
void ExpectNextCommandAnswered(SerialRig& r, const char* after) {
    const std::size_t before = r.tap->received.size();
    txtTerm_KeyPress(r.s(), 'T');
    EXPECT_TRUE(PumpUntil([&] { return r.tap->received.size() >= before + 15; }, 3000))
        << "no answer after " << after;
}

// The log and the port's bytes alike, line ends aside: the log keeps the terminal's CR LF.
std::string WithoutLf(std::string s) {
    std::erase(s, '\n');
    return s;
}

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class NoisyLineFeatures : public ::testing::TestWithParam<Row> {};

TEST_P(NoisyLineFeatures, KeepsWorkingAndLogsEveryByte) {
    const Row& row = GetParam();
    std::vector<std::string> options{"--seed", "7", "--history-records", "240"};
    options.insert(options.end(), row.line.begin(), row.line.end());
    SerialRig r(row.name, options);
    ASSERT_TRUE(r.sim->running());
    ASSERT_TRUE(r.LampGreen());
    if (row.use != UseHist) Click(r, "cmdConfig");  // the screen opens with a refresh
    QElapsedTimer wall;
    wall.start();
    const double cpu = CpuSeconds();

    int uses = 0;
    const auto online = [&] { return r.sim->wait(0) < 0 && r.sim->running(); };
    for (; row.fault == Fault::HangUp ? online() && uses < 20 : uses < kUses; ++uses) {
        QElapsedTimer t;
        t.start();
        const bool intact = row.use(r, uses);
        EXPECT_LT(t.elapsed(), 6000) << "use " << uses << " hung";
        EXPECT_TRUE(intact || row.fault != Fault::Split) << "use " << uses;
        if (row.fault != Fault::HangUp) ExpectNextCommandAnswered(r, "a use");
    }
    if (row.fault == Fault::HangUp) {
        r.sim->wait(5);
        ASSERT_FALSE(online()) << "the simulator did not hang up";
        ASSERT_TRUE(PumpUntil([&] { return !r.LampGreen(); }, 3000));
        EXPECT_LT(IdleCpuShare(1200), kBusy) << "while the device is away";
        r.StartSim({});
        ASSERT_TRUE(PumpUntil([&] { return r.LampGreen(); }, 4000)) << "no reconnect";
        EXPECT_TRUE(row.use(r, uses)) << "after the reconnect";
        ExpectNextCommandAnswered(r, "the reconnect");
    }
    EXPECT_LT(IdleCpuShare(500), kBusy) << "after the uses";
    const double share = (CpuSeconds() - cpu) / (static_cast<double>(wall.elapsed()) * 1e-3);
    RecordProperty("uses", uses);
    RecordProperty("cpu_share_percent", static_cast<int>(share * 100));

    EXPECT_FALSE(r.w->ProgramEnded());
    for (const AskedMessage& m : r.asker.asked)
        EXPECT_TRUE(row.fault == Fault::Noise && (IsFramingBox(m) || Is(m, kErrorBox)))
            << m.title << ": " << m.text;
    ASSERT_TRUE(r.w->Log().IsOpen());
    const std::string logged = WithoutLf(Slurp(r.log)), read = WithoutLf(r.tap->received);
    EXPECT_EQ(logged.size(), read.size());
    EXPECT_TRUE(logged == read)
        << "the log differs from byte "
        << std::mismatch(logged.begin(), logged.end(), read.begin(), read.end()).first -
               logged.begin();
}

INSTANTIATE_TEST_SUITE_P(Rows, NoisyLineFeatures, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sondix::test
