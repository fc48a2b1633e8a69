#include "desktop/RawPicture.h"

#include <QFile>
#include <QResource>
#include <QSaveFile>
#include <QSysInfo>
#include <QtEndian>
#include <cstring>

namespace raw_picture {

namespace {

constexpr char kMagic[4] = {'A', 'R', 'G', 'B'};
constexpr qsizetype kHeader = 12;
constexpr quint32 kLargestSide = 16384;

QByteArray Contents(const QString& path) {
    if (path.startsWith(QLatin1Char(':'))) {
        const QResource resource(path);
        return resource.isValid() ? resource.uncompressedData() : QByteArray();
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The picture's size when `data` holds one, else an empty size.
QSize Size(const char* data, qsizetype size) {
    if (size < kHeader || std::memcmp(data, kMagic, 4) != 0) return {};
    const quint32 width = qFromLittleEndian<quint32>(data + 4);
    const quint32 height = qFromLittleEndian<quint32>(data + 8);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) return {};
    if (size != kHeader + qsizetype(width) * height * 4) return {};
    return QSize(int(width), int(height));
}

}  // namespace

QImage Read(const QString& path) {
    const QByteArray data = Contents(path);
    const QSize size = Size(data.constData(), data.size());
    if (size.isEmpty()) return {};
    const auto width = quint32(size.width());
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    const char* row = data.constData() + kHeader;
    for (int y = 0; y < image.height(); ++y, row += width * 4)
        qFromLittleEndian<quint32>(row, width, image.scanLine(y));
    return image;
}

QImage View(const QString& path, bool opaque) {
    const QImage::Format format =
        opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian && path.startsWith(QLatin1Char(':'))) {
        const QResource resource(path);
        const auto* data = reinterpret_cast<const char*>(resource.data());
        if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression &&
            data != nullptr && reinterpret_cast<quintptr>(data + kHeader) % 4 == 0) {
            const QSize size = Size(data, resource.size());
            if (size.isEmpty()) return {};
            return QImage(reinterpret_cast<const uchar*>(data + kHeader), size.width(),
                          size.height(), size.width() * 4, format);
        }
    }
    QImage image = Read(path);
    image.reinterpretAsFormat(format);
    return image;
}

bool Write(const QImage& picture, const QString& path) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return false;
    QByteArray data(kHeader + qsizetype(image.width()) * image.height() * 4, Qt::Uninitialized);
    std::memcpy(data.data(), kMagic, 4);
    qToLittleEndian<quint32>(quint32(image.width()), data.data() + 4);
    qToLittleEndian<quint32>(quint32(image.height()), data.data() + 8);
    char* row = data.data() + kHeader;
    for (int y = 0; y < image.height(); ++y, row += image.width() * 4)
        qToLittleEndian<quint32>(image.constScanLine(y), image.width(), row);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

}  // namespace raw_picture
