// The bitmaps as the scene draws them: sizes, the logo's transparent band, the font grid and the
// credit lines. On the 16-bit screen only pixels that become 0 in 5-6-5 are transparent, so every
// pixel must be either pure black (meant to be transparent) or survive the conversion.

#include "bmp_reader.h"
#include "platform/resources.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

PalettedPicture load(int id) {
    ResourceBytes bytes{};
    PalettedPicture picture;
    EXPECT_TRUE(resourceBitmap(id, &bytes)) << id;
    if (bytes.data) {
        EXPECT_TRUE(readPalettedBmp(bytes.data, bytes.size, &picture)) << id;
    }
    return picture;
}

bool pureBlack(const std::array<uint8_t, 3>& c) {
    return c[0] == 0 && c[1] == 0 && c[2] == 0;
}

// Every pixel is pure black or stays visible; returns how many pixels break that.
int halfTransparentPixels(const PalettedPicture& p) {
    int bad = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (!pureBlack(p.colour(x, y)) && to565(p.colour(x, y)) == 0) ++bad;
    return bad;
}

bool blackRect(const PalettedPicture& p, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (!pureBlack(p.colour(x, y))) return false;
    return true;
}

} // namespace

TEST(Pictures, HaveTheSizesTheSceneDrawsThemAt) {
    struct Case {
        int id, width, height;
    };
    for (Case c : {Case{101, 640, 480}, Case{102, 320, 200}, Case{106, 306, 20}, Case{103, 204, 20},
                   Case{104, 179, 20}, Case{105, 356, 20}}) {
        PalettedPicture p = load(c.id);
        EXPECT_EQ(c.width, p.width) << c.id;
        EXPECT_EQ(c.height, p.height) << c.id;
        EXPECT_EQ(0, halfTransparentPixels(p)) << c.id;
    }
}

TEST(Logo, TheBandIsPureBlackAndNothingElseIs) {
    PalettedPicture logo = load(101);
    ASSERT_EQ(640, logo.width);
    int blackOutside = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            bool black = pureBlack(logo.colour(x, y));
            if (y >= 226 && y <= 394)
                ASSERT_TRUE(black) << "band pixel (" << x << ", " << y << ")";
            else if (black)
                ++blackOutside;
        }
    EXPECT_EQ(0, blackOutside);
}

TEST(Logo, IsShadedArtAboveAndBelowTheBand) {
    PalettedPicture logo = load(101);
    ASSERT_EQ(480, logo.height);
    std::set<uint8_t> above, below;
    for (int x = 0; x < 640; ++x) {
        for (int y = 0; y < 226; ++y) above.insert(logo.index(x, y));
        for (int y = 395; y < 480; ++y) below.insert(logo.index(x, y));
    }
    EXPECT_GE(above.size(), 64u); // gradients and highlights, not flat lettering
    EXPECT_GE(below.size(), 16u);
}

TEST(Font, GridLinesAreVisibleAndGlyphsSitInTheirCells) {
    PalettedPicture font = load(102);
    ASSERT_EQ(320, font.width);
    ASSERT_EQ(200, font.height);
    for (int i = 0; i <= 16; ++i)
        for (int y = 0; y <= 114; ++y) ASSERT_FALSE(pureBlack(font.colour(19 * i, y))) << "x " << 19 * i;
    for (int j = 0; j <= 6; ++j)
        for (int x = 0; x <= 304; ++x) ASSERT_FALSE(pureBlack(font.colour(x, 19 * j))) << "y " << 19 * j;
    EXPECT_TRUE(blackRect(font, 305, 0, 319, 199));
    EXPECT_TRUE(blackRect(font, 0, 115, 319, 199));
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 16; ++c) {
            int x = 1 + 19 * c, y = 1 + 19 * r;
            // The scroller copies 17x17: the cell's last column and row must stay empty.
            EXPECT_TRUE(blackRect(font, x + 17, y, x + 17, y + 17)) << "code " << 32 + 16 * r + c;
            EXPECT_TRUE(blackRect(font, x, y + 17, x + 17, y + 17)) << "code " << 32 + 16 * r + c;
        }
}

TEST(Font, SpaceIsEmptyAndEveryPrintableCharacterHasItsOwnGlyph) {
    PalettedPicture font = load(102);
    ASSERT_EQ(320, font.width);
    EXPECT_TRUE(blackRect(font, 1, 1, 18, 18));
    std::set<std::string> glyphs;
    for (int code = 33; code <= 126; ++code) {
        int k = code - 32, x0 = 1 + 19 * (k % 16), y0 = 1 + 19 * (k / 16);
        std::string glyph;
        int lit = 0;
        for (int y = y0; y < y0 + 17; ++y)
            for (int x = x0; x < x0 + 17; ++x) {
                glyph += static_cast<char>(font.index(x, y));
                lit += !pureBlack(font.colour(x, y));
            }
        EXPECT_GT(lit, 4) << "code " << code;
        EXPECT_TRUE(glyphs.insert(glyph).second) << "code " << code << " looks like another glyph";
    }
}

TEST(Credits, TextFitsInsideEachLineOnBlack) {
    for (int id : {103, 104, 105, 106}) {
        PalettedPicture p = load(id);
        ASSERT_EQ(20, p.height) << id;
        EXPECT_TRUE(blackRect(p, 0, 0, 0, 19)) << id;
        EXPECT_TRUE(blackRect(p, p.width - 1, 0, p.width - 1, 19)) << id;
        int lit = 0, black = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < p.width; ++x) (pureBlack(p.colour(x, y)) ? black : lit)++;
        EXPECT_GT(lit, p.width) << id;       // some text
        EXPECT_GT(black, 4 * p.width) << id; // on a transparent background
    }
}
