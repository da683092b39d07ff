// ldxtool: export, import, check and print Ludora collection files without a window.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>
#include <memory>

#include "Check.h"
#include "Pdf.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "collection/FindIndex.h"
#include "identity/AppIdentity.h"
#include "interchange/Interchange.h"
#include "printing/printout/ListPrintout.h"

using namespace ludora;
using namespace ludora::ldx;

namespace {

constexpr int kOk = 0;
constexpr int kBadInput = 1;
constexpr int kUsage = 2;

// One usage line per subcommand; `ldxtool SUBCOMMAND --help` prints its own.
const char kExportUsage[] =
    "  ldxtool export FILE [--format json|csv|text|tellico] [-o OUT]  (default json; to "
    "standard output)\n";
const char kImportUsage[] =
    "  ldxtool import INPUT -o OUT [--format tellico|gcstar|csv|json]  (default: by INPUT's "
    "content)\n";
const char kCheckUsage[] = "  ldxtool check FILE\n";
const char kPdfUsage[] = "  ldxtool pdf FILE -o OUT.pdf [--page-size A4|Letter]\n";
const char kFindUsage[] =
    "  ldxtool find FILE WORDS...  (names of which every word begins a word; exit 1 when "
    "none)\n";
const char kDuplicatesUsage[] =
    "  ldxtool duplicates FILE  (groups of names that differ only in case, accents, "
    "punctuation or \"The\")\n";
const char kExitStatus[] =
    "Exit status: 0 success; 1 bad or unreadable input (for check: findings; for import: "
    "games\nthat found no place); 2 wrong usage.\n";

QString usageText(const char* only = nullptr) {
    QString text = QStringLiteral("Usage:\n");
    if (only) {
        return text + QLatin1String(only) + u'\n' + QLatin1String(kExitStatus);
    }
    for (const char* line :
         {kExportUsage, kImportUsage, kCheckUsage, kPdfUsage, kFindUsage, kDuplicatesUsage}) {
        text += QLatin1String(line);
    }
    return text + QStringLiteral("  ldxtool --help | --version\n\n") + QLatin1String(kExitStatus);
}

void printErr(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stderr);
}

int usage(const QString& problem) {
    printErr(QStringLiteral("ldxtool: ") + problem);
    std::fputs(qPrintable(usageText()), stderr);
    return kUsage;
}

// The arguments after the subcommand: positional ones and the options it takes.
struct Arguments {
    QStringList positional;
    QString format;
    QString output;
    QString pageSize;
    // The exit status when the arguments are answered already (the usage printed for
    // --help, or wrong usage told), or -1.
    int answered = -1;
};

// Prints a subcommand's usage on standard output, for --help.
int help(const char* usageLine) {
    std::fputs(qPrintable(usageText(usageLine)), stdout);
    return kOk;
}

// -o is required with OutputOption, and may be left out with OptionalOutput.
// WordsFollow: the file is followed by one word or more.
enum Option {
    FormatOption = 1,
    OutputOption = 2,
    PageSizeOption = 4,
    OptionalOutput = 8,
    WordsFollow = 16
};

// Every subcommand takes one file, and those with -o need it; `takes` says so when not.
Arguments parse(const QStringList& args, int options, const QString& takes, const char* usageLine) {
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(helpOption);
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("OUT"));
    const QCommandLineOption pageSize(QStringLiteral("page-size"), QString(),
                                      QStringLiteral("SIZE"));
    for (const auto& [flag, option] :
         {std::pair{int(FormatOption), &format}, std::pair{OutputOption | OptionalOutput, &output},
          std::pair{int(PageSizeOption), &pageSize}}) {
        if (options & flag) {
            parser.addOption(*option);
        }
    }
    Arguments parsed;
    // The parser takes the program's name first.
    if (!parser.parse(QStringList{QStringLiteral("ldxtool")} + args)) {
        parsed.answered = usage(parser.errorText());
        return parsed;
    }
    if (parser.isSet(helpOption)) {
        parsed.answered = help(usageLine);
        return parsed;
    }
    parsed.positional = parser.positionalArguments();
    parsed.format = (options & FormatOption) ? parser.value(format) : QString();
    parsed.output = (options & (OutputOption | OptionalOutput)) ? parser.value(output) : QString();
    parsed.pageSize = (options & PageSizeOption) ? parser.value(pageSize) : QString();
    const bool files =
        (options & WordsFollow) ? parsed.positional.size() >= 2 : parsed.positional.size() == 1;
    if (!files || ((options & OutputOption) && parsed.output.isEmpty())) {
        parsed.answered = usage(takes);
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

// Writes the bytes to the file (replacing it only once complete) or to standard output.
bool writeOutput(const QByteArray& bytes, const QString& path) {
    if (path.isEmpty()) {
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) !=
                size_t(bytes.size()) ||
            std::fflush(stdout) != 0) {
            printErr(QStringLiteral("ldxtool: could not write to standard output"));
            return false;
        }
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        printErr(
            QStringLiteral("ldxtool: could not write \"%1\": %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

int runExport(const QStringList& args) {
    const Arguments a = parse(args, FormatOption | OptionalOutput,
                              QStringLiteral("export takes one FILE"), kExportUsage);
    if (a.answered >= 0) {
        return a.answered;
    }
    auto format = interchange::Format::Json;
    if (!a.format.isEmpty() &&
        (!interchange::parseFormat(a.format, &format) || format == interchange::Format::GCstar)) {
        return usage(QStringLiteral("unknown format %1").arg(a.format));
    }
    Collection collection;
    if (!load(a.positional.first(), collection)) {
        return kBadInput;
    }
    const QByteArray out = interchange::exportCollection(collection, format);
    return writeOutput(out, a.output) ? kOk : kBadInput;
}

int runImport(const QStringList& args) {
    const Arguments a = parse(args, FormatOption | OutputOption,
                              QStringLiteral("import takes one INPUT and -o OUT"), kImportUsage);
    if (a.answered >= 0) {
        return a.answered;
    }
    auto format = interchange::Format::Detect;
    if (!a.format.isEmpty() &&
        (!interchange::parseFormat(a.format, &format) || format == interchange::Format::Text)) {
        return usage(
            QStringLiteral("import reads tellico, gcstar, csv or json, not %1").arg(a.format));
    }
    const interchange::ImportResult imported =
        interchange::importCollection(a.positional.first(), format);
    if (!imported.ok()) {
        printErr(QStringLiteral("ldxtool: ") + imported.error);
        return kBadInput;
    }
    const WriteResult written = WriteCollectionFile(*imported.collection, a.output);
    if (!written.ok) {
        printErr(QStringLiteral("ldxtool: ") + written.error);
        return kBadInput;
    }
    std::fputs(qPrintable(interchange::summaryText(imported)), stderr);
    return imported.unplacedCount == 0 ? kOk : kBadInput;
}

int runCheck(const QStringList& args) {
    const Arguments a = parse(args, 0, QStringLiteral("check takes one FILE"), kCheckUsage);
    if (a.answered >= 0) {
        return a.answered;
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
                              QStringLiteral("pdf takes one FILE and -o OUT.pdf"), kPdfUsage);
    if (a.answered >= 0) {
        return a.answered;
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

// One "CAPTION<TAB>NAME" line a name, UTF-8, on standard output.
void printNames(const Collection& collection, const FindIndex::Hits& hits, qsizetype from,
                qsizetype to) {
    std::array<QByteArray, Collection::kTabCount> captions;
    QByteArray out;
    for (qsizetype i = from; i < to; ++i) {
        const int tab = FindIndex::tabOf(hits[size_t(i)]);
        if (captions[size_t(tab)].isNull()) {
            captions[size_t(tab)] = collection.caption(tab).toUtf8() + '\t';
        }
        out += captions[size_t(tab)];
        out += collection.list(tab).names.at(FindIndex::posOf(hits[size_t(i)])).toUtf8();
        out += '\n';
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
}

int runFind(const QStringList& args) {
    const Arguments a = parse(
        args, WordsFollow, QStringLiteral("find takes one FILE and the WORDS to find"), kFindUsage);
    if (a.answered >= 0) {
        return a.answered;
    }
    Collection collection;
    if (!load(a.positional.first(), collection)) {
        return kBadInput;
    }
    FindIndex index(collection);
    const FindIndex::Hits hits = index.find(a.positional.mid(1).join(u' '));
    printNames(collection, hits, 0, qsizetype(hits.size()));
    return hits.empty() ? kBadInput : kOk;
}

int runDuplicates(const QStringList& args) {
    const Arguments a =
        parse(args, 0, QStringLiteral("duplicates takes one FILE"), kDuplicatesUsage);
    if (a.answered >= 0) {
        return a.answered;
    }
    Collection collection;
    if (!load(a.positional.first(), collection)) {
        return kBadInput;
    }
    FindIndex index(collection);
    std::vector<size_t> groupEnds;
    const FindIndex::Hits hits = index.duplicates(QString(), FindIndex::kAllLists, &groupEnds);
    size_t start = 0;
    for (const size_t end : groupEnds) {
        if (start > 0) {
            std::fputs("\n", stdout);  // a blank line between groups
        }
        printNames(collection, hits, qsizetype(start), qsizetype(end));
        start = end;
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
        std::fputs(qPrintable(usageText()), stdout);
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
    if (command == QLatin1String("find")) {
        return runFind(args);
    }
    if (command == QLatin1String("duplicates")) {
        return runDuplicates(args);
    }
    if (command == QLatin1String("check")) {
        return runCheck(args);
    }
    return usage(command.isEmpty() ? QStringLiteral("no command given")
                                   : QStringLiteral("unknown command %1").arg(command));
}
