// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped poetry library, its authors and the knowledge pages, read
// through the store from a database built out of the real seed.
#include "datastore.h"
#include "rhymedict.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

namespace versilo::test {
namespace {

struct Poem {
    QString title, author, text, initials;
};

struct Author {
    QString name, dynasty;
    QVariant year;
};

class LibraryData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tmp = new QTemporaryDir;
        store = new DataStore(StoreLocation{tmp->path(), QStringLiteral(VERSILO_SOURCE_DIR "/data/seed")});
        connected = store->Connect();
    }

    static void TearDownTestSuite()
    {
        delete store;
        delete tmp;
        store = nullptr;
        tmp = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(connected) << store->LastError().toStdString(); }

    static std::vector<Poem> Poems(const QString &sql, const QVariantList &params = {})
    {
        std::vector<Poem> out;
        Recordset &rs = store->NewRecordset();
        EXPECT_TRUE(rs.Open(sql, params)) << rs.LastError().toStdString();
        for (int i = 0; i < rs.RecordCount(); ++i, rs.MoveNext())
            out.push_back({rs.Text(QStringLiteral("标题")), rs.Text(QStringLiteral("作者")),
                           rs.Text(QStringLiteral("正文")), rs.Text(QStringLiteral("拼音"))});
        rs.Close();
        return out;
    }

    static std::vector<Author> Authors(const QString &sql, const QVariantList &params = {})
    {
        std::vector<Author> out;
        Recordset &rs = store->NewRecordset();
        EXPECT_TRUE(rs.Open(sql, params)) << rs.LastError().toStdString();
        for (int i = 0; i < rs.RecordCount(); ++i, rs.MoveNext())
            out.push_back({rs.Text(QStringLiteral("姓名")), rs.Text(QStringLiteral("朝代")),
                           rs.Field(QStringLiteral("年代"))});
        rs.Close();
        return out;
    }

    static QTemporaryDir *tmp;
    static DataStore *store;
    static bool connected;
};

QTemporaryDir *LibraryData::tmp = nullptr;
DataStore *LibraryData::store = nullptr;
bool LibraryData::connected = false;

TEST_F(LibraryData, PoemsAreCleanAndInReadingOrder)
{
    const auto poems = Poems(QStringLiteral("select *from 诗词库"));
    ASSERT_GE(poems.size(), 600u);
    EXPECT_EQ(poems.front().title, QStringLiteral("行宫"));   // 唐诗三百首 first
    EXPECT_TRUE(poems.back().title.contains(QChar(0x00B7)));   // 宋词三百首 last: tune·first line

    QSet<QString> seen;
    for (const Poem &p : poems) {
        const std::string where = (p.title + QStringLiteral(" / ") + p.author).toStdString();
        EXPECT_FALSE(p.title.isEmpty() || p.author.isEmpty() || p.text.isEmpty()) << where;
        EXPECT_FALSE(p.text.contains(QLatin1Char('|')) || p.text.contains(QLatin1Char('\t'))) << where;
        EXPECT_FALSE(p.title.contains(QLatin1Char('|')) || p.title.contains(QLatin1Char('\t'))) << where;
        // Lines are separated by CR LF only, with nothing before, after or between.
        QString rest = p.text;
        rest.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_FALSE(rest.contains(QLatin1Char('\r'))) << where;
        EXPECT_FALSE(rest.startsWith(QLatin1Char('\n')) || rest.endsWith(QLatin1Char('\n'))
                     || rest.contains(QStringLiteral("\n\n"))) << where;
        // One code unit per character: nothing outside the BMP, no leftover notes.
        for (QChar c : p.title + p.text)
            EXPECT_FALSE(c.isSurrogate() || c == QLatin1Char('(') || c == QChar(0xFF08)
                         || c == QLatin1Char(' '))
                << where;
        const QString key = p.author + QLatin1Char('\n') + p.text;
        EXPECT_FALSE(seen.contains(key)) << "twice: " << where;
        seen.insert(key);
    }
}

// Lines a reader knows by heart read as printed: slips of the corpus are
// corrected, and the conversion to simplified keeps 乾坤 (not 干坤) and leaves
// no traditional form behind.
TEST_F(LibraryData, WellKnownLinesReadAsPrinted)
{
    const auto poems = Poems(QStringLiteral("select *from 诗词库"));
    const auto textOf = [&](const QString &title, const QString &author) {
        for (const Poem &p : poems)
            if (p.title == title && p.author == author)
                return p.text;
        return QString();
    };
    const struct { const char *title, *author, *line; } lines[] = {
        {"醉花阴·薄雾浓云愁永昼", "李清照", "东篱把酒黄昏后"},
        {"蝶恋花·月皎惊乌栖不定", "周邦彦", "更漏将残，轣辘牵金井。"},
        {"蝶恋花·月皎惊乌栖不定", "周邦彦", "泪花落枕红绵冷。"},
        {"迷神引·一叶扁舟轻帆卷", "柳永", "引胡笳怨"},
        {"登岳阳楼", "杜甫", "乾坤日夜浮"},
        {"春望", "杜甫", "白头搔更短，浑欲不胜簪。"},
        {"雨霖铃·寒蝉凄切", "柳永", "杨柳岸、晓风残月"},
        // as 宋词三百首 prints them, not the corpus's rare variants
        {"凤凰台上忆吹箫·香冷金猊", "李清照", "起来慵自梳头"},
        {"凤凰台上忆吹箫·香冷金猊", "李清照", "念武陵人远，烟锁秦楼。"},
        {"祝英台近·宝钗分", "辛弃疾", "更谁劝、流莺声住"},
        {"祝英台近·宝钗分", "辛弃疾", "却不解、带将愁去。"},
    };
    for (const auto &l : lines)
        EXPECT_TRUE(textOf(QString::fromUtf8(l.title), QString::fromUtf8(l.author)).contains(QString::fromUtf8(l.line)))
            << l.title << ": " << l.line;
    for (const Poem &p : poems) {
        for (const QChar c : QStringLiteral("後裏髮乾於餘鬆雲臺發國風")) {
            if (c != QChar(u'乾') || !p.text.contains(QStringLiteral("乾坤"))) {
                EXPECT_FALSE(p.text.contains(c)) << (p.title + QStringLiteral(": ") + c).toStdString();
            }
        }
    }
}

// Poems the collections' files hold cut short or run together come whole,
// one poem each.
TEST_F(LibraryData, PoemsAreWhole)
{
    const struct { const char *title, *author, *first, *last; int lines; } whole[] = {
        {"赠卫八处士", "杜甫", "人生不相见，动如参与商。", "明日隔山岳，世事两茫茫。", 12},
        {"长信怨", "王昌龄", "奉帚平明金殿开，暂将团扇共徘徊。", "玉颜不及寒鸦色，犹带昭阳日影来。", 2},
    };
    for (const auto &w : whole) {
        const auto mine = Poems(QStringLiteral("SELECT * from 诗词库 where 作者=?"), {QString::fromUtf8(w.author)});
        const auto it = std::find_if(mine.begin(), mine.end(),
                                     [&](const Poem &p) { return p.title == QString::fromUtf8(w.title); });
        ASSERT_NE(it, mine.end()) << w.title;
        const QStringList lines = it->text.split(QStringLiteral("\r\n"));
        EXPECT_EQ(lines.size(), w.lines) << w.title;
        EXPECT_EQ(lines.first(), QString::fromUtf8(w.first)) << w.title;
        EXPECT_EQ(lines.last(), QString::fromUtf8(w.last)) << w.title;
    }
}

// The rhyme words (ends of the even lines) of the library's regulated verse
// (four or eight lines of five or seven characters, level rhyme) show the
// 平水韵 group of their poem: the group most of them can be read in. Those
// apart are poets' neighbouring rhymes (宗 in a 东 poem) and characters shown
// in their more common group (车 in 鱼, 涯 in 支).
TEST_F(LibraryData, RhymeWordsOfRegulatedVerseShowTheirPoemsGroup)
{
    RhymeDictionary dict;
    ASSERT_TRUE(LoadRhymeDictionary(*store, kPingshui, dict));
    QHash<QChar, QList<int>> groups;   // every group of a character, the shown one last
    for (const DictionaryRow &row : dict.Rows()) {
        const int g = row.group.toInt();
        if (row.hanzi.size() == 1 && g > 0)
            groups[row.hanzi[0]].append(g);
    }
    static const QRegularExpression breaks(QStringLiteral("[，。？！；]"));
    int total = 0, shown = 0;
    QStringList apart;
    for (const Poem &p : Poems(QStringLiteral("select *from 诗词库"))) {
        QStringList lines = QString(p.text).remove(QStringLiteral("\r\n")).split(breaks, Qt::SkipEmptyParts);
        const qsizetype n = lines.isEmpty() ? 0 : lines.first().size();
        if ((lines.size() != 4 && lines.size() != 8) || (n != 5 && n != 7)
            || !std::all_of(lines.begin(), lines.end(), [n](const QString &l) { return l.size() == n; }))
            continue;
        QList<QChar> ends;
        for (int i = 1; i < lines.size(); i += 2)
            ends << lines[i].back();
        // the poem's group: held by most rhyme words, then shown by most, then the first
        int best = 0, bestHeld = 0, bestShown = 0;
        for (int g = 1; g <= 31; ++g) {
            int held = 0, shownBy = 0;
            for (const QChar c : ends) {
                held += groups.value(c).contains(g);
                shownBy += !groups.value(c).isEmpty() && groups.value(c).last() == g;
            }
            if (held > bestHeld || (held == bestHeld && shownBy > bestShown)) {
                best = g;
                bestHeld = held;
                bestShown = shownBy;
            }
        }
        if (bestHeld * 2 <= ends.size())
            continue;   // no level rhyme most of them share
        for (const QChar c : ends) {
            ++total;
            if (!groups.value(c).isEmpty() && groups.value(c).last() == best)
                ++shown;
            else
                apart << p.title + QLatin1Char(':') + c;
        }
    }
    std::cout << "[ 平水韵 ] rhyme words of regulated verse in their poem's group: " << shown << " of " << total
              << "; apart: " << apart.join(u' ').toStdString() << std::endl;
    EXPECT_GE(total, 1200);
    EXPECT_LE(total - shown, 5);
}

TEST_F(LibraryData, EveryPoemHasItsAuthorAndAuthorsAreOrdered)
{
    const auto poems = Poems(QStringLiteral("select *from 诗词库"));
    const auto authors = Authors(QStringLiteral("select *from 作者"));
    ASSERT_FALSE(authors.empty());

    QHash<QString, const Author *> byName;
    for (const Author &a : authors) {
        EXPECT_FALSE(byName.contains(a.name)) << "author twice: " << a.name.toStdString();
        byName.insert(a.name, &a);
    }
    QSet<QString> used;
    for (const Poem &p : poems) {
        used.insert(p.author);
        EXPECT_TRUE(byName.contains(p.author)) << "no author row for " << p.author.toStdString();
    }
    for (const Author &a : authors)
        EXPECT_TRUE(used.contains(a.name)) << "author without poems: " << a.name.toStdString();

    // By dynasty, then by year with the unknown years last.
    const QStringList dynasties = {QStringLiteral("唐"), QStringLiteral("五代"), QStringLiteral("南唐"),
                                   QStringLiteral("宋"), QStringLiteral("金"), QStringLiteral("元"),
                                   QStringLiteral("明"), QStringLiteral("清")};
    for (size_t i = 1; i < authors.size(); ++i) {
        const Author &a = authors[i - 1], &b = authors[i];
        const int da = int(dynasties.indexOf(a.dynasty)), db = int(dynasties.indexOf(b.dynasty));
        ASSERT_GE(da, 0) << a.name.toStdString();
        ASSERT_LE(da, db) << a.name.toStdString() << " before " << b.name.toStdString();
        if (da == db && !b.year.isNull()) {
            ASSERT_FALSE(a.year.isNull()) << a.name.toStdString();
            EXPECT_LE(a.year.toDouble(), b.year.toDouble()) << a.name.toStdString();
        }
    }

    const Author *libai = byName.value(QStringLiteral("李白"));
    ASSERT_NE(libai, nullptr);
    EXPECT_EQ(libai->dynasty, QStringLiteral("唐"));
    EXPECT_EQ(libai->year.toDouble(), 701.0);
    const Author *sushi = byName.value(QStringLiteral("苏轼"));
    ASSERT_NE(sushi, nullptr);
    EXPECT_EQ(sushi->dynasty, QStringLiteral("宋"));
    EXPECT_EQ(sushi->year.toDouble(), 1037.0);
}

TEST_F(LibraryData, InitialsFindPoemsAndAuthors)
{
    const auto quiet = Poems(QStringLiteral("SELECT * from 诗词库 where 作者=?"), {QStringLiteral("李白")});
    auto it = std::find_if(quiet.begin(), quiet.end(),
                           [](const Poem &p) { return p.title == QStringLiteral("静夜思"); });
    ASSERT_NE(it, quiet.end());
    EXPECT_EQ(it->initials, QStringLiteral("JYS"));
    EXPECT_EQ(it->text, QStringLiteral("床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。"));
    EXPECT_GE(quiet.size(), 20u);

    // The keypad types lower case; the search ignores case.
    const auto found = Poems(QStringLiteral("SELECT * from 诗词库  where 拼音 like ?"), {QStringLiteral("%jys%")});
    EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                            [](const Poem &p) { return p.title == QStringLiteral("静夜思"); }));
    const auto ci = Poems(QStringLiteral("SELECT * from 诗词库  where 拼音 like ?"), {QStringLiteral("%nnj%")});
    EXPECT_TRUE(std::any_of(ci.begin(), ci.end(),
                            [](const Poem &p) { return p.title == QStringLiteral("念奴娇·大江东去"); }));

    const auto authors = Authors(QStringLiteral("SELECT * from 作者  where 拼音 like ?"), {QStringLiteral("%lqz%")});
    EXPECT_TRUE(std::any_of(authors.begin(), authors.end(),
                            [](const Author &a) { return a.name == QStringLiteral("李清照"); }));

    // Every row got its initials when the database was made.
    for (const Poem &p : Poems(QStringLiteral("select *from 诗词库")))
        EXPECT_FALSE(p.initials.isEmpty()) << p.title.toStdString();
}

TEST_F(LibraryData, KnowledgePagesComeInOrder)
{
    Recordset &rs = store->NewRecordset();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 常识")));
    ASSERT_GE(rs.RecordCount(), 12);
    EXPECT_EQ(rs.Text(QStringLiteral("标题")), QStringLiteral("四声与平仄"));
    qint64 lastId = 0;
    QStringList titles, texts;
    for (int i = 0; i < rs.RecordCount(); ++i, rs.MoveNext()) {
        const qint64 id = rs.Field(QStringLiteral("id")).toLongLong();
        EXPECT_GT(id, lastId);
        lastId = id;
        const QString title = rs.Text(QStringLiteral("标题"));
        const QString text = rs.Text(QStringLiteral("内容"));
        titles << title;
        texts << text;
        EXPECT_TRUE(text.contains(QStringLiteral("\r\n"))) << title.toStdString();
        EXPECT_FALSE(text.endsWith(QStringLiteral("\r\n"))) << title.toStdString();
        QString bare = text;
        bare.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        EXPECT_GE(bare.size(), 400) << title.toStdString();
        EXPECT_LE(bare.size(), 1500) << title.toStdString();
    }
    rs.Close();
    // The page on the program's marks explains all of them.
    const int marks = int(titles.indexOf(QStringLiteral("怎样看本程序的标记")));
    ASSERT_GE(marks, 0);
    for (const char *mark : {"○", "●", "※", "空", "★", "¤", "△", "▲", "⊙", "◎"})
        EXPECT_TRUE(texts[marks].contains(QString::fromUtf8(mark))) << mark;
}

// Share of the library's Chinese characters that resolve to a tone in each
// dictionary; what does not resolve shows as 空 when a library poem is checked.
TEST_F(LibraryData, LibraryCharactersResolveInBothDictionaries)
{
    const auto poems = Poems(QStringLiteral("select *from 诗词库"));
    for (const QString &system : {kNewRhyme, kPingshui}) {
        RhymeDictionary dict;
        QString error;
        ASSERT_TRUE(LoadRhymeDictionary(*store, system, dict, &error)) << error.toStdString();
        long total = 0, resolved = 0;
        QMap<QChar, int> missing;
        for (const Poem &p : poems)
            for (QChar c : p.text) {
                if (c.script() != QChar::Script_Han)
                    continue;
                ++total;
                if (!dict.ToneMark(c).isNull())
                    ++resolved;
                else
                    ++missing[c];
            }
        const double share = total ? double(resolved) / double(total) : 0.0;
        QString list;
        for (auto m = missing.cbegin(); m != missing.cend(); ++m)
            list += m.key();
        std::cout << system.toStdString() << ": " << resolved << " of " << total
                  << " characters resolve (" << share * 100.0 << " %); not found: "
                  << list.toStdString() << std::endl;
        EXPECT_GE(share, 0.995) << system.toStdString();
    }
}

}  // namespace
}  // namespace versilo::test
