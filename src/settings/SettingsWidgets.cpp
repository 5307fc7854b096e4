#include "SettingsWidgets.h"

#include "OleColour.h"
#include "ini/IniValues.h"
#include "platform/Twips.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>

namespace tavelin {
namespace {

void fill(QWidget* widget, QPalette::ColorRole role, std::int32_t colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, fromOleColour(colour));
    widget->setPalette(palette);
}

} // namespace

std::optional<float> fontSizeFrom(const QString& text) {
    const std::optional<float> size = iniSingle(text);
    if (!size || *size <= 0 || *size > 2048) {
        return std::nullopt;
    }
    return size;
}

void placeLabel(QLabel* label, int left, int top, int width, int height) {
    twips::place(label, left, top, width, height);
    const QSize needed = label->sizeHint();
    label->resize(std::max(label->width(), needed.width()),
                  std::max(label->height(), needed.height()));
}

// ---- SampleLabel ----

SampleLabel::SampleLabel(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    setForeColor(kOleButtonText);
    setBackColor(kOleWhite);
}

void SampleLabel::setForeColor(std::int32_t colour) {
    foreColor_ = colour;
    fill(this, QPalette::WindowText, colour);
}

void SampleLabel::setBackColor(std::int32_t colour) {
    backColor_ = colour;
    fill(this, QPalette::Window, colour);
}

void SampleLabel::changeFont(const QFont& font) {
    setFont(font);
    adjustSize();
}

void SampleLabel::setFontName(const QString& name) {
    QFont f = font();
    f.setFamily(name);
    changeFont(f);
}

void SampleLabel::setFontSize(float points) {
    QFont f = font();
    f.setPointSizeF(points);
    changeFont(f);
}

void SampleLabel::setFontBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    changeFont(f);
}

void SampleLabel::setFontItalic(bool italic) {
    QFont f = font();
    f.setItalic(italic);
    changeFont(f);
}

void ClickRecogniser::press(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

bool ClickRecogniser::release(QMouseEvent* event, const QRect& area) {
    const bool clicked =
        pressed_ && event->button() == Qt::LeftButton && area.contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    return clicked;
}

bool ClickRecogniser::doubleClick(QMouseEvent* event) {
    pressed_ = false;
    event->accept();
    return event->button() == Qt::LeftButton;
}

void SampleLabel::mousePressEvent(QMouseEvent* event) {
    clicks_.press(event);
}

void SampleLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (clicks_.release(event, rect())) {
        emit click();
    }
}

void SampleLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (clicks_.doubleClick(event)) {
        emit dblClick();
    }
}

// ---- ColourPanel ----

ColourPanel::ColourPanel(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setBackColor(kOleWhite);
}

void ColourPanel::setBackColor(std::int32_t colour) {
    backColor_ = colour;
    fill(this, QPalette::Window, colour);
}

void ColourPanel::mousePressEvent(QMouseEvent* event) {
    clicks_.press(event);
}

void ColourPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (clicks_.release(event, rect())) {
        emit click();
    }
}

void ColourPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (clicks_.doubleClick(event)) {
        emit dblClick();
    }
}

// ---- SimpleCombo ----

SimpleCombo::SimpleCombo(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), list_(new QListWidget(this)) {
    edit_->setObjectName(QStringLiteral("edit"));
    list_->setObjectName(QStringLiteral("list"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFocusPolicy(Qt::NoFocus); // the edit field keeps the focus, as in a simple combo
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setTextElideMode(Qt::ElideRight);
    edit_->installEventFilter(this);
    setFocusProxy(edit_);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!syncing_ && row >= 0) {
            choose(row);
        }
    });
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        if (row != chosenRow_) {
            choose(row);
        }
    });
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        chosenRow_ = -1;
        showInList(text, true);
    });
}

QString SimpleCombo::text() const {
    return edit_->text();
}

void SimpleCombo::setText(const QString& text) {
    edit_->setText(text);
    chosenRow_ = -1;
    showInList(text, false);
}

void SimpleCombo::addItem(const QString& item) {
    list_->addItem(item);
}

int SimpleCombo::count() const {
    return list_->count();
}

QString SimpleCombo::itemText(int index) const {
    const QListWidgetItem* item = list_->item(index);
    return item ? item->text() : QString();
}

void SimpleCombo::choose(int row) {
    chosenRow_ = row;
    edit_->setText(list_->item(row)->text());
    emit click();
}

void SimpleCombo::showInList(const QString& text, bool prefix) {
    int found = -1;
    for (int i = 0; i < list_->count() && found < 0 && !text.isEmpty(); ++i) {
        const QString item = list_->item(i)->text();
        if (prefix ? item.startsWith(text, Qt::CaseInsensitive)
                   : item.compare(text, Qt::CaseInsensitive) == 0) {
            found = i;
        }
    }
    syncing_ = true;
    if (found >= 0) {
        list_->setCurrentRow(found);
        list_->scrollToItem(list_->item(found), QAbstractItemView::PositionAtTop);
    } else {
        list_->setCurrentRow(-1);
        list_->clearSelection();
    }
    syncing_ = false;
}

void SimpleCombo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int editHeight = edit_->sizeHint().height();
    edit_->setGeometry(0, 0, width(), editHeight);
    list_->setGeometry(0, editHeight, width(), std::max(0, height() - editHeight));
}

bool SimpleCombo::eventFilter(QObject* watched, QEvent* event) {
    // The arrow keys in the edit field walk the list, choosing as they go.
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Up || key == Qt::Key_Down) && list_->count() > 0) {
            const int row = list_->currentRow();
            const int next =
                key == Qt::Key_Down ? std::min(row + 1, list_->count() - 1) : std::max(row - 1, 0);
            if (next != row) {
                list_->setCurrentRow(next);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tavelin
