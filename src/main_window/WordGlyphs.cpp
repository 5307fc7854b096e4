#include "WordGlyphs.h"

#include <QTextLayout>

#include <cmath>

namespace tavelin {
namespace {

// Left-to-right scripts whose letters stand apart: Latin, Cyrillic and
// Armenian, their digits, blanks and punctuation. The soft hyphen is left
// out (the text layout hides it).
bool inPlaceableScript(char16_t c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0x24F && c != 0xAD) ||
           (c >= 0x400 && c <= 0x52F) || (c >= 0x531 && c <= 0x58A);
}

bool near(qreal a, qreal b) {
    return std::abs(a - b) < 1e-3;
}

} // namespace

WordGlyphs::WordGlyphs(const QFont& font) : font_(font), raw_(QRawFont::fromFont(font)) {}

int WordGlyphs::lineHeight() const {
    return static_cast<int>(std::ceil(raw_.ascent() + raw_.descent()));
}

bool WordGlyphs::placeable(const QString& word) const {
    if (word.isEmpty() || !raw_.isValid()) {
        return false;
    }
    for (const QChar c : word) {
        if (!inPlaceableScript(c.unicode())) {
            return false;
        }
    }
    return true;
}

std::optional<WordGlyphs::Line> WordGlyphs::place(const QString& word) const {
    const QList<quint32> indexes = raw_.glyphIndexesForString(word);
    if (indexes.size() != word.size() || indexes.contains(0)) {
        return std::nullopt; // a character the font does not hold
    }
    const QList<QPointF> advances = raw_.advancesForGlyphIndexes(indexes, QRawFont::KernedAdvances);
    QList<QPointF> positions;
    positions.reserve(advances.size());
    Line line;
    qreal x = 0;
    for (qsizetype i = 0; i < advances.size(); ++i) {
        positions.append(QPointF(x, 0));
        x += advances[i].x();
        if (word[i] != QLatin1Char(' ')) {
            line.width = x;
        }
    }
    line.glyphs.setRawFont(raw_);
    line.glyphs.setGlyphIndexes(indexes);
    line.glyphs.setPositions(positions);
    return line;
}

std::optional<WordGlyphs::Line> WordGlyphs::layOut(const QString& word) const {
    if (!placeable(word)) {
        return std::nullopt;
    }
    char16_t previous = 0;
    for (const QChar c : word) {
        if (alike_.count(pair(previous, c.unicode())) == 0) {
            return std::nullopt;
        }
        previous = c.unicode();
    }
    if (alike_.count(pair(previous, 0)) == 0) {
        return std::nullopt;
    }
    return place(word);
}

bool WordGlyphs::worthLearning(const QString& word) const {
    if (!placeable(word)) {
        return false;
    }
    bool unknown = false;
    char16_t previous = 0;
    for (qsizetype i = 0; i <= word.size(); ++i) {
        const char16_t c = i < word.size() ? word[i].unicode() : 0;
        const std::uint32_t p = pair(previous, c);
        if (unlike_.count(p) != 0) {
            return false;
        }
        unknown = unknown || alike_.count(p) == 0;
        previous = c;
    }
    return unknown;
}

void WordGlyphs::learn(const QString& word, const QTextLayout& layout) {
    if (!placeable(word) || layout.lineCount() != 1) {
        return;
    }
    const std::optional<Line> ours = place(word);
    if (!ours) {
        return;
    }
    // Where the text layout's glyphs first differ from these: a ligature
    // shows as another glyph there, kerning otherwise as another position.
    const QList<QGlyphRun> runs = layout.glyphRuns();
    const qsizetype count = word.size();
    qsizetype differs = count;
    if (runs.size() != 1 || runs[0].rawFont().familyName() != raw_.familyName() ||
        !near(runs[0].rawFont().pixelSize(), raw_.pixelSize())) {
        differs = 0;
    } else {
        const QList<quint32> theirGlyphs = runs[0].glyphIndexes();
        const QList<QPointF> theirs = runs[0].positions();
        const QList<QPointF> mine = ours->glyphs.positions();
        const qreal baseline = layout.lineAt(0).ascent();
        for (qsizetype i = 0; i < count; ++i) {
            if (i >= theirGlyphs.size() || theirGlyphs[i] != ours->glyphs.glyphIndexes()[i] ||
                !near(theirs[i].x(), mine[i].x()) || !near(theirs[i].y(), baseline)) {
                differs = i;
                break;
            }
        }
        if (differs == count && theirGlyphs.size() != count) {
            differs = count - 1;
        }
    }
    // Pairs before the difference came out alike, the two on either side of
    // the character where it shows did not, the rest is not known. Pair i
    // is of characters i - 1 and i; the start and end are the character 0.
    const auto at = [&](qsizetype i) {
        return i < 0 || i >= count ? char16_t{0} : word[i].unicode();
    };
    for (qsizetype i = 0; i <= count; ++i) {
        const std::uint32_t p = pair(at(i - 1), at(i));
        if (i < differs || differs == count) {
            if (unlike_.count(p) == 0) {
                alike_.insert(p);
            }
        } else if (i <= differs + 1) {
            unlike_.insert(p);
            alike_.erase(p);
        }
    }
}

} // namespace tavelin
