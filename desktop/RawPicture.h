#pragma once

#include <QImage>
#include <QString>

// A picture kept as its pixels, for the splash to show without an image decoder: reading a
// PNG would make Qt open every image-format plugin it has to ask which one reads it. The
// form: "ARGB", the width and the height as 32-bit little-endian numbers, then the rows of
// premultiplied ARGB pixels, each a 32-bit little-endian number. The build writes it
// (tools/render_picture); the resource compiler compresses it.
namespace raw_picture {

// The picture in `path` (a file or a resource), or a null image when it is not one.
QImage Read(const QString& path);
// The same, but a resource kept uncompressed is shown where it lies in the program, without
// a copy (on a little-endian machine, its rows aligned): nothing is unpacked or allocated.
// An `opaque` picture (every pixel's alpha full) is read as such, and so drawn by copying.
QImage View(const QString& path, bool opaque = false);
bool Write(const QImage& image, const QString& path);

}  // namespace raw_picture
