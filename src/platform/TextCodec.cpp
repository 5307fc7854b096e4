#include "TextCodec.h"

namespace tavelin {

QString toDisplay(Side side, std::string_view codes) {
    const CharacterSet& set = CharacterSet::of(side);
    QString text(static_cast<qsizetype>(codes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : codes) {
        // Every code of the three sets lies in the basic multilingual plane.
        *out++ = QChar(static_cast<char16_t>(set.toUnicode(static_cast<unsigned char>(c))));
    }
    return text;
}

QString toShown(Side side, std::string_view codes) {
    const bool cut = codes.size() > kShownCodes;
    QString text = toDisplay(side, codes.substr(0, kShownCodes));
    for (QChar& ch : text) {
        if (ch.unicode() < 32) {
            ch = QChar(static_cast<char16_t>(0x2400 + ch.unicode()));
        } else if (ch.unicode() == 127) {
            ch = QChar(static_cast<char16_t>(0x2421));
        }
    }
    if (cut) {
        text += QChar(0x2026);
    }
    return text;
}

std::optional<std::string> fromDisplay(Side side, const QString& text) {
    const CharacterSet& set = CharacterSet::of(side);
    std::string codes;
    codes.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        if (ch.isSurrogate()) {
            return std::nullopt;
        }
        const auto code = set.fromUnicode(ch.unicode());
        if (!code) {
            return std::nullopt;
        }
        codes += static_cast<char>(*code);
    }
    return codes;
}

} // namespace tavelin
