#pragma once

#include <QWidget>
#include <vector>

class QButtonGroup;
class QStackedWidget;

namespace ludora {

class TabHeaderBar;
class TabHeaderButton;

// A tab control whose headers all stay in view, in rows of six, above one page per tab.
//
// An unavailable tab is drawn greyed out and cannot become current: not by the mouse, the
// keyboard (arrows, Home, End, Ctrl+Tab, Ctrl+Shift+Tab) nor assistive technology. The
// headers form one stop in the keyboard's tab order: only the current tab's header takes
// the focus.
class ConsoleTabs final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTabsPerRow = 6;
    static constexpr int kRowHeight = 20;

    explicit ConsoleTabs(int count, QWidget* parent = nullptr);

    int count() const { return int(buttons_.size()); }
    int currentIndex() const { return current_; }
    // Makes an available tab current. Returns false, changing nothing, for an unavailable
    // tab or an index out of range.
    bool setCurrentIndex(int index);

    QString tabText(int index) const;
    void setTabText(int index, const QString& text);
    bool isTabEnabled(int index) const;
    void setTabEnabled(int index, bool enabled);

    // The captions' font; the pages keep the font of the window.
    void setHeaderFont(const QFont& font);

    QWidget* page(int index) const;
    TabHeaderButton* tabHeader(int index) const { return buttons_[size_t(index)]; }
    // The area of the pages, in this widget's coordinates.
    QRect pageRect() const;

Q_SIGNALS:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int headerHeight() const;
    void layoutHeaders();
    // Moves to the next available tab in a direction, wrapping round, or to the first or
    // last available tab.
    void step(int step);

    TabHeaderBar* header_;
    QStackedWidget* pages_;
    QButtonGroup* group_;
    std::vector<TabHeaderButton*> buttons_;
    int current_ = -1;
};

}  // namespace ludora
