#pragma once
// The emoticon pictures, drawn from their scalable images at 18 px times the screen's
// pixel ratio, so that they stay crisp on HiDPI screens. GUI thread.

#include <QImage>
#include <QUrl>

namespace vellix {

inline constexpr int kEmoticonSize = 18;

// The resource name a conversation document knows picture `index` by.
QUrl emoticonUrl(int index);
// The picture for `index` at the given pixel ratio; a null image for an unknown index.
QImage emoticonImage(int index, qreal pixelRatio);

}  // namespace vellix
