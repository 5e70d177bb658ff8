#include "ui/figurestore.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace tavlon::ui {

QRgb SquareColor(int c, int r) {
    return (c + r) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
}

QImage ReplaceBlue(const QImage& picture, QRgb fill) {
    QImage out(kCell, kCell, QImage::Format_RGB32);
    out.fill(fill);
    const QImage src = picture.convertToFormat(QImage::Format_RGB32);
    const int w = std::min(kCell, src.width());
    const int h = std::min(kCell, src.height());
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = (in[x] & 0x00FFFFFFu) == 0x0000FFu ? fill : in[x];
    }
    return out;
}

QImage ReadPicture(const QString& path) {
    QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage picture = reader.read();
    if (picture.isNull())
        picture.load(path);
    return picture;
}

QImage LoadWithFallback(const QString& path, const QString& builtIn, bool& unreadable) {
    unreadable = false;
    const QFileInfo file(path);
    if (file.exists()) {
        // Only a regular file is opened: reading a FIFO would wait for a writer for good.
        QImage picture;
        if (file.isFile())
            picture = ReadPicture(path);
        if (!picture.isNull())
            return picture;
        unreadable = true;
    }
    return ReadPicture(builtIn);
}

QString UnreadablePicturesText(const QStringList& paths) {
    if (paths.size() == 1)
        return u"Не удалось прочитать файл «%1»."_s.arg(paths.front());
    QString text = u"Не удалось прочитать файлы:"_s;
    for (const QString& path : paths)
        text += u"\n«"_s + path + u'»';
    return text;
}

FigureStore::FigureStore(QString programDir, Reporter report)
    : programDir_(std::move(programDir)), report_(std::move(report)) {}

QString FigureStore::BuiltInPath(int code) {
    return u":/figures/"_s + QString::number(code) + u".bmp"_s;
}

// The first damaged picture of a run brings one message that names every damaged picture
// there is, rather than one box per file as the board fills with pieces.
void FigureStore::ReportUnreadable(QStringList paths) {
    if (reported_)
        return;
    for (int code : kFigureCodes) {
        const QString path = FigurePath(code);
        const QFileInfo file(path);
        if (file.exists() && (!file.isFile() || ReadPicture(path).isNull()))
            paths << path;
    }
    if (paths.isEmpty())
        return;
    reported_ = true;
    if (report_)
        report_(UnreadablePicturesText(paths));
}

void FigureStore::BeginRedraw() {
    ++redraw_;
}

QString FigureStore::FigurePath(int code) const {
    return programDir_ + u"/Figures/"_s + QString::number(code) + u".bmp"_s;
}

int FigureStore::Slot(TPieceCode code) {
    if (code == kEmpty || code == kAttackMark || IsPassMark(code))
        return 0;
    const int kind = KindOf(code);
    if (IsPieceOwner(OwnerOf(code)) && kind >= 1 && kind <= 8)
        return code;
    return -1;
}

const QImage* FigureStore::Square(TPieceCode code, bool whiteSquare) {
    const int slot = Slot(code);
    if (slot < 0)
        return nullptr;
    Entry& e = entries_[static_cast<std::size_t>(slot)];
    if (e.checkedIn != redraw_)
        Refresh(slot, e);
    if (e.onWhite.isNull() && slot != 0)
        return Square(kEmpty, whiteSquare); // an unreadable piece shows the empty square
    return whiteSquare ? &e.onWhite : &e.onBlack;
}

// One stat per file and redraw decides whether the decoded picture is still the file's.
void FigureStore::Refresh(int code, Entry& e) {
    e.checkedIn = redraw_;
    const QString path = FigurePath(code);
    // std::filesystem gives the raw file time; QFileInfo would convert it to local time on
    // every look, which costs more than the look itself.
    std::error_code error;
    const std::filesystem::path file(path.toStdU16String());
    const auto modified = std::filesystem::last_write_time(file, error);
    const bool onDisk = !error;
    const auto size = onDisk ? static_cast<qint64>(std::filesystem::file_size(file, error)) : -1;
    if (e.loaded && e.fromFile == onDisk && e.modified == modified && e.size == size)
        return;
    e.loaded = true;
    e.fromFile = onDisk;
    e.modified = modified;
    e.size = size;
    bool unreadable = false;
    const QImage picture = LoadWithFallback(path, BuiltInPath(code), unreadable);
    if (unreadable)
        ReportUnreadable({});
    if (picture.isNull() && code == 0) {
        // Without any picture of the empty square the squares are plain colours.
        e.onWhite = ReplaceBlue(QImage(), qRgb(255, 255, 255));
        e.onBlack = ReplaceBlue(QImage(), qRgb(0, 0, 0));
        return;
    }
    e.onWhite = picture.isNull() ? QImage() : ReplaceBlue(picture, qRgb(255, 255, 255));
    e.onBlack = picture.isNull() ? QImage() : ReplaceBlue(picture, qRgb(0, 0, 0));
}

} // namespace tavlon::ui
