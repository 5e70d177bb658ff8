// The window's image lists: strips of 40 x 40 pictures with transparent parts, compiled
// into the program.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace tavlon::ui {

class ImageStrip {
  public:
    // Cuts the picture at `resource` into `count` frames of 40 x 40 from the left; a missing
    // picture gives fully transparent frames.
    ImageStrip(const QString& resource, int count);
    // Frame `index`, or a transparent frame for an index outside the strip.
    const QImage& Frame(int index) const;
    int Count() const { return static_cast<int>(frames_.size()); }

  private:
    std::vector<QImage> frames_;
    QImage blank_;
};

// The kings of players 1..4 (index = player - 1) and the 21 setup figures (0 empty, then
// pawn, bishop, knight, rook and king of each player in turn).
const ImageStrip& Kings();
const ImageStrip& SetupFigures();

} // namespace tavlon::ui
