#pragma once
// What every widget test needs: a program folder, drives and a home folder of its own in a
// temporary folder, real picture files written there, the message boxes recorded instead of
// shown, and the windows torn down after each case.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

struct RecordedMessage {
    QString text;
    QString title;
};

class TestDesktop {
public:
    TestDesktop();
    ~TestDesktop();

    // The temporary root: the test's "drive"; home/ inside it stands for the home folder.
    QString root() const { return m_dir.path(); }
    QString home() const { return root() + "/home"; }
    QString programFolder() const { return root() + "/program"; }
    // Makes a folder below the root (and its parents) and returns its path.
    QString folder(const QString& relative) const;

    // A real picture file of a size and colour; the format follows the suffix.
    static QString writePicture(const QString& path, int width, int height,
                                QColor colour = QColor(200, 40, 40));
    // n pictures named prefix01.bmp ... in a folder.
    static QStringList writePictures(const QString& folder, int n, const QString& prefix = "pic",
                                     int width = 40, int height = 30);
    static void writeFile(const QString& path, const QByteArray& bytes);

    // Adds another drive: a folder below the root that tests may remove.
    QString addDrive(const QString& relative);

    // Starts the program as main() does: the control window and its start-up.
    void startProgram();
    // Destroys every window and forgets the shared variables.
    static void tearDownProgram();

    std::vector<RecordedMessage> messages;
    // Runs inside each recorded message box, as if the user left it open for a while.
    std::function<void()> whileMessageOpen;

private:
    QTemporaryDir m_dir;
    QStringList m_drives;
};

// The corpora of real picture files, or empty (the test then skips, saying so).
QString corporaFolder();

// Presses and releases the left mouse button on a widget, at its centre or a point.
void click(QWidget* widget, QPoint at = QPoint());
