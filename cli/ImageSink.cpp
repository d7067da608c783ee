#include "ImageSink.h"

#include <QDir>

namespace rova {

bool PngFolderSink::add(const QImage& image, std::uint64_t, std::uint64_t) {
    const QString name = QStringLiteral("frame-%1.png").arg(next_++, 5, 10, QLatin1Char('0'));
    return image.save(QDir(folder_).filePath(name), "PNG");
}

}  // namespace rova
