#include "printing/frmPrint.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include "platform/widgets/Twips.h"
#include "printing/CurrentPrinter.h"
#include "printing/PrintService.h"
#include "printing/PrinterBox.h"
#include "printing/printout/ListPrintout.h"

namespace ludora {
namespace {

QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& text,
                        const QRect& geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setGeometry(geometry);
    // Neither button answers Enter or Escape on its own.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

frmPrint::frmPrint(PrintContext context)
    : QDialog(nullptr, Qt::MSWindowsFixedSizeDialogHint), context_(std::move(context)) {
    setObjectName(QStringLiteral("frmPrint"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Print List"));
    setFixedSize(twipsToPixels(4680), twipsToPixels(1080));

    cboPrinters = new PrinterBox(this);
    cboPrinters->setObjectName(QStringLiteral("cboPrinters"));
    cboPrinters->setEditable(false);
    cboPrinters->setGeometry(twipsRect(120, 120, 4335, 315));

    Command1 =
        makeButton(this, "Command1", QStringLiteral("Print"), twipsRect(480, 600, 1215, 375));
    Command2 =
        makeButton(this, "Command2", QStringLiteral("Cancel"), twipsRect(2640, 600, 1215, 375));
    connect(Command1, &QPushButton::clicked, this, &frmPrint::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmPrint::Command2_Click);

    setTabOrder(cboPrinters, Command1);
    setTabOrder(Command1, Command2);
    cboPrinters->setFocus();
}

frmPrint::~frmPrint() = default;

frmPrint* frmPrint::showWindow(const PrintContext& context) {
    // An open dialog only comes to the front: its printers are not read again.
    return SingleWindow::showWindow([&context] {
        auto* dialog = new frmPrint(context);
        dialog->Form_Load();
        dialog->show();
        // The window frame is known once the window is shown: centre again with it.
        dialog->centreOnScreen();
        return dialog;
    });
}

void frmPrint::centreOnScreen() {
    const QScreen* target = screen();
    if (!target) {
        return;
    }
    const QRect screenArea = target->geometry();
    const QSize outer = frameGeometry().size();
    // move() places the outer frame's top-left corner.
    move(screenArea.x() + (screenArea.width() - outer.width()) / 2,
         screenArea.y() + (screenArea.height() - outer.height()) / 2);
}

void frmPrint::Form_Load() {
    centreOnScreen();

    // The installed printers, in the order the system gives them.
    cboPrinters->addItems(printService().printerNames());
    cboPrinters->setCurrentIndex(-1);

    // Every exact match is selected in turn: with a name listed twice, the later entry wins.
    const int entries = cboPrinters->count();
    if (entries > 0) {
        const QString current = currentPrinter();
        for (int i = 0; i < entries; ++i) {
            if (cboPrinters->itemText(i) == current) {
                cboPrinters->setCurrentIndex(i);
            }
        }
    }
}

void frmPrint::Command1_Click() {
    const QString chosen =
        cboPrinters->currentIndex() >= 0 ? cboPrinters->currentText() : QString();

    // The first installed printer of that name becomes current; one that has gone since the
    // dialog opened leaves the current printer as it was.
    const QStringList installed = printService().printerNames();
    for (const QString& name : installed) {
        if (name == chosen) {
            setCurrentPrinter(name);
            break;
        }
    }

    // Printing failures are not reported: without a usable printer nothing is printed.
    auto surface = printService().beginDocument(currentPrinter(), context_.documentName);
    if (surface && context_.collection) {
        printLists(context_.collection(), *surface);
    }

    close();
}

void frmPrint::Command2_Click() {
    close();
}

void frmPrint::closeEvent(QCloseEvent* event) {
    event->accept();
    // A second close() before the window is deleted must not unload it twice.
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
}

void frmPrint::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmPrint::Form_Unload() {
    if (context_.showMainWindow) {
        context_.showMainWindow();
    }
}

}  // namespace ludora
