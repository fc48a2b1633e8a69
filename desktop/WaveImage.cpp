#include "desktop/WaveImage.h"

#include <QtEndian>

namespace {

quint32 ReadU32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 ReadU16(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}

}  // namespace

QString WaveImage::resourcePath(const std::string& name) {
    return QStringLiteral(":/WAVEFILE/%1.wav").arg(QString::fromStdString(name));
}

std::optional<WaveImage> WaveImage::parse(const QByteArray& image) {
    if (image.size() < 12 || !image.startsWith("RIFF") || image.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<WaveImage> wave;
    qsizetype at = 12;
    while (at + 8 <= image.size()) {
        const QByteArray id = image.mid(at, 4);
        const qsizetype size = ReadU32(image, at + 4);
        const qsizetype body = at + 8;
        if (size > image.size() - body) return std::nullopt;
        if (id == "fmt " && size >= 16) {
            const quint16 encoding = ReadU16(image, body);
            const quint16 channels = ReadU16(image, body + 2);
            const quint32 rate = ReadU32(image, body + 4);
            const quint16 bits = ReadU16(image, body + 14);
            if (encoding != 1 || channels == 0 || rate == 0 || rate > 1000000 ||
                (bits != 8 && bits != 16))
                return std::nullopt;
            wave = WaveImage{static_cast<int>(rate), channels, bits, {}};
        } else if (id == "data") {
            if (!wave) return std::nullopt;
            wave->samples = image.mid(body, size);
            return wave;
        }
        at = body + size + (size & 1);  // chunks are padded to even lengths
    }
    return std::nullopt;
}
