// The About box's texts and its scroll arithmetic.
#include "services/frmAbout.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using tavelin::frmAbout;

TEST(AboutTextTest, MailTextPrefixesOnceAndJoinsSubjectAndBody) {
    EXPECT_EQ(frmAbout::mailText("a@example.org", "Ask", "Please type your text here!"),
              QString("mailto:a@example.org?subject=Ask&body=Please type your text here!"));
    // An existing prefix, in any case, is kept as it is.
    EXPECT_EQ(frmAbout::mailText("MAILTO:a@example.org", "", ""), QString("MAILTO:a@example.org"));
    EXPECT_EQ(frmAbout::mailText("MailTo:a@example.org", "Hi", ""),
              QString("MailTo:a@example.org?subject=Hi"));
    // A body without a subject follows "?"; nothing is escaped.
    EXPECT_EQ(frmAbout::mailText("a@example.org", "", "x&y z"),
              QString("mailto:a@example.org?body=x&y z"));
    // Shorter than the prefix, or the prefix elsewhere: prefixed.
    EXPECT_EQ(frmAbout::mailText("mail", "", ""), QString("mailto:mail"));
    EXPECT_EQ(frmAbout::mailText(" mailto:x", "", ""), QString("mailto: mailto:x"));
}

TEST(AboutTextTest, CreditsAreTheirLinesJoinedByCrLf) {
    const QStringList lines = frmAbout::creditsText().split("\r\n");
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QString(21, ' ') + frmAbout::kAuthor);
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], frmAbout::kBiography);
    EXPECT_EQ(lines[3], QString());
    EXPECT_EQ(lines[4], QString("Best  regards"));
    EXPECT_EQ(lines[5], frmAbout::kAuthor);
    EXPECT_EQ(lines[6], frmAbout::kCreditsWeb);
    EXPECT_FALSE(frmAbout::creditsText().contains(QRegularExpression("[^\r]\n")));
}

TEST(AboutTextTest, CreditsRiseBy25UntilTheirBottomPasses720ThenComeUpFromTheBottom) {
    EXPECT_EQ(frmAbout::nextTextTop(120), 95);
    // Bottom exactly 720 still rises; below it the text starts over at 1883.
    EXPECT_EQ(frmAbout::nextTextTop(720 - 3855), 720 - 3855 - 25);
    EXPECT_EQ(frmAbout::nextTextTop(720 - 3855 - 1), 1883);
    EXPECT_EQ(frmAbout::nextTextTop(1883), 1858);

    // A whole round from the start: 131 ticks up, then one back to 1883.
    int top = 120;
    int ticks = 0;
    while (top != 1883) {
        top = frmAbout::nextTextTop(top);
        ++ticks;
    }
    EXPECT_EQ(ticks, 132);
}
