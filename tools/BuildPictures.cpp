#include "tools/BuildPictures.h"

#include "builder/PlainPictureMaker.h"

#ifdef ORTELIA_TOOLS_QT
#include "tools/QtPictureMaker.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <cstdlib>

namespace {
// Drawing text needs a GUI application object; the offscreen platform needs no display.
QGuiApplication& guiApplication()
{
    static int argc = 1;
    static char name[] = "ortelia-build";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        // Qt wants a private runtime folder and complains without one; a build needs nothing in it.
        static char dir[] = "/tmp/ortelia-build-XXXXXX";
        if (::mkdtemp(dir))
            ::setenv("XDG_RUNTIME_DIR", dir, 1);
    }
    static QGuiApplication app(argc, argv);
    return app;
}
} // namespace
#endif

BuildPictures::BuildPictures()
{
#ifdef ORTELIA_TOOLS_QT
    guiApplication();
    m_maker = std::make_unique<QtPictureMaker>();
#else
    m_maker = std::make_unique<PlainPictureMaker>();
#endif
}

BuildPictures::~BuildPictures() = default;

std::vector<uint8_t> BuildPictures::adPicture(const AdPictureRequest& request) const
{
    return m_maker->adPicture(request);
}

std::vector<uint8_t> BuildPictures::banner(const BannerRequest& request) const
{
    return m_maker->banner(request);
}

bool BuildPictures::toPng(const std::vector<uint8_t>& in, std::vector<uint8_t>& png) const
{
#ifdef ORTELIA_TOOLS_QT
    QImage image;
    if (!image.loadFromData(in.data(), static_cast<int>(in.size())))
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return false;
    png.assign(bytes.begin(), bytes.end());
    return true;
#else
    (void)in;
    (void)png;
    return false;
#endif
}
