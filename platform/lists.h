#pragma once
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QRegularExpression>
#include <functional>

#include "platform/failure.h"
#include "platform/twips.h"
#include "platform/window.h"

namespace platform {

// As with the other controls, each list's Qt widget is private; widget() serves the platform
// layer and tests.

// The lists are known to screen readers as "ドライブ" (on Linux its description; the name is
// the drive shown), "フォルダ" and "ファイル".

// The drives of the machine; shows one, at first the drive it is made with. A new drive, chosen by
// the user or set by program, runs onChange.
class DriveList : private QComboBox {
public:
    QComboBox* widget() { return this; }
    using QWidget::isEnabled;
    using QWidget::setEnabled;
    DriveList(Window* window, const TwipsRect& rect, const QString& drive);
    QString drive() const { return m_drive; }
    void setDrive(const QString& drive);
    std::function<void()> onChange;

protected:
    void showPopup() override;

private:
    void refill();
    QString m_drive;
};

// The folders of the current drive, with the current folder open: its parents above it and its
// subfolders below. A double-click, or Enter, opens a folder; typing a name's first letters goes
// to it. A new path runs onChange; opening the folder already shown changes nothing.
class FolderList : private QListWidget {
public:
    QListWidget* widget() { return this; }
    using QWidget::isEnabled;
    using QWidget::setEnabled;
    FolderList(Window* window, const TwipsRect& rect);
    QString path() const { return m_path; }
    // Throws Failure when the path is not a folder that can be read.
    void setPath(const QString& path);
    // Moves to the drive's current folder (its root when that folder is gone); throws Failure
    // when the drive cannot be read.
    void moveToDrive(const QString& drive);
    std::function<void()> onChange;
    // A folder the user opened that cannot be read.
    std::function<void(const Failure&)> onOpenFailed;

private:
    void refill();
    void openItem(QListWidgetItem* item);
    void keyboardSearch(const QString& search) override;
    QString m_path;
    QString m_typed;  // the letters typed so far, while they come in quick succession
    QElapsedTimer m_sinceTyped;
};

// The files of a folder whose names match a pattern ("*.bmp;*.gif"), without regard to case,
// sorted as a person expects, hidden files left out, at most 32767 of them. A file the user may
// not read is listed all the same: opening it says why it cannot be shown.
class FileList : private QListWidget {
public:
    QListWidget* widget() { return this; }
    using QWidget::isEnabled;
    using QWidget::setEnabled;
    FileList(Window* window, const TwipsRect& rect, const QString& pattern);
    QString path() const { return m_path; }
    // Re-reads the folder and clears the selection, without a click. Throws Failure when the
    // folder cannot be read.
    void setPath(const QString& folder);
    int entryCount() const { return count(); }
    // The list's background takes the colour of a button's face, as for a list only to look at.
    void useButtonFaceBackground();
    // Entry i, counting from 0; "" past the end.
    QString entry(int i) const;
    // A file of that name matches the list's pattern.
    bool matches(const QString& name) const { return m_patterns.match(name).hasMatch(); }
    // The entry of that name, -1 where the list does not hold it.
    int indexOf(const QString& name) const;
    // -1 when nothing is selected.
    int selectedIndex() const { return m_selected; }
    // Selecting a new entry, by the user or by program, runs onClick; only a selection does:
    // tabbing into the list selects nothing. Throws Failure past the end.
    void setSelectedIndex(int i);
    QString selectedName() const { return entry(m_selected); }
    std::function<void()> onClick;
    std::function<void()> onDoubleClick;

    static constexpr int kMaxEntries = 32767;

private:
    QRegularExpression m_patterns;
    QString m_path;
    int m_selected = -1;
};

// Names sorted as a person expects: case folded, numbers by value ("img2" before "img10").
void sortNaturally(QStringList& names);

}  // namespace platform
