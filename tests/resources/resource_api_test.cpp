// The resource API as the display, the scroller and the music start-up use it.

#include "platform/resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(ResourceApi, EveryBitmapOfTheSceneIsABmpFile) {
    for (int id : {101, 102, 103, 104, 105, 106}) {
        ResourceBytes bytes{};
        ASSERT_TRUE(resourceBitmap(id, &bytes)) << id;
        ASSERT_GT(bytes.size, 54u) << id;
        EXPECT_EQ(0, std::memcmp(bytes.data, "BM", 2)) << id;
    }
}

TEST(ResourceApi, UnknownNumbersAndNamesAreRefused) {
    ResourceBytes bytes{};
    EXPECT_FALSE(resourceBitmap(100, &bytes));
    EXPECT_FALSE(resourceBitmap(107, &bytes)); // the icon is not a bitmap
    EXPECT_FALSE(resourceBitmap(101, nullptr));
    EXPECT_FALSE(resourceData("XM", "TRACKS", &bytes));
    EXPECT_FALSE(resourceData("BITMAP", "TRACK", &bytes));
    EXPECT_FALSE(resourceData(nullptr, "TRACK", &bytes));
    char buffer[8] = "x";
    EXPECT_EQ(0, resourceString(2, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
}

TEST(ResourceApi, TheModuleIsFoundByTypeAndNameInAnyCase) {
    ResourceBytes upper{}, lower{};
    ASSERT_TRUE(resourceData("XM", "TRACK", &upper));
    ASSERT_TRUE(resourceData("xm", "Track", &lower));
    EXPECT_EQ(upper.data, lower.data);
    EXPECT_EQ(upper.size, lower.size);
    EXPECT_EQ(0, std::memcmp(upper.data, "Extended Module: ", 17));
}

TEST(ResourceApi, TheIconHoldsA16And32PixelImage) {
    ResourceBytes bytes{};
    ASSERT_TRUE(resourceIcon(107, &bytes));
    ASSERT_GE(bytes.size, 6u + 2 * 16);
    const uint8_t* d = bytes.data;
    EXPECT_EQ(0, d[0] | d[1] << 8);
    EXPECT_EQ(1, d[2] | d[3] << 8); // icon, not cursor
    ASSERT_EQ(2, d[4] | d[5] << 8);
    EXPECT_EQ(16, d[6]);
    EXPECT_EQ(32, d[6 + 16]);
    for (int i = 0; i < 2; ++i) {
        const uint8_t* entry = d + 6 + 16 * i;
        uint32_t size = entry[8] | entry[9] << 8 | entry[10] << 16 | static_cast<uint32_t>(entry[11]) << 24;
        uint32_t offset =
            entry[12] | entry[13] << 8 | entry[14] << 16 | static_cast<uint32_t>(entry[15]) << 24;
        EXPECT_LE(offset + size, bytes.size);
    }
    EXPECT_FALSE(resourceIcon(101, &bytes));
}

TEST(ResourceApi, TheScrollTextIsCutToTheBufferAndTerminated) {
    char full[512];
    int length = resourceString(1, full, sizeof full);
    ASSERT_GT(length, 20);
    EXPECT_EQ(static_cast<size_t>(length), std::strlen(full));

    char small[6];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(5, resourceString(1, small, sizeof small));
    EXPECT_EQ(std::string(full, 5), std::string(small));

    char one[1] = {'#'};
    EXPECT_EQ(0, resourceString(1, one, 1));
    EXPECT_EQ('\0', one[0]);
    EXPECT_EQ(0, resourceString(1, nullptr, 10));
}
