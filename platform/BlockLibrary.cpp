#include "platform/BlockLibrary.h"

#include <QImageReader>

BlockLibrary& BlockLibrary::instance()
{
    static BlockLibrary library;
    return library;
}

void BlockLibrary::BlockInit()
{
    // Asking for the readable formats loads the image plugins once, not on the first ad shown.
    if (!m_initialised)
        (void)QImageReader::supportedImageFormats();
    m_initialised = true;
}

BlockLibrary::Handle BlockLibrary::OpenBlockFile(const std::string& path, const SourceOpener& opener)
{
    auto file = std::make_unique<PictureFile>();
    if (!file->open(path, opener))
        return 0;
    const Handle h = m_next++;
    m_files.emplace(h, std::move(file));
    return h;
}

BlockLibrary::Bitmap BlockLibrary::GetBitmap(Handle file, int32_t imageNumber)
{
    const auto it = m_files.find(file);
    if (it == m_files.end())
        return 0;
    std::vector<uint8_t> bytes;
    if (!it->second->read(imageNumber, bytes))
        return 0;
    QImage picture;
    if (!picture.loadFromData(bytes.data(), static_cast<int>(bytes.size())) || picture.isNull())
        return 0;
    const Bitmap b = m_next++;
    m_bitmaps.emplace(b, Held{file, std::move(picture)});
    return b;
}

const QImage* BlockLibrary::image(Bitmap bitmap) const
{
    const auto it = m_bitmaps.find(bitmap);
    return it == m_bitmaps.end() ? nullptr : &it->second.picture;
}

void BlockLibrary::ReleaseBitmap(Handle file, Bitmap bitmap)
{
    const auto it = m_bitmaps.find(bitmap);
    if (it != m_bitmaps.end() && it->second.file == file)
        m_bitmaps.erase(it);
}

void BlockLibrary::CloseBlockFile(Handle file)
{
    // Pictures of a closed file stay valid until released: the viewer may still be drawing one.
    m_files.erase(file);
}
