#pragma once
#include <QWidget>

namespace platform {

// Qt puts the program's name in the frame of a window without a title; this takes the name off
// again, so the frame shows no caption text.
void clearFrameCaption(QWidget& window);

}  // namespace platform
