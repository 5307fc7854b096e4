#pragma once

// The small controls of the options dialogs and the font chooser.

#include <QFrame>
#include <QLabel>

#include <cstdint>
#include <optional>

class QLineEdit;
class QListWidget;

namespace tavelin {

// A font size read from text ("." or "," as decimal separator): nothing for
// text that is no number, and for sizes outside 0 (excluded) to 2048 points,
// which no list can show.
std::optional<float> fontSizeFrom(const QString& text);

// Places a label at its designed place and size (twips), widened or heightened
// when its text needs more room in the font it is drawn with.
void placeLabel(QLabel* label, int left, int top, int width, int height);

// Tells clicks from presses on a control: a click is a press and a release of
// the left button on it; the second press of a double click is no click.
class ClickRecogniser {
public:
    void press(QMouseEvent* event);
    // Whether this release ends a click.
    bool release(QMouseEvent* event, const QRect& area);
    // Whether this is a double click of the left button.
    bool doubleClick(QMouseEvent* event);

private:
    bool pressed_ = false;
};

// A sample of a list style: its font, its text colour and its background, the
// colours kept as Options.ini values (so a system colour stays one). The label
// takes the size of its text whenever its font changes.
class SampleLabel : public QLabel {
    Q_OBJECT
public:
    explicit SampleLabel(QWidget* parent = nullptr);

    std::int32_t foreColor() const { return foreColor_; }
    std::int32_t backColor() const { return backColor_; }
    void setForeColor(std::int32_t colour);
    void setBackColor(std::int32_t colour);

    QString fontName() const { return font().family(); }
    float fontSize() const { return static_cast<float>(font().pointSizeF()); }
    bool fontBold() const { return font().bold(); }
    bool fontItalic() const { return font().italic(); }
    void setFontName(const QString& name);
    void setFontSize(float points);
    void setFontBold(bool bold);
    void setFontItalic(bool italic);

signals:
    // A press and release of the left button on the label.
    void click();
    void dblClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void changeFont(const QFont& font);

    std::int32_t foreColor_ = 0;
    std::int32_t backColor_ = 0;
    ClickRecogniser clicks_;
};

// A panel filled with a colour kept as an Options.ini value: the sample
// panels, the chooser's preview background and its colour swatches.
class ColourPanel : public QFrame {
    Q_OBJECT
public:
    explicit ColourPanel(QWidget* parent = nullptr);

    std::int32_t backColor() const { return backColor_; }
    void setBackColor(std::int32_t colour);

signals:
    void click();
    void dblClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::int32_t backColor_ = 0;
    ClickRecogniser clicks_;
};

// A combo box whose list is always shown under its edit field. Choosing an
// entry of the list (mouse or arrow keys) puts it into the edit field and
// emits click(); typing in the field only scrolls the list to the first entry
// that begins with the text, and setting the text from the program emits nothing.
class SimpleCombo : public QWidget {
    Q_OBJECT
public:
    explicit SimpleCombo(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    void addItem(const QString& item);
    int count() const;
    QString itemText(int index) const;

    QLineEdit* editField() const { return edit_; }
    QListWidget* list() const { return list_; }

signals:
    void click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(int row);
    void showInList(const QString& text, bool prefix);

    QLineEdit* edit_;
    QListWidget* list_;
    bool syncing_ = false;
    int chosenRow_ = -1;
};

} // namespace tavelin
