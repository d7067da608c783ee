#include <gtest/gtest.h>
#include "PlayerEngine.h"
TEST(Placeholder, Builds) { EXPECT_EQ(sizeof(rova::LampFrame), 2160u); }
