#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>

#include <cstdint>
#include <optional>
#include <unordered_set>

class QTextLayout;

namespace tavelin {

// Lays a word out on one line of a font without Qt's text layout: the font's
// glyph for each character, advanced and kerned as the font says. For the
// letters of the lists' words that is what the text layout does, unless the
// font joins or replaces letters (a ligature, say), and it is the text
// layout's analysing and shaping that a list's repaint spends its time on.
//
// Which neighbouring characters come out alike is learnt, never assumed:
// learn() compares the text layout's result for a word with this one's, and
// layOut() serves only words whose every pair of neighbours (and first and
// last character) has been seen to come out alike and never otherwise.
class WordGlyphs {
public:
    explicit WordGlyphs(const QFont& font);

    const QFont& font() const { return font_; }

    struct Line {
        // Placed along the baseline from its start.
        QGlyphRun glyphs;
        // Up to the end of the last character that is not a blank, by its
        // advance; the text layout may add the overhang of its glyph.
        qreal width = 0;
    };
    // The word laid out as the text layout would, or nothing when that is
    // not known.
    std::optional<Line> layOut(const QString& word) const;

    // Whether the word holds a pair not yet learnt that learn() could learn.
    bool worthLearning(const QString& word) const;
    // Learns the word's pairs from the text layout's result for it: a layout
    // of the word alone, in this font, on one line, aligned to the left.
    void learn(const QString& word, const QTextLayout& layout);

    // The line's ascent and height as the text layout has them.
    qreal ascent() const { return raw_.ascent(); }
    int lineHeight() const;

private:
    // Characters this layout may place: letters and marks of scripts that
    // are written left to right without joining, which the font holds.
    bool placeable(const QString& word) const;
    std::optional<Line> place(const QString& word) const;
    static std::uint32_t pair(char16_t first, char16_t second) {
        return (std::uint32_t{first} << 16) | second;
    }

    QFont font_;
    QRawFont raw_;
    // Pairs seen alike in every word that held them, and pairs seen otherwise
    // at least once. The start and end of a word are the character 0.
    std::unordered_set<std::uint32_t> alike_;
    std::unordered_set<std::uint32_t> unlike_;
};

} // namespace tavelin
