#pragma once
// The pictures of the buddy and folder trees, drawn in code so they stay crisp at any
// scale: presence dots for buddies, a folder (with a mark for new mail) for folders.

#include <QIcon>

#include "im/buddy_window_model.h"

namespace vellix {

// On the GUI thread only (the pictures are drawn once and kept).
QIcon treePicture(TreePicture picture);

}  // namespace vellix
