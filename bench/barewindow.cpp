// The yardstick of the start-up benchmark (bench/startup.sh): the barest Qt Widgets program
// that shows a window of the game's size, built with the same compiler and flags.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(497, 517);
    window.show();
    return QApplication::exec();
}
