// SPDX-License-Identifier: GPL-3.0-or-later
#include "initials.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

#include <iconv.h>

using versilo::GbkValue;
using versilo::PinyinInitials;

namespace {

// GBK bytes of one code unit straight from the converter, independent of the
// library's own table.
QByteArray Gbk(QChar c)
{
    iconv_t cd = iconv_open("CP936", "UTF-16LE");
    char16_t u = c.unicode();
    char in[2] = {char(u & 0xFF), char(u >> 8)};
    char out[8];
    char *ip = in, *op = out;
    size_t il = 2, ol = sizeof out;
    const bool ok = iconv(cd, &ip, &il, &op, &ol) != size_t(-1);
    iconv_close(cd);
    return ok ? QByteArray(out, int(sizeof out - ol)) : QByteArray();
}

// The character whose GBK code is `code` (two bytes).
QChar FromGbk(int code)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    char in[2] = {char(code >> 8), char(code & 0xFF)};
    char16_t outc = 0;
    char *ip = in, *op = reinterpret_cast<char *>(&outc);
    size_t il = 2, ol = 2;
    const bool ok = iconv(cd, &ip, &il, &op, &ol) != size_t(-1);
    iconv_close(cd);
    return ok ? QChar(outc) : QChar();
}

struct Row {
    const char16_t *ch;
    int code;
    int v;
    char letter;
};

const Row kRows[] = {
    {u"啊", 0xB0A1, -20319, 'A'}, {u"芭", 0xB0C5, -20283, 'B'}, {u"擦", 0xB2C1, -19775, 'C'},
    {u"搭", 0xB4EE, -19218, 'D'}, {u"蛾", 0xB6EA, -18710, 'E'}, {u"发", 0xB7A2, -18526, 'F'},
    {u"噶", 0xB8C1, -18239, 'G'}, {u"哈", 0xB9FE, -17922, 'H'}, {u"击", 0xBBF7, -17417, 'J'},
    {u"喀", 0xBFA6, -16474, 'K'}, {u"垃", 0xC0AC, -16212, 'L'}, {u"妈", 0xC2E8, -15640, 'M'},
    {u"拿", 0xC4C3, -15165, 'N'}, {u"哦", 0xC5B6, -14922, 'O'}, {u"啪", 0xC5BE, -14914, 'P'},
    {u"期", 0xC6DA, -14630, 'Q'}, {u"然", 0xC8BB, -14149, 'R'}, {u"撒", 0xC8F6, -14090, 'S'},
    {u"塌", 0xCBFA, -13318, 'T'}, {u"挖", 0xCDDA, -12838, 'W'}, {u"昔", 0xCEF4, -12556, 'X'},
    {u"压", 0xD1B9, -11847, 'Y'}, {u"匝", 0xD4D1, -11055, 'Z'}, {u"座", 0xD7F9, -10247, 0},
};

const std::pair<char, const char16_t *> kExceptions[] = {
    {'b', u"萆蒡荸杷庳槟荜孢苄吡"}, {'c', u"剌蟾蜍苁菖豉茺"}, {'d', u"疔玳甙煅黛蔸酊啶"},
    {'e', u"莪"}, {'f', u"茯菔榧馥呋"}, {'g', u"枸蚣栝藁胍"}, {'h', u"荟蒿琥斛藿"},
    {'j', u"蒺鸠瞿橘戟蚧绛蠲"}, {'k', u"蔻诃"}, {'l', u"苓楝藜苈麟榈螂蒌蛎麋蔹"},
    {'m', u"瑁硭礞蝥虻"}, {'n', u"萘喃"}, {'p', u"珀螵荠枇"}, {'q', u"杞芩芡茜麒蜣芪羟蚯"},
    {'r', u"蕤薷"}, {'s', u"麝椹"}, {'t', u"葶菟"}, {'w', u"蜈葳肟痿"}, {'x', u"芎蛸薤藓硇荨"},
    {'y', u"薏苡萸菀荑蓣饴罂芫橼癔蚓"}, {'z', u"栀蛭唑芷"},
};

QString S(const char16_t *s) { return QString::fromUtf16(s); }

}  // namespace

TEST(PinyinInitials, KnownTitlesAndEdges)
{
    EXPECT_EQ(PinyinInitials(S(u"白香词谱")), "BXCP");
    EXPECT_EQ(PinyinInitials(S(u"中华新韵")), "ZHXY");
    EXPECT_EQ(PinyinInitials(S(u"静夜思")), "JYS");
    EXPECT_EQ(PinyinInitials(S(u"枸杞")), "gq");
    EXPECT_EQ(PinyinInitials(S(u"座")), "");
    EXPECT_EQ(PinyinInitials(S(u"坐")), "Z");
    EXPECT_EQ(PinyinInitials(S(u"，")), "*");
    EXPECT_EQ(PinyinInitials(QString()), "");
    EXPECT_EQ(PinyinInitials("a1 Z["), "aZ[");
    EXPECT_EQ(PinyinInitials("{}@`"), "{");
    EXPECT_EQ(PinyinInitials(S(u"啊芭")), "AB");
}

TEST(PinyinInitials, CodeValues)
{
    EXPECT_EQ(GbkValue(QChar(u'A')), 65);
    EXPECT_EQ(GbkValue(QChar(u'\0')), 0);
    EXPECT_EQ(GbkValue(QChar(u'€')), 128);
    EXPECT_EQ(GbkValue(QChar(u'啊')), -20319);
    // Characters GBK has no code for, and lone surrogate halves, count as "?".
    EXPECT_EQ(GbkValue(QChar(u'\uAC00')), 63);  // Hangul syllable
    EXPECT_EQ(GbkValue(QChar(u'\xD83D')), 63);
    EXPECT_EQ(GbkValue(QChar(u'\xDE00')), 63);
    // An emoji is two surrogate halves: neither yields a letter.
    EXPECT_EQ(PinyinInitials(QString::fromUtf8("\xF0\x9F\x98\x80")), "");
    EXPECT_EQ(PinyinInitials(S(u"한")), "");
    // The euro sign is a one-byte character above every letter.
    EXPECT_EQ(PinyinInitials(S(u"€")), "");
}

TEST(PinyinInitials, BoundaryRows)
{
    for (size_t k = 0; k < std::size(kRows); ++k) {
        const Row &r = kRows[k];
        const QChar c(r.ch[0]);
        SCOPED_TRACE(QString(c).toStdString());
        const QByteArray bytes = Gbk(c);
        ASSERT_EQ(bytes.size(), 2);
        EXPECT_EQ((uchar(bytes[0]) << 8) | uchar(bytes[1]), r.code);
        EXPECT_EQ(GbkValue(c), r.v);
        EXPECT_EQ(PinyinInitials(c), r.letter ? QString(QChar(r.letter)) : QString());
        // The character just before a boundary belongs to the previous row
        // (before 啊: full-width symbols and extension characters, "*").
        const QChar before = FromGbk(r.code - 1 == 0xB0A0 ? 0xB0A0 : r.code - 1);
        ASSERT_FALSE(before.isNull());
        const QString expected = k == 0 ? QString("*") : QString(QChar(kRows[k - 1].letter));
        EXPECT_EQ(PinyinInitials(before), expected) << std::hex << r.code - 1;
    }
}

TEST(PinyinInitials, ExceptionList)
{
    int count = 0;
    for (const auto &[letter, chars] : kExceptions) {
        for (const char16_t *p = chars; *p; ++p, ++count) {
            const QChar c(*p);
            SCOPED_TRACE(QString(c).toStdString());
            // Second level: after 座, outside every row.
            EXPECT_GT(GbkValue(c), -10247);
            EXPECT_LT(GbkValue(c), 0);
            EXPECT_EQ(PinyinInitials(c), QString(QChar(letter)));
        }
    }
    EXPECT_EQ(count, 114);
    // A second-level character not in the list is dropped.
    EXPECT_EQ(PinyinInitials(S(u"亍")), "");
}

TEST(PinyinInitials, FirstLevelSweep)
{
    // Every first-level GB 2312 character gets the letter of the row its
    // code falls in; 座 (the last one) gets none.
    int checked = 0;
    for (int hi = 0xB0; hi <= 0xD7; ++hi) {
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            const int code = hi * 256 + lo;
            if (code > 0xD7F9)
                break;
            const QChar c = FromGbk(code);
            ASSERT_FALSE(c.isNull()) << std::hex << code;
            const int v = code - 65536;
            ASSERT_EQ(GbkValue(c), v);
            QString expected;
            for (size_t k = 0; k + 1 < std::size(kRows); ++k) {
                if (v >= kRows[k].v && v < kRows[k + 1].v)
                    expected = QString(QChar(kRows[k].letter));
            }
            ASSERT_EQ(PinyinInitials(c), expected) << std::hex << code;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 3755);
}
