// The two shipped pattern books, read through the store from a database built
// out of the real seed, and checked as a poet would use them: the standard
// tunes come out right, and every tune's own example keeps its own pattern
// under the conformance check.
#include "datastore.h"
#include "prosody.h"
#include "rhymedict.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iostream>
#include <vector>

namespace versilo::test {
namespace {

struct Tune {
    QString name, pattern, text;
};

const QString kExampleHead = QStringLiteral("例词：");
const QString kSecondStanza = QStringLiteral("〔下片〕");

class PatternBooks : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tmp = new QTemporaryDir;
        store = new DataStore(StoreLocation{tmp->path(), QStringLiteral(VERSILO_SOURCE_DIR "/data/seed")});
        connected = store->Connect();
        if (!connected)
            return;
        for (const QString &book : {QStringLiteral("常用词谱"), QStringLiteral("白香词谱")}) {
            std::vector<Tune> &list = books[book];
            Recordset &rs = store->NewRecordset();
            if (!rs.Open(QStringLiteral("select *from ") + book))
                continue;
            for (int i = 0; i < rs.RecordCount(); ++i, rs.MoveNext())
                list.push_back({rs.Text(QStringLiteral("篇名")), rs.Text(QStringLiteral("格律")),
                                rs.Text(QStringLiteral("正文"))});
            rs.Close();
        }
        loaded = LoadRhymeDictionary(*store, kPingshui, pingshui);
    }

    static void TearDownTestSuite()
    {
        delete store;
        delete tmp;
        store = nullptr;
        tmp = nullptr;
        books.clear();
    }

    void SetUp() override
    {
        ASSERT_TRUE(connected) << store->LastError().toStdString();
        ASSERT_TRUE(loaded);
    }

    static const Tune *Find(const QString &book, const QString &name)
    {
        for (const Tune &t : books[book])
            if (t.name == name)
                return &t;
        return nullptr;
    }

    // The pattern as the composition window shows it, without the empty
    // lines at its end.
    static QStringList PatternLines(const Tune &t)
    {
        QStringList lines = SplitLines(PatternDisplayForm(t.pattern));
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    static std::string Joined(const QStringList &lines) { return lines.join(u" / ").toStdString(); }

    // The example ci of a tune, one 句 a line as the writer types it.
    static QStringList Example(const Tune &t)
    {
        const QStringList pieces = SplitLines(ExplanationDisplayForm(t.text));
        QStringList lines;
        bool inExample = false;
        for (const QString &p : pieces) {
            if (p.startsWith(kExampleHead)) {
                inExample = true;
                continue;
            }
            if (!inExample || p.isEmpty() || p == kSecondStanza)
                continue;
            QString line = p;
            line.remove(QRegularExpression(QStringLiteral("[，。？！、；]$")));
            lines << line;
        }
        return lines;
    }

    // Runs "判断正误" under 平水韵 on the tune's own example; the number of "¤".
    static int WrongMarks(const Tune &t, QString *result = nullptr)
    {
        ComposeTexts form;
        form.text2 = Example(t).join(kCrLf);
        form.text4 = t.name;
        form.text5 = PatternDisplayForm(t.pattern);
        form.label1 = t.name;
        form.command2 = kPingshui;
        const bool ran = RunConformanceCheck(form, [](const QString &, RhymeDictionary &out) {
            out = pingshui;
            return true;
        });
        EXPECT_TRUE(ran);
        if (result)
            *result = form.text8;
        return int(form.text8.count(QChar(u'¤')));
    }

    static QTemporaryDir *tmp;
    static DataStore *store;
    static bool connected;
    static bool loaded;
    static RhymeDictionary pingshui;
    static std::map<QString, std::vector<Tune>> books;
};

QTemporaryDir *PatternBooks::tmp = nullptr;
DataStore *PatternBooks::store = nullptr;
bool PatternBooks::connected = false;
bool PatternBooks::loaded = false;
RhymeDictionary PatternBooks::pingshui;
std::map<QString, std::vector<Tune>> PatternBooks::books;

TEST_F(PatternBooks, BothBooksHoldAHundredNamedTunes)
{
    for (const QString &book : {QStringLiteral("常用词谱"), QStringLiteral("白香词谱")}) {
        const auto &list = books[book];
        EXPECT_GE(list.size(), 100u) << book.toStdString();
        QSet<QString> names;
        for (const Tune &t : list) {
            EXPECT_FALSE(t.name.isEmpty()) << book.toStdString();
            EXPECT_FALSE(names.contains(t.name)) << "twice in " << book.toStdString() << ": " << t.name.toStdString();
            names.insert(t.name);
            EXPECT_TRUE(t.pattern.endsWith(QLatin1Char('-'))) << t.name.toStdString();
            EXPECT_TRUE(t.text.endsWith(QLatin1Char('-'))) << t.name.toStdString();
        }
    }
    // The most used tunes lead the common book.
    const auto &common = books[QStringLiteral("常用词谱")];
    ASSERT_GE(common.size(), 10u);
    QStringList firstTen;
    for (int i = 0; i < 10; ++i)
        firstTen << common[i].name;
    for (const char *name : {"浣溪沙", "水调歌头", "鹧鸪天", "菩萨蛮"})
        EXPECT_TRUE(firstTen.contains(QString::fromUtf8(name))) << name;
}

TEST_F(PatternBooks, BaixiangKeepsTheBooksOrder)
{
    const QStringList opening = {"菩萨蛮", "忆秦娥", "调笑令", "长相思", "更漏子", "摊破浣溪沙",
                                 "忆江南", "捣练子", "相见欢", "浪淘沙", "虞美人", "一斛珠", "谒金门"};
    const auto &list = books[QStringLiteral("白香词谱")];
    ASSERT_GE(list.size(), size_t(opening.size()));
    for (int i = 0; i < opening.size(); ++i)
        EXPECT_EQ(list[i].name, opening[i]) << "position " << i + 1;
    const Tune *pusaman = Find(QStringLiteral("白香词谱"), QStringLiteral("菩萨蛮"));
    ASSERT_TRUE(pusaman);
    const QStringList example = Example(*pusaman);
    ASSERT_EQ(example.size(), 8);
    EXPECT_EQ(example.first(), QStringLiteral("平林漠漠烟如织"));
    EXPECT_EQ(example.last(), QStringLiteral("长亭更短亭"));
    EXPECT_TRUE(pusaman->text.contains(QStringLiteral("李白")));
}

TEST_F(PatternBooks, StandardTunesComeOutAsTheCiBooksHaveThem)
{
    const QStringList pusaman = {"⊙○⊙●○○●(韵)", "⊙○⊙●○○●(韵)", "⊙●●○○(换平韵)", "⊙○⊙●○(韵)",
                                 "⊙○○●●(换仄韵)", "⊙●○○●(韵)", "⊙●●○○(换平韵)", "⊙○⊙●○(韵)"};
    const QStringList huanxisha = {"⊙●⊙○⊙●○(韵)", "⊙○⊙●●○○(韵)", "⊙○⊙●●○○(韵)",
                                   "⊙●⊙○○●●", "⊙○⊙●●○○(韵)", "⊙○⊙●●○○(韵)"};
    for (const QString &book : {QStringLiteral("常用词谱"), QStringLiteral("白香词谱")}) {
        const Tune *p = Find(book, QStringLiteral("菩萨蛮"));
        const Tune *h = Find(book, QStringLiteral("浣溪沙"));
        ASSERT_TRUE(p && h) << book.toStdString();
        EXPECT_EQ(Joined(PatternLines(*p)), Joined(pusaman)) << book.toStdString();
        EXPECT_EQ(Joined(PatternLines(*h)), Joined(huanxisha)) << book.toStdString();
    }
    // More of the most used tunes, line for line as 《唐宋词格律》 has them.
    const struct { const char *name; const char *pattern; } standard[] = {
        {"鹧鸪天", "⊙●⊙○⊙●○(韵)-⊙○⊙●●○○(韵)-⊙○⊙●○○●-⊙●⊙○⊙●○(韵)-○●●-●○○(韵)-"
                   "⊙○⊙●●○○(韵)-⊙○⊙●○○●-⊙●⊙○⊙●○(韵)-"},
        {"满江红", "⊙●○○-⊙⊙●-⊙○⊙●(韵)-⊙⊙●-⊙○⊙●-⊙○○●(韵)-⊙●⊙○○●●-⊙○⊙●○○●(韵)-●⊙○-"
                   "⊙●●○○-○○●(韵)-○⊙●-○○●(韵)-○⊙●-○○●(韵)-●⊙○⊙●-⊙○○●(韵)-⊙●⊙○○●●-"
                   "⊙○⊙●○○●(韵)-●⊙○-⊙●●○○-○○●(韵)-"},
        {"西江月", "⊙●⊙○⊙●-⊙○⊙●○○(韵)-⊙○⊙●●○○(韵)-⊙●⊙○⊙●(韵)-⊙●⊙○⊙●-⊙○⊙●○○(韵)-"
                   "⊙○⊙●●○○(韵)-⊙●⊙○⊙●(韵)-"},
        {"清平乐", "⊙○⊙●(韵)-⊙●○○●(韵)-⊙●⊙○○●●(韵)-⊙●⊙○⊙●(韵)-⊙○⊙●○○(换平韵)-"
                   "⊙○⊙●○○(韵)-⊙●⊙○⊙●-⊙○⊙●○○(韵)-"},
        {"卜算子", "⊙●●○○-⊙●○○●(韵)-⊙●⊙○⊙●○-⊙●○○●(韵)-⊙●●○○-⊙●○○●(韵)-⊙●⊙○⊙●○-"
                   "⊙●○○●(韵)-"},
        {"临江仙", "⊙●⊙○○●●-⊙○⊙●○○(韵)-⊙○⊙●●○○(韵)-⊙○○●●-⊙●●○○(韵)-⊙●⊙○○●●-"
                   "⊙○⊙●○○(韵)-⊙○⊙●●○○(韵)-⊙○○●●-⊙●●○○(韵)-"},
        {"浪淘沙", "⊙●●○○(韵)-⊙●○○(韵)-⊙○⊙●●○○(韵)-⊙●⊙○○●●-⊙●○○(韵)-⊙●●○○(韵)-"
                   "⊙●○○(韵)-⊙○⊙●●○○(韵)-⊙●⊙○○●●-⊙●○○(韵)-"},
    };
    for (const auto &t : standard) {
        const Tune *tune = Find(QStringLiteral("常用词谱"), QString::fromUtf8(t.name));
        ASSERT_TRUE(tune) << t.name;
        EXPECT_EQ(tune->pattern, QString::fromUtf8(t.pattern)) << t.name;
    }

    // 水调歌头: nineteen 句, 上片 and 下片 ending alike, level rhymes.
    const Tune *s = Find(QStringLiteral("常用词谱"), QStringLiteral("水调歌头"));
    ASSERT_TRUE(s);
    const QStringList lines = PatternLines(*s);
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[0], QStringLiteral("⊙●⊙○●"));
    EXPECT_EQ(lines[1], QStringLiteral("⊙●●○○(韵)"));
    EXPECT_EQ(lines[8], QStringLiteral("⊙●●○○(韵)"));
    EXPECT_EQ(lines[18], QStringLiteral("⊙●●○○(韵)"));
    EXPECT_EQ(Joined(lines.mid(14, 5)), Joined(lines.mid(4, 5)));
    EXPECT_TRUE(Example(*s).startsWith(QStringLiteral("明月几时有")));

    // The second stanza is marked in the example, where the poet expects it.
    const auto secondStanzaStartsWith = [](const Tune &t, const QString &line) {
        const QStringList pieces = SplitLines(ExplanationDisplayForm(t.text));
        const qsizetype at = pieces.indexOf(kSecondStanza);
        return at >= 0 && at + 1 < pieces.size() && pieces[at + 1].startsWith(line);
    };
    const Tune *pusamanLibai = Find(QStringLiteral("白香词谱"), QStringLiteral("菩萨蛮"));
    const Tune *manjianghong = Find(QStringLiteral("白香词谱"), QStringLiteral("满江红"));
    ASSERT_TRUE(pusamanLibai && manjianghong);
    EXPECT_TRUE(secondStanzaStartsWith(*pusamanLibai, QStringLiteral("玉阶空伫立")));
    EXPECT_TRUE(secondStanzaStartsWith(*manjianghong, QStringLiteral("靖康耻")));
    EXPECT_TRUE(secondStanzaStartsWith(*s, QStringLiteral("转朱阁")));
    EXPECT_TRUE(pusamanLibai->text.contains(QStringLiteral("-双调，四十四字，上片四句两仄韵两平韵，下片四句两仄韵两平韵。-")));
    const Tune *rumengling = Find(QStringLiteral("白香词谱"), QStringLiteral("如梦令"));
    ASSERT_TRUE(rumengling);
    EXPECT_TRUE(rumengling->text.contains(QStringLiteral("-单调，三十三字，七句，")));
    EXPECT_FALSE(rumengling->text.contains(kSecondStanza));
}

// An example keeps its own rhyme tone where most ci of the tune rhyme the
// other way: 李清照's 声声慢 rhymes in entering tones throughout, though most
// 声声慢 of the corpus rhyme level.
TEST_F(PatternBooks, AnExampleKeepsItsOwnRhymeTone)
{
    const Tune *t = Find(QStringLiteral("白香词谱"), QStringLiteral("声声慢"));
    ASSERT_TRUE(t);
    EXPECT_TRUE(Example(*t).startsWith(QStringLiteral("寻寻觅觅")));
    EXPECT_TRUE(t->text.contains(QStringLiteral("-双调，九十七字，上片十一句五仄韵，下片十一句五仄韵。-")))
        << t->text.toStdString();
    EXPECT_FALSE(t->text.contains(QStringLiteral("平韵。")));
    int rhymes = 0;
    for (const QString &l : PatternLines(*t)) {
        if (!l.endsWith(QStringLiteral("(韵)")))
            continue;
        ++rhymes;
        EXPECT_TRUE(l.endsWith(QStringLiteral("●(韵)"))) << l.toStdString();
    }
    EXPECT_EQ(rhymes, 10);
}

TEST_F(PatternBooks, PatternLinesHoldOnlySymbolsAndATrailingMarker)
{
    static const QRegularExpression line(QStringLiteral("^[○●⊙]+(\\((韵|换平韵|换仄韵)\\))?$"));
    for (const auto &[book, list] : books) {
        for (const Tune &t : list) {
            const QStringList lines = PatternLines(t);
            EXPECT_FALSE(lines.isEmpty()) << t.name.toStdString();
            for (const QString &l : lines)
                EXPECT_TRUE(line.match(l).hasMatch())
                    << book.toStdString() << " " << t.name.toStdString() << ": " << l.toStdString();
            // Pattern and example have the same lines of the same length.
            const QStringList example = Example(t);
            ASSERT_EQ(example.size(), lines.size()) << book.toStdString() << " " << t.name.toStdString();
            for (int i = 0; i < lines.size(); ++i) {
                QString symbols = lines[i];
                symbols.remove(QRegularExpression(QStringLiteral("\\(.*\\)$")));
                EXPECT_EQ(example[i].size(), symbols.size())
                    << book.toStdString() << " " << t.name.toStdString() << " line " << i + 1;
            }
            // The explanation names the form and tells how to type the poem.
            EXPECT_TRUE(t.text.startsWith(QStringLiteral("填写时请一句一行"))) << t.name.toStdString();
            static const QRegularExpression form(QStringLiteral("-(单调|双调|三叠|四叠)，"));
            EXPECT_TRUE(form.match(t.text).hasMatch()) << t.name.toStdString();
        }
    }
}

TEST_F(PatternBooks, EveryExampleKeepsItsOwnPattern)
{
    for (const auto &[book, list] : books) {
        int wrong = 0, tunesWithWrong = 0;
        for (const Tune &t : list) {
            QString result;
            const int n = WrongMarks(t, &result);
            if (n > 0) {
                ++tunesWithWrong;
                std::cout << "[ books ] " << book.toStdString() << " " << t.name.toStdString() << ": " << n
                          << " ¤\n";
            }
            wrong += n;
            // A few at most, from characters the check strips (韵 读 句 叠)
            // or the dictionary reads otherwise than the poet.
            EXPECT_LE(n, 2) << book.toStdString() << " " << t.name.toStdString() << "\n"
                            << result.toStdString();
        }
        std::cout << "[ books ] " << book.toStdString() << ": " << list.size() << " tunes, " << wrong
                  << " ¤ in " << tunesWithWrong << " examples\n";
        EXPECT_LE(wrong, 10) << book.toStdString();
    }
}

}  // namespace
}  // namespace versilo::test
