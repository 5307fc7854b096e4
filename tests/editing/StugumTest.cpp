// The key filter on its own: classes, exceptions, pass-through codes, beeps.
#include "editing/Stugum.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace tavelin;

namespace {

struct Filter : testing::Test {
    int beeps = 0;

    void SetUp() override {
        Stugum::setBeep([this] { ++beeps; });
        Stugum::ExceptionCount = 0;
        Stugum::ExceptionChars.fill(0);
    }
    void TearDown() override { Stugum::setBeep({}); }

    void exceptions(std::initializer_list<int> codes) {
        int slot = 1;
        for (int code : codes) {
            Stugum::ExceptionChars[slot++] = static_cast<std::int16_t>(code);
        }
        Stugum::ExceptionCount = static_cast<std::int16_t>(codes.size());
    }

    // The code CheckKey gives back for a typed code.
    int check(int code, bool armenian, bool capitals, bool smalls, bool digits, bool others,
              bool useExceptions = true, bool beep = true) {
        Stugum::CurrentKey = static_cast<std::int16_t>(code);
        Stugum::CheckKey(armenian, capitals, smalls, digits, others, useExceptions, beep);
        return Stugum::CurrentKey;
    }
    int latin(int code) { return check(code, false, true, true, false, false); }
    int armenian(int code) { return check(code, true, false, false, false, false); }
};

TEST_F(Filter, LatinFieldWithPunctuationExceptions) {
    exceptions({',', '.', '\'', '(', ')', '-'});
    for (int code :
         std::initializer_list<int>{'a', 'Z', '\'', '-', ',', '.', '(', ')', ' ', 8, 9, 10, 13}) {
        EXPECT_EQ(latin(code), code) << code;
    }
    EXPECT_EQ(beeps, 0);
    for (int code : std::initializer_list<int>{'5', '!', '"', '@', 168, 200, 0x7f}) {
        EXPECT_EQ(latin(code), 0) << code;
    }
    EXPECT_EQ(beeps, 7);
}

TEST_F(Filter, ListedCodeOfAnAllowedClassIsRefused) {
    exceptions({'7'});
    EXPECT_EQ(check('7', false, false, false, true, false), 0);
    EXPECT_EQ(check('6', false, false, false, true, false), '6');
    EXPECT_EQ(beeps, 1);
    // Without argument 6 the table is ignored; without argument 7 nothing sounds.
    EXPECT_EQ(check('7', false, false, false, true, false, false), '7');
    EXPECT_EQ(check('!', false, false, false, true, false, true, false), 0);
    EXPECT_EQ(beeps, 1);
}

TEST_F(Filter, ArmenianBlockBounds) {
    exceptions({',', '.', '\'', '(', ')', '-', 168});
    EXPECT_EQ(armenian(178), 178);
    EXPECT_EQ(armenian(253), 253);
    EXPECT_EQ(armenian(168), 168); // the ligature "ev" as typed, by exception
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(armenian(177), 0);
    EXPECT_EQ(armenian(254), 0);
    EXPECT_EQ(armenian('a'), 0);
    EXPECT_EQ(beeps, 3);
    // 177 and 254 are the other class: accepted where it is.
    EXPECT_EQ(check(177, false, false, false, false, true), 177);
    EXPECT_EQ(check(254, false, false, false, false, true), 254);
}

TEST_F(Filter, PassThroughCodesOnlyWhereOtherIsRefused) {
    for (int code : {8, 9, 10, 13, 32}) {
        EXPECT_EQ(check(code, false, false, false, false, false), code);
    }
    for (int code : {0, 1, 11, 12, 27, 31, 33}) {
        EXPECT_EQ(check(code, false, false, false, false, false), 0) << code;
        EXPECT_EQ(check(code, false, false, false, false, true), code) << code;
    }
}

TEST_F(Filter, RefusedExceptionGoesOnComparingWithZero) {
    // '5' is refused as an exception of an allowed class; the later slot
    // holding 0 then matches, and 0 (other, refused) is "accepted" at once:
    // no class test and no beep.
    exceptions({'5', 0});
    EXPECT_EQ(check('5', false, false, false, true, false), 0);
    EXPECT_EQ(beeps, 0);
    // Without the 0 slot the refusal beeps.
    exceptions({'5'});
    EXPECT_EQ(check('5', false, false, false, true, false), 0);
    EXPECT_EQ(beeps, 1);
}

TEST_F(Filter, OnlySlotsUpToTheCountTakePartAndNoMoreThan99) {
    Stugum::ExceptionChars[1] = '!';
    Stugum::ExceptionChars[2] = '@';
    Stugum::ExceptionCount = 1;
    EXPECT_EQ(latin('!'), '!');
    EXPECT_EQ(latin('@'), 0);
    Stugum::ExceptionChars[99] = '@';
    Stugum::ExceptionCount = 500;
    EXPECT_EQ(latin('@'), '@');
    Stugum::ExceptionCount = -3;
    EXPECT_EQ(latin('!'), 0);
}

} // namespace
