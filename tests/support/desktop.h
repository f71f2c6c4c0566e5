#pragma once
// What every widget test and fuzz target stands on: a temporary folder that is the one drive, with
// home/ and program/ in it; message boxes and the program's end recorded, not acted on; real
// picture files; the user's ways into the modes. Qt is reached through each control's widget().
#include <QTemporaryDir>
#include <QtTest>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "grid/thumbnail_grid.h"
#include "platform/drives.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"

class TestDesktop {
public:
    TestDesktop();
    ~TestDesktop() { stop(); }
    QString root() const { return m_dir.path(); }
    QString home() const { return root() + "/home"; }
    QString programFolder() const { return root() + "/program"; }
    QString iniPath() const { return programFolder() + "/Tessary.ini"; }
    QString configFolder() const { return root() + "/config"; }
    // A folder below the root, made if missing; with n, holding pictures pic01.bmp ...
    QString folder(const QString& relative, int n = 0) const;
    QString addDrive(const QString& relative);
    // A new run, as main() starts it; stop() destroys every window and the shared state.
    void start() {
        platform::drives::setForTesting(m_drives, home());  // no drive remembers a folder
        Form1->Form_Load();
    }
    static void stop();
    void restart() { stop(), start(); }
    // Exactly one box came up, with this title and a text holding part; it is then forgotten.
    bool shownOnce(const QString& title, const QString& part = {});

    QStringList messages;  // "title: text"
    std::function<void()> whileMessageOpen;
    bool ended = false;

private:
    QTemporaryDir m_dir;
    QStringList m_drives{root()};
};

// A fresh desktop for each case, the program started, then prepare(); a case fails on a
// message box it did not take in through shownOnce().
class DesktopTest : public QObject {
    Q_OBJECT
protected:
    virtual void prepare() {}
    std::unique_ptr<TestDesktop> desktop;
    QString pics;  // home/pics, empty
private slots:
    void init();
    void cleanup();
};

inline const QColor kRed(200, 40, 40);
QByteArray encoded(const QImage& image, const char* format);
QByteArray gif(quint16 width, quint16 height);  // two colours; Qt writes no GIF
// A picture of one colour, its format by the suffix.
QString writePicture(const QString& path, int width, int height, QColor colour = kRed);
inline QColor colourOf(int i) { return QColor::fromHsv(((i + 1) * 37) % 360, 200, 200); }
// n pictures pic01.bmp ... of 40 × 30, picture i coloured colourOf(i).
QStringList writePictures(const QString& folder, int n);
void writeFile(const QString& path, const QByteArray& bytes);
// A JPEG with an EXIF block as a camera writes it: the picture's orientation (1 to 8) and, unless
// empty, the bytes of an embedded thumbnail.
QByteArray withExif(const QByteArray& jpeg, int orientation, const QByteArray& thumbnail = {});
inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
inline bool sameColour(QRgb pixel, QColor colour, int tolerance = 8) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}
// The part of a box's image that is not its background.
QRect paintedRect(platform::PictureBox& box);

// A click, by default at the centre; a key pressed and released.
void click(auto& control, QPoint at = {}) {
    QTest::mouseClick(control.widget(), Qt::LeftButton, {}, at);
}
void key(auto& control, Qt::Key key) { QTest::keyClick(control.widget(), key); }
inline QList<Chooser*> choosers() {
    return {FrmSelect1.get(), FrmSelect12.get(), FrmSelectSld.get()};
}
// ">>", "<<" of each mode, then "停止"/"再開".
inline QList<platform::CommandButton*> navigationButtons() {
    return {&Form1->CmdNext1,   &Form1->CmdPrev1,   &Form1->CmdNext12, &Form1->CmdPrev12,
            &Form1->CmdNextSld, &Form1->CmdPrevSld, &Form1->CmdBrkSld};
}
void openSingle(const QString& folder, int index);
void loadInCell(const QString& path, int cell = 0);  // as a page of the grid loads it
// In the viewer fitted and at natural size, then in a cell: the "Load Error"s naming the file,
// or -1 after any other box.
int loadErrors(TestDesktop& desktop, const QString& path);
void openGrid(const QString& folder);
inline void tick() { FrmSelectSld->Timer1.fireTick(); }
// The file the viewer shows, by the end of its caption; empty while it is hidden.
inline QString viewerShows() {
    return FrmShow1->isShown() ? FrmShow1->caption().section(' ', -1) : QString();
}
// Runs what writes as if the disk were full after 16 bytes; false, running nothing, where the
// system cannot (Windows).
bool onAFullDisk(const std::function<void()>& writes);
// A table of text columns written one row a line: its name, then the row's columns, split by "|"
// and trimmed; each row once for each suffix of its name. fetch() gives the current row's texts.
void addRows(const char* table, std::initializer_list<const char*> columns,
             const QStringList& suffixes = {""});
template <class... Columns>
auto fetch(Columns... columns) {
    return std::array{*static_cast<QString*>(QTest::qData(columns, QMetaType::QString))...};
}
// What is wrong with the program's state at start-up; empty when its rules could have made it.
QString inconsistency();
