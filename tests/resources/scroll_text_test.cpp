// String 1, the text of the sine scroller.

#include "platform/resources.h"

#include <gtest/gtest.h>

#include <string>

TEST(ScrollText, FitsTheScrollerAndUsesOnlyItsGlyphs) {
    char buffer[1024];
    int length = resourceString(1, buffer, sizeof buffer);
    ASSERT_GT(length, 100);
    EXPECT_LE(length, 511); // the scroller reads at most 511 characters
    for (int i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(buffer[i]);
        EXPECT_TRUE(c >= 32 && c <= 126) << "character " << i << " has code " << int(c);
    }
}
