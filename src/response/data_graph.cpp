// Placeholder; the data graph decoders replace it.
#include "response/data_graph.h"
#include "terminal/session.h"
namespace sondix {
long long GraphHeaderStep(Session&, char) { return 0; }
void EnsureGraphWindow(Session&) {}
void GraphDecodeStep(Session&, char) {}
}  // namespace sondix
