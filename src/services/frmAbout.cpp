#include "frmAbout.h"

#include "OnTop.h"
#include "platform/Twips.h"

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace tavelin {

const QString frmAbout::kAuthor = QStringLiteral("The Tavelin team");
const QString frmAbout::kEmail = QStringLiteral("tavelin@example.org");
const QString frmAbout::kWebShown = QStringLiteral("www.example.org/tavelin");
const QString frmAbout::kWebOpened = QStringLiteral("https://www.example.org/tavelin/");
const QString frmAbout::kCreditsWeb = QStringLiteral("https://www.example.org/tavelin");
const QString frmAbout::kBiography = QStringLiteral(
    "Tavelin is a small desktop dictionary, English-Armenian and Russian-Armenian. Type the "
    "beginning of a word in any of its boxes and the lists find it as you type; the copy "
    "buttons put a word or its translation on the clipboard, and you can add words of your "
    "own. Ctrl+F7 hides the dictionary and Ctrl+F8 brings it back from any program.");
const QString frmAbout::kScrollCaption = QStringLiteral("&Scroll About");
const QString frmAbout::kStopCaption = QStringLiteral("&Stop Scroll");

namespace {

const QString kBlue = QStringLiteral("color: #0000ff;");

const QColor kCoverBlue(31, 58, 104);

// The splash picture, its magenta surround (the colour its shaped window
// leaves out) made the given colour.
QImage splashOn(const QColor& surround) {
    QImage picture = QImage(QStringLiteral(":/splash.png")).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(255, 0, 255);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if ((line[x] & 0xffffff) == (key & 0xffffff)) {
                line[x] = surround.rgba();
            }
        }
    }
    return picture;
}

// The tall picture on the left: the splash's book on the cover's blue.
QPixmap tallPicture() {
    QPixmap picture(128, 210);
    picture.fill(kCoverBlue);
    const QImage splash = splashOn(Qt::transparent);
    if (!splash.isNull()) {
        const QImage book = splash.scaledToWidth(128, Qt::SmoothTransformation);
        QPainter painter(&picture);
        painter.drawImage(0, (picture.height() - book.height()) / 2, book);
    }
    return picture;
}

// The banner at the top: the name from the splash's cover.
QPixmap bannerPicture() {
    const QImage splash = splashOn(kCoverBlue);
    if (splash.isNull()) {
        return {};
    }
    return QPixmap::fromImage(splash.copy(0, 34, 208, 70));
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent), Image1(new QLabel(this)), Image2(new QLabel(this)),
      picScroll(new QWidget(this)), txtScroll(new QPlainTextEdit(picScroll)),
      Label1(new QLabel(this)), Label2(new QLabel(this)), cmdCredits(new QPushButton(this)),
      cmdOK(new QPushButton(this)), tmrScroll(new QTimer(this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About MyApp"));
    // A fixed dialog: a title and a close button, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    setFont(font);
    setFixedSize(twips::toPixels(5715), twips::toPixels(3690));

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(tallPicture());
    twips::place(Image1, 0, 240, 1920, 3150);

    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(bannerPicture());
    twips::place(Image2, 1920, -120, 3120, 1050);

    picScroll->setObjectName(QStringLiteral("picScroll"));
    picScroll->setAutoFillBackground(true); // covers what lies beneath, like a picture box
    twips::place(picScroll, 1920, 720, 3615, kScrollAreaHeight);
    picScroll->hide();

    txtScroll->setObjectName(QStringLiteral("txtScroll"));
    txtScroll->setReadOnly(true);
    txtScroll->setFrameShape(QFrame::NoFrame);
    txtScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtScroll->setFocusPolicy(Qt::NoFocus);
    txtScroll->setStyleSheet(QStringLiteral("background: transparent;"));
    txtScroll->viewport()->setAutoFillBackground(false);
    twips::place(txtScroll, 120, textTop_, 3135, kTextHeight);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("E - Mail:  ") + kEmail);
    Label1->setStyleSheet(kBlue);
    // The label starts a little over the tall picture: it paints its own
    // background there so that its first letters stay readable.
    Label1->setAutoFillBackground(true);
    Label1->raise();
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);
    twips::place(Label1, 1800, 2880, 2415, 255);

    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setText(kWebShown);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setStyleSheet(kBlue);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->installEventFilter(this);
    twips::place(Label2, 1920, 3240, 2415, 255);

    cmdCredits->setObjectName(QStringLiteral("cmdCredits"));
    cmdCredits->setText(kScrollCaption);
    cmdCredits->setAutoDefault(false);
    twips::place(cmdCredits, 4440, 2760, 1140, 345);
    connect(cmdCredits, &QPushButton::clicked, this, &frmAbout::cmdCredits_Click);

    // Enter and Esc close the box too.
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setText(QStringLiteral("Close"));
    cmdOK->setDefault(true);
    twips::place(cmdOK, 4440, 3240, 1140, 345);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    tmrScroll->setObjectName(QStringLiteral("tmrScroll"));
    tmrScroll->setInterval(100);
    connect(tmrScroll, &QTimer::timeout, this, &frmAbout::tmrScroll_Timer);
}

QString frmAbout::mailText(const QString& address, const QString& subject, const QString& body) {
    QString text = address;
    if (address.left(7).toLower() != QLatin1String("mailto:")) {
        text.prepend(QLatin1String("mailto:"));
    }
    if (!subject.isEmpty()) {
        text += QLatin1String("?subject=") + subject;
    }
    if (!body.isEmpty()) {
        text += (subject.isEmpty() ? QLatin1String("?") : QLatin1String("&")) +
                QLatin1String("body=") + body;
    }
    return text;
}

void frmAbout::OpenEmail(const QString& address, const QString& subject, const QString& body) {
    QDesktopServices::openUrl(QUrl(mailText(address, subject, body)));
}

QString frmAbout::creditsText() {
    const QStringList lines = {
        QString(21, QLatin1Char(' ')) + kAuthor, QString(), kBiography, QString(),
        QStringLiteral("Best  regards"),         kAuthor,   kCreditsWeb};
    return lines.join(QLatin1String("\r\n"));
}

int frmAbout::nextTextTop(int top, int height) {
    const int bottom = top + height;
    return bottom >= kScrollAreaTop ? top - kScrollStep : kScrollAreaHeight;
}

void frmAbout::setCredits() {
    // The text box breaks lines at LF.
    txtScroll->setPlainText(creditsText().replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void frmAbout::cmdCredits_Click() {
    if (cmdCredits->text() == kScrollCaption) {
        setCredits();
        picScroll->show();
        tmrScroll->start();
        cmdCredits->setText(kStopCaption);
    } else if (cmdCredits->text() == kStopCaption) {
        tmrScroll->stop();
        setCredits();
        cmdCredits->setText(kScrollCaption);
    }
}

void frmAbout::tmrScroll_Timer() {
    textTop_ = nextTextTop(textTop_);
    twips::place(txtScroll, 120, textTop_, 3135, kTextHeight);
}

void frmAbout::Label1_Click() {
    OpenEmail(kEmail, QStringLiteral("Ask"), QStringLiteral("Please type your text here!"));
}

void frmAbout::Label2_Click() {
    QDesktopServices::openUrl(QUrl(kWebOpened));
}

void frmAbout::cmdOK_Click() {
    accept();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label1) {
            Label1_Click();
            return true;
        }
        if (watched == Label2) {
            Label2_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // Line1: a grey line over a white one, an etched separator.
    QPainter painter(this);
    const int x1 = twips::toPixels(1800);
    const int x2 = twips::toPixels(5550);
    const int y = twips::toPixels(2640);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(x1, y, x2, y);
    painter.setPen(Qt::white);
    painter.drawLine(x1, y + 1, x2, y + 1);
}

void openAboutBox(QWidget* parent) {
    frmAbout box(parent);
    MakeTopmost(&box);
    box.exec();
}

} // namespace tavelin
