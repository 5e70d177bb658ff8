// The square pictures of the board: one bitmap per drawable code under Figures/, read from
// the program folder, kept decoded in memory and read again when the file changes.
#pragma once

#include "model/codes.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <filesystem>
#include <functional>

namespace tavlon::ui {

inline constexpr int kCell = 40;       // side of a square in pixels
inline constexpr int kBoardSide = 320; // side of the board picture

// Square colour: white when c + r is even, black otherwise.
QRgb SquareColor(int c, int r);

// A picture with every pixel of exactly pure blue replaced by `fill`, as 40 x 40 RGB32
// (smaller pictures are padded with `fill`, larger ones cut to their top-left corner).
QImage ReplaceBlue(const QImage& picture, QRgb fill);

class FigureStore {
  public:
    using Reporter = std::function<void(const QString&)>;
    // `programDir` is the folder holding Figures/; `report` gets the one message of a run
    // that names the files that are there but cannot be read.
    FigureStore(QString programDir, Reporter report);

    // Starts a full redraw: every file used from now on is looked at on disk once more.
    void BeginRedraw();
    // The 40 x 40 picture of a drawable code (0, 10-40 marks, 99 and the piece codes) on a
    // white or black square; nullptr for a code that draws nothing.
    const QImage* Square(TPieceCode code, bool whiteSquare);

    // Path of the bitmap of `code` under the program folder.
    QString FigurePath(int code) const;
    // Unless this run reported already: reports `paths` together with every figure file that
    // is there but cannot be read, in one message (nothing when there is none).
    void ReportUnreadable(QStringList paths);

  private:
    struct Entry {
        bool loaded = false;
        unsigned checkedIn = 0; // redraw number of the last look at the file
        bool fromFile = false;
        std::filesystem::file_time_type modified;
        qint64 size = -1;
        QImage onWhite, onBlack; // empty when the picture could not be had
    };
    void Refresh(int code, Entry& e);
    static int Slot(TPieceCode code);
    static QString BuiltInPath(int code);

    static constexpr int kFigureCodes[] = {0,  11, 12, 13, 14, 15, 16, 17, 18, 21, 22,
                                           23, 24, 25, 26, 27, 28, 31, 32, 33, 34, 35,
                                           36, 37, 38, 41, 42, 43, 44, 45, 46, 47, 48};

    QString programDir_;
    Reporter report_;
    bool reported_ = false;
    unsigned redraw_ = 1;
    std::array<Entry, 49> entries_{};
};

// Reads a picture in the format its name ends in (".bmp", ".png"), which Qt reads itself;
// only a file that cannot be read so is offered to the image plugins, which Qt would
// otherwise load (and the JPEG library with them) to ask each one first.
QImage ReadPicture(const QString& path);

// Reads a picture from `path`, or from the built-in copy `builtIn` when the file is missing
// or cannot be read (empty, damaged, not a regular file); `unreadable` tells the latter.
QImage LoadWithFallback(const QString& path, const QString& builtIn, bool& unreadable);

// The message naming pictures that could not be read.
QString UnreadablePicturesText(const QStringList& paths);

} // namespace tavlon::ui
