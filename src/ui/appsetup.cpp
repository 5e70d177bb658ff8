#include "ui/appsetup.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

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

void InstallFonts(QApplication& app) {
    if (!QFontDatabase::hasFamily(u"Tahoma"_s)) {
        for (const QString& path : FindTahomaFiles())
            QFontDatabase::addApplicationFont(path);
    }
    if (!QFontDatabase::hasFamily(u"Times New Roman"_s))
        QFont::insertSubstitution(u"Times New Roman"_s, u"Liberation Serif"_s);
    if (!QFontDatabase::hasFamily(u"Tahoma"_s))
        QFont::insertSubstitution(u"Tahoma"_s, u"DejaVu Sans"_s);
    QFont font(u"Tahoma"_s);
    font.setPixelSize(kTahomaPixels);
    app.setFont(font);
}

void InstallTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(u"qtbase_ru"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void PrepareApplication(QApplication& app) {
    RegisterBuiltInPictures();
    InstallFonts(app);
    InstallTranslation(app);
    QApplication::setApplicationName(u"Tavlon"_s);
}

} // namespace tavlon::ui
