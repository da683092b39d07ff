#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "PrintTestSupport.h"
#include "collection/Collection.h"

namespace ludora::test {
namespace {

bool runTool(const QString& program, const QStringList& arguments, QString* output,
             QString* error) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(30000)) {
        *error = QStringLiteral("%1 did not start (is poppler-utils installed?)").arg(program);
        return false;
    }
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *error = QStringLiteral("%1 %2 failed: %3")
                     .arg(program, arguments.join(QLatin1Char(' ')),
                          QString::fromLocal8Bit(process.readAllStandardError()));
        return false;
    }
    if (output) {
        *output = QString::fromUtf8(process.readAllStandardOutput());
    }
    return true;
}

QStringList nonEmptySimplified(const QStringList& lines) {
    QStringList result;
    for (const QString& line : lines) {
        const QString simple = line.simplified();
        if (!simple.isEmpty()) {
            result << simple;
        }
    }
    return result;
}

QtMessageHandler previousHandler = nullptr;

void dropRaiseWarning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message == QLatin1String("This plugin does not support raise()")) {
        return;
    }
    if (previousHandler) {
        previousHandler(type, context, message);
    }
}

}  // namespace

void ignoreOffscreenRaiseWarnings() {
    if (!previousHandler) {
        previousHandler = qInstallMessageHandler(dropRaiseWarning);
    }
}

QStringList fillList(Collection& collection, int tab, int count, const QString& prefix) {
    QStringList names;
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("%1 %2").arg(prefix).arg(i, 4, 10, QLatin1Char('0'));
        collection.addName(tab, name);
        names << name;
    }
    return names;
}

SurfaceSettings measureSurface(PrintSurface& surface) {
    SurfaceSettings settings;
    surface.setFontSize(10);
    surface.setBold(false);
    settings.lineHeight = surface.textHeight(QStringLiteral("X")).value_or(-1);
    surface.setBold(true);
    settings.boldLineHeight = surface.textHeight(QStringLiteral("X")).value_or(-1);
    surface.setBold(false);
    settings.printableHeight = surface.printableHeight().value_or(-1);
    return settings;
}

QList<QStringList> visibleLines(const RecordingSurface& surface) {
    QList<QStringList> pages;
    for (int page = 0; page < surface.pageCount(); ++page) {
        pages << nonEmptySimplified(surface.pageTexts(page));
    }
    return pages;
}

namespace {

bool pdfPageCount(const QString& pdf, int* pages, QString* error) {
    QString info;
    if (!runTool(QStringLiteral("pdfinfo"), {pdf}, &info, error)) {
        return false;
    }
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:"))) {
            bool ok = false;
            *pages = line.mid(6).trimmed().toInt(&ok);
            if (ok) {
                return true;
            }
        }
    }
    *error = QStringLiteral("pdfinfo gave no page count for %1").arg(pdf);
    return false;
}

bool pdfVisibleLines(const QString& pdf, QList<QStringList>* pages, QString* error) {
    QString text;
    if (!runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}, &text, error)) {
        return false;
    }
    // Pages end with a form feed.
    QStringList chunks = text.split(QLatin1Char('\f'));
    if (!chunks.isEmpty() && chunks.constLast().trimmed().isEmpty()) {
        chunks.removeLast();
    }
    pages->clear();
    for (const QString& chunk : chunks) {
        *pages << nonEmptySimplified(chunk.split(QLatin1Char('\n')));
    }
    return true;
}

}  // namespace

bool pdfShowsPrintout(const QString& pdf, const RecordingSurface& printout, QString* error) {
    int pages = 0;
    QList<QStringList> text;
    if (!pdfPageCount(pdf, &pages, error) || !pdfVisibleLines(pdf, &text, error)) {
        return false;
    }
    if (pages != printout.pageCount()) {
        *error = QStringLiteral("%1 pages, not %2").arg(pages).arg(printout.pageCount());
        return false;
    }
    const QList<QStringList> expected = visibleLines(printout);
    for (qsizetype page = 0; page < expected.size(); ++page) {
        if (page >= text.size() || text.at(page) != expected.at(page)) {
            *error = QStringLiteral("page %1 shows\n%2\ninstead of\n%3")
                         .arg(page + 1)
                         .arg(text.value(page).join(QLatin1Char('\n')),
                              expected.at(page).join(QLatin1Char('\n')));
            return false;
        }
    }
    return true;
}

bool renderFirstPage(const QString& pdf, const QString& png, QString* error) {
    const QFileInfo target(png);
    if (!QDir().mkpath(target.absolutePath())) {
        *error = QStringLiteral("cannot create %1").arg(target.absolutePath());
        return false;
    }
    // -singlefile writes <prefix>.png without a page number.
    const QString prefix = target.absolutePath() + QLatin1Char('/') + target.completeBaseName();
    return runTool(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                    QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                    QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, prefix},
                   nullptr, error);
}

}  // namespace ludora::test
