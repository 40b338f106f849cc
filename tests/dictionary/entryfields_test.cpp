// SPDX-License-Identifier: GPL-3.0-or-later
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
        {"12", 12, nullptr}, {" 7 ", 7, nullptr}, {"", 0, &kNothingChosen},
        {"   ", 0, &kNothingChosen}, {"1a", 0, &kIdNotNumber}, {"1.5", 0, &kIdNotNumber},
    };
    for (const auto &c : cases) {
        QString message;
        const auto id = EntryId(QString::fromUtf8(c.text), &message);
        EXPECT_EQ(id.has_value(), c.message == nullptr) << c.text;
        EXPECT_EQ(id.value_or(0), c.id) << c.text;
        EXPECT_EQ(message, c.message ? *c.message : QString()) << c.text;
    }
}

TEST(EntryFields, OneCharacterAndAWholeNumberGroup)
{
    QString message;
    const auto fields = EntryToWrite({"9", " 东 ", "0 ", " dong", " 12 "}, &message);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->hanzi, QStringLiteral("东"));
    EXPECT_EQ(fields->tone, QStringLiteral("0"));
    EXPECT_EQ(fields->pinyin, QStringLiteral("dong"));
    EXPECT_EQ(fields->group, 12);

    const struct {
        const char *hanzi, *group;
        const QString *message;   // nullptr: accepted
    } cases[] = {
        {"𠀀", "3", nullptr},   // beyond the BMP: one character
        {"", "3", &kOneCharacter}, {"东西", "3", &kOneCharacter}, {"东", "", &kGroupNotNumber},
        {"东", "十二", &kGroupNotNumber}, {"东", "1x", &kGroupNotNumber}, {"东", "2.0", &kGroupNotNumber},
    };
    for (const auto &c : cases) {
        message.clear();
        const auto f = EntryToWrite({"", QString::fromUtf8(c.hanzi), "0", "", QString::fromUtf8(c.group)}, &message);
        EXPECT_EQ(f.has_value(), c.message == nullptr) << c.hanzi << c.group;
        EXPECT_EQ(message, c.message ? *c.message : QString()) << c.hanzi << c.group;
    }
}

TEST(EntryFields, TheCharacterBoxMustNotContradictTheChosenEntry)
{
    const struct {
        const char *text6, *text2, *stored;
        bool agrees;
    } cases[] = {
        {"", "东", "东", true},      // nothing searched: the entry's boxes decide
        {" 东 ", "东", "东", true},
        {"东", "冬", "东", true},    // renamed in the entry's own box
        {"冬", "冬", "东", true},    // renamed in both boxes
        {"木", "东", "东", false},   // left from another search
        {"木", "冬", "东", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CharacterBoxAgrees(QString::fromUtf8(c.text6), QString::fromUtf8(c.text2), QString::fromUtf8(c.stored)),
                  c.agrees)
            << c.text6 << c.text2 << c.stored;
}

}  // namespace
}  // namespace versilo
