#include "im/windows/emoticon_images.h"

#include <QDir>
#include <QPainter>
#include <QSvgRenderer>

#include "im/conversation_text.h"

namespace vellix {

QUrl emoticonUrl(int index) {
    return QUrl(QStringLiteral("emoticon:%1").arg(index));
}

QImage emoticonImage(int index, qreal pixelRatio) {
    if (index < 0 || index >= static_cast<int>(kEmoticonCodes.size())) return {};
    const QStringList files = QDir(QStringLiteral(":/icons/emoticons"))
                                  .entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    if (index >= files.size()) return {};
    QSvgRenderer renderer(QStringLiteral(":/icons/emoticons/") + files[index]);
    const int side = qRound(kEmoticonSize * pixelRatio);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

}  // namespace vellix
