#pragma once

#include <QWidget>

#include <vector>

class QTabBar;

namespace tavelin {

// A tab control whose pages are sets of its own child controls. The controls
// of the inactive pages are parked: moved 75000 twips to the left of their
// place (their left edges read that much less) and hidden, so they neither
// show nor take the keyboard focus; they move back when their page becomes
// active.
class TabControl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kParkOffsetTwips = 75000;

    explicit TabControl(QWidget* parent = nullptr);

    int addPage(const QString& caption, const QIcon& icon);
    // Makes the control a child of the tab control on the page; its position
    // is its place on the page, and it is parked at once when the page is inactive.
    void addToPage(int page, QWidget* control);

    int currentPage() const { return current_; }
    // Activates a page; a change of page emits pageChanged.
    void setCurrentPage(int page);
    int pageCount() const;
    QTabBar* tabBar() const { return bar_; }
    static int parkOffsetPixels();

signals:
    void pageChanged(int page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void park(QWidget* control);
    void unpark(QWidget* control);
    // The controls on a page that exists.
    std::vector<QWidget*>& controlsOn(int page) { return pages_[static_cast<std::size_t>(page)]; }

    QTabBar* bar_;
    std::vector<std::vector<QWidget*>> pages_;
    int current_ = -1;
};

} // namespace tavelin
