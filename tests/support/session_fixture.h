// A Session wired to the headless fakes, for core tests.
#pragma once

#include "terminal/headless_io.h"

namespace sondix::test {

using SessionFixture = HeadlessSession;

}  // namespace sondix::test
