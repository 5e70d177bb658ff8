#include "ui/commandline.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

constexpr std::string_view kDataDirOption = "--data-dir";

// The bytes after --data-dir (or --data-dir=) in argv: Qt's copy of the argument is text,
// and a folder name need not be.
std::optional<std::string> RawDataDir(int argc, char* argv[]) {
    std::optional<std::string> value;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == kDataDirOption && i + 1 < argc)
            value = argv[++i];
        else if (arg.size() > kDataDirOption.size() &&
                 arg.substr(0, kDataDirOption.size() + 1) == "--data-dir=")
            value = std::string(arg.substr(kDataDirOption.size() + 1));
    }
    return value;
}

int QtOptionLength(int argc, char* argv[], int i);

// The bytes of the one argument that is no option (the file to open), when there is one.
std::optional<std::string> RawFile(int argc, char* argv[]) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded) {
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            if (const int qts = QtOptionLength(argc, argv, i); qts > 0) {
                i += qts - 1;
                continue;
            }
            if (arg == kDataDirOption) {
                ++i;
                continue;
            }
            if (arg.size() > 1 && arg[0] == '-')
                continue;
        }
        return std::string(arg);
    }
    return std::nullopt;
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

QString HelpText() {
    // Written out rather than Qt's parser's help, whose headings are English: the program
    // speaks Russian only.
    return u"Использование: tavlon [параметры] [файл]\n"
           u"Tavlon — шахматы для четверых за одним компьютером.\n"
           u"\n"
           u"Параметры:\n"
           u"  -h, --help          Показать эту справку.\n"
           u"  -v, --version       Показать версию.\n"
           u"  --data-dir <папка>  Папка для партий, позиций и автосохранения.\n"
           u"  <файл>              Начать с партии или позиции из файла игры.\n"_s;
}

CommandLineOutcome ReadCommandLine(int argc, char* argv[]) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(QCommandLineOption(u"data-dir"_s, QString(), u"DIR"_s));

    QStringList args;
    for (int i = 0; i < argc; ++i) {
        const int qts = i == 0 ? 0 : QtOptionLength(argc, argv, i);
        if (qts > 0) {
            i += qts - 1; // Qt's, taken by the application object
            continue;
        }
        args << QString::fromLocal8Bit(argv[i]);
    }
    // The parser's own messages are English; only what went wrong is taken from it.
    if (!parser.parse(args)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString name = unknown.constFirst();
            return {{},
                    u"Неизвестный параметр: %1%2\nСписок параметров: tavlon --help\n"_s.arg(
                        name.size() == 1 ? u"-"_s : u"--"_s, name),
                    2};
        }
        return {{}, u"Не указана папка после параметра --data-dir.\n"_s, 2};
    }
    if (parser.isSet(help))
        return {{}, HelpText(), 0};
    if (parser.isSet(version))
        return {{}, u"tavlon "_s + QStringLiteral(TAVLON_VERSION) + u'\n', 0};
    // One file may be given; a second one is a mistake.
    if (parser.positionalArguments().size() > 1)
        return {{}, u"Лишний аргумент: %1\n"_s.arg(parser.positionalArguments().at(1)), 2};
    std::optional<std::string> dataDir = RawDataDir(argc, argv);
    if (dataDir && dataDir->empty())
        return {{}, u"Пустое имя папки данных в --data-dir.\n"_s, 2};
    std::optional<std::string> file;
    if (!parser.positionalArguments().isEmpty())
        file = RawFile(argc, argv);
    if (file && file->empty())
        return {{}, u"Пустое имя файла в командной строке.\n"_s, 2};
    return {{std::move(dataDir), std::move(file)}, {}, std::nullopt};
}

CommandLine ParseCommandLine(int argc, char* argv[]) {
    const CommandLineOutcome outcome = ReadCommandLine(argc, argv);
    if (outcome.exitCode) {
        std::FILE* to = *outcome.exitCode == 0 ? stdout : stderr;
        std::fputs(outcome.output.toLocal8Bit().constData(), to);
        std::exit(*outcome.exitCode);
    }
    return outcome.options;
}

} // namespace tavlon::ui
