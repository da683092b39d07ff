#include "app/ConsoleTabs.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

#include "app/TabHeader.h"

namespace ludora {

ConsoleTabs::ConsoleTabs(int count, QWidget* parent)
    : QWidget(parent),
      header_(new TabHeaderBar(this)),
      pages_(new QStackedWidget(this)),
      group_(new QButtonGroup(this)) {
    header_->setObjectName(QStringLiteral("tabHeaders"));
    header_->setAccessibleName(tr("Consoles"));
    group_->setExclusive(true);
    for (int i = 0; i < count; ++i) {
        auto* button = new TabHeaderButton(header_);
        group_->addButton(button, i);
        buttons_.push_back(button);
        auto* page = new QWidget(pages_);
        page->setObjectName(QStringLiteral("tabPage%1").arg(i + 1));
        pages_->addWidget(page);
        connect(button, &TabHeaderButton::stepRequested, this, &ConsoleTabs::step);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this](int index) {
        if (!setCurrentIndex(index) && current_ >= 0) {
            buttons_[size_t(current_)]->setChecked(true);
        }
    });
    if (count > 0) {
        setCurrentIndex(0);
    }
    layoutHeaders();
}

bool ConsoleTabs::setCurrentIndex(int index) {
    if (index < 0 || index >= count() || !isTabEnabled(index)) {
        return false;
    }
    if (index == current_) {
        return true;
    }
    const bool headerHadFocus = current_ >= 0 && buttons_[size_t(current_)]->hasFocus();
    if (current_ >= 0) {
        buttons_[size_t(current_)]->setFocusPolicy(Qt::NoFocus);
    }
    current_ = index;
    TabHeaderButton* button = buttons_[size_t(index)];
    button->setFocusPolicy(Qt::StrongFocus);
    button->setChecked(true);
    pages_->setCurrentIndex(index);
    if (headerHadFocus) {
        button->setFocus(Qt::TabFocusReason);
    }
    Q_EMIT currentChanged(index);
    return true;
}

QString ConsoleTabs::tabText(int index) const {
    return buttons_[size_t(index)]->text();
}

void ConsoleTabs::setTabText(int index, const QString& text) {
    buttons_[size_t(index)]->setText(text);
}

bool ConsoleTabs::isTabEnabled(int index) const {
    return buttons_[size_t(index)]->isEnabled();
}

void ConsoleTabs::setTabEnabled(int index, bool enabled) {
    buttons_[size_t(index)]->setEnabled(enabled);
}

QWidget* ConsoleTabs::page(int index) const {
    return pages_->widget(index);
}

int ConsoleTabs::headerHeight() const {
    const int rows = (count() + kTabsPerRow - 1) / kTabsPerRow;
    return rows * kRowHeight;
}

QRect ConsoleTabs::pageRect() const {
    return QRect(0, headerHeight(), width(), height() - headerHeight());
}

void ConsoleTabs::layoutHeaders() {
    header_->setGeometry(0, 0, width(), headerHeight());
    for (int i = 0; i < count(); ++i) {
        const int row = i / kTabsPerRow;
        const int column = i % kTabsPerRow;
        const int left = column * width() / kTabsPerRow;
        const int right = (column + 1) * width() / kTabsPerRow;
        buttons_[size_t(i)]->setGeometry(left, row * kRowHeight, right - left, kRowHeight);
    }
    // The page frame is drawn by this widget; the pages sit inside it.
    pages_->setGeometry(pageRect());
}

void ConsoleTabs::resizeEvent(QResizeEvent*) {
    layoutHeaders();
}

void ConsoleTabs::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = pageRect();
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
}

void ConsoleTabs::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods & Qt::ControlModifier) {
        const bool backwards = event->key() == Qt::Key_Backtab ||
                               (event->key() == Qt::Key_Tab && (mods & Qt::ShiftModifier));
        if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
            step(backwards ? -1 : +1);
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void ConsoleTabs::setHeaderFont(const QFont& font) {
    header_->setFont(font);
}

void ConsoleTabs::step(int step) {
    const int n = count();
    if (n == 0) {
        return;
    }
    if (step == TabHeaderButton::kFirst || step == TabHeaderButton::kLast) {
        const bool fromStart = step == TabHeaderButton::kFirst;
        for (int k = 0; k < n; ++k) {
            const int index = fromStart ? k : n - 1 - k;
            if (isTabEnabled(index)) {
                setCurrentIndex(index);
                return;
            }
        }
        return;
    }
    const int direction = step < 0 ? -1 : 1;
    for (int k = 1; k < n; ++k) {
        const int index = ((current_ + direction * k) % n + n) % n;
        if (isTabEnabled(index)) {
            setCurrentIndex(index);
            return;
        }
    }
}

}  // namespace ludora
