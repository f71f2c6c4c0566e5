#include <QFileInfo>

#include "platform/change_time.h"

namespace platform {

QDateTime changeTimeOf(const QString& path) { return QFileInfo(path).metadataChangeTime(); }

}  // namespace platform
