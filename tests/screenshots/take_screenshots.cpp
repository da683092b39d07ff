// Takes the pictures of the main window, the print dialog and the About box for the user
// guide and the README: scripts/update-screenshots runs it. Not a test: it only draws.
//   take_screenshots FOLDER
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QSet>
#include <QTest>
#include <cstdio>

#include "about/frmAbout.h"
#include "app/frmMain.h"
#include "printing/CurrentPrinter.h"
#include "printing/frmPrint.h"
#include "support/FakeDialogs.h"
#include "support/FakePrintService.h"

using namespace ludora;

namespace {

// A window drawn with its controls has many colours, an unpainted one a single colour.
bool looksDrawn(const QImage& image) {
    QSet<QRgb> seen;
    for (int y = 0; y < image.height() && seen.size() <= 16; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            seen.insert(image.pixel(x, y));
        }
    }
    return seen.size() > 16;
}

bool save(QWidget* window, const QDir& folder, const char* name) {
    if (!QTest::qWaitForWindowExposed(window)) {
        std::fprintf(stderr, "take_screenshots: %s was not shown\n", name);
        return false;
    }
    const QImage picture = window->grab().toImage();
    const QString path = folder.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!looksDrawn(picture) || !picture.save(path)) {
        std::fprintf(stderr, "take_screenshots: could not take %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fputs("usage: take_screenshots FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    test::FakeDialogs dialogs;
    test::FakePrintService printers;
    bool ok = true;

    // The main window with a few TG16 games, one of them selected, and a name being typed.
    frmMain window;
    Collection& c = window.collection();
    for (const char* name : {"Bonk's Adventure", "Blazing Lazers", "Alien Crush", "Devil's Crush",
                             "R-Type", "Neutopia"}) {
        c.addName(2, QString::fromLatin1(name));
    }
    c.setSelected(2, 1, true);
    window.tmrNumGames_Timer();
    window.findChild<QLineEdit*>(QStringLiteral("Text1"))
        ->setText(QStringLiteral("Military Madness"));
    window.show();
    ok = save(&window, folder, "main-window") && ok;

    // The print dialog with two printers, the second the system default and so chosen.
    printers.printers = {QStringLiteral("Office_LaserJet"), QStringLiteral("Study_Inkjet")};
    printers.defaultPrinter = QStringLiteral("Study_Inkjet");
    resetCurrentPrinter();
    PrintContext context;
    context.collection = [&c]() -> const Collection& { return c; };
    context.showMainWindow = [] {};
    frmPrint* print = frmPrint::showWindow(context);
    ok = save(print, folder, "print-dialog") && ok;
    print->close();

    ok = save(frmAbout::showWindow(), folder, "about-box") && ok;
    delete frmAbout::openWindow();
    c.setDirty(false);
    return ok ? 0 : 1;
}
