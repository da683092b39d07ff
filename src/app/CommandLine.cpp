#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

namespace ludora {
namespace {

constexpr int kWrongUsage = 2;

// The options Ludora knows. Qt's own options (-platform, -style, ...) are gone from the
// arguments by the time they are read, except on the way to the help or the version.
void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine", "Keeps the lists of the video games you own."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate(
            "CommandLine",
            "A collection file (.LDX) to open, or a file to import as a new collection: "
            "Tellico (.tc, its XML or CSV export), GCstar (.gcs), a spreadsheet saved as CSV "
            "with a title and a platform column, or ldxtool's JSON or CSV export."),
        QStringLiteral("[FILE]"));
}

QString helpText() {
    QCommandLineParser parser;
    describe(parser);
    return parser.helpText();
}

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    describe(parser);
    CommandLine result;
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::WrongUsage;
        result.error = parser.errorText();
    } else if (parser.isSet(QStringLiteral("help-all"))) {
        result.action = CommandLine::Action::ShowHelpAll;
    } else if (parser.isSet(QStringLiteral("help"))) {
        result.action = CommandLine::Action::ShowHelp;
    } else if (parser.isSet(QStringLiteral("version"))) {
        result.action = CommandLine::Action::ShowVersion;
    } else if (parser.positionalArguments().size() > 1) {
        result.action = CommandLine::Action::WrongUsage;
        result.error = QCoreApplication::translate("CommandLine", "Give at most one file.");
    } else if (!parser.positionalArguments().isEmpty()) {
        result.file = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
    }
    return result;
}

bool asksForHelpOrVersion(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0) {
                return true;
            }
        }
    }
    return false;
}

int answerCommandLine(const CommandLine& commandLine) {
    switch (commandLine.action) {
        case CommandLine::Action::ShowHelp:
            print(stdout, helpText());
            return 0;
        case CommandLine::Action::ShowHelpAll: {
            // Only the parser itself can list Qt's options; it ends the program with 0.
            QCommandLineParser parser;
            describe(parser);
            parser.process(QCoreApplication::arguments());
            return 0;
        }
        case CommandLine::Action::ShowVersion:
            print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                              QCoreApplication::applicationVersion() + QLatin1Char('\n'));
            return 0;
        case CommandLine::Action::WrongUsage:
            print(stderr, QFileInfo(QCoreApplication::applicationFilePath()).fileName() +
                              QStringLiteral(": ") + commandLine.error + QStringLiteral("\n\n") +
                              helpText());
            return kWrongUsage;
        case CommandLine::Action::Start:
            break;
    }
    return 0;
}

}  // namespace ludora
