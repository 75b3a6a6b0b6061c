// A split and garbled line with a box open in the middle of the results stream: the terminal
// shows every received character once, in the order the line delivered them.
#include <gtest/gtest.h>

#include <QPushButton>
#include <string>
#include <string_view>

#include "e2e_support.h"

namespace sondix::test {
namespace {

// Passes every call on to the window's port and keeps what each receive event read.
class InputTap : public CommPort {
  public:
    explicit InputTap(Session& s) : s_(s), port_(s.io.port) { s_.io.port = this; }
    ~InputTap() override { s_.io.port = port_; }
    InputTap(const InputTap&) = delete;
    InputTap& operator=(const InputTap&) = delete;

    std::string Input() override {
        std::string block = port_->Input();
        received += block;
        return block;
    }
    bool PortOpen() const override { return port_->PortOpen(); }
    std::string SetPortOpen(bool open) override { return port_->SetPortOpen(open); }
    std::string Output(std::string_view bytes) override { return port_->Output(bytes); }
    int OutBufferCount() const override { return port_->OutBufferCount(); }
    int OutBufferSize() const override { return port_->OutBufferSize(); }
    std::string Settings() const override { return port_->Settings(); }
    std::string SetSettings(std::string_view s) override { return port_->SetSettings(s); }
    int CommPortNumber() const override { return port_->CommPortNumber(); }
    std::string SetCommPortNumber(int n) override { return port_->SetCommPortNumber(n); }
    int Handshaking() const override { return port_->Handshaking(); }
    std::string SetHandshaking(int code) override { return port_->SetHandshaking(code); }
    std::string LastErrorText() const override { return port_->LastErrorText(); }

    std::string received;

  private:
    Session& s_;
    CommPort* port_;
};

std::string WithoutLineEnds(std::string s) {
    std::erase_if(s, [](char c) { return c == '\r' || c == '\n'; });
    return s;
}

TEST(LineOrderWithSimulator, TheTerminalKeepsTheLinesOrderUnderABox) {
    SimulatedSession t(
        {"--split", "1:7", "--garble", "0.01", "--seed", "3", "--results-interval", "0.05"});
    Pump(200);
    InputTap tap(t.s());
    const std::string before = t.s().io.term->Text();
    // While the box is open the event loop runs on and the line keeps delivering.
    t.asker.whileOpen = [] { Pump(400); };

    t.w->Button("cmdRptDist")->click();
    ASSERT_TRUE(PumpUntil([&] { return tap.received.size() > 100; }, 3000));
    // The results answer never ends: the next block opens the "transfer too long" box.
    t.s().parser.ChunkCount = kMaxChunks;
    ASSERT_TRUE(PumpUntil([&] { return !t.asker.asked.empty(); }, 3000));
    Pump(200);
    t.w->Button("cmdRptDist")->click();
    Pump(300);

    EXPECT_EQ(WithoutLineEnds(t.s().io.term->Text()), WithoutLineEnds(before + tap.received));
}

}  // namespace
}  // namespace sondix::test
