// A window that drags one file, as a file manager does: a press in it starts a drag of the
// file given as its argument, offering to copy, move or link it.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

class DragSource final : public QWidget {
public:
    explicit DragSource(QUrl file) : file_(std::move(file)) {
        setWindowTitle(QStringLiteral("Drag source"));
        resize(120, 80);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setUrls({file_});
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
    }

private:
    QUrl file_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    DragSource source(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    source.move(0, 0);
    source.show();
    return QApplication::exec();
}
