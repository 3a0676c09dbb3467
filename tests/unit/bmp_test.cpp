// The 24-bit bitmap file: its header, row layout and padding, and what the reader
// refuses.

#include <gtest/gtest.h>

#include "capture/BmpFile.h"

namespace skl {
namespace {

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t read16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

void write32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Picture patterned(std::int32_t width, std::int32_t height) {
    Picture p{width, height, {}};
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            p.pixels.push_back(static_cast<std::uint32_t>(x * 0x3F1 + y * 0x10203) & 0xFFFFFFu);
        }
    }
    return p;
}

TEST(BmpEncode, HeaderFieldsDescribeAnUncompressedBottomUpFile) {
    const std::vector<std::uint8_t> b = encodeBmp24(patterned(3, 2));
    ASSERT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(read32(b, 2), b.size());
    EXPECT_EQ(read32(b, 6), 0u);   // reserved
    EXPECT_EQ(read32(b, 10), 54u);  // pixel data offset
    EXPECT_EQ(read32(b, 14), 40u);
    EXPECT_EQ(read32(b, 18), 3u);
    EXPECT_EQ(read32(b, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(read16(b, 26), 1);
    EXPECT_EQ(read16(b, 28), 24);
    EXPECT_EQ(read32(b, 30), 0u);  // no compression
    EXPECT_EQ(read32(b, 34), 24u);
    EXPECT_EQ(read32(b, 38), 3780u);
    EXPECT_EQ(read32(b, 42), 3780u);
    EXPECT_EQ(read32(b, 46), 0u);  // palette size
    EXPECT_EQ(read32(b, 50), 0u);
}

TEST(BmpEncode, RowsRunBottomUpInBlueGreenRedOrderAndArePaddedWithZeros) {
    const Picture p{1, 2, {0x00112233, 0x00445566}};
    const std::vector<std::uint8_t> b = encodeBmp24(p);
    ASSERT_EQ(b.size(), 54u + 2 * 4);
    const std::vector<std::uint8_t> rows(b.begin() + 54, b.end());
    EXPECT_EQ(rows, (std::vector<std::uint8_t>{0x66, 0x55, 0x44, 0, 0x33, 0x22, 0x11, 0}));
}

TEST(BmpEncode, CameraSizesHavePaddedStrides) {
    EXPECT_EQ(encodeBmp24(patterned(322, 242)).size(), 54u + 968 * 242);
    EXPECT_EQ(encodeBmp24(patterned(162, 122)).size(), 54u + 488 * 122);
}

TEST(BmpRoundTrip, EveryWidthDecodesToThePixelsEncoded) {
    for (std::int32_t width : {1, 2, 3, 4, 5, 162, 322}) {
        const Picture p = patterned(width, 3);
        EXPECT_EQ(decodeBmp24(encodeBmp24(p)), p) << "width " << width;
    }
}

TEST(BmpDecode, ReadsTopDownFiles) {
    const Picture p = patterned(2, 3);
    std::vector<std::uint8_t> b = encodeBmp24(p);
    write32(b, 22, static_cast<std::uint32_t>(-3));
    const std::vector<std::uint8_t> bottomUp(b.begin() + 54, b.end());
    for (std::size_t row = 0; row < 3; ++row) {  // reverse the rows of 8 bytes
        std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>((2 - row) * 8), 8,
                    b.begin() + 54 + static_cast<std::ptrdiff_t>(row * 8));
    }
    EXPECT_EQ(decodeBmp24(b), p);
}

TEST(BmpDecode, RejectsMalformedInput) {
    const std::vector<std::uint8_t> good = encodeBmp24(patterned(3, 2));
    ASSERT_TRUE(decodeBmp24(good));

    const auto withField = [&](std::size_t at, std::uint32_t value) {
        std::vector<std::uint8_t> b = good;
        write32(b, at, value);
        return b;
    };
    EXPECT_FALSE(decodeBmp24(std::vector<std::uint8_t>{}));
    EXPECT_FALSE(decodeBmp24(std::vector<std::uint8_t>(good.begin(), good.begin() + 53)));
    EXPECT_FALSE(decodeBmp24(std::vector<std::uint8_t>(good.begin(), good.end() - 1)));  // one byte short
    std::vector<std::uint8_t> notBm = good;
    notBm[1] = 'A';
    EXPECT_FALSE(decodeBmp24(notBm));
    EXPECT_FALSE(decodeBmp24(withField(28, 32)));         // 32 bits per pixel
    EXPECT_FALSE(decodeBmp24(withField(30, 1)));          // compressed
    EXPECT_FALSE(decodeBmp24(withField(14, 12)));         // header too small
    EXPECT_FALSE(decodeBmp24(withField(18, 0)));          // no width
    EXPECT_FALSE(decodeBmp24(withField(18, 0xFFFFFFFF))); // negative width
    EXPECT_FALSE(decodeBmp24(withField(22, 0)));          // no height
    EXPECT_FALSE(decodeBmp24(withField(22, 0x80000000))); // height without a positive counterpart
    EXPECT_FALSE(decodeBmp24(withField(10, 1000)));       // pixels beyond the end
    EXPECT_FALSE(decodeBmp24(withField(18, 0x7FFFFFFF))); // far more pixels than bytes
    EXPECT_FALSE(decodeBmp24(withField(22, 0x7FFFFFFF)));
}

}  // namespace
}  // namespace skl
