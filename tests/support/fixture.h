#pragma once
// What every widget test needs: a program folder, drives and a home folder of its own in a
// temporary folder, real picture files written there, message boxes and the program's end
// recorded instead of acted on, the windows torn down after each case, and the user's usual
// ways into the three modes.
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/control_window.h"
#include "app/module1.h"
#include "app/windows.h"
#include "grid/folder_chooser.h"
#include "grid/thumbnail_grid.h"
#include "single/file_chooser.h"
#include "single/picture_viewer.h"
#include "slideshow/setup_window.h"
#include "tests/support/pixels.h"

struct RecordedMessage {
    QString text, title;
};

class TestDesktop {
public:
    TestDesktop();
    ~TestDesktop();

    // The temporary root is the test's drive; home/ in it stands for the home folder.
    QString root() const { return m_dir.path(); }
    QString home() const { return root() + "/home"; }
    QString programFolder() const { return root() + "/program"; }
    // The user's configuration folder (XDG_CONFIG_HOME) of the test.
    QString configFolder() const { return root() + "/config"; }
    // Makes a folder below the root; folderWith() puts n small pictures pic01.bmp ... in it.
    QString folder(const QString& relative) const;
    QString folderWith(const QString& relative, int n) const;

    // A real picture file of a size and colour; the format follows the suffix.
    static QString writePicture(const QString& path, int width, int height,
                                QColor colour = QColor(200, 40, 40));
    // n pictures prefix01.bmp ... in a folder, coloured as colourOfPicture() says.
    static QStringList writePictures(const QString& folder, int n, const QString& prefix = "pic",
                                     int width = 40, int height = 30);
    static void writeFile(const QString& path, const QByteArray& bytes);
    // Adds another drive: a folder below the root that tests may remove.
    QString addDrive(const QString& relative);

    // Starts the program as main() does; tearDownProgram() destroys every window and the state.
    void startProgram();
    static void tearDownProgram();

    // Exactly one message box came up, with this title and a text containing part; it is then
    // forgotten, as a box the test expected.
    bool shownOnce(const QString& title, const QString& part = {});

    QList<RecordedMessage> messages;
    std::function<void()> whileMessageOpen;  // runs inside each box, as if left open a while
    bool ended = false;                      // the program asked to end

private:
    QTemporaryDir m_dir;
    QStringList m_drives;
};

// A test class's base: a fresh desktop for each case with an empty folder home/pics, the
// program started on it unless the class says otherwise, then prepare(). A case fails if a
// message box came up that it did not take in through shownOnce().
class DesktopTest : public QObject {
    Q_OBJECT
public:
    explicit DesktopTest(bool start = true) : m_start(start) {}

protected:
    virtual void prepare() {}
    std::unique_ptr<TestDesktop> desktop;
    QString pics;

private slots:
    void init();
    void cleanup();

private:
    bool m_start;
};

// The corpora of real picture files, or empty (the tests that need them then skip).
QString corporaFolder();
// A BMP whose header is sound but whose palette and pixels are cut off.
QByteArray damagedBmp();
// A left click on a widget, at its centre or a point.
void click(QWidget* widget, QPoint at = QPoint());

// The control window's seven step buttons: ">>" and "<<" of each mode, then "停止"/"再開";
// allNavigationOn() enables them all and saves both page buttons as enabled.
QList<platform::CommandButton*> navigationButtons();
void allNavigationOn();

// A 1024 × 722 work area, whatever the offscreen screen is.
void useWorkArea();
// The user's ways in: the mode button, the chooser, its start button.
void openSingle(const QString& folder, int index);
void openGrid(const QString& folder, int pagesOn = 0);
void startShow(const QString& folder, const QString& interval = "5", int repeat = 0,
               int random = 0);
// One tick of the slideshow's timer.
void tick();
// The file name that ends the viewer's caption; empty while the viewer is hidden.
QString viewerShows();
