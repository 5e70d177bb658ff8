// Application-wide preparation shared by the program, the GUI tests and the benchmarks.
#pragma once

#include <thread>

class QApplication;
class QString;

namespace tavlon::ui {

// Registers the built-in pictures, installs the window fonts (Tahoma 8 pt as the default,
// Times New Roman mapped to a metric-compatible face where absent) and Qt's Russian
// translation, so standard buttons and dialogs speak Russian. Call once after the
// QApplication exists.
void PrepareApplication(QApplication& app);

// Reads the system's font configuration on a thread of its own while Qt starts. Qt draws
// text through fontconfig, whose first use parses every file of that configuration, some
// milliseconds the first showing of the window would otherwise wait for. Made before the
// QApplication and finished before the first text; where Qt draws text without fontconfig
// it does nothing.
class FontConfigReader {
  public:
    FontConfigReader();
    ~FontConfigReader() { Finish(); }
    FontConfigReader(const FontConfigReader&) = delete;
    FontConfigReader& operator=(const FontConfigReader&) = delete;
    void Finish();

  private:
    std::thread thread_;
};

// The family that draws Times New Roman here: itself, or the metric-compatible face
// standing in for it.
QString SerifFamily();

// Pixel sizes of the window's fonts: Tahoma 8 pt and Times New Roman 12 pt at 96 dpi.
inline constexpr int kTahomaPixels = 11;
inline constexpr int kTimesCoordinatePixels = 16;

} // namespace tavlon::ui
