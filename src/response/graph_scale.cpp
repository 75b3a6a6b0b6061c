// Placeholder; the axis rules replace it.
#include "response/graph_scale.h"
namespace sondix {
void RectifyScaleX(GraphModel&, std::int16_t, float, float) {}
void RectifyScaleX_Freq(GraphModel&, std::int16_t, float, float) {}
}  // namespace sondix
