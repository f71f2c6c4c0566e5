#pragma once
#include <QString>

// A path the program is started on, or that a later start hands over. The control window comes
// forward; a picture is then shown as if the user had picked it in the file chooser (its folder
// becomes the chooser's, stepping walks that folder; one that cannot be loaded is reported once,
// by the viewer), a folder as its first page of thumbnails (or its chooser, where it holds no
// picture). Anything else is reported. "" shows nothing.
void ShowStartingPath(const QString& path);
