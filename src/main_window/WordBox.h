#pragma once

#include "text/CharacterSet.h"

#include <QLineEdit>

#include <optional>
#include <string>

namespace tavelin {

// A text box that holds a dictionary word: it shows and takes Unicode and
// gives the word as the codes of its side. Every change of its text, by the
// user or by the program, emits change() at once.
//
// A read-only box shows the word setCodes gives it as the lists show words
// (toShown: the beginning of a long word, control characters as pictures),
// and still gives the word itself as its codes and its whole text. A box
// the user types in takes the first kShownCodes codes of a longer word.
class WordBox : public QLineEdit {
    Q_OBJECT
public:
    explicit WordBox(Side side, QWidget* parent = nullptr);

    Side side() const { return side_; }
    // The text as codes; nothing when it holds a character the side has no code for.
    std::optional<std::string> codes() const;
    // The codes, or the empty text when the text cannot be had as codes.
    std::string codesOrEmpty() const { return codes().value_or(std::string()); }
    void setCodes(std::string_view codes);
    // The word as Unicode text, whole and as stored (what the copy buttons copy).
    QString wholeText() const;

signals:
    void change();

private:
    // Whether the text is what setCodes last showed of shownWord_.
    bool showsWord() const;

    Side side_;
    std::string shownWord_;
    QString shownText_;
};

} // namespace tavelin
