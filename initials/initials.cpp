// SPDX-License-Identifier: GPL-3.0-or-later
#include "initials.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <memory>
#include <vector>

namespace versilo {

namespace {

// The first-level GB 2312 characters are ordered by pinyin. Row k runs from
// the code of boundary k up to, not including, the code of boundary k + 1;
// the last boundary (座) only closes the last row.
struct Boundary {
    char16_t ch;
    int v;
    char letter;
};

constexpr std::array<Boundary, 24> kBoundaries{{
    {u'啊', -20319, 'A'}, {u'芭', -20283, 'B'}, {u'擦', -19775, 'C'},
    {u'搭', -19218, 'D'}, {u'蛾', -18710, 'E'}, {u'发', -18526, 'F'},
    {u'噶', -18239, 'G'}, {u'哈', -17922, 'H'}, {u'击', -17417, 'J'},
    {u'喀', -16474, 'K'}, {u'垃', -16212, 'L'}, {u'妈', -15640, 'M'},
    {u'拿', -15165, 'N'}, {u'哦', -14922, 'O'}, {u'啪', -14914, 'P'},
    {u'期', -14630, 'Q'}, {u'然', -14149, 'R'}, {u'撒', -14090, 'S'},
    {u'塌', -13318, 'T'}, {u'挖', -12838, 'W'}, {u'昔', -12556, 'X'},
    {u'压', -11847, 'Y'}, {u'匝', -11055, 'Z'}, {u'座', -10247, 0},
}};

// Second-level characters, mostly from names of herbal drugs and chemical
// compounds, with the lower-case initial each gets.
struct Exception {
    char letter;
    const char16_t *chars;
};

constexpr std::array<Exception, 21> kExceptions{{
    {'b', u"萆蒡荸杷庳槟荜孢苄吡"},
    {'c', u"剌蟾蜍苁菖豉茺"},
    {'d', u"疔玳甙煅黛蔸酊啶"},
    {'e', u"莪"},
    {'f', u"茯菔榧馥呋"},
    {'g', u"枸蚣栝藁胍"},
    {'h', u"荟蒿琥斛藿"},
    {'j', u"蒺鸠瞿橘戟蚧绛蠲"},
    {'k', u"蔻诃"},
    {'l', u"苓楝藜苈麟榈螂蒌蛎麋蔹"},
    {'m', u"瑁硭礞蝥虻"},
    {'n', u"萘喃"},
    {'p', u"珀螵荠枇"},
    {'q', u"杞芩芡茜麒蜣芪羟蚯"},
    {'r', u"蕤薷"},
    {'s', u"麝椹"},
    {'t', u"葶菟"},
    {'w', u"蜈葳肟痿"},
    {'x', u"芎蛸薤藓硇荨"},
    {'y', u"薏苡萸菀荑蓣饴罂芫橼癔蚓"},
    {'z', u"栀蛭唑芷"},
}};

// v(c) for every UTF-16 code unit, and the letter each one contributes
// (0 for none), both computed once through the platform's GBK converter.
struct Tables {
    std::array<int16_t, 65536> value{};
    std::array<char16_t, 65536> letter{};
};

int ConvertOne(iconv_t cd, char16_t unit)
{
    // Surrogate halves cannot be encoded on their own.
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return 63;
    char in[2] = {char(unit & 0xFF), char(unit >> 8)};  // UTF-16LE
    char out[8];
    char *inp = in;
    char *outp = out;
    size_t inLeft = 2;
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1))
        return 63;
    const size_t n = sizeof out - outLeft;
    const auto *b = reinterpret_cast<const unsigned char *>(out);
    if (n == 1)
        return b[0];
    if (n == 2)
        return b[0] * 256 + b[1] - 65536;
    return 63;
}

char16_t Classify(int v, int16_t exceptionLetter)
{
    if (v < kBoundaries[0].v)
        return u'*';
    for (size_t k = 0; k + 1 < kBoundaries.size(); ++k) {
        if (v >= kBoundaries[k].v && v < kBoundaries[k + 1].v)
            return char16_t(kBoundaries[k].letter);
    }
    if (exceptionLetter != 0 && v < 0)
        return char16_t(exceptionLetter);
    if ((v >= 65 && v <= 91) || (v >= 97 && v <= 123))
        return char16_t(v);
    return 0;
}

std::unique_ptr<Tables> BuildTables()
{
    auto t = std::make_unique<Tables>();
    iconv_t cd = iconv_open("CP936", "UTF-16LE");
    if (cd == iconv_t(-1)) {
        t->value.fill(63);
    } else {
        for (int u = 0; u < 65536; ++u)
            t->value[u] = int16_t(ConvertOne(cd, char16_t(u)));
        iconv_close(cd);
    }
    // Exceptions match by equal code; collect them per code first.
    std::vector<int16_t> exceptionByCode(65536, 0);  // indexed by v + 32768
    for (const Exception &e : kExceptions) {
        for (const char16_t *p = e.chars; *p; ++p)
            exceptionByCode[t->value[*p] + 32768] = e.letter;
    }
    for (int u = 0; u < 65536; ++u) {
        const int v = t->value[u];
        t->letter[u] = Classify(v, exceptionByCode[v + 32768]);
    }
    return t;
}

const Tables &GetTables()
{
    static const std::unique_ptr<Tables> tables = BuildTables();
    return *tables;
}

}  // namespace

int GbkValue(QChar c)
{
    return GetTables().value[c.unicode()];
}

QString PinyinInitials(const QString &text)
{
    const Tables &t = GetTables();
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t l = t.letter[c.unicode()];
        if (l != 0)
            out.append(QChar(l));
    }
    return out;
}

}  // namespace versilo
