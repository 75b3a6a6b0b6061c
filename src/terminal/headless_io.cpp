#include "terminal/headless_io.h"

#include <algorithm>

namespace sondix {

MsgAnswer DefaultAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
            return MsgAnswer::OK;
        case MsgButtons::OKCancel:
            return MsgAnswer::Cancel;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::No;
        case MsgButtons::RetryCancel:
            return MsgAnswer::Cancel;
        case MsgButtons::AbortRetryIgnore:
            return MsgAnswer::Ignore;
    }
    return MsgAnswer::OK;
}

MsgAnswer RecordingAsker::Ask(std::string_view title, std::string_view text, MsgButtons buttons,
                              MsgIcon icon) {
    asked.push_back({std::string(title), std::string(text), buttons, icon, DefaultAnswer(buttons)});
    const std::size_t at = asked.size() - 1;
    if (whileOpen) whileOpen();
    if (answers.empty()) return asked[at].answer;
    asked[at].answer = answers.front();
    answers.pop_front();
    return asked[at].answer;
}

void ManualClock::DoEvents() {
    if (onEvents) onEvents();
}

void ManualClock::Wait(double seconds) {
    waits.push_back(seconds);
    // A few passes, as a real wait processes events more than once.
    DoEvents();
    now += seconds;
    waited += seconds;
    DoEvents();
}

void StringTextBox::SetText(std::string_view t) {
    text = t;
    selStart = 0;
    selLength = 0;
}

void StringTextBox::SetSelStart(long long pos) {
    selStart = std::clamp<long long>(pos, 0, static_cast<long long>(text.size()));
    selLength = 0;
}

void StringTextBox::SetSelLength(long long len) {
    selLength = std::clamp<long long>(len, 0, static_cast<long long>(text.size()) - selStart);
}

void StringTextBox::SetSelText(std::string_view t) {
    text.replace(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selLength), t);
    selStart += static_cast<long long>(t.size());
    selLength = 0;
}

std::string RecordingPort::SetPortOpen(bool o) {
    if (o && !openError.empty()) return openError;
    if (o && !open) ++opens;
    if (!o && open) ++closes;
    open = o;
    return {};
}

std::string RecordingPort::Output(std::string_view bytes) {
    if (!open) return "Port is not open";
    if (!outputError.empty()) return outputError;
    sent.append(bytes);
    writes.emplace_back(bytes);
    return {};
}

std::string RecordingPort::Input() {
    std::string s;
    s.swap(input);
    return s;
}

std::string RecordingPort::SetSettings(std::string_view s) {
    if (!settingsError.empty()) return settingsError;
    settings = s;
    return {};
}

std::string RecordingPort::SetCommPortNumber(int n) {
    if (open) return "Operation valid only when the port is closed";
    if (n < 1 || n > 99) return "Invalid port number";
    commPort = n;
    return {};
}

std::string RecordingPort::SetHandshaking(int code) {
    if (code < 0 || code > 3) return "Invalid handshaking value";
    handshaking = code;
    return {};
}

std::string RecordingPort::SetPortName(std::string_view path) {
    if (open) return "Operation valid only when the port is closed";
    portName = path;
    return {};
}

std::string RecordingHost::WriteLog(std::string_view bytes) {
    if (!logError.empty()) return logError;
    log.append(bytes);
    return {};
}

void RecordingHost::ShowGraph() {
    graphWindow = true;
    ++graphShows;
    if (onShowGraph) onShowGraph();
}

void RecordingHost::ShowHistWindow() {
    histWindow = true;
    ++histShows;
    if (onShowHist) onShowHist();
}

void RecordingHost::ResultsChanged() {
    ++resultsUpdates;
    if (onResultsChanged) onResultsChanged();
}

}  // namespace sondix
