// The port properties dialog's rules: what it reads from the port, what OK applies and keeps,
// and the command line's --log.
#include <gtest/gtest.h>

#include "memory_settings_store.h"
#include "session_fixture.h"
#include "terminal/comm_settings.h"
#include "terminal/main_window.h"
#include "terminal/port_properties.h"
#include "terminal/program_args.h"

namespace sondix {
namespace {

// A port that refuses what the real one refuses, and port numbers above `lastPort`.
struct StrictPort : RecordingPort {
    int lastPort = 16;
    std::string SetSettings(std::string_view text) override {
        CommSettings parsed;
        if (auto why = ParseCommSettings(text, parsed); !why.empty()) return why;
        return RecordingPort::SetSettings(FormatCommSettings(parsed));
    }
    std::string SetCommPortNumber(int n) override {
        if (n > lastPort) return "no such port";
        return RecordingPort::SetCommPortNumber(n);
    }
};

struct Dialog : test::SessionFixture {
    StrictPort strict;
    test::MemorySettingsStore store;
    std::vector<PortEntry> entries = PortEntries({{"/dev/ttyUSB0", "FT232R", 0x403, 0x6001}});
    explicit Dialog(bool open = true) {
        s.io.port = &strict;
        strict.open = open;
    }
};

TEST(PortProperties, LoadReadsTheSettingsTextByPosition) {
    struct Case {
        const char *settings, *speed, *parity, *dataBits, *stopBits;
    };
    for (const Case& c : {Case{"9600,n,8,1.5", "9600", "None", "8", "1.5"},
                          Case{"9600,N,8,1", "9600", "None", "8", "1"},
                          Case{"115200,e,7,2", "115200", "Even", "7", "2"},
                          Case{"300,x,5,1", "300", "", "5", "1"}}) {
        Dialog t;
        t.strict.settings = c.settings;
        const PropertyChoices p = LoadPropertySettings(t.s, t.entries);
        EXPECT_EQ((std::vector<std::string>{p.speed, p.parity, p.dataBits, p.stopBits}),
                  (std::vector<std::string>{c.speed, c.parity, c.dataBits, c.stopBits}))
            << c.settings;
    }
}

TEST(PortProperties, OkAppliesAndKeepsOrRefusesAndKeepsTheDialogOpen) {
    struct Case {
        const char *speed, *parity, *dataBits, *stopBits;
        bool accepted;
        const char* portSettings;
    };
    for (const Case& c : {Case{"9600", "None", "8", "1", true, "9600,n,8,1"},
                          Case{"19200", "Odd", "7", "2", true, "19200,o,7,2"},
                          Case{"9600", "", "8", "1", false, "4800,e,7,1"},
                          Case{"9600", "None", "4", "2", false, "4800,e,7,1"}}) {
        Dialog t;
        t.strict.settings = "4800,e,7,1";
        PropertyChoices p = LoadPropertySettings(t.s, t.entries);
        std::tie(p.speed, p.parity, p.dataBits, p.stopBits) =
            std::tuple(c.speed, c.parity, c.dataBits, c.stopBits);
        p.port = t.entries[1];
        p.flow = 2;
        EXPECT_EQ(cmdOK_Click(t.s, t.store, p), c.accepted) << c.dataBits;
        EXPECT_EQ(t.strict.settings, c.portSettings);
        EXPECT_EQ(t.store.Get("Properties", "Settings"), c.accepted ? c.portSettings : "");
        if (!c.accepted) continue;
        EXPECT_EQ(t.store.Get("Properties", "CommPort"), "2");
        EXPECT_EQ(t.store.Get("Properties", "Handshaking"), "2");
        EXPECT_EQ(t.store.Get("Properties", "Echo"), "False");
    }
}

TEST(PortProperties, PortSwitchReopensAnOpenPortOnlyAndAFailedSwitchShowsTheClosedPort) {
    for (const bool open : {true, false}) {
        Dialog t(open);
        PropertyChoices p = LoadPropertySettings(t.s, t.entries);
        p.port = PortEntryForText("/dev/ttyUSB0  FT232R  [0403:6001]", t.entries, 1);
        ASSERT_TRUE(cmdOK_Click(t.s, t.store, p));
        EXPECT_EQ(t.strict.opens, open ? 1 : 0);
        EXPECT_EQ(t.strict.open, open);
        EXPECT_EQ(t.store.Get("Properties", "PortName"), "/dev/ttyUSB0");
    }
    Dialog t;
    PropertyChoices p = LoadPropertySettings(t.s, t.entries);
    p.port = PortEntryForText("Com17", t.entries, 1);
    EXPECT_FALSE(cmdOK_Click(t.s, t.store, p));
    EXPECT_FALSE(t.strict.open);
    EXPECT_EQ(t.strict.commPort, 1);
    EXPECT_EQ(t.host.portStateChanges, 1);  // the lamp turns red with the port
}

TEST(ProgramArguments, LogOptionTakenOutTheRestKept) {
    const ProgramArgs a = ParseProgramArgs({"--log", "s.log", "417"});
    EXPECT_EQ(a.logPath, "s.log");
    EXPECT_EQ(a.rest, std::vector<std::string>{"417"});
    EXPECT_EQ(ParseProgramArgs({"--log=t.log"}).logPath, "t.log");
    EXPECT_FALSE(ParseProgramArgs({"--log"}).error.empty());
}

}  // namespace
}  // namespace sondix
