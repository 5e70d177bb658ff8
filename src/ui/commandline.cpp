#include "ui/commandline.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

// The bytes after --data-dir (or --data-dir=) in argv: Qt's copy of the argument is text,
// and a folder name need not be.
std::optional<std::string> RawDataDir(int argc, char* argv[]) {
    constexpr std::string_view kOption = "--data-dir";
    std::optional<std::string> value;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == kOption && i + 1 < argc)
            value = argv[++i];
        else if (arg.size() > kOption.size() && arg.substr(0, kOption.size() + 1) == "--data-dir=")
            value = std::string(arg.substr(kOption.size() + 1));
    }
    return value;
}

// Qt's own options, which the application object takes when it starts: with their value
// as the next argument or after "=", and without one.
constexpr std::string_view kQtOptionsWithValue[] = {"platform",        "platformpluginpath",
                                                    "platformtheme",   "plugin",
                                                    "qwindowgeometry", "qwindowicon",
                                                    "qwindowtitle",    "style",
                                                    "stylesheet",      "display",
                                                    "geometry",        "session",
                                                    "title",           "name",
                                                    "visual",          "qmljsdebugger"};
constexpr std::string_view kQtFlags[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};

// How many arguments from argv[i] on are one of Qt's own options; 0 when it is not one.
int QtOptionLength(int argc, char* argv[], int i) {
    std::string_view arg = argv[i];
    if (arg.size() < 2 || arg[0] != '-')
        return 0;
    arg.remove_prefix(arg.substr(0, 2) == "--" ? 2 : 1);
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    for (const std::string_view option : kQtOptionsWithValue)
        if (name == option)
            return equals != std::string_view::npos || i + 1 >= argc ? 1 : 2;
    for (const std::string_view flag : kQtFlags)
        if (arg == flag)
            return 1;
    return 0;
}

} // namespace

CommandLine ParseCommandLine(int argc, char* argv[]) {
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Tavlon — шахматы для четверых за одним компьютером."_s);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Показать эту справку."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Показать версию."_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(QCommandLineOption(
        u"data-dir"_s, u"Папка для партий, позиций и автосохранения."_s, u"DIR"_s));

    QStringList args;
    for (int i = 0; i < argc; ++i) {
        const int qts = i == 0 ? 0 : QtOptionLength(argc, argv, i);
        if (qts > 0) {
            i += qts - 1; // Qt's, taken by the application object
            continue;
        }
        args << QString::fromLocal8Bit(argv[i]);
    }
    const auto finish = [](std::FILE* to, const QString& text, int code) {
        std::fputs(text.toLocal8Bit().constData(), to);
        std::exit(code);
    };
    if (!parser.parse(args))
        finish(stderr, parser.errorText() + u'\n', 2);
    if (parser.isSet(help)) {
        // No application object exists yet, so the parser cannot know the program's name.
        QString text = parser.helpText();
        text.replace(u"<executable_name>"_s, u"tavlon"_s);
        finish(stdout, text, 0);
    }
    if (parser.isSet(version))
        finish(stdout, u"tavlon "_s + QStringLiteral(TAVLON_VERSION) + u'\n', 0);
    if (!parser.positionalArguments().isEmpty())
        finish(stderr, u"Лишний аргумент: %1\n"_s.arg(parser.positionalArguments().constFirst()),
               2);
    std::optional<std::string> dataDir = RawDataDir(argc, argv);
    if (dataDir && dataDir->empty())
        finish(stderr, u"Пустое имя папки данных в --data-dir.\n"_s, 2);
    return {std::move(dataDir)};
}

} // namespace tavlon::ui
