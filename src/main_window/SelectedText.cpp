#include "SelectedText.h"

#include <QList>
#include <QStringView>

#include <string>

namespace tavelin {
namespace {

bool isLineBreak(char32_t ch) {
    return ch == u'\n' || ch == u'\r' || ch == u'\v' || ch == u'\f' || ch == 0x85 || ch == 0x2028 ||
           ch == 0x2029;
}

// A letter, a digit, or a mark that belongs to the letter before it.
bool isWordCharacter(char32_t ch) {
    return QChar::isLetterOrNumber(ch) || QChar::isMark(ch);
}

// Characters nobody sees: soft hyphens, zero-width spaces and joiners, the
// byte-order mark, and control characters other than blanks and line breaks.
bool isInvisible(char32_t ch) {
    const QChar::Category category = QChar::category(ch);
    return category == QChar::Other_Format ||
           (category == QChar::Other_Control && !QChar::isSpace(ch) && !isLineBreak(ch));
}

// The code point at a position (a lone half of a pair as itself).
char32_t codePointAt(QStringView text, qsizetype at) {
    if (text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
        return QChar::surrogateToUcs4(text.at(at), text.at(at + 1));
    }
    return text.at(at).unicode();
}

// How many halves the code point takes.
qsizetype width(char32_t ch) {
    return QChar::requiresSurrogates(ch) ? 2 : 1;
}

// The text without punctuation, symbols, blanks and invisible characters at its ends.
QStringView trimToWordCharacters(QStringView text) {
    qsizetype begin = 0;
    while (begin < text.size() && !isWordCharacter(codePointAt(text, begin))) {
        begin += width(codePointAt(text, begin));
    }
    qsizetype end = text.size();
    while (end > begin) {
        const qsizetype last = end - 2 >= begin && text.at(end - 1).isLowSurrogate() &&
                                       text.at(end - 2).isHighSurrogate()
                                   ? end - 2
                                   : end - 1;
        if (isWordCharacter(codePointAt(text, last))) {
            break;
        }
        end = last;
    }
    return text.mid(begin, end - begin);
}

// The first kSelectedTextLength characters (code points, never half of one).
QStringView firstCharacters(QStringView text) {
    qsizetype at = 0;
    for (qsizetype count = 0; at < text.size() && count < kSelectedTextLength; ++count) {
        at += width(codePointAt(text, at));
    }
    return text.first(at);
}

// What one line gives to look up; empty when it holds no letter or digit.
QString phraseOf(QStringView line) {
    // Only the beginning can be looked up; a selection can be a whole book.
    constexpr qsizetype kEnough = 8 * kSelectedTextLength;
    const QString start = trimToWordCharacters(line).left(kEnough).toString();
    // Composed, as a keyboard types: й, not и and a combining breve.
    const std::u32string composed = start.normalized(QString::NormalizationForm_C).toStdU32String();
    QString visible;
    for (const char32_t ch : composed) {
        if (!isInvisible(ch)) {
            visible += QString::fromUcs4(&ch, 1);
        }
    }
    const QString simplified = visible.simplified();
    return trimToWordCharacters(firstCharacters(simplified)).toString();
}

SelectedText::Script scriptOf(const QString& text) {
    for (const char32_t ch : text.toUcs4()) {
        if (!QChar::isLetter(ch)) {
            continue;
        }
        switch (QChar::script(ch)) {
        case QChar::Script_Latin:
            return SelectedText::Script::Latin;
        case QChar::Script_Cyrillic:
            return SelectedText::Script::Cyrillic;
        case QChar::Script_Armenian:
            return SelectedText::Script::Armenian;
        default:
            return SelectedText::Script::None;
        }
    }
    return SelectedText::Script::None;
}

} // namespace

SelectedText selectedText(const QString& selection) {
    SelectedText result;
    for (qsizetype at = 0; at < selection.size() && result.phrase.isEmpty();) {
        qsizetype end = at;
        while (end < selection.size() && !isLineBreak(selection.at(end).unicode())) {
            ++end;
        }
        result.phrase = phraseOf(QStringView(selection).mid(at, end - at));
        at = end + 1;
    }
    const qsizetype blank = result.phrase.indexOf(u' ');
    result.word = trimToWordCharacters(
                      QStringView(result.phrase).left(blank < 0 ? result.phrase.size() : blank))
                      .toString();
    result.script = scriptOf(result.phrase);
    return result;
}

} // namespace tavelin
