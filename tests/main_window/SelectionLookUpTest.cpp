// Looking up the text selected in another program, without a display: what
// a selection gives to look up and which box takes it, and the names of the
// key that does it.
#include "main_window/SelectedText.h"
#include "platform/WindowProc.h"
#include "services/HelpWindow.h"
#include "services/HotKey.h"
#include "services/KeyCombination.h"

#include <gtest/gtest.h>

using namespace tavelin;
using Script = SelectedText::Script;

namespace {

SelectedText fromUtf8(const char* selection) {
    return selectedText(QString::fromUtf8(selection));
}

} // namespace

TEST(SelectedTextTest, TheFirstLineThatHoldsAWordTrimmedAsOneWouldTypeIt) {
    const SelectedText text = fromUtf8("\n \t\r\n  \"Water\u00a0\u00a0 bottle,\"  \nsecond line");
    EXPECT_EQ(text.phrase, QString("Water bottle"));
    EXPECT_EQ(text.word, QString("Water"));
    EXPECT_EQ(text.script, Script::Latin);

    // Punctuation inside stays; at the ends it goes, after the first word too.
    EXPECT_EQ(fromUtf8("o'clock.").phrase, QString("o'clock"));
    EXPECT_EQ(fromUtf8("(well-known), they said").word, QString("well-known"));
    // A line of punctuation alone is passed over for the next.
    EXPECT_EQ(fromUtf8("* * *\r\u00abЕреван\u00bb.").phrase, QString::fromUtf8("Ереван"));
    // Invisible characters go; a decomposed letter is composed.
    EXPECT_EQ(fromUtf8("wa\u00adter\u200b").phrase, QString("water"));
    EXPECT_EQ(fromUtf8("\u0438\u0306\u043e\u0434").phrase, QString::fromUtf8("йод"));

    for (const char* nothing : {"", " \n\t \r\n", "\u2014 \u2026 !"}) {
        const SelectedText empty = fromUtf8(nothing);
        EXPECT_TRUE(empty.phrase.isEmpty() && empty.word.isEmpty()) << nothing;
        EXPECT_EQ(empty.script, Script::None) << nothing;
    }
}

TEST(SelectedTextTest, AtMostAHundredCharactersNeverHalfOfOne) {
    const QString book = QString("word ").repeated(100000);
    const SelectedText text = selectedText(book);
    EXPECT_EQ(text.phrase.size(), 99); // 100 characters cut, the blank at the end trimmed
    EXPECT_EQ(text.word, QString("word"));

    // A character outside the first 65536 takes two halves and counts as one.
    const QString wide = QString("a") + QString::fromUcs4(U"\U0001D400").repeated(120);
    const QString phrase = selectedText(wide).phrase;
    EXPECT_EQ(phrase.size(), 1 + 2 * 99);
    EXPECT_TRUE(phrase.back().isLowSurrogate());
}

TEST(SelectedTextTest, TheFirstLetterSaysTheScript) {
    EXPECT_EQ(fromUtf8("1984 Orwell").script, Script::Latin);
    EXPECT_EQ(fromUtf8("«дом» house").script, Script::Cyrillic);
    EXPECT_EQ(fromUtf8("ջուր water").script, Script::Armenian);
    EXPECT_EQ(fromUtf8("\u0535\u0580\u0587\u0561\u0576\u0589").phrase,
              QString::fromUtf8("Երևան")); // the Armenian full stop goes
    EXPECT_EQ(fromUtf8("λόγος word").script, Script::None);
    EXPECT_EQ(fromUtf8("12 345").script, Script::None);
}

TEST(KeyCombinationTest, NamesAsPeopleWriteThem) {
    using hotkey::KeyText;
    const auto key = [](const char* text) {
        const KeyText parsed = hotkey::parseKeyCombination(QString::fromUtf8(text));
        EXPECT_EQ(parsed.kind, KeyText::Kind::Key) << text << ": " << parsed.why.toStdString();
        return hotkey::keyName(parsed.key);
    };
    EXPECT_EQ(key("Ctrl+F9"), QString("Ctrl+F9"));
    EXPECT_EQ(key(" shift + control +alt+ f24 "), QString("Ctrl+Alt+Shift+F24"));
    EXPECT_EQ(key("Super+Ctrl+l"), QString("Ctrl+Win+L"));
    EXPECT_EQ(key("Alt+7"), QString("Alt+7"));
    EXPECT_EQ(key("F12"), QString("F12"));
    const KeyText f9 = hotkey::parseKeyCombination(u"Ctrl+F9");
    EXPECT_EQ(f9.key.modifiers, winproc::kModControl);
    EXPECT_EQ(f9.key.virtualKey, 120u);

    EXPECT_EQ(hotkey::parseKeyCombination(u" none ").kind, KeyText::Kind::None);
    for (const char* bad : {"", "Ctrl+", "Ctrl++F9", "Ctrl", "Ctrl+Alt", "Ctrl+F9+F10", "Ctrl+F25",
                            "Ctrl+F0", "Ctrl+F09", "Ctrl+Foo", "Ctrl+Ф", "Ctrl+ ", "L", "Shift+L",
                            "Hyper+F9", "Ctrl+F9x", "\xff\xfe"}) {
        const KeyText parsed = hotkey::parseKeyCombination(QString::fromUtf8(bad));
        EXPECT_EQ(parsed.kind, KeyText::Kind::Bad) << bad;
        EXPECT_FALSE(parsed.why.isEmpty()) << bad;
    }
}

TEST(KeyCombinationTest, TheLookUpKeyFollowsItsSwitchAndRefusesTheDictionarysOwnKeys) {
    using State = hotkey::LookUpKey::State;
    // No window is installed here: a good key waits for one.
    EXPECT_EQ(hotkey::setLookUpKey(true, "ctrl+f9").state, State::NoGlobalKeys);
    EXPECT_EQ(hotkey::lookUpKey().key, QString("Ctrl+F9"));
    EXPECT_EQ(hotkey::setLookUpKey(false, "Ctrl+F9").state, State::Off);
    EXPECT_EQ(hotkey::setLookUpKey(true, "None").state, State::NoKey);
    const hotkey::LookUpKey own = hotkey::setLookUpKey(true, "Ctrl+F8");
    EXPECT_EQ(own.state, State::Bad);
    EXPECT_TRUE(own.why.contains("own key"));

    // The help window says what is wrong, naming the key and the setting.
    hotkey::LookUpKey held;
    held.state = State::Held;
    held.key = "Ctrl+Alt+L";
    EXPECT_TRUE(lookUpKeyNote(held).contains("<b>Ctrl+Alt+L is held by another program</b>"));
    EXPECT_TRUE(lookUpKeyNote(held).contains("SelectionKey"));
    hotkey::LookUpKey bad = hotkey::setLookUpKey(true, "Ctrl+<b>");
    EXPECT_TRUE(lookUpKeyNote(bad).contains("Ctrl+&lt;b&gt;"));
    held.state = State::Registered;
    EXPECT_TRUE(lookUpKeyNote(held).contains("<b>Ctrl+Alt+L</b>"));
    held.key = "Ctrl+F9";
    EXPECT_TRUE(lookUpKeyNote(held).isEmpty());
    hotkey::setLookUpKey(false, QString());
}
