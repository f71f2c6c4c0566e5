#pragma once
#include <QString>

#include "platform/failure.h"

// The program's few messages, each a modal box with one OK button.

// A drive or folder that cannot be read: "Drive is not ready.", titled "Read Error.".
void ShowReadError();
// A picture that cannot be loaded: the loader's own description, titled "Load Error".
void ShowLoadError(const platform::Failure& failure);
// While one lives, no "Load Error" is shown: the picture is loaded again right after, and that
// load reports it, once.
class LoadErrorLeftToNextLoad {
public:
    LoadErrorLeftToNextLoad();
    ~LoadErrorLeftToNextLoad();
};
// A path the program was started on, or was handed, that it cannot show.
void ShowOpenError(const QString& path, const QString& reason);
// Once a run, on a platform where the control window cannot stay above the other windows.
void ShowCannotStayAbove();
// The settings file could not be written at the end of the run.
void ShowWriteError(const QString& path, const QString& reason);
