#pragma once
#include <QString>

#include "platform/drives.h"

// What a first run starts with, and what a settings file that cannot be used falls back to.

// Every chooser opens on the first disk's root: C:\ on Windows; on Linux the home folder
// stands for it.
inline QString DefaultFolder() { return platform::drives::homeFolder(); }
inline QString DefaultDrive() { return platform::drives::of(DefaultFolder()); }
// The slideshow's interval, in seconds.
inline const QString kDefaultInterval = QStringLiteral("7");
