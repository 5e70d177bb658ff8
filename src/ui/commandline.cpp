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
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
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
    return {RawDataDir(argc, argv)};
}

} // namespace tavlon::ui
