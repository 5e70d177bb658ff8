#include "ui/appsetup.h"

#include "ui/figurestore.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QPixmap>
#include <QProxyStyle>
#include <QStringList>
#include <QTranslator>
#include <dlfcn.h>

using namespace Qt::StringLiterals;

#ifdef TAVLON_HAS_RESOURCES
// Q_INIT_RESOURCE declares its function at the point of use, so it lives outside any
// namespace; calling it keeps the linker from dropping the pictures of the static library.
static void RegisterBuiltInPictures() {
    Q_INIT_RESOURCE(resources);
}
#else
static void RegisterBuiltInPictures() {}
#endif

namespace tavlon::ui {
namespace {

// The free Tahoma that Wine ships; the usual places first, a search of the font folders
// only when none of them holds it.
QStringList FindTahomaFiles() {
    const QStringList folders = {u"/usr/share/wine/fonts"_s, u"/usr/share/fonts/truetype/wine"_s,
                                 u"/usr/share/fonts/wine"_s};
    QStringList found;
    for (const QString& folder : folders) {
        for (const QString& name : {u"tahoma.ttf"_s, u"tahomabd.ttf"_s}) {
            const QString path = folder + u'/' + name;
            if (QFile::exists(path))
                found << path;
        }
        if (!found.isEmpty())
            return found;
    }
    for (const QString& root : {u"/usr/share/fonts"_s, u"/usr/local/share/fonts"_s}) {
        QDirIterator it(root, {u"tahoma*.ttf"_s, u"Tahoma*.ttf"_s}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
    }
    return found;
}

QString& Serif() {
    static QString family = u"Times New Roman"_s;
    return family;
}

void InstallFonts(QApplication& app) {
    // The families installed, by their own names: asking for one by name would also take a
    // family fontconfig only stands in for, and costs a match each time.
    QStringList families = QFontDatabase::families();
    if (!families.contains(u"Tahoma"_s)) {
        for (const QString& path : FindTahomaFiles())
            QFontDatabase::addApplicationFont(path);
        families = QFontDatabase::families();
    }
    // Named by the face that draws it: a family Qt has to look for among the fallbacks costs
    // a search of every font the first time it is drawn.
    if (!families.contains(u"Times New Roman"_s)) {
        QFont::insertSubstitution(u"Times New Roman"_s, u"Liberation Serif"_s);
        if (families.contains(u"Liberation Serif"_s))
            Serif() = u"Liberation Serif"_s;
    }
    if (!families.contains(u"Tahoma"_s))
        QFont::insertSubstitution(u"Tahoma"_s, u"DejaVu Sans"_s);
    QFont font(u"Tahoma"_s);
    font.setPixelSize(kTahomaPixels);
    app.setFont(font);
}

// Qt's menu bar makes the icon of its overflow button at once, from pictures whose format it
// finds by asking every image plugin: that loads each plugin and its libraries before the
// window can show. The same pictures, read as the PNGs they are.
class KnownFormatIcons : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which != SP_ToolBarHorizontalExtensionButton)
            return QProxyStyle::standardIcon(which, option, widget);
        const bool rtl = QApplication::layoutDirection() == Qt::RightToLeft;
        QIcon icon;
        for (int size : {8, 16, 32}) {
            const QImage picture =
                ReadPicture(u":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-%1%2.png"_s
                                .arg(rtl ? u"rtl-"_s : QString())
                                .arg(size));
            if (!picture.isNull())
                icon.addPixmap(QPixmap::fromImage(picture));
        }
        return icon.isNull() ? QProxyStyle::standardIcon(which, option, widget) : icon;
    }
};

void InstallTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(u"qtbase_ru"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

FontConfigReader::FontConfigReader() {
    // Qt's own library brings fontconfig in, so its FcInit is found without loading anything.
    using Init = int (*)();
    if (auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit")))
        thread_ = std::thread([init] { init(); });
}

void FontConfigReader::Finish() {
    if (thread_.joinable())
        thread_.join();
}

QString SerifFamily() {
    return Serif();
}

void PrepareApplication(QApplication& app) {
    RegisterBuiltInPictures();
    // Whatever style is in use (the user may choose one), wrapped.
    QApplication::setStyle(new KnownFormatIcons(QApplication::style()->name()));
    InstallFonts(app);
    InstallTranslation(app);
    QApplication::setApplicationName(u"Tavlon"_s);
}

} // namespace tavlon::ui
