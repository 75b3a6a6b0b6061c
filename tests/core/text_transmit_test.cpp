// Text-file transmission: which characters reach the sensor, the pause after each, Cancel, and
// the menu state around it.
#include <gtest/gtest.h>
#include <unistd.h>

#include "common/pauses.h"
#include "session_fixture.h"
#include "terminal/text_transmit.h"
#include "test_files.h"

namespace sondix {
namespace {

struct CancelWindow : CancelSendWindow {
    void ShowSending(std::string_view l) override { label = l, shown = true; }
    void HideSending() override { shown = false; }
    std::string label;
    bool shown = false;
};

struct Transmission : test::SessionFixture {
    ScriptedChooser chooser;
    CancelWindow window;
    std::string path;
    explicit Transmission(const std::string& content)
        // ctest runs the cases of this file at once, each in its own process.
        : path(test::WriteFile("transmit" + std::to_string(getpid()) + ".txt", content)) {
        chooser.answers = {path};
    }
    void Run() { mnuSendText_Click(s, chooser, window); }
};

TEST(TextTransmission, PrintablesCrAndLfSentBlanksAndOthersOnlyPaused) {
    constexpr double C = Gen::Pauses::kTextChar, B = Gen::Pauses::kTextBlank,
                     O = Gen::Pauses::kTextOther;
    const std::tuple<std::string, std::string, std::vector<double>> cases[] = {
        {"P F\r\n", "PF\r\n", {C, B, C, C, C}},
        {"\tA\x7f", "A\x7f", {O, C, C}},
        {"\x80\xff~", "~", {O, O, C}},
    };
    for (const auto& [file, sent, pauses] : cases) {
        Transmission t(file);
        t.Run();
        EXPECT_EQ(t.port.sent, sent);
        EXPECT_EQ(t.clock.waits, pauses) << file;
        EXPECT_EQ(t.window.label, "Transmitting Text File - " + t.path);
    }
}

TEST(TextTransmission, MissingFileAskedAgainCancelStopsBeforeTheNextCharacter) {
    Transmission t(std::string(600, 'x'));  // more than one output buffer
    t.chooser.answers.push_front(t.path + ".none");
    t.clock.onEvents = [&] {
        if (t.port.sent.size() == 2) t.s.CancelSend = true;
    };
    t.s.parser.GraphState = 2;
    t.Run();
    EXPECT_EQ(t.asker.asked.at(0).text, t.path + ".none not found!");
    EXPECT_EQ(t.port.sent, "xx");
    EXPECT_FALSE(t.s.TextSending || t.window.shown);
    EXPECT_EQ(t.s.parser.GraphState, 0);  // ResetVariables ran
}

}  // namespace
}  // namespace sondix
