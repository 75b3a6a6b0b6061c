// The outside interfaces of the core that need the windowing part of Qt: message boxes and the
// file dialog (the clock and the settings store, which need only QtCore, are in
// qt_core_platform.h).
#pragma once

#include <functional>

#include "common/platform.h"
#include "terminal/file_chooser.h"
#include "terminal/ui/qt_core_platform.h"
#include "terminal/window_host.h"

class QWidget;

namespace sondix {

class QtMessageAsker : public MessageAsker {
  public:
    explicit QtMessageAsker(QWidget* parent) : parent_(parent) {}
    MsgAnswer Ask(std::string_view title, std::string_view text, MsgButtons buttons,
                  MsgIcon icon) override;
    void Beep() override;

  private:
    QWidget* parent_;
};

// The open dialog of QFileDialog. A name that does not exist yet may be given (a new log file).
class QtFileChooser : public FileChooser {
  public:
    explicit QtFileChooser(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> ChooseOpenFile(std::string_view title,
                                              std::string_view filter) override;

  private:
    QWidget* parent_;
};
// "Log Files (*.LOG)|*.log|All Files (*.*)|*.*" as QFileDialog writes it:
// "Log Files (*.log);;All Files (*)".
QString QtFileFilter(std::string_view filter);

}  // namespace sondix
