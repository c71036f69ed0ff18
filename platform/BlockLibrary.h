// BlockLibrary: the picture library behind the ad viewer. Opens the picture file "Img.bld" (layout
// in builder/PictureFileWriter.h) by path and hands out decoded pictures by number, each under a
// handle that stays valid until ReleaseBitmap: the library owns the picture, the viewer only draws
// it, so nothing is freed twice. Handles are small positive numbers; 0 means failure. Main thread
// only (pictures are QImages decoded by Qt's image readers).
#pragma once

#include "engine/PictureFile.h"

#include <QImage>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class BlockLibrary {
public:
    using Handle = int32_t;
    using Bitmap = int32_t;

    // Pictures are the publisher's input: one larger than this many pixels (64 MB decoded), or
    // wider or higher than kMaxSide, is refused before it is decoded, like a damaged one.
    static constexpr int64_t kMaxPixels = 16'777'216;
    static constexpr int kMaxSide = 8192;

    // The program's one library (the ad viewer and its report share it).
    static BlockLibrary& instance();

    // Called once at start-up; loads nothing, but makes sure Qt's image readers are ready.
    void BlockInit();
    // A handle on the opened file, 0 when it cannot be opened or is no picture file.
    Handle OpenBlockFile(const std::string& path, const SourceOpener& opener = openFileSource);
    // Picture n of the file decoded; 0 for an unknown handle, a missing picture, bytes that do not
    // decode, a PNG or JPEG cut short, or a picture above the size limits. (The drawing surface is
    // not needed: a QImage draws on any surface.)
    Bitmap GetBitmap(Handle file, int32_t imageNumber);
    // The picture of a bitmap handle, or nullptr; owned by the library until ReleaseBitmap.
    [[nodiscard]] const QImage* image(Bitmap bitmap) const;
    void ReleaseBitmap(Handle file, Bitmap bitmap);
    void CloseBlockFile(Handle file);

    // The picture in bytes, decoded under the limits above; a null image when refused.
    [[nodiscard]] static QImage decode(const std::vector<uint8_t>& bytes);

    [[nodiscard]] size_t openFiles() const { return m_files.size(); }
    [[nodiscard]] size_t heldBitmaps() const { return m_bitmaps.size(); }

private:
    struct Held {
        Handle file;
        QImage picture;
    };
    std::map<Handle, std::unique_ptr<PictureFile>> m_files;
    std::map<Bitmap, Held> m_bitmaps;
    int32_t m_next = 1;
    bool m_initialised = false;
};
