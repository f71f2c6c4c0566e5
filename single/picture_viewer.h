#pragma once
#include "platform/picture_box.h"
#include "platform/window.h"
#include "platform/work_ahead.h"

// LoadControl1's caption modes: the caption with the click, Enter and Backspace hints, or with
// the click hint only, for a picture opened from the grid. Any other mode keeps the caption.
enum CaptionMode : int16_t { kCaptionSingle = 1, kCaptionThumbnail = 12 };

// The picture viewer: one picture over the desktop work area, fitted to it or at its natural
// size centred on it. A click closes it; Enter and Backspace step the picture.
class PictureViewer : public platform::Window {
public:
    PictureViewer();

    platform::PictureBox Picture1;  // what the user sees
    platform::PictureBox Picture2;  // scratch box: the loaded picture, source of the fit

    // Shows a picture: DirPath is the picture's full path, FileName the name for the caption,
    // Caption the caption mode.
    void LoadControl1(const QString& DirPath, const QString& FileName, int16_t Caption);
    // Draws what Picture2 holds fitted to the work area.
    void LoadStrShow1(const QString& strPath);
    // Decodes a picture on a worker at the size the viewer would show it at now, dropping what
    // was decoded ahead of other files: a picture before it is opened.
    void DecodeAhead(const QString& path);
    // Begins no more of that work.
    void StopWorkAhead() { m_ahead.stop(); }
    // What is decoded ahead, once done (tests: the next step ready before it is asked for).
    QStringList DecodedAhead() { return m_ahead.done(); }

protected:
    void Form_KeyPress(int keyAscii) override;
    void Form_MouseDown() override;
    void Form_Unload() override;

private:
    class KeptView;
    void Picture1_Click();
    void CloseSequence();
    void ShowOverWorkArea();
    // Once the picture is on screen: those Enter and Backspace would show, decoded in the
    // background at the size they would be drawn at (at natural size only the next).
    void DecodeStepsAhead();
    // The size a picture is drawn at, fitted or natural as the fit box says now.
    platform::WorkAhead::DrawnSize ViewSize() const;

    platform::WorkAhead m_ahead{platform::WorkAhead::Use::Views};  // lent to both boxes
};
