#include "desktop/RawPicture.h"

#include <QFile>
#include <QResource>
#include <QSaveFile>
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

}  // namespace

QImage Read(const QString& path) {
    const QByteArray data = Contents(path);
    if (data.size() < kHeader || std::memcmp(data.constData(), kMagic, 4) != 0) return {};
    const quint32 width = qFromLittleEndian<quint32>(data.constData() + 4);
    const quint32 height = qFromLittleEndian<quint32>(data.constData() + 8);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) return {};
    if (data.size() != kHeader + qsizetype(width) * height * 4) return {};
    QImage image(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    const char* row = data.constData() + kHeader;
    for (int y = 0; y < image.height(); ++y, row += width * 4)
        qFromLittleEndian<quint32>(row, width, image.scanLine(y));
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
