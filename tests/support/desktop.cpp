#include "tests/support/desktop.h"

#include "app/number_text.h"
#include "platform/message_box.h"
#include "platform/program.h"
#include "platform/settings_location.h"

TestDesktop::TestDesktop() {
    platform::initialise();
    QDir(root()).mkpath("home/pics"), QDir(root()).mkpath("program");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder()));    // never the user's own
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root() + "/cache"));  // thumbnails, likewise
    platform::setProgramFolder(programFolder());
    platform::MessageBox::setRecorder([this](const QString& text, const QString& title) {
        messages << title + ": " + text;
        if (whileMessageOpen) whileMessageOpen();
    });
    platform::setProgramEnd([this] { ended = true; });
}

QString TestDesktop::folder(const QString& relative, int n) const {
    QDir(root()).mkpath(relative), writePictures(root() + "/" + relative, n);
    return root() + "/" + relative;
}

QString TestDesktop::addDrive(const QString& relative) {
    platform::drives::setForTesting(m_drives << folder(relative), home());
    return m_drives.last();
}

void TestDesktop::stop() {
    UnloadAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Module1 = SharedState();
}

bool TestDesktop::shownOnce(const QString& title, const QString& part) {
    const bool once =
        messages.size() == 1 && messages[0].startsWith(title + ": ") && messages[0].contains(part);
    if (!once) qWarning() << "not one" << title << "naming" << part << "but" << messages;
    messages.clear();
    return once;
}

void DesktopTest::init() {
    desktop = std::make_unique<TestDesktop>(), pics = desktop->home() + "/pics";
    desktop->start(), prepare();
}

void DesktopTest::cleanup() {
    const QStringList messages = std::exchange(desktop, nullptr)->messages;  // and the desktop goes
    QVERIFY2(messages.isEmpty(), qPrintable("unexpected message boxes: " + messages.join('\n')));
}

QByteArray encoded(const QImage& image, const char* format) {
    QBuffer buffer;
    if (!image.save(&buffer, format, 95)) qFatal("cannot encode %s", format);
    return buffer.data();
}

QByteArray gif(quint16 width, quint16 height) {
    QByteArray bytes("GIF89a");
    const auto le16 = [&](quint16 v) { bytes += char(v & 0xff), bytes += char(v >> 8); };
    le16(width), le16(height);
    bytes += QByteArray("\x80\x00\x00\x00\x00\xff\xff\xff\xff,", 10);
    le16(0), le16(0), le16(width), le16(height);
    return bytes + QByteArray("\x00\x02\x02\x44\x01\x00;", 7);  // a few pixels, then the end
}

QString writePicture(const QString& path, int width, int height, QColor colour) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const char* format = suffix == "jpg" ? "jpeg" : suffix == "ico" ? "ico" : "bmp";
    return writeFile(path, suffix == "gif" ? gif(width, height) : encoded(image, format)), path;
}

QStringList writePictures(const QString& folder, int n) {
    QStringList names;
    for (int i = 0; i < n; ++i)
        writePicture(
            folder + "/" + (names << QString("pic%1.bmp").arg(i + 1, 2, 10, QChar('0'))).last(), 40,
            30, colourOf(i));
    return names;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray withExif(const QByteArray& jpeg, int orientation, const QByteArray& thumbnail) {
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);  // big-endian; IFD0 next, then IFD1, then the JPEG
    const auto add = [&](quint32 value, int bytes) {
        for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) tiff += char(value >> shift);
    };
    const auto entry = [&](int tag, int type, quint32 value) {
        add(tag, 2), add(type, 2), add(1, 4), add(type == 3 ? value << 16 : value, 4);
    };
    add(1, 2), entry(0x112, 3, orientation), add(thumbnail.isEmpty() ? 0 : 26, 4);
    if (!thumbnail.isEmpty())
        add(2, 2), entry(0x201, 4, 56), entry(0x202, 4, thumbnail.size()), add(0, 4);
    const QByteArray block = "Exif" + QByteArray(2, 0) + tiff + thumbnail;
    QByteArray app1("\xff\xe1", 2);
    app1 += char((block.size() + 2) >> 8), app1 += char(block.size() + 2);
    const int jfif =
        jpeg.startsWith("\xff\xd8\xff\xe0") ? 4 + (uchar(jpeg[4]) << 8 | uchar(jpeg[5])) : 2;
    return QByteArray(jpeg).insert(jfif, app1 + block);
}

QRect paintedRect(platform::PictureBox& box) {
    const QImage image = box.image();
    QRect painted;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!sameColour(image.pixel(x, y), box.widget()->palette().color(QPalette::Window), 12))
                painted |= QRect(x, y, 1, 1);
    return painted;
}

void openSingle(const QString& folder, int index) {
    click(Form1->CmdShow1), FrmSelect1->Dir1.setPath(folder);
    FrmSelect1->File1.setSelectedIndex(index), click(FrmSelect1->Command1);
}

void loadInCell(const QString& path, int cell) {
    ThumbnailGrid::LoadAutoSizePicture(*FrmShow12->Picture1[cell], FrmShow12->Picture2, path);
}

int loadErrors(TestDesktop& desktop, const QString& path) {
    const QString name = QFileInfo(path).fileName();
    int errors = 0;
    for (int place = 0; place < 3; ++place) {
        FrmSelectSld->Check3.setValue(place % 2);
        place == 2 ? loadInCell(path) : FrmShow1->LoadControl1(path, name, 1);
        const bool shown = !desktop.messages.isEmpty();
        if (shown && !desktop.shownOnce("Load Error", "Cannot load " + name + ":")) return -1;
        errors += shown;
    }
    return errors;
}

void openGrid(const QString& folder) {
    click(Form1->CmdShow12), FrmSelect12->Dir1.setPath(folder), click(FrmSelect12->Command1);
}

void addRows(const char* table, std::initializer_list<const char*> columns,
             const QStringList& suffixes) {
    for (const char* column : columns) QTest::addColumn<QString>(column);  // names kept, not copied
    for (const QString& suffix : suffixes)
        for (const QString& line : QString(table).split('\n', Qt::SkipEmptyParts)) {
            const QStringList cells = line.split('|');
            QTestData& row = QTest::newRow(qPrintable(cells[0].trimmed() + suffix));
            for (int i = 1; i <= int(columns.size()); ++i) row << cells.value(i).trimmed();
        }
}

QString inconsistency() {
    for (auto* button : navigationButtons())
        if (button->isEnabled()) return "a step button on";
    for (Chooser* c : choosers())
        if (c->isShown() || c->File1.path() != c->Dir1.path() ||
            !QFileInfo(c->Dir1.path()).isDir() ||
            c->Drive1.drive() != platform::drives::of(c->Dir1.path()))
            return "a chooser on " + c->Dir1.path();
    const SlideshowSetup& s = *FrmSelectSld;
    const QString interval = s.Text1.text();
    if (!interval.isEmpty() && !(NumberAtStart(interval) >= 1 && NumberAtStart(interval) <= 60))
        return "interval " + interval;
    if (s.Command1.isEnabled() != (!interval.isEmpty() && s.File1.entryCount() > 0))
        return "the start button";
    if (FrmSelect1->Check1.value() != s.Check3.value() ||
        FrmSelect12->Check1.value() != s.Check3.value())
        return "the fit boxes disagree";
    return {};
}
