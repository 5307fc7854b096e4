#pragma once

#include <QFrame>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace tavelin {

class ListBox;
class WordBox;
class WordListModel;
struct NearWord;

// The words of a list nearest to a typed text, as the popup offers them.
std::vector<NearWord> nearWordsIn(const WordListModel& words, const std::string& typed);

// The words nearest to what the user typed into a search box when it begins
// no word of the box's list: a small list that drops below the box.
//
// It never takes the keyboard: the box keeps it, and hands the popup its
// Up, Down, Enter and Esc. Down and Up mark a word, Enter or a click puts
// the marked word into the box (whose search then runs as if it had been
// typed), Esc closes the list, and so does typing on: the next text is
// searched and offered its own near words.
class NearWordsPopup : public QFrame {
    Q_OBJECT
public:
    // Serves the box, offering words of the list while `isOn` says so; the
    // box owns the popup.
    NearWordsPopup(WordBox* box, ListBox* list, std::function<bool()> isOn);

    // Told after each search of the box, with whether it found a word: a
    // text the user typed that found none is offered its near words; any
    // other closes the list.
    void searched(bool found);

    // The words offered, as shown, and the marked one (-1 for none).
    QStringList offered() const;
    int marked() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void offer(const std::string& typed);
    void mark(int row);
    void choose(int row);
    void place();

    WordBox* box_;
    ListBox* list_;
    QListWidget* view_;
    std::function<bool()> isOn_;
    std::vector<std::string> words_;
};

} // namespace tavelin
