// Guards the build itself: every third-party library links into the test
// binary and works there (statically, under Wine in the Windows tree).
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <libimagequant.h>
#include <omp.h>
#include <snappy.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace pelidore {

TEST(DependencyLink, SnappyAndZlibRoundTrip)
{
    const std::string input(10000, 'x');
    std::string packed;
    snappy::Compress(input.data(), input.size(), &packed);
    std::string unpacked;
    ASSERT_TRUE(snappy::Uncompress(packed.data(), packed.size(), &unpacked));
    EXPECT_EQ(unpacked, input);

    std::vector<Bytef> z(compressBound(input.size()));
    uLongf zSize = z.size();
    ASSERT_EQ(compress(z.data(), &zSize, reinterpret_cast<const Bytef*>(input.data()), input.size()), Z_OK);
    std::string back(input.size(), '\0');
    uLongf backSize = back.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(back.data()), &backSize, z.data(), zSize), Z_OK);
    EXPECT_EQ(back, input);
}

TEST(DependencyLink, OpenMpRunsFourThreads)
{
    int seen = 0;
#pragma omp parallel num_threads(4) reduction(+ : seen)
    seen += 1;
    EXPECT_EQ(seen, 4);
}

TEST(DependencyLink, GiflibIsVersionFive)
{
    EXPECT_EQ(GIFLIB_MAJOR, 5);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->BitsPerPixel, 8);
    GifFreeMapObject(map);
}

TEST(DependencyLink, ImageQuantQuantizesATinyImage)
{
    std::vector<unsigned char> rgba(16 * 16 * 4, 255);
    liq_attr* attr = liq_attr_create();
    ASSERT_NE(attr, nullptr);
    liq_image* image = liq_image_create_rgba(attr, rgba.data(), 16, 16, 0);
    ASSERT_NE(image, nullptr);
    liq_result* result = nullptr;
    EXPECT_EQ(liq_image_quantize(image, attr, &result), LIQ_OK);
    ASSERT_NE(result, nullptr);
    EXPECT_GE(liq_get_palette(result)->count, 1u);
    liq_result_destroy(result);
    liq_image_destroy(image);
    liq_attr_destroy(attr);
}

} // namespace pelidore
