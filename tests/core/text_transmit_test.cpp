// Text-file transmission: which characters reach the sensor, the pause after each, Cancel, and
// the menu state around it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/pauses.h"
#include "session_fixture.h"
#include "terminal/text_transmit.h"

namespace sondix {
namespace {

namespace P = Gen::Pauses;

struct RecordingCancelWindow : CancelSendWindow {
    void ShowSending(std::string_view l) override { label = l, shown = true; }
    void HideSending() override { shown = false; }
    std::string label;
    bool shown = false;
};

struct Transmission : test::SessionFixture {
    ScriptedChooser chooser;
    RecordingCancelWindow window;
    std::string path = std::string(SONDIX_TEST_OUT) + "/transmit.txt";
    explicit Transmission(const std::string& content) {
        std::filesystem::create_directories(SONDIX_TEST_OUT);
        std::ofstream(path, std::ios::binary) << content;
        chooser.answers = {path};
    }
};

TEST(TextTransmission, PrintablesCrAndLfSentBlanksAndOthersOnlyPaused) {
    struct Case {
        std::string file, sent;
        std::vector<double> pauses;
    };
    const Case cases[] = {
        {"P F\r\n",
         "PF\r\n",
         {P::kTextChar, P::kTextBlank, P::kTextChar, P::kTextChar, P::kTextChar}},
        {"\tA\x7f", "A\x7f", {P::kTextOther, P::kTextChar, P::kTextChar}},
        {"\x80\xff~", "~", {P::kTextOther, P::kTextOther, P::kTextChar}},
    };
    for (const Case& c : cases) {
        Transmission t(c.file);
        mnuSendText_Click(t.s, t.chooser, t.window);
        EXPECT_EQ(t.port.sent, c.sent);
        EXPECT_EQ(t.clock.waits, c.pauses) << c.file;
        EXPECT_EQ(t.window.label, "Transmitting Text File - " + t.path);
    }
}

TEST(TextTransmission, CancelStopsBeforeTheNextCharacterAndRestoresTheMenu) {
    Transmission t(std::string(600, 'x'));  // more than one output buffer
    bool menuDisabledWhileSending = false;
    t.clock.onEvents = [&] {
        menuDisabledWhileSending = t.s.TextSending;
        if (t.port.sent.size() == 2) t.s.CancelSend = true;
    };
    t.s.parser.GraphState = 2;
    mnuSendText_Click(t.s, t.chooser, t.window);
    EXPECT_EQ(t.port.sent, "xx");
    EXPECT_TRUE(menuDisabledWhileSending);
    EXPECT_FALSE(t.s.TextSending);
    EXPECT_TRUE(t.s.CancelSend);
    EXPECT_FALSE(t.window.shown);
    EXPECT_EQ(t.s.parser.GraphState, 0);  // ResetVariables ran
}

TEST(TextTransmission, MissingFileAskedAgainAndCancelledDialogSendsNothing) {
    Transmission t("A");
    t.chooser.answers = {t.path + ".none", std::nullopt};
    mnuSendText_Click(t.s, t.chooser, t.window);
    ASSERT_EQ(t.asker.asked.size(), 1u);
    EXPECT_EQ(t.asker.asked[0].text, t.path + ".none not found!");
    EXPECT_EQ(t.chooser.titles, (std::vector<std::string>{"Send Text File", "Send Text File"}));
    EXPECT_EQ(t.port.sent, "");
    EXPECT_FALSE(t.s.TextSending);
}

}  // namespace
}  // namespace sondix
