// The open-file dialog as the core asks for it: a title, a filter, and the chosen path or
// nothing when the user cancelled. The Qt window shows QFileDialog; tests script the answers.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sondix {

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // `filter` pairs descriptions and patterns: "Log Files (*.LOG)|*.log|All Files (*.*)|*.*".
    virtual std::optional<std::string> ChooseOpenFile(std::string_view title,
                                                      std::string_view filter) = 0;
};

// Answers the dialogs in order, then cancels.
class ScriptedChooser : public FileChooser {
  public:
    std::optional<std::string> ChooseOpenFile(std::string_view title,
                                              std::string_view filter) override {
        titles.emplace_back(title);
        filters.emplace_back(filter);
        if (answers.empty()) return std::nullopt;
        auto a = std::move(answers.front());
        answers.pop_front();
        return a;
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> titles;
    std::vector<std::string> filters;
};

}  // namespace sondix
