#include "ui/imagelists.h"

#include "ui/figurestore.h"

using namespace Qt::StringLiterals;

namespace tavlon::ui {

ImageStrip::ImageStrip(const QString& resource, int count)
    : blank_(40, 40, QImage::Format_ARGB32_Premultiplied) {
    blank_.fill(Qt::transparent);
    const QImage strip = ReadPicture(resource).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    frames_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (strip.width() >= (i + 1) * 40 && strip.height() >= 40)
            frames_.push_back(strip.copy(i * 40, 0, 40, 40));
        else
            frames_.push_back(blank_);
    }
}

const QImage& ImageStrip::Frame(int index) const {
    if (index < 0 || index >= Count())
        return blank_;
    return frames_[static_cast<std::size_t>(index)];
}

const ImageStrip& Kings() {
    static const ImageStrip strip(u":/kings.png"_s, 4);
    return strip;
}

const ImageStrip& SetupFigures() {
    static const ImageStrip strip(u":/figures.png"_s, 21);
    return strip;
}

} // namespace tavlon::ui
