#include <gtest/gtest.h>

#include "common/gen_text.h"

TEST(GenText, InStrIsOneBased) { EXPECT_EQ(Gen::InStr("abc", "c"), 3u); }
