// Memory of the program: "bench_memory idle" reports the main window just started;
// "bench_memory open FILE" the main window with FILE opened; "bench_memory find FILE" the
// same after searches in the find window, possible duplicates, a name typed into the name
// box and one name removed from every list (so none shares its names with what Ludora keeps of
// the file for a merge). Prints the peak and the current resident set size in kB, as
// "peak current".

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <cstdio>

#include "BenchDialogs.h"
#include "app/frmFind.h"
#include "app/frmMain.h"

namespace {

qint64 statusField(const char* name) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name)) {
            return line.mid(qsizetype(qstrlen(name))).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    ludora::frmMain* window = ludora::frmMain::showWindow();
    QApplication::processEvents();
    if (args.value(1) == QLatin1String("open") || args.value(1) == QLatin1String("find")) {
        ludora::bench::BenchDialogs dialogs(args.value(2));
        window->mnuFileOpen_Click();
        if (window->collection().fileName().isEmpty()) {
            std::fprintf(stderr, "could not open %s\n", qPrintable(args.value(2)));
            return 1;
        }
    }
    if (args.value(1) == QLatin1String("find")) {
        ludora::frmFind* find = ludora::frmFind::showWindow(window);
        for (const char* query : {"s", "super mario", "zelda", ""}) {
            find->findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(QLatin1String(query));
        }
        find->findChild<QCheckBox*>(QStringLiteral("chkDuplicates"))->setChecked(true);
        window->findChild<QLineEdit*>(QStringLiteral("Text1"))
            ->setText(window->collection().nameAt(0, 0));
        for (int tab = 0; tab < ludora::Collection::kTabCount; ++tab) {
            window->collection().removeNameAt(tab, 0);
        }
        QApplication::processEvents();
    }
    window->tmrNumGames_Timer();
    QApplication::processEvents();
    std::printf("%lld %lld\n", statusField("VmHWM:"), statusField("VmRSS:"));
    return 0;
}
