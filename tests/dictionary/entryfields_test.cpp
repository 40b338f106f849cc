// What the rhyme dictionary maintenance window accepts from its boxes.
#include "entryfields.h"

#include <gtest/gtest.h>

namespace versilo {
namespace {

TEST(EntryFields, IdMustBeAWholeNumber)
{
    const struct {
        const char *text;
        qint64 id;              // when accepted
        const QString *message; // when refused
    } cases[] = {
        {"12", 12, nullptr}, {" 7 ", 7, nullptr}, {"", 0, &kNoEntryChosen},
        {"   ", 0, &kNoEntryChosen}, {"1a", 0, &kIdNotNumber}, {"1.5", 0, &kIdNotNumber},
    };
    for (const auto &c : cases) {
        QString message;
        const auto id = EntryId(QString::fromUtf8(c.text), &message);
        EXPECT_EQ(id.has_value(), c.message == nullptr) << c.text;
        if (id)
            EXPECT_EQ(*id, c.id) << c.text;
        else
            EXPECT_EQ(message, *c.message) << c.text;
    }
}

TEST(EntryFields, TextsAreTrimmedAndTheGroupIsAWholeNumber)
{
    QString message;
    const auto fields = EntryToWrite({"9", " 东 ", "0 ", " dong", " 12 "}, &message);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->hanzi, QStringLiteral("东"));
    EXPECT_EQ(fields->tone, QStringLiteral("0"));
    EXPECT_EQ(fields->pinyin, QStringLiteral("dong"));
    EXPECT_EQ(fields->group, 12);

    for (const char *group : {"", "十二", "1x", "2.0"}) {
        message.clear();
        EXPECT_FALSE(EntryToWrite({"", "东", "0", "dong", QString::fromUtf8(group)}, &message)) << group;
        EXPECT_EQ(message, kGroupNotNumber) << group;
    }
}

}  // namespace
}  // namespace versilo
