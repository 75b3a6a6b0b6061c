// Placeholder; the parameter exchange replaces it.
#include "config/param_exchange.h"
#include "terminal/session.h"
namespace sondix {
void send_cmd(Session&, std::string_view) {}
void send_s_cmd(Session&, std::int16_t, std::int16_t) {}
std::string FormatSetValue(std::int16_t, std::int16_t) { return {}; }
void delay_after_cmd(Session&) {}
}  // namespace sondix
