#include "single/picture_viewer.h"

#include <cmath>

#include "app/control_window.h"
#include "app/messages.h"
#include "app/module1.h"
#include "app/number_text.h"
#include "app/windows.h"
#include "platform/failure.h"
#include "single/file_chooser.h"
#include "slideshow/setup_window.h"

namespace {
using platform::TwipsRect;
constexpr TwipsRect kDesign{3390, 2805, 5040, 3690};
constexpr TwipsRect kPicture1{0, 120, 1320, 915};
constexpr TwipsRect kPicture2{1800, 1200, 1215, 495};
const QString kCaptionSingleText =
    QStringLiteral(" Orlin-Tessary     クリック→閉じる   Enter→次画像   Backspace→前画像   ");
const QString kCaptionThumbnailText = QStringLiteral(" Orlin-Tessary     クリック→閉じる   ");
// The file chooser's entry that gets selected when the viewer is closed through its frame.
constexpr int kEntryAfterUnload = 3;

int16_t WorkWidth() { return int16_t(Module1.WorkRight - Module1.WorkLeft); }
int16_t WorkHeight() { return int16_t(Module1.WorkBottom - Module1.WorkTop); }
// Halves an integer, dropping the remainder towards zero.
int32_t Half(int32_t value) { return value / 2; }

// Where LoadStrShow1 draws a picture of sw × sh pixels on a work area of W × H.
QRect FitToWorkArea(float sw, float sh, int16_t W, int16_t H) {
    const float rp = sw / sh;
    const float rs = float(double(W) / double(H));
    float dw, dh;
    int32_t dx, dy;
    if (rs < rp) {
        dw = W;
        dh = float(std::floor(static_cast<long double>(sh) / sw * W));
        dx = 0;
        dy = Half(*ToInt32HalfEven(H - dh));
    } else {
        dh = H;
        dw = float(std::floor(static_cast<long double>(sw) / sh * H));
        dy = 0;
        dx = Half(*ToInt32HalfEven(W - dw));
    }
    return {dx, dy, *ToInt32HalfEven(dw), *ToInt32HalfEven(dh)};
}
}  // namespace

// What the viewer shows, to put back when a picture cannot be loaded: the caller goes on with
// the viewer as it was.
class PictureViewer::KeptView {
public:
    explicit KeptView(PictureViewer& viewer)
        : m_caption(viewer.caption()),
          m_picture(viewer.Picture1.snapshot()),
          m_windowShown(viewer.isShown()) {}
    void putBack(PictureViewer& viewer) const {
        viewer.setCaption(m_caption);
        viewer.Picture1.restore(m_picture);
        // At natural size the window is shown before the decode; a hidden viewer stays hidden.
        if (!m_windowShown) viewer.hideWindow();
    }

private:
    QString m_caption;
    platform::PictureBox::Snapshot m_picture;
    bool m_windowShown;
};

PictureViewer::PictureViewer()
    : Window(CloseByFrame::Destroy),
      Picture1(this, kPicture1, platform::PictureBox::Role::Display),
      Picture2(this, kPicture2, platform::PictureBox::Role::Scratch) {
    Picture1.takeAheadFrom(m_ahead);
    Picture2.takeAheadFrom(m_ahead);
    setClientRectTwips(kDesign);
    setKeyPreview(true);
    Picture1.setAutoSize(true);
    Picture2.setAutoSize(true);
    Picture1.onClick = [this] { Picture1_Click(); };
}

void PictureViewer::LoadControl1(const QString& DirPath, const QString& FileName, int16_t Caption) {
    const KeptView before(*this);
    try {
        if (Caption == kCaptionSingle) setCaption(kCaptionSingleText + FileName);
        if (Caption == kCaptionThumbnail) setCaption(kCaptionThumbnailText + FileName);
        Picture2.loadPicture(DirPath);
        const int sw = Picture2.scaleWidth(), sh = Picture2.scaleHeight();
        if (FrmSelectSld->Check3.value() == 1) {
            Picture1.setWidth(WorkWidth());
            Picture1.setHeight(WorkHeight());
            Picture1.setLeft(0);
            Picture1.setTop(0);
            LoadStrShow1(DirPath);
        } else {
            ShowOverWorkArea();
            Picture1.loadPicture(DirPath);
            Picture1.setLeft(Half(WorkWidth()) - Half(sw));
            Picture1.setTop(Half(WorkHeight()) - Half(sh));
            Picture1.setVisible(true);
        }
        DecodeStepsAhead();
    } catch (const platform::Failure& failure) {
        before.putBack(*this);
        ShowLoadError(failure);
    }
}

void PictureViewer::LoadStrShow1(const QString& /*strPath*/) {
    Picture1.clearPicture();
    const float sw = float(Picture2.scaleWidth());
    const float sh = float(Picture2.scaleHeight());
    Picture1.stretchFrom(Picture2, QRect(0, 0, int(sw), int(sh)),
                         FitToWorkArea(sw, sh, WorkWidth(), WorkHeight()));
    Picture2.clearPicture();
    ShowOverWorkArea();
    Picture1.setVisible(true);
}

void PictureViewer::ShowOverWorkArea() {
    showMaximizedOver(Module1.WorkLeft, Module1.WorkTop, WorkWidth(), WorkHeight());
}

void PictureViewer::DecodeStepsAhead() {
    const bool fitted = FrmSelectSld->Check3.value() == 1;
    QStringList steps;  // the next first; a step the lists do not hold is none
    const auto step = [&steps](const QString& folder, const std::vector<QString>& list, int count,
                               int index) {
        if (index >= 0 && index < count) steps << folder + list[index];
    };
    if (Form1->CmdNext1.isEnabled()) {
        step(Module1.DirPath1, Module1.FileList1, Module1.FileCount1, Module1.CurIndex1 + 1);
    } else if (Form1->CmdNextSld.isEnabled()) {
        step(Module1.DirPathSld, Module1.FileListSld, Module1.FileCountSld,
             Module1.CurIndexSld + 1);
    }
    if (fitted && Form1->CmdPrev1.isEnabled()) {
        step(Module1.DirPath1, Module1.FileList1, Module1.FileCount1, Module1.CurIndex1 - 1);
    } else if (fitted && Form1->CmdPrevSld.isEnabled()) {
        step(Module1.DirPathSld, Module1.FileListSld, Module1.FileCountSld,
             Module1.CurIndexSld - 1);
    }
    m_ahead.start(steps, ViewSize());
}

void PictureViewer::DecodeAhead(const QString& path) { m_ahead.start({path}, ViewSize()); }

platform::WorkAhead::DrawnSize PictureViewer::ViewSize() const {
    const bool fitted = FrmSelectSld->Check3.value() == 1;
    const int16_t W = WorkWidth(), H = WorkHeight();
    const qreal ratio = Picture1.pixelRatio();
    return [fitted, W, H, ratio](QSize natural) {
        if (!fitted) return QSize();
        const QRect drawn = FitToWorkArea(float(natural.width()), float(natural.height()), W, H);
        return platform::PictureBox::deviceSize(drawn.size(), ratio);
    };
}

void PictureViewer::Form_KeyPress(int keyAscii) {
    if (keyAscii == platform::kEnterKey) {
        if (Form1->CmdNext1.isEnabled()) {
            Form1->CmdNext1_Click();
        } else if (Form1->CmdNextSld.isEnabled()) {
            Form1->CmdNextSld_Click();
        }
    } else if (keyAscii == platform::kBackspaceKey) {
        if (Form1->CmdPrev1.isEnabled()) {
            Form1->CmdPrev1_Click();
        } else if (Form1->CmdPrevSld.isEnabled()) {
            Form1->CmdPrevSld_Click();
        }
    }
}

void PictureViewer::Form_MouseDown() { CloseSequence(); }

void PictureViewer::Picture1_Click() { CloseSequence(); }

void PictureViewer::CloseSequence() {
    if (Module1.Next12Saved) Form1->CmdNext12.setEnabled(true);
    if (Module1.Prev12Saved == -1) Form1->CmdPrev12.setEnabled(true);
    Form1->CmdNext1.setEnabled(false);
    Form1->CmdPrev1.setEnabled(false);
    Form1->CmdNextSld.setEnabled(false);
    Form1->CmdPrevSld.setEnabled(false);
    Form1->CmdBrkSld.setEnabled(false);
    FrmSelectSld->Timer1.setRunning(false);
    hideWindow();
}

void PictureViewer::Form_Unload() {
    ResetNavigation();
    Form1->CmdBrkSld.setEnabled(false);
    // The show ends with its window, as when the viewer is closed by a click: left running, it
    // would bring the viewer back with no "停止" to stop it.
    FrmSelectSld->Timer1.setRunning(false);
    if (FrmSelect1->File1.entryCount() > kEntryAfterUnload) {
        FrmSelect1->File1.setSelectedIndex(kEntryAfterUnload);
    }
}
