// What `sondix-cli decode P --config` does on the open configuration screen, in the order given:
// --set NAME=VALUE, --click NAME, --answer BUTTON.
#pragma once

#include <string>
#include <vector>

namespace sondix::cli {

struct ConfigAction {
    enum class Kind { Set, Click, Answer };
    Kind kind = Kind::Click;
    std::string name;   // the control, or the button of --answer
    std::string value;  // --set only
};

// "" when the action names a control of the screen (of the right kind) and a value it takes;
// otherwise the usage error.
std::string CheckConfigAction(const ConfigAction& a);

// --set's argument "NAME=VALUE" split at the first "=".
bool SplitSetArgument(const std::string& arg, ConfigAction& out);

}  // namespace sondix::cli
