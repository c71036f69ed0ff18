#include "builder/PictureFileWriter.h"
#include "platform/BlockLibrary.h"
#include "tests/support/GuiTestApp.h"
#include "tests/support/MemoryFiles.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> encoded(int w, int h, QRgb colour, const char* format)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buffer, format));
    return {bytes.begin(), bytes.end()};
}

TEST(BlockLibrary, OpensDecodesAndReleasesPictures)
{
    std::vector<uint8_t> file;
    ASSERT_TRUE(picturefile::build(
        {{1, encoded(900, 700, qRgb(200, 0, 0), "PNG")}, {3, encoded(200, 100, qRgb(0, 0, 200), "JPEG")}}, file));
    MemoryFiles fs;
    fs.put("Img.bld", file);
    fs.put("garbage.bld", {1, 2, 3, 4});
    BlockLibrary lib;
    lib.BlockInit();
    EXPECT_EQ(lib.OpenBlockFile("missing.bld", fs.opener()), 0);
    EXPECT_EQ(lib.OpenBlockFile("garbage.bld", fs.opener()), 0);
    const auto h = lib.OpenBlockFile("Img.bld", fs.opener());
    ASSERT_NE(h, 0);
    const auto big = lib.GetBitmap(h, 1);
    const auto small = lib.GetBitmap(h, 3);
    ASSERT_NE(big, 0);
    ASSERT_NE(small, 0);
    EXPECT_EQ(lib.image(big)->size(), QSize(900, 700));
    EXPECT_EQ(lib.image(small)->size(), QSize(200, 100));
    EXPECT_EQ(lib.image(big)->pixelColor(5, 5), QColor(200, 0, 0));
    EXPECT_EQ(lib.GetBitmap(h, 2), 0); // no picture 2
    EXPECT_EQ(lib.GetBitmap(h, 4), 0);
    EXPECT_EQ(lib.GetBitmap(h + 100, 1), 0);

    lib.ReleaseBitmap(h, big);
    EXPECT_EQ(lib.image(big), nullptr);
    lib.ReleaseBitmap(h, big); // a second release does nothing
    lib.CloseBlockFile(h);
    EXPECT_NE(lib.image(small), nullptr); // still drawable until released
    lib.ReleaseBitmap(h, small);
    EXPECT_EQ(lib.heldBitmaps(), 0u);
    EXPECT_EQ(lib.openFiles(), 0u);
    EXPECT_EQ(lib.GetBitmap(h, 3), 0); // closed
}

TEST(BlockLibrary, DamagedPictureBytesGiveNoBitmap)
{
    std::vector<uint8_t> png = encoded(10, 10, qRgb(1, 2, 3), "PNG");
    png.resize(png.size() / 2); // cut in the middle of the image data
    std::vector<uint8_t> file;
    ASSERT_TRUE(picturefile::build({{1, png}}, file));
    file.resize(file.size() - 3);
    MemoryFiles fs;
    fs.put("Img.bld", file);
    BlockLibrary lib;
    const auto h = lib.OpenBlockFile("Img.bld", fs.opener());
    ASSERT_NE(h, 0);
    EXPECT_EQ(lib.GetBitmap(h, 1), 0); // the entry runs past the end of the file
}

// The shared test application, made before the first test.
[[maybe_unused]] const ::testing::Environment* const kGuiApp =
    ::testing::AddGlobalTestEnvironment(new GuiTestEnvironment);

} // namespace
