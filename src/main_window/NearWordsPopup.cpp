#include "NearWordsPopup.h"

#include "ListBox.h"
#include "WordBox.h"
#include "platform/TextCodec.h"
#include "text/NearWords.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace tavelin {
namespace {

// A list's words as the search for near words reads them.
class ListWords final : public WordSequence {
public:
    explicit ListWords(const WordListModel& words) : words_(words) {}
    int count() const override { return words_.count(); }
    std::string_view word(int index) const override { return words_.word(index); }

private:
    const WordListModel& words_;
};

} // namespace

std::vector<NearWord> nearWordsIn(const WordListModel& words, const std::string& typed) {
    return findNearWords(ListWords(words), words.side(), typed, words.inDictionaryOrder());
}

namespace {

bool isModifierOnly(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

} // namespace

NearWordsPopup::NearWordsPopup(WordBox* box, ListBox* list, std::function<bool()> isOn)
    : QFrame(box, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), box_(box),
      list_(list), view_(new QListWidget(this)), isOn_(std::move(isOn)) {
    setObjectName(box->objectName() + QStringLiteral("NearWords"));
    setWindowTitle(QStringLiteral("Near Words"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    // As high as the words offered, however few: not the list's least height.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(view_);
    view_->setFocusPolicy(Qt::NoFocus);
    view_->setFrameStyle(QFrame::NoFrame);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setUniformItemSizes(true);
    view_->setTextElideMode(Qt::ElideRight);
    view_->setMouseTracking(true);
    connect(view_, &QListWidget::itemEntered, this,
            [this](QListWidgetItem* item) { mark(view_->row(item)); });
    connect(view_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { choose(view_->row(item)); });

    box_->installEventFilter(this);
    box_->window()->installEventFilter(this);
    // A change of the list makes what is offered stale.
    const WordListModel* words = &list_->words();
    connect(words, &QAbstractItemModel::modelReset, this, &QWidget::hide);
    connect(words, &QAbstractItemModel::rowsInserted, this, &QWidget::hide);
    connect(words, &QAbstractItemModel::rowsRemoved, this, &QWidget::hide);
}

void NearWordsPopup::searched(bool found) {
    // Only text the user typed is offered words: text the program puts into
    // the box (a double-click, a dialog, a chosen near word) is not.
    const std::optional<std::string> typed = box_->codes();
    if (found || !isOn_() || !box_->isModified() || !typed || typed->empty()) {
        hide();
        return;
    }
    offer(*typed);
}

void NearWordsPopup::offer(const std::string& typed) {
    const WordListModel& words = list_->words();
    const std::vector<NearWord> near = nearWordsIn(words, typed);
    if (near.empty()) {
        hide();
        return;
    }
    words_.clear();
    view_->clear();
    for (const NearWord& word : near) {
        words_.emplace_back(words.word(word.index));
        view_->addItem(toShown(words.side(), words_.back()));
    }
    // The words look as the list shows them.
    view_->setFont(list_->font());
    view_->setPalette(list_->palette());
    mark(-1);
    place();
    show();
}

void NearWordsPopup::place() {
    const int rows = view_->count();
    const int rowHeight = std::max(view_->sizeHintForRow(0), 1);
    const QMargins margins = layout()->contentsMargins();
    const int height = rows * rowHeight + margins.top() + margins.bottom() + 2 * frameWidth();
    const int width = std::max(box_->width(), 120);
    QPoint at = box_->mapToGlobal(QPoint(0, box_->height()));
    // Above the box when there is no room below it.
    if (const QScreen* screen = box_->screen()) {
        const QRect room = screen->availableGeometry();
        if (at.y() + height > room.bottom() && at.y() - box_->height() - height >= room.top()) {
            at.setY(at.y() - box_->height() - height);
        }
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width)));
    }
    setGeometry(QRect(at, QSize(width, height)));
}

QStringList NearWordsPopup::offered() const {
    QStringList shown;
    for (int row = 0; row < view_->count(); ++row) {
        shown << view_->item(row)->text();
    }
    return shown;
}

int NearWordsPopup::marked() const {
    return view_->currentRow();
}

void NearWordsPopup::mark(int row) {
    if (row < 0) {
        view_->setCurrentRow(-1);
        view_->clearSelection();
        return;
    }
    view_->setCurrentRow(row);
}

void NearWordsPopup::choose(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= words_.size()) {
        return;
    }
    const std::string word = words_[static_cast<std::size_t>(row)];
    hide();
    // As if typed: the box's search runs and shows the word's pair.
    box_->setCodes(word);
}

bool NearWordsPopup::eventFilter(QObject* watched, QEvent* event) {
    if (!isVisible()) {
        return QFrame::eventFilter(watched, event);
    }
    if (watched != box_) {
        // The window the box is on moves, changes its size or goes.
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            hide();
            break;
        default:
            break;
        }
        return QFrame::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int count = view_->count();
        switch (key->key()) {
        case Qt::Key_Down:
            mark(std::min(marked() + 1, count - 1));
            return true;
        case Qt::Key_Up:
            mark(marked() - 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (marked() >= 0) {
                choose(marked());
                return true;
            }
            hide();
            break;
        case Qt::Key_Escape:
            hide();
            return true;
        default:
            if (!isModifierOnly(key->key())) {
                hide(); // typing on: the new text is searched and offered its own words
            }
            break;
        }
        break;
    }
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        hide();
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace tavelin
