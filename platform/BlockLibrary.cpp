#include "platform/BlockLibrary.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <cstring>
#include <limits>

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
    QImage picture = decode(bytes);
    if (picture.isNull())
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

namespace {

// A PNG ends with its IEND chunk, a JPEG with the end-of-image marker (some writers add a few
// bytes after it). The image readers fill a cut picture's missing part and report success, so a
// picture that stops early is recognised here.
bool complete(const std::vector<uint8_t>& bytes)
{
    static const uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    static const uint8_t iend[8] = {0, 0, 0, 0, 'I', 'E', 'N', 'D'};
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), png, 8) == 0)
        return bytes.size() >= 20 && std::memcmp(bytes.data() + bytes.size() - 12, iend, 8) == 0;
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        const size_t from = bytes.size() > 64 ? bytes.size() - 64 : 2;
        for (size_t i = bytes.size() - 1; i > from; --i)
            if (bytes[i - 1] == 0xFF && bytes[i] == 0xD9)
                return true;
        return false;
    }
    return true; // another format: its reader decides
}

} // namespace

QImage BlockLibrary::decode(const std::vector<uint8_t>& bytes)
{
    if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()) || !complete(bytes))
        return {};
    QByteArray data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(static_cast<int>(kMaxPixels * 4 / (1024 * 1024)) + 1); // in MB
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide ||
        static_cast<int64_t>(size.width()) * size.height() > kMaxPixels)
        return {};
    QImage picture;
    if (!reader.read(&picture) || picture.isNull() || picture.size() != size)
        return {};
    return picture;
}
