// The port properties dialog's rules: what it reads from the port, what OK applies and keeps.
#include <gtest/gtest.h>

#include "memory_settings_store.h"
#include "session_fixture.h"
#include "terminal/comm_settings.h"
#include "terminal/port_properties.h"

namespace sondix {
namespace {

using Texts = std::vector<std::string>;

// A port that refuses the settings the real one refuses.
struct StrictPort : RecordingPort {
    std::string SetSettings(std::string_view text) override {
        CommSettings parsed;
        if (auto why = ParseCommSettings(text, parsed); !why.empty()) return why;
        return RecordingPort::SetSettings(FormatCommSettings(parsed));
    }
};

struct Dialog : test::SessionFixture {
    StrictPort strict;
    test::MemorySettingsStore store;
    std::vector<PortEntry> entries = PortEntries({{"/dev/ttyUSB0", "FT232R", 0x403, 0x6001}});
    explicit Dialog(bool open = true, const char* settings = "4800,e,7,1") {
        s.io.port = &strict;
        strict.open = open;
        strict.settings = settings;
    }
    PropertyChoices Load() { return LoadPropertySettings(s, entries); }
    std::string Stored(const char* key) { return store.Get("Properties", key); }
};

TEST(PortProperties, LoadReadsTheSettingsTextByPosition) {
    for (const auto& [settings, shown] :
         {std::pair<const char*, Texts>{"9600,n,8,1.5", {"9600", "None", "8", "1.5"}},
          {"9600,N,8,1", {"9600", "None", "8", "1"}},
          {"115200,e,7,2", {"115200", "Even", "7", "2"}},
          {"300,x,5,1", {"300", "", "5", "1"}}}) {
        const PropertyChoices p = Dialog(true, settings).Load();
        EXPECT_EQ((Texts{p.speed, p.parity, p.dataBits, p.stopBits}), shown) << settings;
    }
}

TEST(PortProperties, OkAppliesAndKeepsOrRefusesAndKeepsTheDialogOpen) {
    for (const auto& [chosen, applied] :
         {std::pair<Texts, std::string>{{"9600", "None", "8", "1"}, "9600,n,8,1"},
          {{"19200", "Odd", "7", "2"}, "19200,o,7,2"},
          {{"9600", "", "8", "1"}, ""},
          {{"9600", "None", "4", "2"}, ""}}) {
        Dialog t;
        PropertyChoices p = t.Load();
        std::tie(p.speed, p.parity, p.dataBits, p.stopBits) =
            std::tie(chosen[0], chosen[1], chosen[2], chosen[3]);
        p.port = t.entries[1];
        p.flow = 2;
        EXPECT_EQ(cmdOK_Click(t.s, t.store, p), !applied.empty()) << chosen[2];
        EXPECT_EQ(t.strict.settings, applied.empty() ? "4800,e,7,1" : applied);
        const Texts kept = applied.empty() ? Texts(4) : Texts{applied, "2", "2", "False"};
        EXPECT_EQ((Texts{t.Stored("Settings"), t.Stored("CommPort"), t.Stored("Handshaking"),
                         t.Stored("Echo")}),
                  kept);
    }
}

TEST(PortProperties, PortSwitchReopensAnOpenPortOnlyAndAFailedSwitchShowsTheClosedPort) {
    for (const bool open : {true, false}) {
        Dialog t(open);
        PropertyChoices p = t.Load();
        p.port = PortEntryForText("/dev/ttyUSB0  FT232R  [0403:6001]", t.entries, 1);
        ASSERT_TRUE(cmdOK_Click(t.s, t.store, p));
        EXPECT_EQ(t.strict.opens, open ? 1 : 0);
        EXPECT_EQ(t.strict.open, open);
        EXPECT_EQ(t.Stored("PortName"), "/dev/ttyUSB0");
    }
    Dialog t;
    PropertyChoices p = t.Load();
    p.port = PortEntryForText("Com100", t.entries, 1);
    EXPECT_FALSE(cmdOK_Click(t.s, t.store, p));
    EXPECT_FALSE(t.strict.open);
    EXPECT_EQ(t.strict.commPort, 1);
    EXPECT_EQ(t.host.portStateChanges, 1);  // the lamp turns red with the port
}

}  // namespace
}  // namespace sondix
