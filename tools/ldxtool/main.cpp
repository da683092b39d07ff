// ldxtool: export, import, check, print, search and merge Ludora collection files without a
// window.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>
#include <memory>

#include "Arguments.h"
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
    if (command == QLatin1String("merge")) {
        return runMerge(args);
    }
    if (command == QLatin1String("check")) {
        return runCheck(args);
    }
    return usage(command.isEmpty() ? QStringLiteral("no command given")
                                   : QStringLiteral("unknown command %1").arg(command));
}
