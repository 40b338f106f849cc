// SPDX-License-Identifier: GPL-3.0-or-later
// Every form of a tune: reading the 钦定词谱 table, ranking tunes over all
// their forms by lengths, tones and rhymes, and the note that a ci fits
// another form. Verse lines are made from tone marks, ○ level and ●
// oblique, so that nothing but the marks decides.
#include "diagnostics.h"
#include "patternbooks.h"
#include "seed.h"
#include "tuneforms.h"
#include "tuneranking.h"

#include "seeddictionary.h"

#include <gtest/gtest.h>

using namespace versilo;
using namespace versilo::diag;
using versilo::testing::SeedDictionary;

void PrintTo(const QString &s, std::ostream *os);

namespace {

QString S(const char16_t *s) { return QString::fromUtf16(s); }

// One verse line per string of marks.
QList<Verse> Marked(const QList<const char16_t *> &lines)
{
    QList<Verse> out;
    for (const char16_t *l : lines) {
        Verse v;
        v.line = int(out.size());
        v.marks = S(l);
        for (qsizetype k = 0; k < v.marks.size(); ++k) {
            v.positions.append(int(k));
            v.chars.append(v.marks.at(k) == u'○' ? U'平' : U'仄');
        }
        out.append(v);
    }
    return out;
}

const char16_t kHeader[] = u"词牌\t别名\t体\t类\t字数\t格律\t韵位\t例\n";

TuneForms Reference(const char16_t *rows)
{
    return TuneForms::FromText(S(kHeader) + S(rows));
}

// 长短句: a single stanza as its 正体, the double one as its 又一体, and a
// form with a pause within its third line.
const char16_t kRows[] =
    u"长短句\t短长句、另名\t1\t正体\t13\t仄仄平平仄仄平韵仄平平韵平仄平韵\t7,10,13\t一二三四五六七/八九十/上中下\n"
    u"长短句\t短长句、另名\t2\t又一体\t26\t仄仄平平仄仄平韵仄平平韵平仄平韵仄仄平平仄仄平韵仄平平韵平仄平韵"
    u"\t7,10,13,20,23,26\t甲乙丙丁戊己庚/辛壬癸/子丑寅/卯辰巳午未申酉/戌亥天/地玄黄\n"
    u"长短句\t短长句、另名\t3\t又一体\t17\t仄仄平平仄仄平韵仄平平韵平仄读平平仄仄平韵\t7,10,17\t春/夏/秋/冬\n";

TEST(TuneForms, TableRowsThatHoldTogetherAreRead)
{
    const struct {
        const char *what;
        const char16_t *row;
        bool read;
    } cases[] = {
        {"a plain row", u"调\t\t1\t正体\t5\t平平仄句仄平韵\t5\t甲\n", true},
        {"a change of rhyme", u"调\t\t1\t正体\t4\t平仄韵平平韵\t2|4\t甲\n", true},
        {"no rhymes at all", u"调\t\t1\t正体\t2\t平仄句\t\t甲\n", true},
        {"the count disagrees with the pattern", u"调\t\t1\t正体\t6\t平平仄句仄平韵\t5\t甲\n", false},
        {"a rhyme past the end", u"调\t\t1\t正体\t5\t平平仄句仄平韵\t6\t甲\n", false},
        {"a rhyme at position 0", u"调\t\t1\t正体\t5\t平平仄句仄平韵\t0,5\t甲\n", false},
        {"a clause without syllables", u"调\t\t1\t正体\t5\t平平仄句韵仄平韵\t5\t甲\n", false},
        {"a pattern without a last mark", u"调\t\t1\t正体\t5\t平平仄句仄平\t5\t甲\n", false},
        {"a symbol the book does not use", u"调\t\t1\t正体\t5\t平平x句仄平韵\t5\t甲\n", false},
        {"no form number", u"调\t\t\t正体\t5\t平平仄句仄平韵\t5\t甲\n", false},
        {"a field missing", u"调\t1\t正体\t5\t平平仄句仄平韵\t5\t甲\n", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Reference(c.row).All().size(), c.read ? 1 : 0);
    }
}

TEST(TuneForms, FormsFoundByNameAndAlias)
{
    const TuneForms forms = Reference(kRows);
    EXPECT_EQ(forms.Tunes(), 1);
    const struct {
        const char16_t *name;
        QList<int> numbers;
    } cases[] = {
        {u"长短句", {1, 2, 3}},
        {u"短长句", {1, 2, 3}},
        {u"另名", {1, 2, 3}},
        {u"无此调", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(S(c.name).toStdString());
        QList<int> numbers;
        for (const TuneForm *f : forms.Of(S(c.name)))
            numbers.append(f->number);
        EXPECT_EQ(numbers, c.numbers);
    }
    ASSERT_NE(forms.Find(S(u"短长句"), 2), nullptr);
    EXPECT_EQ(forms.Find(S(u"短长句"), 2)->Size(), 26);
    EXPECT_EQ(forms.Find(S(u"长短句"), 4), nullptr);
    EXPECT_EQ(forms.Find(S(u"长短句"), 0), nullptr);
}

TEST(TuneForms, DisplayLengthsAndExample)
{
    const TuneForms forms = Reference(
        u"换韵调\t\t1\t正体\t11\t平平仄韵中仄读仄平中韵平仄平韵\t3|8,11\t山高/月小/水落石出/风清\n");
    ASSERT_EQ(forms.All().size(), 1);
    const TuneForm &f = forms.All().first();
    // The rhyme at 中 takes its set's tone; the second set opens with a change.
    EXPECT_EQ(f.Display(), S(u"○○▲\r\n⊙●\r\n●○△(换平韵)\r\n○●△\r\n"));
    EXPECT_EQ(f.Lengths(false), (QList<int>{3, 2, 3, 3}));
    EXPECT_EQ(f.Lengths(true), (QList<int>{3, 5, 3}));
    EXPECT_EQ(f.Kind(), S(u"正体"));
    EXPECT_EQ(f.ExampleOpening(), S(u"山高……"));
    // An example read in full has no ellipsis.
    const TuneForms one = Reference(u"调\t\t2\t又一体\t2\t平平句\t\t风清\n");
    ASSERT_EQ(one.All().size(), 1);
    EXPECT_EQ(one.All().first().ExampleOpening(), S(u"风清"));
    EXPECT_EQ(one.All().first().Kind(), S(u"又一体"));
}

TEST(TuneRanking, EveryFormOfATuneToneAndRhymeDecide)
{
    const TuneForms reference = Reference(kRows);
    const QString book = S(u"书");
    // The book knows 长短句 in its double form only.
    const QString doubleForm = S(u"●●○○●●△\r\n●○△\r\n○●△\r\n●●○○●●△\r\n●○△\r\n○●△\r\n");
    const struct {
        const char *what;
        QList<const char16_t *> verses;
        QList<TuneCandidate> tunes;
        const char16_t *first;
        int form;       // the reference form that fit best, 0 the book's
        bool fits;
    } cases[] = {
        {"a single stanza is found by the reference's 正体",
         {u"●●○○●●○", u"●○○", u"○●○"},
         {{book, S(u"近调"), S(u"●●○○●●△\r\n●○○△\r\n○●△\r\n")}, {book, S(u"长短句"), doubleForm}},
         u"长短句", 1, true},
        {"the double stanza still fits the book's own pattern",
         {u"●●○○●●○", u"●○○", u"○●○", u"●●○○●●○", u"●○○", u"○●○"},
         {{book, S(u"近调"), S(u"●●○○●●△\r\n●○○△\r\n○●△\r\n")}, {book, S(u"长短句"), doubleForm}},
         u"长短句", 0, true},
        {"a tune known by an alias in the reference",
         {u"●●○○●●○", u"●○○", u"○●○"},
         {{book, S(u"近调"), S(u"●●○○●●△\r\n●○○△\r\n○●△\r\n")}, {book, S(u"另名"), doubleForm}},
         u"另名", 1, true},
        {"a line with a pause typed as one",
         {u"●●○○●●○", u"●○○", u"○●○○●●○"},
         {{book, S(u"近调"), S(u"●●○○●●△\r\n●○○△\r\n○●○○●●△\r\n")}, {book, S(u"长短句"), doubleForm}},
         u"长短句", 3, true},
        {"lengths alike, the tones decide",
         {u"○○●●○○●", u"●●○○●●○"},
         {{book, S(u"甲"), S(u"●●○○●●△\r\n○○●●○○△\r\n")}, {book, S(u"乙"), S(u"○○●●○○▲\r\n●●○○●●△\r\n")}},
         u"乙", 0, true},
        {"lengths and tones alike, the tones of the rhymes decide",
         {u"○○●●○○●", u"○○●●○○●"},
         {{book, S(u"平韵"), S(u"○○●●○○⊙\r\n○○●●○○△\r\n")}, {book, S(u"仄韵"), S(u"○○●●○○⊙\r\n○○●●○○▲\r\n")}},
         u"仄韵", 0, true},
        {"lines of the right lengths in the wrong tones do not fit",
         {u"○○●●○○●", u"●●○○●●○"},
         {{book, S(u"甲"), S(u"●●○○●●△\r\n○○●●○○▲\r\n")}},
         u"甲", 0, false},
        {"a line too many does not fit",
         {u"○○●●○○●", u"●●○○●●○", u"○●○"},
         {{book, S(u"乙"), S(u"○○●●○○▲\r\n●●○○●●△\r\n")}},
         u"乙", 0, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QList<TuneMatch> best = RankTunes(Marked(c.verses), c.tunes, 3, &reference);
        ASSERT_FALSE(best.isEmpty());
        EXPECT_EQ(best.first().name, S(c.first));
        EXPECT_EQ(best.first().form, c.form);
        EXPECT_EQ(best.first().fits, c.fits);
    }
}

TEST(TuneRanking, ATuneTheTwoBooksNameApartIsListedOnce)
{
    const TuneForms reference = Reference(kRows);
    const QString pattern = S(u"●●○○●●△\r\n●○△\r\n○●△\r\n");
    const QString other = S(u"●●○○●●△\r\n●○○△\r\n○●△\r\n");
    const QString a = S(u"甲书"), b = S(u"乙书");
    const struct {
        const char *what;
        QList<TuneCandidate> tunes;
        QStringList names;
    } cases[] = {
        {"an alias of the reference in the other book",
         {{a, S(u"长短句"), pattern}, {b, S(u"另名"), pattern}, {a, S(u"近调"), other}},
         {S(u"长短句"), S(u"近调")}},
        {"a character written two ways",
         {{a, S(u"一剪梅"), pattern}, {b, S(u"一翦梅"), pattern}, {a, S(u"近调"), other}},
         {S(u"一剪梅"), S(u"近调")}},
        {"two names of one book stay two tunes",
         {{a, S(u"长短句"), pattern}, {a, S(u"另名"), pattern}, {a, S(u"近调"), other}},
         {S(u"长短句"), S(u"另名"), S(u"近调")}},
        {"other tunes are not merged",
         {{a, S(u"长短句"), pattern}, {b, S(u"近调"), other}, {b, S(u"远调"), other}},
         {S(u"长短句"), S(u"近调"), S(u"远调")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QStringList names;
        for (const TuneMatch &m : RankTunes(Marked({u"●●○○●●○", u"●○○", u"○●○"}), c.tunes, 3, &reference))
            names.append(m.name);
        EXPECT_EQ(names, c.names);
    }
}

TEST(TuneRanking, AFormOfTheReferenceDoesNotOutrankTheRightLengths)
{
    // 长短句's forms have 13, 17 and 26 syllables; a verse of 7 and 6 is
    // nearer the book's tune of 7 and 6 than any of them.
    const TuneForms reference = Reference(kRows);
    const QList<TuneCandidate> tunes = {
        {S(u"书"), S(u"长短句"), S(u"●●○○●●△\r\n●○△\r\n○●△\r\n●●○○●●△\r\n●○△\r\n○●△\r\n")},
        {S(u"书"), S(u"七六"), S(u"⊙⊙⊙⊙⊙⊙△\r\n⊙⊙⊙⊙⊙△\r\n")},
    };
    const QList<TuneMatch> best = RankTunes(Marked({u"●●○○●●○", u"●●○○●○"}), tunes, 3, &reference);
    ASSERT_EQ(best.size(), 2);
    EXPECT_EQ(best.at(0).name, S(u"七六"));
    EXPECT_DOUBLE_EQ(best.at(0).fit, 1.0);
    EXPECT_EQ(best.at(1).name, S(u"长短句"));
    EXPECT_LT(best.at(1).fit, 1.0);
}

TEST(TuneRanking, NoteSaysWhichOtherFormTheCiFits)
{
    const TuneForms reference = Reference(kRows);
    const QString doubleForm = S(u"●●○○●●△\r\n●○△\r\n○●△\r\n●●○○●●△\r\n●○△\r\n○●△\r\n");
    const QString singleForm = S(u"●●○○●●△\r\n●○△\r\n○●△\r\n");
    const struct {
        const char *what;
        const char16_t *tune;
        QString pattern;
        QList<const char16_t *> verses;
        const char16_t *note;   // nullptr: none
    } cases[] = {
        {"a single stanza against the double form", u"长短句", doubleForm,
         {u"●●○○●●○", u"●○○", u"○●○"}, u"合《钦定词谱》正体, 13 字, 例 一二三四五六七……"},
        {"a pause typed as one line", u"另名", singleForm,
         {u"●●○○●●○", u"●○○", u"○●○○●●○"}, u"合《钦定词谱》又一体, 17 字, 例 春……"},
        {"the double stanza against the single form", u"长短句", singleForm,
         {u"●●○○●●○", u"●○○", u"○●○", u"●●○○●●○", u"●○○", u"○●○"},
         u"合《钦定词谱》又一体, 26 字, 例 甲乙丙丁戊己庚……"},
        {"a ci that fits the loaded pattern", u"长短句", doubleForm,
         {u"●●○○●●○", u"●○○", u"○●○", u"●●○○●●○", u"●○○", u"○●○"}, nullptr},
        {"a ci that fits no form", u"长短句", doubleForm, {u"●●○○●●○", u"●○○"}, nullptr},
        {"a tune the reference does not know", u"无此调", doubleForm, {u"●●○○●●○", u"●○○", u"○●○"}, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QList<Verse> verses = Marked(c.verses);
        QList<Finding> findings;
        Needs needs;
        needs.Reset(verses);
        ASSERT_TRUE(JudgeCi(verses, c.pattern, [](char32_t) { return CharReadings(); }, kPingshui,
                            findings, needs));
        NoteOtherForm(verses, S(c.tune), &reference, findings);
        QStringList notes;
        for (const Finding &f : findings) {
            if (f.kind == FindingKind::OtherForm) {
                notes.append(f.message);
                EXPECT_FALSE(f.fault);
            }
        }
        EXPECT_EQ(notes, c.note ? QStringList{S(c.note)} : QStringList());
    }
}

TEST(TuneForms, TheTableTheProgramCarries)
{
    const TuneForms &forms = TuneForms::Builtin();
    EXPECT_EQ(forms.Tunes(), 817);
    const struct {
        const char16_t *tune;
        int number;
        int size;
        QList<int> lengths;   // clause by clause
    } cases[] = {
        {u"江城子", 1, 35, {7, 3, 3, 4, 5, 7, 3, 3}},
        {u"浣溪沙", 1, 42, {7, 7, 7, 7, 7, 7}},
        {u"十六字令", 1, 16, {1, 7, 3, 5}},
        {u"庆春泽", 1, 66, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(S(c.tune).toStdString());
        const TuneForm *f = forms.Find(S(c.tune), c.number);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->Size(), c.size);
        if (!c.lengths.isEmpty()) {
            EXPECT_EQ(f->Lengths(false), c.lengths);
        }
    }
    // 江城子 in two stanzas is one of its other forms.
    const QList<const TuneForm *> jiang = forms.Of(S(u"江城子"));
    EXPECT_TRUE(std::any_of(jiang.begin(), jiang.end(), [](const TuneForm *f) { return f->Size() == 70; }));
}

// Real ci against the two books the program carries, under 平水韵: the
// forms the books lack are found through the 钦定词谱.
TEST(TuneRanking, RealCiOfFormsTheBooksLack)
{
    const QString seedDir = QStringLiteral(VERSILO_SOURCE_DIR "/data/seed");
    QString error;
    const RhymeDictionary dict = SeedDictionary(kPingshui, &error);
    ASSERT_GT(dict.Size(), 0) << error.toStdString();
    const ReadingIndex index(dict);
    QList<TuneCandidate> tunes;
    for (const QString &book : {kCommonBook, kBaixiangBook}) {
        seed::SeedTable rows;
        ASSERT_TRUE(seed::ReadSeedTable(seedDir, book, &rows, &error)) << error.toStdString();
        const qsizetype name = rows.columns.indexOf(QStringLiteral("篇名"));
        const qsizetype pattern = rows.columns.indexOf(QStringLiteral("格律"));
        for (const auto &row : rows.rows)
            tunes.append({book, row.at(size_t(name)).toString(),
                          PatternDisplayForm(row.at(size_t(pattern)).toString())});
    }
    // The examples the 钦定词谱 gives for 柳永's 洞仙歌 and 张先's 庆春泽.
    const auto example = [](const char16_t *tune, int number) {
        const TuneForm *f = TuneForms::Builtin().Find(S(tune), number);
        return f ? f->example.join(u'，') + u'。' : QString();
    };
    const struct {
        const char *what;
        QString ci;
        const char16_t *tune;
    } cases[] = {
        {"韦庄's 江城子 in one stanza",
         S(u"恩重娇多情易伤，漏更长，解鸳鸯。\r\n朱唇未动，先觉口脂香。\r\n缓揭绣衾抽皓腕，移凤枕，枕潘郎。"),
         u"江城子"},
        {"柳永's 洞仙歌 of 126 syllables", example(u"洞仙歌", 38), u"洞仙歌"},
        {"张先's 庆春泽 of 66 syllables", example(u"庆春泽", 1), u"庆春泽"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.ci.isEmpty());
        const QList<Verse> verses = SplitVerses(c.ci, {}, StripSet::Full, index.Lookup());
        for (const bool heard : {false, true}) {
            SCOPED_TRACE(heard ? "the rhyme words heard" : "by tones alone");
            const QList<TuneMatch> best = heard ? RankTunes(verses, tunes, 3, nullptr, index.Lookup(), kPingshui)
                                                : RankTunes(verses, tunes, 3);
            ASSERT_FALSE(best.isEmpty());
            EXPECT_EQ(best.first().name, S(c.tune));
            EXPECT_GT(best.first().form, 0);
        }
    }
}

// Rhyme words by hand: 东 同 风 红 in 东 (the first section of the ci rhymes),
// 人 春 in 真 (the sixth); 平 and 仄 have no group.
const ReadingIndex &RhymeIndex()
{
    static const ReadingIndex index([] {
        RhymeDictionary dict(kPingshui);
        const struct {
            const char16_t *hanzi;
            const char *tone, *group;
        } rows[] = {
            {u"平", "0", ""}, {u"仄", "1", ""}, {u"东", "0", "1"}, {u"同", "0", "1"},
            {u"风", "0", "1"}, {u"红", "0", "1"}, {u"人", "0", "12"}, {u"春", "0", "12"},
        };
        for (const auto &r : rows) {
            DictionaryRow row;
            row.hanzi = S(r.hanzi);
            row.tone = QString::fromLatin1(r.tone);
            row.group = QString::fromLatin1(r.group);
            dict.Append(row);
        }
        return dict;
    }());
    return index;
}

QList<Verse> Words(const QList<const char16_t *> &lines)
{
    QStringList text;
    for (const char16_t *l : lines)
        text.append(S(l));
    return SplitVerses(text.join(QStringLiteral("\r\n")), {}, StripSet::Full, RhymeIndex().Lookup());
}

TEST(TuneRanking, TheWordsOfOneRhymeAreHeldAgainstEachOther)
{
    // Three lines of five, rhyming throughout, or with a second rhyme on the
    // middle line inside the first.
    const TuneForms reference = Reference(
        u"一韵\t\t1\t正体\t15\t平平仄仄平韵仄仄仄平平韵平平仄仄平韵\t5,10,15\t甲/乙/丙\n"
        u"两韵\t\t1\t正体\t15\t平平仄仄平韵仄仄仄平平韵平平仄仄平韵\t5,15|10\t甲/乙/丙\n");
    const struct {
        const char *what;
        const char16_t *tune;
        QList<const char16_t *> lines;
        int offRhyme, rhymeWords;
    } cases[] = {
        {"every word in the rhyme", u"一韵", {u"平平仄仄东", u"仄仄仄平同", u"平平仄仄风"}, 0, 3},
        {"a word off the rhyme", u"一韵", {u"平平仄仄东", u"仄仄仄平人", u"平平仄仄风"}, 1, 3},
        {"a word without a group says nothing", u"一韵", {u"平平仄仄东", u"仄仄仄平平", u"平平仄仄风"}, 0, 2},
        {"a rhyme that comes back after another", u"两韵", {u"平平仄仄东", u"仄仄仄平人", u"平平仄仄风"}, 0, 2},
        {"the rhyme that comes back does not rhyme", u"两韵", {u"平平仄仄东", u"仄仄仄平风", u"平平仄仄人"},
         1, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QList<Verse> verses = Words(c.lines);
        const RhymeSounds sounds = ReadRhymeSounds(verses, RhymeIndex().Lookup(), kPingshui);
        const TuneForm *form = reference.Find(S(c.tune), 1);
        ASSERT_NE(form, nullptr);
        const std::optional<FormFit> fit = FitForm(verses, *form, 100, nullptr, &sounds);
        ASSERT_TRUE(fit.has_value());
        EXPECT_EQ(fit->offRhyme, c.offRhyme);
        EXPECT_EQ(fit->rhymeWords, c.rhymeWords);
    }
}

TEST(TuneRanking, OfFormsAlikeInLinesAndTonesTheOneWhoseRhymesRhymeComesFirst)
{
    // Four lines of four, level at every rhyme position of any of them, so
    // that only the rhyme words tell the tunes apart.
    const QString book = S(u"书");
    const TuneCandidate evenLines{book, S(u"隔句"), S(u"○○●●○⊙\r\n●●○○△\r\n○○●⊙\r\n●●○○△\r\n")};
    const TuneCandidate lastTwo{book, S(u"末二"), S(u"○○●●○⊙\r\n●●○○⊙\r\n○○●△\r\n●●○○△\r\n")};
    const TuneCandidate everyLine{book, S(u"句句"), S(u"○○●●○△\r\n●●○○△\r\n○○●△\r\n●●○○△\r\n")};
    const TuneCandidate twoRhymes{book, S(u"换韵"),
                                  S(u"○○●●○△\r\n●●○○△\r\n○○●△(换平韵)\r\n●●○○△\r\n")};
    const struct {
        const char *what;
        QList<const char16_t *> lines;
        QList<TuneCandidate> tunes;   // the first wins when the rhyme words are not heard
        const char16_t *first;
        bool fits;
    } cases[] = {
        {"the even lines rhyme", {u"平平仄仄平春", u"仄仄平平东", u"平平仄人", u"仄仄平平风"},
         {lastTwo, evenLines}, u"隔句", true},
        {"the last two lines rhyme", {u"平平仄仄平春", u"仄仄平平人", u"平平仄东", u"仄仄平平风"},
         {evenLines, lastTwo}, u"末二", true},
        {"a change of rhyme halfway", {u"平平仄仄平东", u"仄仄平平风", u"平平仄人", u"仄仄平平春"},
         {everyLine, twoRhymes}, u"换韵", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QList<Verse> verses = Words(c.lines);
        const TuneForms none;
        const QList<TuneMatch> byTones = RankTunes(verses, c.tunes, 3, &none);
        ASSERT_FALSE(byTones.isEmpty());
        EXPECT_EQ(byTones.first().name, c.tunes.first().name);
        const QList<TuneMatch> best = RankTunes(verses, c.tunes, 3, &none, RhymeIndex().Lookup(), kPingshui);
        ASSERT_EQ(best.size(), 2);
        EXPECT_EQ(best.first().name, S(c.first));
        EXPECT_EQ(best.first().fits, c.fits);
        EXPECT_FALSE(best.last().fits) << "its rhyme positions do not rhyme";
    }
}

}  // namespace
