#include "HelpWindow.h"

#include "OnTop.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

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
           "<tr><td><i>Near Words</i></td><td>A search that finds nothing offers the nearest "
           "words (<tt>NearWords</tt>)</td></tr>"
           "<tr><td><i>Look Up Selection</i></td><td><b>Ctrl+F9</b> looks up the text selected "
           "in any program (<tt>SelectionLookUp</tt>; <tt>SelectionKey</tt> names another key, "
           "or <tt>None</tt>)</td></tr>"
           "</table>";
}

void openHelpWindow(QWidget* parent) {
    QDialog window(parent);
    window.setObjectName(QStringLiteral("frmHelp"));
    window.setWindowTitle(QStringLiteral("Tavelin Help"));
    auto* layout = new QVBoxLayout(&window);
    auto* text = new QLabel(QString::fromUtf8(helpText()), &window);
    text->setObjectName(QStringLiteral("lblHelp"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    text->setMinimumWidth(360);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    layout->addWidget(buttons);
    MakeTopmost(&window);
    window.exec();
}

} // namespace tavelin
