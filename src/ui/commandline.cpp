#include "ui/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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
    QCoreApplication::setApplicationName(u"tavlon"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVLON_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Tavlon — шахматы для четверых за одним компьютером."_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        u"data-dir"_s, u"Папка для партий, позиций и автосохранения."_s, u"DIR"_s));

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(args)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        std::exit(2);
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(u"Лишний аргумент: %1"_s.arg(parser.positionalArguments().constFirst())));
        std::exit(2);
    }
    return {RawDataDir(argc, argv)};
}

} // namespace tavlon::ui
