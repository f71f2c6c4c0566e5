#pragma once
#include "platform/window.h"

class ControlWindow;
class FileChooser;
class FolderChooser;
class SlideshowSetup;
class PictureViewer;
class ThumbnailGrid;

// The six windows, one instance each, created hidden on first use.
extern platform::WindowRef<ControlWindow> Form1;
extern platform::WindowRef<FileChooser> FrmSelect1;
extern platform::WindowRef<FolderChooser> FrmSelect12;
extern platform::WindowRef<SlideshowSetup> FrmSelectSld;
extern platform::WindowRef<PictureViewer> FrmShow1;
extern platform::WindowRef<ThumbnailGrid> FrmShow12;

// Destroys every window without its unload handler (the end of the program, and tests).
void UnloadAllWindows();
