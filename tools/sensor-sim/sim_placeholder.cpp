// Placeholder so the answer library exists before its generators land.
namespace sondix::sim {}
