// The yardstick for a keystroke: what Qt's widgets cost without Tavelin. A
// window of stock widgets only, a QLineEdit above a QListView of the same
// English words the benchmark's dictionary holds, sorted without regard to
// case. Each change of the text chooses the first word at or after it, and
// the list view brings that word into view as it does by itself. The
// benchmark types into it the way it types into Tavelin's Text1.
//
//   tavelin-bench-stock-window PAIRS SEED WIDTH HEIGHT

#include "Interaction.h"
#include "WordGenerator.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <string>

using namespace tavelin;
using namespace tavelin::bench;

namespace {

bool before(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: tavelin-bench-stock-window PAIRS SEED WIDTH HEIGHT\n");
        return 2;
    }
    QApplication app(argc, argv);
    const std::size_t pairs = std::stoul(argv[1]);
    const WordPairs made = WordGenerator(Side::English, std::stoull(argv[2])).generate(pairs);
    QStringList words;
    words.reserve(static_cast<qsizetype>(made.size()));
    for (std::size_t i = 0; i < made.size(); ++i) {
        // The generator's English words are letters, blanks, apostrophes and
        // hyphens, the same in Latin-1 as in Windows-1252.
        const std::string_view word = made.source(i);
        words.push_back(QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size())));
    }
    std::sort(words.begin(), words.end(), before);

    QWidget window;
    window.setWindowTitle(QString::fromLatin1(kStockWindowTitle));
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit;
    auto* list = new QListView;
    list->setUniformItemSizes(true);
    list->setModel(new QStringListModel(words, list));
    layout->addWidget(edit);
    layout->addWidget(list);
    QObject::connect(edit, &QLineEdit::textChanged, list, [&words, list](const QString& text) {
        const auto found = std::lower_bound(words.cbegin(), words.cend(), text, before);
        const auto row =
            static_cast<int>(std::min<qsizetype>(found - words.cbegin(), words.size() - 1));
        list->setCurrentIndex(list->model()->index(row, 0));
    });
    window.resize(std::stoi(argv[3]), std::stoi(argv[4]));
    window.show();
    edit->setFocus();
    return QApplication::exec();
}
