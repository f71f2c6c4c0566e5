#pragma once
#include <array>
#include <memory>

#include "platform/controls.h"
#include "platform/picture_box.h"
#include "platform/window.h"
#include "platform/work_ahead.h"

// The thumbnail grid: twelve cells, four by three, each with its file name beneath, showing the
// page of FileList12 that starts at CurIndex12. A click on a thumbnail opens it in the viewer.
class ThumbnailGrid : public platform::Window {
public:
    // Cells on a page, and the step of the page buttons.
    static constexpr int kPage = 12;

    ThumbnailGrid();

    std::array<std::unique_ptr<platform::PictureBox>, kPage> Picture1;
    std::array<std::unique_ptr<platform::Label>, kPage> Label1;
    platform::PictureBox Picture2;  // scratch box

    // Draws the page that starts at CurIndex12 and sets the control window's ">>".
    void LoopControl();
    // Loads a picture into the scratch box and draws it into the box, fitted and centred;
    // a picture that cannot be loaded is reported and leaves the box blank.
    static void LoadAutoSizePicture(platform::PictureBox& DstObject,
                                    platform::PictureBox& SrcObject, const QString& strPath);
    // Draws a picture's embedded thumbnail into the box where the picture will be, if it has
    // a usable one: it stands in while the picture is decoded.
    void LoadEmbeddedThumbnail(platform::PictureBox& DstObject, const QString& strPath);
    // Decodes these pictures at the cells' size on worker threads, the first first, dropping
    // what was decoded ahead of other files: a page before the grid draws it.
    void DecodeAhead(const QStringList& paths);
    // Begins no more of that work.
    void StopWorkAhead() { m_ahead.stop(); }

protected:
    void Form_KeyPress(int keyAscii) override;
    void Form_Unload() override;

private:
    void Picture1_Click(int16_t index);
    // Once the page is complete: the page the user turns to next, the previous one after a
    // step back, decoded in the background.
    void DecodeNextPageAhead();
    QStringList PagePaths(int first, int n) const;
    platform::WorkAhead::DrawnSize CellSize() const;

    platform::WorkAhead m_ahead{platform::WorkAhead::Use::Thumbnails};
    QString m_lastPage;  // cell 0's file of the page drawn before
};
