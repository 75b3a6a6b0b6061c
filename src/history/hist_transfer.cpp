// Placeholder: the history transfer takes the blocks but does nothing with them yet.
#include "history/hist_transfer.h"

namespace sondix {

void HistTransfer(Session&, std::string&, bool) {}

}  // namespace sondix
