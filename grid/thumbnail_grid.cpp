#include "grid/thumbnail_grid.h"

#include "app/control_window.h"
#include "app/messages.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/fit.h"
#include "platform/failure.h"
#include "platform/fonts.h"
#include "single/picture_viewer.h"

namespace {
using platform::TwipsRect;
// Right of the control window, which stays above everything.
constexpr int kLeft = 1200, kTop = 330;
constexpr int kClientWidth = 6945, kClientHeight = 5910;
constexpr int kCellSize = 1455;  // 97 pixels, inside a 2-pixel border 93
constexpr int kCellBorderPixels = 2;
constexpr int kColumnLefts[] = {120, 1860, 3600, 5340};
constexpr int kRowTops[] = {120, 2040, 3960};
constexpr int kCaptionTops[] = {1590, 3510, 5430};
constexpr int kCaptionHeight = 420;
constexpr TwipsRect kPicture2{4920, 0, 375, 495};
constexpr int kColumns = 4;
const QString kCaption =
    QStringLiteral(" Orlin-Tessary     クリック→開く   Enter→次画面   Backspace→前画面");
}  // namespace

ThumbnailGrid::ThumbnailGrid()
    : Window(CloseByFrame::Destroy),
      Picture2(this, kPicture2, platform::PictureBox::Role::Scratch) {
    setCaption(kCaption);
    setFont(platform::gothicFont(9));
    setClientSizeTwips(kClientWidth, kClientHeight);
    setClientPositionTwips(kLeft, kTop);
    setKeyPreview(true);
    Picture2.setAutoSize(true);
    Picture2.takeAheadFrom(m_ahead);
    for (int i = 0; i < kPage; ++i) {
        const int left = kColumnLefts[i % kColumns];
        Picture1[i] = std::make_unique<platform::PictureBox>(
            this, TwipsRect{left, kRowTops[i / kColumns], kCellSize, kCellSize},
            platform::PictureBox::Role::Display);
        Picture1[i]->setBorder(kCellBorderPixels);
        Picture1[i]->onClick = [this, i] { Picture1_Click(int16_t(i)); };
        Label1[i] = std::make_unique<platform::Label>(
            this, QString(),
            TwipsRect{left, kCaptionTops[i / kColumns], kCellSize, kCaptionHeight});
        Label1[i]->wrapCentred();
    }
}

void ThumbnailGrid::LoopControl() {
    drawNow();
    for (int i = 0; i < kPage; ++i) {
        Picture1[i]->clearPicture();
        Label1[i]->setCaption(QString());
    }
    drawNow();  // the wiped page, where the user sees it before the slow part
    int n;
    if (Module1.FileCount12 < kPage) {
        n = Module1.FileCount12;
        Form1->CmdNext12.setEnabled(false);
        Module1.Next12Saved = false;
    } else if (const int d = Module1.FileCount12 - Module1.CurIndex12; d > kPage) {
        n = kPage;
        Form1->CmdNext12.setEnabled(true);
        Module1.Next12Saved = true;
    } else {
        n = d;
        Form1->CmdNext12.setEnabled(false);
        Module1.Next12Saved = false;
    }
    DecodeAhead(PagePaths(Module1.CurIndex12, n));  // on workers, while the cells are drawn in order
    for (int j = 0; j < n; ++j) {
        const int k = Module1.CurIndex12 + j;
        LoadEmbeddedThumbnail(*Picture1[j], Module1.DirPath12 + Module1.FileList12[k]);
        Label1[j]->setCaption(Module1.FileList12[k]);
    }
    drawNow();  // the page whole from its embedded thumbnails, before the first decode is done
    for (int j = 0; j < n; ++j) {
        const int k = Module1.CurIndex12 + j;
        LoadAutoSizePicture(*Picture1[j], Picture2, Module1.DirPath12 + Module1.FileList12[k]);
        Label1[j]->setCaption(Module1.FileList12[k]);
        drawNow();
    }
    DecodeNextPageAhead();
}

void ThumbnailGrid::DecodeAhead(const QStringList& paths) { m_ahead.start(paths, CellSize()); }

void ThumbnailGrid::DecodeNextPageAhead() {
    const int next = Module1.CurIndex12 + kPage, previous = Module1.CurIndex12 - kPage;
    const bool back = previous >= 0 && PagePaths(next, 1) == QStringList{m_lastPage};
    m_lastPage = PagePaths(Module1.CurIndex12, 1).value(0);
    DecodeAhead(PagePaths(back ? previous : next, kPage));
}

// The paths of up to n files of the list from the first, none where the list has none.
QStringList ThumbnailGrid::PagePaths(int first, int n) const {
    QStringList paths;
    for (int k = std::max(first, 0); k < first + n && k < Module1.FileCount12; ++k)
        paths << Module1.DirPath12 + Module1.FileList12[k];
    return paths;
}

platform::WorkAhead::DrawnSize ThumbnailGrid::CellSize() const {
    const int cellWidth = Picture1[0]->scaleWidth(), cellHeight = Picture1[0]->scaleHeight();
    const qreal ratio = Picture1[0]->pixelRatio();  // the cells decode at device resolution
    return [cellWidth, cellHeight, ratio](QSize natural) {
        const QRect fitted =
            FitInBox(float(natural.width()), float(natural.height()), cellWidth, cellHeight);
        return platform::PictureBox::deviceSize(fitted.size(), ratio);
    };
}

void ThumbnailGrid::LoadAutoSizePicture(platform::PictureBox& DstObject,
                                        platform::PictureBox& SrcObject, const QString& strPath) {
    try {
        SrcObject.loadPicture(strPath);
        const float sw = float(SrcObject.scaleWidth());
        const float sh = float(SrcObject.scaleHeight());
        const QRect destination = FitInBox(sw, sh, DstObject.scaleWidth(), DstObject.scaleHeight());
        DstObject.stretchFrom(SrcObject, QRect(0, 0, int(sw), int(sh)), destination);
    } catch (const platform::Failure& failure) {
        DstObject.clearPicture();  // no embedded thumbnail stands in for a picture that failed
        ShowLoadError(failure);
    }
    DstObject.refresh();
    SrcObject.clearPicture();
}

void ThumbnailGrid::LoadEmbeddedThumbnail(platform::PictureBox& DstObject, const QString& strPath) {
    const platform::EmbeddedThumbnail embedded = m_ahead.takeEmbedded(strPath, CellSize());
    if (embedded.image.isNull()) return;
    const QSize natural = embedded.natural;
    const QRect destination = FitInBox(float(natural.width()), float(natural.height()),
                                       DstObject.scaleWidth(), DstObject.scaleHeight());
    DstObject.drawStandIn(embedded.image, destination);
}

void ThumbnailGrid::Picture1_Click(int16_t index) {
    if (index > Module1.FileCount12 - Module1.CurIndex12 - 1) return;  // a blank cell
    const bool nextWas = Form1->CmdNext12.isEnabled(), prevWas = Form1->CmdPrev12.isEnabled();
    if (Form1->CmdNext12.isEnabled()) {
        Module1.Next12Saved = true;
        Form1->CmdNext12.setEnabled(false);
    }
    if (Form1->CmdPrev12.isEnabled()) {
        Module1.Prev12Saved = -1;
        Form1->CmdPrev12.setEnabled(false);
    }
    const int k = Module1.CurIndex12 + index;
    FrmShow1->LoadControl1(Module1.DirPath12 + Module1.FileList12[k], Module1.FileList12[k],
                           kCaptionThumbnail);
    // No viewer came up, so none will give the page buttons back when it closes.
    if (!FrmShow1->isShown()) {
        Form1->CmdNext12.setEnabled(nextWas);
        Form1->CmdPrev12.setEnabled(prevWas);
    }
}

void ThumbnailGrid::Form_KeyPress(int keyAscii) {
    if (keyAscii == platform::kEnterKey && Form1->CmdNext12.isEnabled()) Form1->CmdNext12_Click();
    if (keyAscii == platform::kBackspaceKey && Form1->CmdPrev12.isEnabled())
        Form1->CmdPrev12_Click();
}

void ThumbnailGrid::Form_Unload() { ResetNavigation(); }
