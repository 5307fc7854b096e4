#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace tavelin {

// The About box: two pictures, the e-mail and web links, a credits text that
// scrolls up on demand in a hidden area, and two buttons. Each showing starts
// afresh: the area hidden, the timer off, "&Scroll About" on the button.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    static const QString kAuthor;
    static const QString kEmail;
    static const QString kWebShown;  // what the web link shows
    static const QString kWebOpened; // what it opens
    static const QString kCreditsWeb;
    static const QString kBiography;
    static const QString kScrollCaption;
    static const QString kStopCaption;

    // Positions of the credits text inside the scroll area, in twips.
    static constexpr int kTextHeight = 3855;
    static constexpr int kTextStartTop = 120;
    static constexpr int kScrollAreaTop = 720;
    static constexpr int kScrollAreaHeight = 1883;
    static constexpr int kScrollStep = 25;

    explicit frmAbout(QWidget* parent = nullptr);

    // Opens the user's mail program on a new message (see mailText).
    void OpenEmail(const QString& address, const QString& subject, const QString& body);
    // The address with "mailto:" in front unless it starts so in any case,
    // then "?subject=" and the subject when there is one, then "?" or "&"
    // and "body=" and the body when there is one; nothing is escaped.
    static QString mailText(const QString& address, const QString& subject, const QString& body);
    // The credits, line by line, joined by CR LF.
    static QString creditsText();
    // Where the credits stand after one tick: 25 twips higher while their
    // bottom is at least 720, else back just below the visible part.
    static int nextTextTop(int top, int height = kTextHeight);

    void cmdCredits_Click();
    void tmrScroll_Timer();
    void Label1_Click();
    void Label2_Click();
    void cmdOK_Click();

    // The credits text's top inside the scroll area, in twips.
    int textTop() const { return textTop_; }

    QLabel* Image1;
    QLabel* Image2;
    QWidget* picScroll;
    QPlainTextEdit* txtScroll;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* cmdCredits;
    QPushButton* cmdOK;
    QTimer* tmrScroll;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCredits();
    int textTop_ = kTextStartTop;
};

// Shows the About box above every window and returns when it is closed.
void openAboutBox(QWidget* parent = nullptr);

} // namespace tavelin
