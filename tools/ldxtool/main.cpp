// ldxtool: export, import, check and print Ludora collection files without a window.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <memory>

#include "Check.h"
#include "Formats.h"
#include "Pdf.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "identity/AppIdentity.h"
#include "printing/printout/ListPrintout.h"

using namespace ludora;
using namespace ludora::ldx;

namespace {

constexpr int kOk = 0;
constexpr int kBadInput = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "Usage:\n"
    "  ldxtool export FILE [--format json|csv|text]     (default json; to standard output)\n"
    "  ldxtool import INPUT -o OUT [--format json|csv]  (default: by INPUT's extension)\n"
    "  ldxtool check FILE\n"
    "  ldxtool pdf FILE -o OUT.pdf [--page-size A4|Letter]\n"
    "  ldxtool --help | --version\n"
    "\n"
    "Exit status: 0 success; 1 bad or unreadable input (for check: findings); 2 wrong usage.\n";

void printErr(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stderr);
}

int usage(const QString& problem) {
    printErr(QStringLiteral("ldxtool: ") + problem);
    std::fputs(kUsageText, stderr);
    return kUsage;
}

// The arguments after the subcommand: positional ones and the options it takes.
struct Arguments {
    QStringList positional;
    QString format;
    QString output;
    QString pageSize;
    QString problem;
};

enum Option { FormatOption = 1, OutputOption = 2, PageSizeOption = 4 };

// Every subcommand takes one file, and those with -o need it; `takes` says so when not.
Arguments parse(const QStringList& args, int options, const QString& takes) {
    QCommandLineParser parser;
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("OUT"));
    const QCommandLineOption pageSize(QStringLiteral("page-size"), QString(),
                                      QStringLiteral("SIZE"));
    for (const auto& [flag, option] :
         {std::pair{FormatOption, &format}, std::pair{OutputOption, &output},
          std::pair{PageSizeOption, &pageSize}}) {
        if (options & flag) {
            parser.addOption(*option);
        }
    }
    Arguments parsed;
    // The parser takes the program's name first.
    if (!parser.parse(QStringList{QStringLiteral("ldxtool")} + args)) {
        parsed.problem = parser.errorText();
        return parsed;
    }
    parsed.positional = parser.positionalArguments();
    parsed.format = (options & FormatOption) ? parser.value(format) : QString();
    parsed.output = (options & OutputOption) ? parser.value(output) : QString();
    parsed.pageSize = (options & PageSizeOption) ? parser.value(pageSize) : QString();
    if (parsed.positional.size() != 1 || ((options & OutputOption) && parsed.output.isEmpty())) {
        parsed.problem = takes;
    }
    return parsed;
}

// Reads a collection file as the Open command would; reports trouble on standard error.
bool load(const QString& path, Collection& collection) {
    const ReadResult read = ReadCollectionFile(collection, path);
    if (!read.ok) {
        printErr(QStringLiteral("ldxtool: ") + read.error);
        return false;
    }
    if (read.refusedTotal() > 0) {
        printErr(QStringLiteral("ldxtool: %1: %2").arg(path, read.refusedMessage(collection)));
    }
    return true;
}

int runExport(const QStringList& args) {
    const Arguments a = parse(args, FormatOption, QStringLiteral("export takes one FILE"));
    if (!a.problem.isEmpty()) {
        return usage(a.problem);
    }
    Format format = Format::Json;
    if (!a.format.isEmpty() && !parseFormat(a.format, &format)) {
        return usage(QStringLiteral("unknown format %1").arg(a.format));
    }
    Collection collection;
    if (!load(a.positional.first(), collection)) {
        return kBadInput;
    }
    const QByteArray out = exportCollection(collection, format);
    if (std::fwrite(out.constData(), 1, size_t(out.size()), stdout) != size_t(out.size()) ||
        std::fflush(stdout) != 0) {
        printErr(QStringLiteral("ldxtool: could not write to standard output"));
        return kBadInput;
    }
    return kOk;
}

int runImport(const QStringList& args) {
    const Arguments a = parse(args, FormatOption | OutputOption,
                              QStringLiteral("import takes one INPUT and -o OUT"));
    if (!a.problem.isEmpty()) {
        return usage(a.problem);
    }
    const QString input = a.positional.first();
    QString formatName = a.format;
    if (formatName.isEmpty()) {
        formatName = QFileInfo(input).suffix().toLower();
    }
    Format format = Format::Json;
    if (!parseFormat(formatName, &format) || format == Format::Text) {
        return usage(
            a.format.isEmpty()
                ? QStringLiteral("cannot tell the format of %1: use --format json|csv").arg(input)
                : QStringLiteral("import reads json or csv, not %1").arg(formatName));
    }
    QFile file(input);
    if (!file.open(QIODevice::ReadOnly)) {
        printErr(
            QStringLiteral("ldxtool: could not open \"%1\": %2").arg(input, file.errorString()));
        return kBadInput;
    }
    Collection collection;
    QString error;
    if (!importCollection(file.readAll(), format, collection, &error)) {
        printErr(QStringLiteral("ldxtool: %1: %2").arg(input, error));
        return kBadInput;
    }
    const WriteResult written = WriteCollectionFile(collection, a.output);
    if (!written.ok) {
        printErr(QStringLiteral("ldxtool: ") + written.error);
        return kBadInput;
    }
    return kOk;
}

int runCheck(const QStringList& args) {
    const Arguments a = parse(args, 0, QStringLiteral("check takes one FILE"));
    if (!a.problem.isEmpty()) {
        return usage(a.problem);
    }
    const QString path = a.positional.first();
    QStringList findings;
    QString error;
    if (!checkCollectionFile(path, &findings, &error)) {
        printErr(QStringLiteral("ldxtool: could not read \"%1\": %2").arg(path, error));
        return kBadInput;
    }
    for (const QString& finding : findings) {
        printErr(finding);
    }
    std::printf("%s: %s\n", qPrintable(path),
                findings.isEmpty()
                    ? "no findings"
                    : qPrintable(QStringLiteral("%1 findings").arg(findings.size())));
    return findings.isEmpty() ? kOk : kBadInput;
}

int runPdf(const QStringList& args) {
    const Arguments a = parse(args, OutputOption | PageSizeOption,
                              QStringLiteral("pdf takes one FILE and -o OUT.pdf"));
    if (!a.problem.isEmpty()) {
        return usage(a.problem);
    }
    PageSizeChoice size = PageSizeChoice::FromLocale;
    if (a.pageSize.compare(QLatin1String("A4"), Qt::CaseInsensitive) == 0) {
        size = PageSizeChoice::A4;
    } else if (a.pageSize.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0) {
        size = PageSizeChoice::Letter;
    } else if (!a.pageSize.isEmpty()) {
        return usage(QStringLiteral("unknown page size %1").arg(a.pageSize));
    }
    Collection collection;
    if (!load(a.positional.first(), collection)) {
        return kBadInput;
    }
    // As in the print dialog, empty lists give no page: no PDF is written at all.
    if (!hasPrintableLists(collection)) {
        printErr(QStringLiteral("ldxtool: %1: nothing to print: the lists %2, %3 and %4 are empty")
                     .arg(a.positional.first(), collection.caption(0), collection.caption(1),
                          collection.caption(2)));
        return kBadInput;
    }
    QString error;
    if (!writePrintoutPdf(collection, a.output, size, &error)) {
        printErr(QStringLiteral("ldxtool: could not write \"%1\": %2").arg(a.output, error));
        return kBadInput;
    }
    return kOk;
}

}  // namespace

int main(int argc, char* argv[]) {
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    // The subcommand and what follows it are the subcommand's own.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(args)) {
        return usage(parser.errorText());
    }
    if (parser.isSet(help)) {
        std::fputs(kUsageText, stdout);
        return kOk;
    }
    if (parser.isSet(version)) {
        std::printf("ldxtool %s\n", qPrintable(AppIdentity::versionText()));
        return kOk;
    }
    args = parser.positionalArguments();
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("pdf")) {
        // Fonts need a GUI application; no window is ever shown.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        QGuiApplication app(argc, argv);
        return runPdf(args);
    }
    QCoreApplication app(argc, argv);
    if (command == QLatin1String("export")) {
        return runExport(args);
    }
    if (command == QLatin1String("import")) {
        return runImport(args);
    }
    if (command == QLatin1String("check")) {
        return runCheck(args);
    }
    return usage(command.isEmpty() ? QStringLiteral("no command given")
                                   : QStringLiteral("unknown command %1").arg(command));
}
