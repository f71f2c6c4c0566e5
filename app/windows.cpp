#include "app/windows.h"

#include "app/control_window.h"
#include "grid/folder_chooser.h"
#include "grid/thumbnail_grid.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"

platform::WindowRef<ControlWindow> Form1;
platform::WindowRef<FileChooser> FrmSelect1;
platform::WindowRef<FolderChooser> FrmSelect12;
platform::WindowRef<SlideshowSetup> FrmSelectSld;
platform::WindowRef<PictureViewer> FrmShow1;
platform::WindowRef<ThumbnailGrid> FrmShow12;

void UnloadAllWindows() {
    FrmShow1.unload();
    FrmShow12.unload();
    FrmSelect1.unload();
    FrmSelect12.unload();
    FrmSelectSld.unload();
    Form1.unload();
}
