#include "platform/lists.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStyle>

#include "platform/controls.h"
#include "platform/drives.h"

namespace platform {

// Compares runs of digits by value and everything else without regard to case.
static int compareNaturally(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit()) ++ei;
            while (ej < b.size() && b[ej].isDigit()) ++ej;
            QStringView da = QStringView(a).mid(i, ei - i), db = QStringView(b).mid(j, ej - j);
            while (da.size() > 1 && da.front() == u'0') da = da.mid(1);
            while (db.size() > 1 && db.front() == u'0') db = db.mid(1);
            if (da.size() != db.size()) return da.size() < db.size() ? -1 : 1;
            if (const int c = da.compare(db); c != 0) return c;
            i = ei;
            j = ej;
        } else {
            const char16_t ca = a[i].toCaseFolded().unicode(), cb = b[j].toCaseFolded().unicode();
            if (ca != cb) return ca < cb ? -1 : 1;
            ++i;
            ++j;
        }
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    return QString::compare(a, b);  // names that differ only in case or leading zeros
}

void sortNaturally(QStringList& names) {
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return compareNaturally(a, b) < 0; });
}

// ---- DriveList ----

DriveList::DriveList(Window* window, const TwipsRect& rect, const QString& drive)
    : QComboBox(window->widget()), m_drive(drive) {
    placeTwips(*this, rect);
    // On Linux Qt gives a combo box's shown value as its accessible name; the description
    // carries what the list is there.
    setAccessibleName(QStringLiteral("ドライブ"));
    setAccessibleDescription(QStringLiteral("ドライブ"));
    refill();
    connect(this, &QComboBox::activated, this,
            [this](int index) { setDrive(itemData(index).toString()); });
}

void DriveList::refill() {
    const QSignalBlocker blocker(this);
    clear();
    for (const QString& drive : drives::all()) addItem(drives::displayName(drive), drive);
    if (findData(m_drive) < 0) addItem(drives::displayName(m_drive), m_drive);
    setCurrentIndex(findData(m_drive));
}

void DriveList::showPopup() {
    refill();  // volumes come and go while the program runs
    QComboBox::showPopup();
}

void DriveList::setDrive(const QString& drive) {
    if (drive == m_drive) return;
    m_drive = drive;
    refill();
    if (onChange) onChange();
}

// ---- FolderList ----

static void requireReadableFolder(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw Failure(QStringLiteral("Path not found: %1").arg(path));
    if (!info.isDir()) throw Failure(QStringLiteral("Not a folder: %1").arg(path));
    if (!info.isReadable() || !QDir(path).isReadable()) {
        throw Failure(QStringLiteral("Permission denied: %1").arg(path));
    }
}

FolderList::FolderList(Window* window, const TwipsRect& rect) : QListWidget(window->widget()) {
    placeTwips(*this, rect);
    setAccessibleName(QStringLiteral("フォルダ"));
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openItem(item); });
}

void FolderList::setPath(const QString& path) {
    const QString folder = cleanFolderPath(path);
    requireReadableFolder(folder);
    drives::setCurrentFolder(folder);
    if (folder == m_path) return;
    m_path = folder;
    refill();
    if (onChange) onChange();
}

void FolderList::moveToDrive(const QString& drive) {
    if (!drives::isReady(drive)) throw Failure(QStringLiteral("Drive is not ready: %1").arg(drive));
    requireReadableFolder(drive);
    QString folder = drives::currentFolder(drive);
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable()) folder = drive;
    setPath(folder);
}

void FolderList::openItem(QListWidgetItem* item) {
    const QString folder = item->data(Qt::UserRole).toString();
    try {
        setPath(folder);
    } catch (const Failure& failure) {
        if (onOpenFailed) onOpenFailed(failure);
    }
}

void FolderList::refill() {
    clear();
    m_typed.clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    // The chain of folders from the drive's root down to the current one; a root ("/", "C:/")
    // ends it where the drive is not above the folder.
    const QString drive = drives::of(m_path);
    QStringList chain{m_path};
    for (QString p = m_path; p != drive && !QDir(p).isRoot();) {
        p = QFileInfo(p).absolutePath();
        chain.prepend(p);
    }
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name =
            (folder == chain.first()) ? shownPath(folder) : QFileInfo(folder).fileName();
        auto* item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, folder);
        item->setData(Qt::AccessibleTextRole, name);  // read out without the indent
        ++depth;
    }
    setCurrentRow(count() - 1);
    QStringList subfolders = QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    sortNaturally(subfolders);
    for (const QString& name : subfolders) {
        auto* item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, QDir(m_path).filePath(name));
        item->setData(Qt::AccessibleTextRole, name);
    }
}

// Each entry's text begins with its indent, which Qt's own search would want typed too: the
// letters are looked for at the start of the folder's name.
void FolderList::keyboardSearch(const QString& search) {
    const bool goesOn =
        m_sinceTyped.isValid() && m_sinceTyped.elapsed() < QApplication::keyboardInputInterval();
    m_typed = goesOn ? m_typed + search : search;
    m_sinceTyped.start();
    if (m_typed.isEmpty()) return;
    // One letter, or the same letter again, steps on to the next name it begins.
    const bool stepsOn = m_typed.count(m_typed.front()) == m_typed.size();
    const QString wanted = stepsOn ? m_typed.left(1) : m_typed;
    const int from = std::max(currentRow() + (stepsOn ? 1 : 0), 0);
    for (int i = 0; i < count(); ++i) {
        QListWidgetItem* entry = item((from + i) % count());
        if (entry->data(Qt::AccessibleTextRole).toString().startsWith(wanted, Qt::CaseInsensitive))
            return setCurrentItem(entry);
    }
}

// ---- FileList ----

// One expression for all the patterns, without regard to case: a folder of thousands of files
// is matched in one pass.
static QRegularExpression patternsExpression(const QString& pattern) {
    QStringList alternatives;
    for (const QString& one : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        alternatives << QRegularExpression::wildcardToRegularExpression(
            one, QRegularExpression::UnanchoredWildcardConversion);
    }
    return QRegularExpression(
        QStringLiteral("\\A(?:%1)\\z").arg(alternatives.join(QLatin1Char('|'))),
        QRegularExpression::CaseInsensitiveOption);
}

FileList::FileList(Window* window, const TwipsRect& rect, const QString& pattern)
    : QListWidget(window->widget()), m_patterns(patternsExpression(pattern)) {
    placeTwips(*this, rect);
    setAccessibleName(QStringLiteral("ファイル"));
    // Measuring every name before the first paint takes a second for thousands of files; the
    // list shows its first lines at once and lays out the rest between events.
    setLayoutMode(QListView::Batched);
    // The selection, not the current row: focus coming in by Tab makes the first entry current
    // without selecting it.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = selectedItems();
        const int row = chosen.isEmpty() ? -1 : this->row(chosen.first());
        if (row == m_selected) return;
        m_selected = row;
        if (row >= 0 && onClick) onClick();
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] {
        if (onDoubleClick) onDoubleClick();
    });
}

void FileList::setPath(const QString& folder) {
    const QString path = cleanFolderPath(folder);
    requireReadableFolder(path);
    QStringList names;
    QDirIterator entries(path, QDir::Files);  // hidden files stay out
    while (entries.hasNext()) {
        entries.next();
        if (const QString name = entries.fileName(); m_patterns.match(name).hasMatch())
            names << name;
    }
    sortNaturally(names);
    if (names.size() > kMaxEntries) names = names.mid(0, kMaxEntries);
    const QSignalBlocker blocker(this);
    m_path = path;
    m_selected = -1;
    clear();
    addItems(names);
    setCurrentRow(-1);
}

void FileList::useButtonFaceBackground() {
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
}

QString FileList::entry(int i) const {
    const QListWidgetItem* it = (i >= 0 && i < count()) ? item(i) : nullptr;
    return it != nullptr ? it->text() : QString();
}

int FileList::indexOf(const QString& name) const {
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text() == name) return i;
    }
    return -1;
}

void FileList::setSelectedIndex(int i) {
    if (i < -1 || i >= count()) throw Failure(QStringLiteral("Invalid property value"));
    if (i == m_selected) return;
    if (i < 0) clearSelection();
    setCurrentRow(i);  // selects the row, which runs onClick
}

}  // namespace platform
