// Application-wide preparation shared by the program, the GUI tests and the benchmarks.
#pragma once

class QApplication;

namespace tavlon::ui {

// Registers the built-in pictures, installs the window fonts (Tahoma 8 pt as the default,
// Times New Roman mapped to a metric-compatible face where absent) and Qt's Russian
// translation, so standard buttons and dialogs speak Russian. Call once after the
// QApplication exists.
void PrepareApplication(QApplication& app);

// Pixel sizes of the window's fonts: Tahoma 8 pt and Times New Roman 12 pt at 96 dpi.
inline constexpr int kTahomaPixels = 11;
inline constexpr int kTimesCoordinatePixels = 16;

} // namespace tavlon::ui
