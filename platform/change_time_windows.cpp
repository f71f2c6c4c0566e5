#include <windows.h>

#include "platform/change_time.h"

namespace platform {

// Qt gives Windows' last write time for the metadata's change; the ChangeTime is asked of the
// file itself, opened for its attributes only, as any other program may share it.
QDateTime changeTimeOf(const QString& path) {
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    FILE_BASIC_INFO basic{};
    const bool read = GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic);
    CloseHandle(file);
    if (!read) return {};
    // 100-nanosecond steps since 1601, as FILETIME counts.
    constexpr qint64 kStepsTo1970 = 116444736000000000;
    return QDateTime::fromMSecsSinceEpoch((basic.ChangeTime.QuadPart - kStepsTo1970) / 10000,
                                          Qt::UTC);
}

}  // namespace platform
