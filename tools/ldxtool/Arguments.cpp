#include "Arguments.h"

#include <QCommandLineParser>
#include <QSaveFile>
#include <cstdio>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"

namespace ludora::ldx {

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
const char kMergeUsage[] =
    "  ldxtool merge MINE THEIRS [--base BASE] -o OUT  (THEIRS's names into MINE's; three ways "
    "with BASE)\n";

namespace {

const char kExitStatus[] =
    "Exit status: 0 success; 1 bad or unreadable input (for check: findings; for import: "
    "games\nthat found no place); 2 wrong usage.\n";

}  // namespace

QString usageText(const char* only) {
    QString text = QStringLiteral("Usage:\n");
    if (only) {
        return text + QLatin1String(only) + u'\n' + QLatin1String(kExitStatus);
    }
    for (const char* line : {kExportUsage, kImportUsage, kCheckUsage, kPdfUsage, kFindUsage,
                             kDuplicatesUsage, kMergeUsage}) {
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

// Prints a subcommand's usage on standard output, for --help.
int help(const char* usageLine) {
    std::fputs(qPrintable(usageText(usageLine)), stdout);
    return kOk;
}

Arguments parse(const QStringList& args, int options, const QString& takes, const char* usageLine) {
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(helpOption);
    const QCommandLineOption base(QStringLiteral("base"), QString(), QStringLiteral("BASE"));
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("OUT"));
    const QCommandLineOption pageSize(QStringLiteral("page-size"), QString(),
                                      QStringLiteral("SIZE"));
    for (const auto& [flag, option] :
         {std::pair{int(FormatOption), &format}, std::pair{OutputOption | OptionalOutput, &output},
          std::pair{int(PageSizeOption), &pageSize}, std::pair{int(BaseOption), &base}}) {
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
    parsed.base = (options & BaseOption) ? parser.value(base) : QString();
    const qsizetype given = parsed.positional.size();
    const bool files = (options & WordsFollow) ? given >= 2
                       : (options & TwoFiles)  ? given == 2
                                               : given == 1;
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

}  // namespace ludora::ldx
