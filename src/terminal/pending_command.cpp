// The pending command: whatever was sent last decides how the parser reads the next answer, and
// a new command abandons the previous answer and the windows that showed it.
#include "history/hist_transfer.h"
#include "terminal/main_window.h"

namespace sondix {

namespace {

void CaretToEnd(TextBox& term) {
    term.SetSelStart(static_cast<long long>(term.Text().size()));
}

}  // namespace

std::int16_t KeyCode(char c) {
    return static_cast<unsigned char>(c);
}

bool IsStreamCommand(std::int16_t commandKey) {
    return commandKey == KeyCode('[') || commandKey == KeyCode(']') || commandKey == KeyCode('{') ||
           commandKey == KeyCode('}');
}

void ResetVariables(Session& s) {
    ParserState& p = s.parser;
    p.GraphState = kIdle;
    p.AnswerText.clear();
    p.HeaderText.clear();
    p.TrailerText.clear();
    p.AnswerLen = 0;
    p.ChunkCount = 0;
    EndHistProgress(s);

    // Decided once: unloading the results window sends "}" and so changes the pending command.
    if (!IsStreamCommand(s.CommandKey)) {
        if (s.D_GraphLoaded) UnloadGraphWindow(s);
        if (s.HistWindowLoaded) UnloadHistWindow(s);
        if (s.ResultDisp_Loaded) UnloadResultsWindow(s);
    }

    // Without local echo the sensor's echo must land after the text, not inside it.
    if (!s.Echo) CaretToEnd(*s.io.term);
}

}  // namespace sondix
