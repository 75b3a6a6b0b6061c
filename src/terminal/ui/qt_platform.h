// The outside interfaces of the core that need the windowing part of Qt: message boxes (the
// clock and the settings store, which need only QtCore, are in qt_core_platform.h).
#pragma once

#include <functional>

#include "common/platform.h"
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

}  // namespace sondix
