#include "HelpWindow.h"

#include "HotKey.h"
#include "OnTop.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace tavelin {

const char* helpText() {
    return "<h3>Tavelin</h3>"
           "<p>An English&ndash;Armenian and Russian&ndash;Armenian dictionary. Choose a page with "
           "its tab, then type the beginning of a word in the box above either list: the list "
           "finds the first word that begins so, and the boxes below show the pair. The button "
           "beside each of those boxes copies its word to the clipboard.</p>"
           "<table cellspacing=\"4\">"
           "<tr><td><b>Ctrl+I</b></td><td>Add a word pair</td></tr>"
           "<tr><td><b>Ctrl+D</b></td><td>Properties</td></tr>"
           "<tr><td><b>Ctrl+Q</b></td><td>Quit</td></tr>"
           "<tr><td><b>Ctrl+Tab</b></td><td>The other page</td></tr>"
           "<tr><td><b>Ctrl+F7</b></td><td>Hide the dictionary into its notification-area "
           "icon, from any program</td></tr>"
           "<tr><td><b>Ctrl+F8</b></td><td>Bring it back, from any program</td></tr>"
           "<tr><td><b>F1</b></td><td>This help</td></tr>"
           "</table>"
           "<p>Minimising the window hides it behind its icon in the notification area; a double "
           "click on the icon, or <i>Show Dictionary</i> in the icon's menu, brings it back.</p>"
           "<p><b>Look-up aids</b>, each on until switched off in the <i>Tools</i> menu (or in "
           "section <tt>[LookUp]</tt> of Options.ini with <tt>False</tt>):</p>"
           "<table cellspacing=\"4\">"
           "<tr><td><i>\u0401 and \u0415 Alike</i></td><td>In the Russian search box \u0435 and "
           "\u0451 are one letter: \u0435\u043b\u043a finds \u0451\u043b\u043a\u0430 "
           "(<tt>YoIsYe</tt>)</td></tr>"
           "<tr><td><i>Latin Keys Type Armenian</i></td><td>In the Armenian boxes a key typed "
           "with a Latin layout gives the Armenian letter of the phonetic layout: "
           "<tt>barev</tt> types \u0562\u0561\u0580\u0565\u057e "
           "(<tt>LatinTypesArmenian</tt>)</td></tr>"
           "<tr><td><i>Near Words</i></td><td>A search box whose text begins no word shows "
           "the nearest words below it: <b>Down</b> and <b>Up</b> mark one, <b>Enter</b> or a "
           "click takes it, <b>Esc</b> closes the list (<tt>NearWords</tt>)</td></tr>"
           "<tr><td><i>Look Up Selection</i></td><td><b>Ctrl+F9</b> looks up the text selected "
           "in any program (<tt>SelectionLookUp</tt>; <tt>SelectionKey</tt> names another key, "
           "or <tt>None</tt>)</td></tr>"
           "</table>";
}

QString lookUpKeyNote(const hotkey::LookUpKey& key) {
    using State = hotkey::LookUpKey::State;
    const QString name = key.key.toHtmlEscaped();
    switch (key.state) {
    case State::Registered:
        if (key.key == QLatin1String("Ctrl+F9")) {
            return {};
        }
        return QStringLiteral("<p>Here <b>%1</b> looks up the selected text (<tt>SelectionKey</tt> "
                              "in Options.ini).</p>")
            .arg(name);
    case State::Held:
        return QStringLiteral("<p><b>%1 is held by another program</b>, so it does not look up "
                              "the selected text. Name another key with <tt>SelectionKey</tt> in "
                              "section <tt>[LookUp]</tt> of Options.ini, such as "
                              "<tt>Ctrl+Alt+L</tt>, and start the dictionary again; or, once "
                              "that program lets it go, switch <i>Look Up Selection</i> off and "
                              "on in the Tools menu.</p>")
            .arg(name);
    case State::Bad:
        return QStringLiteral("<p><b><tt>SelectionKey=%1</tt></b> in Options.ini names no key to "
                              "look up the selected text with: %2.</p>")
            .arg(name, key.why.toHtmlEscaped());
    case State::NoKey:
        return QStringLiteral("<p>No key looks up the selected text (<tt>SelectionKey=None</tt> "
                              "in Options.ini).</p>");
    case State::Off:
        return QStringLiteral("<p><i>Look Up Selection</i> is switched off.</p>");
    case State::NoGlobalKeys:
        return QStringLiteral("<p>This desktop offers no global keys: the selected text cannot "
                              "be looked up with a key.</p>");
    }
    return {};
}

void openHelpWindow(QWidget* parent) {
    QDialog window(parent);
    window.setObjectName(QStringLiteral("frmHelp"));
    window.setWindowTitle(QStringLiteral("Tavelin Help"));
    auto* layout = new QVBoxLayout(&window);
    auto* text =
        new QLabel(QString::fromUtf8(helpText()) + lookUpKeyNote(hotkey::lookUpKey()), &window);
    text->setObjectName(QStringLiteral("lblHelp"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    text->setMinimumWidth(360);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The text grew longer than a window's first guess at a wrapped label's
    // height: it scrolls, in a window as tall as it needs, at most nine
    // tenths of the screen.
    auto* scroll = new QScrollArea(&window);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(text);
    layout->addWidget(scroll);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    layout->addWidget(buttons);
    constexpr int kTextWidth = 460;
    const QMargins margins = layout->contentsMargins();
    const int chrome = margins.top() + margins.bottom() + layout->spacing() +
                       buttons->sizeHint().height() +
                       scroll->horizontalScrollBar()->sizeHint().height();
    const int screenHeight = window.screen()->availableGeometry().height();
    window.resize(kTextWidth + margins.left() + margins.right() +
                      scroll->verticalScrollBar()->sizeHint().width(),
                  std::min(text->heightForWidth(kTextWidth) + chrome, screenHeight * 9 / 10));
    MakeTopmost(&window);
    window.exec();
}

} // namespace tavelin
