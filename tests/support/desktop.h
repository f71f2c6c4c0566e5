#pragma once
// What every widget test and fuzz target stands on: a temporary folder that is the one drive,
// with home/ and program/ in it; message boxes and the program's end recorded instead of acted
// on; real picture files; and the user's ways into the three modes. Qt is reached through
// each window's and control's widget().
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "grid/thumbnail_grid.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"

class TestDesktop {
public:
    TestDesktop();
    ~TestDesktop();
    QString root() const { return m_dir.path(); }
    QString home() const { return root() + "/home"; }
    QString programFolder() const { return root() + "/program"; }
    QString iniPath() const { return programFolder() + "/Tessary.ini"; }
    QString configFolder() const { return root() + "/config"; }
    // A folder below the root, made if missing; with n, holding pictures pic01.bmp ...
    QString folder(const QString& relative, int n = 0) const;
    QString addDrive(const QString& relative);
    // Starts the program as a new run does; stop() destroys every window and the shared state.
    void start();
    static void stop();
    void restart() { stop(), start(); }
    // Exactly one box came up, with this title and a text holding part; it is then forgotten.
    bool shownOnce(const QString& title, const QString& part = {});

    QStringList messages;  // "title: text"
    std::function<void()> whileMessageOpen;
    bool ended = false;

private:
    QTemporaryDir m_dir;
    QStringList m_drives;
};

// A fresh desktop for each case with the program started and an empty home/pics; a case fails
// on a message box it did not take in through shownOnce().
class DesktopTest : public QObject {
    Q_OBJECT
protected:
    virtual void prepare() {}  // after the start
    std::unique_ptr<TestDesktop> desktop;
    QString pics;
private slots:
    void init();
    void cleanup();
};

// Picture files: one colour, the format by the suffix (GIF: a two-colour one written here).
inline const QColor kRed(200, 40, 40);
QString writePicture(const QString& path, int width, int height, QColor colour = kRed);
// n pictures pic01.bmp ... of 40 × 30, picture i coloured colourOf(i).
QStringList writePictures(const QString& folder, int n);
QColor colourOf(int i);
QByteArray encoded(const QImage& image, const char* format);
QByteArray gif(quint16 width, quint16 height);
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readAll(const QString& path);
QString corpora();  // the public picture corpora, or empty

bool sameColour(QRgb pixel, QColor colour, int tolerance = 8);
// The part of a box's image that is not its background.
QRect paintedRect(platform::PictureBox& box);

template <class Control>
void click(Control& control, QPoint at = {}) {
    QWidget* w = control.widget();
    QTest::mouseClick(w, Qt::LeftButton, {}, at.isNull() ? w->rect().center() : at);
}
template <class Control>
void key(Control& control, Qt::Key key) {
    QTest::keyClick(control.widget(), key);
}
// ">>", "<<" of each mode, then "停止"/"再開".
QList<platform::CommandButton*> navigationButtons();
void openSingle(const QString& folder, int index);
void openGrid(const QString& folder, int pagesOn = 0);
void startShow(const QString& folder, const QString& interval = "5", int repeat = 0,
               int random = 0);
inline void tick() { FrmSelectSld->Timer1.fireTick(); }
// The file the viewer shows, by its caption; empty while it is hidden.
QString viewerShows();
// What is wrong with the program's state at start-up; empty when its rules could have made it.
QString inconsistency();
