#include "app/modMain.h"
#include "data/data.h"
#include "platform/InstanceLock.h"
#include "platform/Notice.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>

using namespace tavelin;
using tavelin::test::TempDir;

namespace {

struct Warning {
    QString title;
    QString text;
};

class Startup : public testing::Test {
protected:
    void SetUp() override {
        setWarningHandler([this](const QString& title, const QString& text) {
            warnings.push_back({title, text});
        });
    }
    void TearDown() override {
        setWarningHandler({});
        db = Database();
        db1 = Database();
    }
    std::vector<Warning> warnings;
    TempDir dir;
};

} // namespace

TEST_F(Startup, SecondCopyIsRefusedWithItsMessage) {
    InstanceLock first;
    ASSERT_TRUE(refuseSecondCopy(first));
    EXPECT_TRUE(warnings.empty());
    InstanceLock second;
    EXPECT_FALSE(refuseSecondCopy(second));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].title, "Tavelin");
    EXPECT_EQ(warnings[0].text, "Tavelin Already Running!");
}

TEST_F(Startup, LockGoesWithItsHolder) {
    {
        InstanceLock first;
        ASSERT_TRUE(first.acquire());
    }
    InstanceLock next;
    EXPECT_TRUE(next.acquire());
}

TEST_F(Startup, OpensBothDictionaries) {
    Database::create(dir.file("EA.tvl"), kEnglishArmenian).append("cat", "\xAF");
    Database::create(dir.file("RA.tvl"), kRussianArmenian);
    ASSERT_TRUE(openDictionaries(QString::fromStdString(dir.path().string())));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(GetArmenian("cat"), "\xAF");
    EXPECT_TRUE(db1.isOpen());
}

TEST_F(Startup, MissingEnglishDictionaryStopsBeforeTheRussianOne) {
    Database::create(dir.file("RA.tvl"), kRussianArmenian);
    EXPECT_FALSE(openDictionaries(QString::fromStdString(dir.path().string())));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].title, "Tavelin");
    EXPECT_TRUE(warnings[0].text.startsWith("The dictionary EA.tvl cannot be opened."));
    EXPECT_TRUE(warnings[0].text.contains("Error 14: unable to open database file"));
    EXPECT_FALSE(db1.isOpen());
    EXPECT_FALSE(std::filesystem::exists(dir.file("EA.tvl")));
}

TEST_F(Startup, BrokenRussianDictionaryIsReportedByName) {
    Database::create(dir.file("EA.tvl"), kEnglishArmenian);
    test::writeFile(dir.file("RA.tvl"), "дом\tտուն\n");
    EXPECT_FALSE(openDictionaries(QString::fromStdString(dir.path().string())));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].text.startsWith("The dictionary RA.tvl cannot be opened."));
    EXPECT_TRUE(warnings[0].text.contains("Error 26: file is not a database"));
    EXPECT_EQ(test::readFile(dir.file("RA.tvl")), "дом\tտուն\n");
}
