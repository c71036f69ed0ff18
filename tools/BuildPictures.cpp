#include "tools/BuildPictures.h"

#include "builder/PlainPictureMaker.h"

#ifdef ORTELIA_TOOLS_QT
#include "tools/QtPictureMaker.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <cstdlib>
#include <unistd.h>

#endif

// Drawing text needs a GUI application object. The builder never shows a window, so it draws on
// the offscreen platform even where the environment names another (xcb on a desktop, with or
// without a display); Qt also wants a private runtime folder, which a build leaves empty.
struct BuildPictures::Application {
#ifdef ORTELIA_TOOLS_QT
    Application()
    {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::unsetenv("QT_QPA_PLATFORMTHEME"); // a desktop theme would want the desktop
        if (!std::getenv("XDG_RUNTIME_DIR") && ::mkdtemp(runtimeDir)) {
            ::setenv("XDG_RUNTIME_DIR", runtimeDir, 1);
            madeRuntimeDir = true;
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    ~Application()
    {
        app.reset();
        if (madeRuntimeDir)
            ::rmdir(runtimeDir);
    }
    char runtimeDir[32] = "/tmp/ortelia-build-XXXXXX";
    bool madeRuntimeDir = false;
    int argc = 1;
    char name[16] = "ortelia-build";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
#endif
};

BuildPictures::BuildPictures() : m_application(std::make_unique<Application>())
{
#ifdef ORTELIA_TOOLS_QT
    m_maker = std::make_unique<QtPictureMaker>();
#else
    m_maker = std::make_unique<PlainPictureMaker>();
#endif
}

BuildPictures::~BuildPictures()
{
    m_maker.reset(); // drawn with the application, so gone before it
}

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
