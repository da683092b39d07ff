#include "app/NameMarker.h"

#include <QAction>
#include <QLineEdit>
#include <QPainter>

#include "collection/FindIndex.h"

namespace ludora {
namespace {

// Two overlapping cards: a copy.
QIcon markerIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 90, 170), 1.2));
    painter.setBrush(QColor(200, 225, 250));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 9, 10), 1.5, 1.5);
    painter.drawRoundedRect(QRectF(5.5, 4.5, 9, 10), 1.5, 1.5);
    return QIcon(pixmap);
}

}  // namespace

NameMarker::NameMarker(QLineEdit* box, const Collection& collection,
                       std::function<FindIndex&()> index, std::function<void(const QString&)> find)
    : QObject(box),
      box_(box),
      collection_(collection),
      index_(std::move(index)),
      marker_(box->addAction(markerIcon(), QLineEdit::TrailingPosition)) {
    marker_->setObjectName(QStringLiteral("alreadyInCollection"));
    marker_->setVisible(false);
    again_.setSingleShot(true);
    again_.setInterval(0);
    connect(&again_, &QTimer::timeout, this, &NameMarker::update);
    connect(box_, &QLineEdit::textChanged, this, &NameMarker::update);
    connect(&collection_, &Collection::changed, &again_, qOverload<>(&QTimer::start));
    connect(marker_, &QAction::triggered, this,
            [this, find = std::move(find)] { find(box_->text()); });
}

void NameMarker::update() {
    // A blank box is left alone: an empty name is never marked, and nothing is indexed.
    FindIndex::Hits same;
    if (!box_->text().trimmed().isEmpty()) {
        same = index_().sameAs(box_->text());
    }
    QString text;
    if (!same.empty()) {
        const int tab = FindIndex::tabOf(same.front());
        text = tr("Already in %1: %2")
                   .arg(collection_.caption(tab),
                        collection_.nameAt(tab, FindIndex::posOf(same.front())));
        if (same.size() > 1) {
            text += tr(" and %1 more").arg(same.size() - 1);
        }
    }
    if (text != box_->accessibleDescription()) {
        box_->setAccessibleDescription(text);
        marker_->setToolTip(text);
    }
    marker_->setVisible(!same.empty());
}

}  // namespace ludora
