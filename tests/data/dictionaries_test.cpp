// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped rhyme dictionaries, read through the program's own store: facts
// a poet relies on, the shape of every row, and coverage of classical poems.
#include "datastore.h"
#include "prosody.h"
#include "rhymedict.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

namespace versilo {
namespace {

class SeedDictionaries : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir();
        ASSERT_TRUE(dir_->isValid());
        DataStore store(StoreLocation{dir_->path(), QStringLiteral(VERSILO_SOURCE_DIR "/data/seed")});
        ASSERT_TRUE(store.Connect()) << store.LastError().toStdString();
        store.NewRecordset();
        pingshui_ = new RhymeDictionary();
        newRhyme_ = new RhymeDictionary();
        QString error;
        ASSERT_TRUE(LoadRhymeDictionary(store, kPingshui, *pingshui_, &error)) << error.toStdString();
        ASSERT_TRUE(LoadRhymeDictionary(store, kNewRhyme, *newRhyme_, &error)) << error.toStdString();
    }

    static void TearDownTestSuite()
    {
        delete pingshui_;
        delete newRhyme_;
        delete dir_;
        pingshui_ = newRhyme_ = nullptr;
        dir_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(pingshui_, nullptr);
        ASSERT_GT(pingshui_->Size(), 0);
        ASSERT_GT(newRhyme_->Size(), 0);
    }

    static const RhymeDictionary &Pingshui() { return *pingshui_; }
    static const RhymeDictionary &NewRhyme() { return *newRhyme_; }

    // "○东" style: the tone mark and the group name a check would show.
    static QString Resolve(const RhymeDictionary &dict, QChar c)
    {
        const QChar mark = dict.ToneMark(c);
        return (mark.isNull() ? QStringLiteral("空") : QString(mark)) + dict.GroupName(c);
    }

    static QTemporaryDir *dir_;
    static RhymeDictionary *pingshui_;
    static RhymeDictionary *newRhyme_;
};

QTemporaryDir *SeedDictionaries::dir_ = nullptr;
RhymeDictionary *SeedDictionaries::pingshui_ = nullptr;
RhymeDictionary *SeedDictionaries::newRhyme_ = nullptr;

// Fifty characters of the entering tone, many of them level in Mandarin.
const QString kEntering = QStringLiteral(
    "国白石竹十一节急独学木出发月日绿笛说客落叶雪烛别笔读墨药物玉骨色血黑湿息益寂宅福泽杂熟鹤曲觉乐合舌德");

const QString kEnteringGroups = QStringLiteral("屋沃觉质物月曷黠屑药陌锡职缉合叶洽");

TEST_F(SeedDictionaries, EnteringToneIsObliqueUnderPingshui)
{
    ASSERT_EQ(kEntering.size(), 50);
    for (const QChar c : kEntering) {
        EXPECT_EQ(Pingshui().ToneMark(c), QChar(u'●')) << QString(c).toStdString();
        const QString group = Pingshui().GroupName(c);
        ASSERT_EQ(group.size(), 1) << QString(c).toStdString();
        EXPECT_TRUE(kEnteringGroups.contains(group))
            << QString(c).toStdString() << " in " << group.toStdString();
    }
    // The traditional forms are there as well.
    for (const QChar c : QStringLiteral("國節獨學綠說葉燭別筆讀藥濁澤雜鶴覺樂"))
        EXPECT_EQ(Pingshui().ToneMark(c), QChar(u'●')) << QString(c).toStdString();

    // No character the 平水韵 table lists in an entering group is level only,
    // but a few entries of the simplified table taken for its slips (龙 in 缉,
    // 儿 in 觉, 蒲 in 药: a traditional character's reading put under its
    // simplified form).
    const QString slips = QStringLiteral("龙跫儿尼躇蒲颓橇掏骰腌");
    QFile file(QStringLiteral(VERSILO_SOURCE_DIR "/tests/data/entering-characters.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<char32_t> entering = CodePoints(QString::fromUtf8(file.readAll()).trimmed());
    ASSERT_GT(entering.size(), 1600u);
    QString level;
    for (const char32_t c : entering)
        if (Pingshui().ToneMark(c) == QChar(u'○'))
            level += CharacterText(c);
    std::cout << "[ 平水韵 ] " << level.size() << " of " << entering.size()
              << " characters with an entering reading coded level: " << level.toStdString() << std::endl;
    for (const QChar c : level)
        EXPECT_TRUE(slips.contains(c)) << QString(c).toStdString();
}

// Faults of the old derivation from 廣韻 that the 平水韵 table mends: 業 in 洽
// (not 叶), entering tones Mandarin reads level, wrong or missing groups.
TEST_F(SeedDictionaries, PingshuiFollowsItsTable)
{
    const struct { const char16_t *chars; const char16_t *expected; } cases[] = {
        {u"业劫怯胁邺", u"●洽"},
        {u"拆", u"●陌"}, {u"泼", u"●曷"}, {u"塌", u"●合"}, {u"圾", u"●缉"}, {u"咧", u"●屑"}, {u"壳", u"●觉"},
        {u"扩凿", u"●药"}, {u"僻", u"●陌"}, {u"脸", u"●琰"}, {u"莉", u"●置"},
        {u"疯", u"○东"}, {u"懂", u"●董"}, {u"滚", u"●阮"}, {u"怎", u"●寝"},
        {u"先", u"※先"},   // the table lacks 先 in 一先, its own head
        {u"江", u"○江"}, {u"讲港", u"●讲"},   // 三讲, which the table lacks, from 廣韻
    };
    for (const auto &c : cases) {
        for (const QChar ch : QString::fromUtf16(c.chars))
            EXPECT_EQ(Resolve(Pingshui(), ch), QString::fromUtf16(c.expected)) << QString(ch).toStdString();
    }
    // 涯 rhymes in 麻 as well (李商隐's 隋宫: 家 涯 花 鸦).
    QStringList groups;
    for (const DictionaryRow &row : Pingshui().Rows())
        if (row.hanzi == QStringLiteral("涯"))
            groups << RhymeGroupName(kPingshui, row.group);
    EXPECT_TRUE(groups.contains(QStringLiteral("麻"))) << groups.join(u' ').toStdString();

    // Nearly every one of the 3,500 common characters (level 1 of the
    // standard list) has a group.
    QFile file(QStringLiteral(VERSILO_SOURCE_DIR "/tests/data/level1-characters.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString level1 = QString::fromUtf8(file.readAll()).trimmed();
    ASSERT_EQ(level1.size(), 3500);
    QString without;
    for (const QChar c : level1)
        if (Pingshui().GroupName(c).isEmpty())
            without += c;
    std::cout << "[ 平水韵 ] " << without.size() << " of 3500 common characters without a group: "
              << without.toStdString() << std::endl;
    EXPECT_LE(without.size(), 20);
}

TEST_F(SeedDictionaries, PingshuiGroupsAndDoubleReadings)
{
    const struct { const char16_t *chars; const char16_t *expected; } cases[] = {
        {u"东红风", u"○东"},
        {u"中", u"※东"},         // zhòng: a departing reading too
        {u"花家", u"○麻"},
        {u"春人", u"○真"},
        {u"明声城", u"○筐"},     // 庚 is shown as 筐
        {u"山闲", u"○删"},
        {u"楼头流", u"○尤"},
        {u"霜乡", u"○阳"},
        {u"好", u"●皓"},
        {u"地泪", u"●置"},       // 寘 is shown as 置
        {u"夜", u"●驾"},         // level in Mandarin, departing in 平水韵
        // several groups: the group the character rhymes in most in Tang verse is shown
        {u"看", u"※寒"},
        {u"思为", u"※支"},
        {u"长", u"※阳"},
        {u"过", u"※歌"},
        {u"不", u"●物"},         // entering tone; its loan reading as 否 (尤) is left out
        {u"東紅", u"○东"},       // traditional forms resolve like their simplified ones
        // the table speaks for a traditional form through its simplified one
        {u"風", u"○东"},
        {u"閒", u"○删"},
    };
    for (const auto &c : cases) {
        for (const QChar ch : QString::fromUtf16(c.chars))
            EXPECT_EQ(Resolve(Pingshui(), ch), QString::fromUtf16(c.expected)) << QString(ch).toStdString();
    }
    // A simplified form keeps the rhyme of the traditional form it stands for.
    EXPECT_EQ(Resolve(Pingshui(), u'于'), QStringLiteral("○虞"));
    EXPECT_EQ(Resolve(Pingshui(), u'松'), QStringLiteral("○冬"));   // not 鬆's 送
    EXPECT_EQ(Resolve(Pingshui(), u'同'), QStringLiteral("○东"));   // not 衕's 送
    EXPECT_EQ(Resolve(Pingshui(), u'骑'), QStringLiteral("※支"));   // 一骑红尘: 寘 as well
    EXPECT_EQ(Resolve(Pingshui(), u'闲'), QStringLiteral("○删"));   // 閒 hands 闲 only xián
    EXPECT_EQ(Resolve(Pingshui(), u'历'), QStringLiteral("●锡"));   // 歷, not the rare 历 of 霽
    // Forms 廣韻 writes with another glyph: 䰟 魂, 𩏑 韓, 牕 窗.
    EXPECT_EQ(Resolve(Pingshui(), u'魂'), QStringLiteral("○元"));
    EXPECT_EQ(Resolve(Pingshui(), u'韩'), QStringLiteral("○寒"));
    EXPECT_EQ(Resolve(Pingshui(), u'窗'), QStringLiteral("○江"));
    // Later characters take the group of their phonetic series (们 as 門),
    // the few without one a tone from Mandarin.
    EXPECT_EQ(Resolve(Pingshui(), u'们'), QStringLiteral("○元"));
    EXPECT_EQ(Resolve(Pingshui(), u'卡'), QStringLiteral("●"));
}

// Rare readings of 廣韻 (何 "負荷", 如 去聲, 光 去聲 …) do not make a character a
// poet reads with one tone "两读"; the real 两读 stay, and readings the
// derivation misses (听 径, 称 径, 漫 寒, 探 勘) are there.
TEST_F(SeedDictionaries, DoubleReadingsAreThoseVerseUses)
{
    for (const QChar c : QStringLiteral("何如光深留收临经缘吟轻生能题凉共只"))
        EXPECT_NE(Pingshui().ToneMark(c), QChar(u'※')) << QString(c).toStdString();
    const struct { char16_t c; const char16_t *expected; } cases[] = {
        {u'何', u"○歌"}, {u'如', u"○鱼"}, {u'深', u"○侵"}, {u'光', u"○阳"}, {u'共', u"●宋"},
        {u'洞', u"●送"}, {u'著', u"●药"}, {u'宁', u"○青"},   // 宁 zhù (門屏之間) left out
        {u'听', u"※青"}, {u'称', u"※蒸"}, {u'漫', u"※寒"}, {u'探', u"※覃"},
        {u'粗', u"○虞"},   // 廣韻 has only 徂古切; verse reads it as 麤
        {u'娉', u"※青"},   // 娉婷
        {u'杆', u"○寒"},   // 栏杆
        {u'乾', u"○先"},   // 乾坤; 乾 "dry" is written 干
        {u'苹', u"○真"},   // 白苹 is 白蘋
        {u'种', u"●肿"},   // as 種; 种 chóng (幼稚) is no verse reading
    };
    for (const auto &c : cases)
        EXPECT_EQ(Resolve(Pingshui(), QChar(c.c)), QString::fromUtf16(c.expected))
            << QString(QChar(c.c)).toStdString();
    // a traditional form reads like its simplified one
    for (const QChar c : QStringLiteral("何深寧猶搖淺蟲陳離"))
        EXPECT_NE(Pingshui().ToneMark(c), QChar(u'※')) << QString(c).toStdString();
    // the 两读 a poet knows
    for (const QChar c : QStringLiteral("看思望听忘过教论醒胜中重长为应更骑乘禁令冠相将量"))
        EXPECT_EQ(Pingshui().ToneMark(c), QChar(u'※')) << QString(c).toStdString();
}

TEST_F(SeedDictionaries, NewRhymeFollowsMandarin)
{
    const struct { char16_t c; const char16_t *expected; } cases[] = {
        {u'国', u"○波"}, {u'一', u"○齐"}, {u'白', u"○开"}, {u'好', u"●豪"}, {u'长', u"※唐"},
        {u'十', u"○支"}, {u'日', u"●支"}, {u'儿', u"○齐"}, {u'鱼', u"○齐"}, {u'绿', u"●齐"},
        {u'雪', u"●皆"}, {u'月', u"●皆"}, {u'书', u"○姑"}, {u'花', u"○麻"}, {u'春', u"○文"},
        {u'东', u"○庚"}, {u'穷', u"○庚"}, {u'来', u"○开"}, {u'飞', u"○微"}, {u'归', u"○微"},
        {u'秋', u"○尤"}, {u'山', u"○寒"}, {u'元', u"○寒"}, {u'光', u"○唐"}, {u'多', u"○波"},
        {u'看', u"※寒"}, {u'为', u"※微"}, {u'去', u"●齐"}, {u'在', u"●开"}, {u'小', u"●豪"},
        // ü after j q x y, the apical -i, er, yo, ueng
        {u'云', u"○文"}, {u'军', u"○文"}, {u'学', u"○皆"}, {u'略', u"●皆"}, {u'女', u"●齐"},
        {u'虚', u"○齐"}, {u'二', u"●齐"}, {u'词', u"○支"}, {u'我', u"●波"}, {u'哟', u"○波"},
        {u'用', u"●庚"}, {u'翁', u"○庚"},
        {u'咳', u"○波"},   // ké (咳嗽), not the interjection hāi
        {u'么', u"○波"},   // me, not the old 幺 yāo
    };
    for (const auto &c : cases)
        EXPECT_EQ(Resolve(NewRhyme(), QChar(c.c)), QString::fromUtf16(c.expected))
            << QString(QChar(c.c)).toStdString();

    // The entering-tone characters all resolve, by their Mandarin tone.
    for (const QChar c : kEntering)
        EXPECT_FALSE(NewRhyme().ToneMark(c).isNull()) << QString(c).toStdString();
    for (const QChar c : QStringLiteral("国白竹十节急独学笛福熟德"))
        EXPECT_EQ(NewRhyme().ToneMark(c), QChar(u'○')) << QString(c).toStdString();
    for (const QChar c : QStringLiteral("木月日入绿落雪物玉色血寂"))
        EXPECT_EQ(NewRhyme().ToneMark(c), QChar(u'●')) << QString(c).toStdString();
}

// The rhymes of well-known regulated verse fall into one 平水韵 group, also
// where a rhyme character has readings in several groups (看 长 重 间 深).
TEST_F(SeedDictionaries, RhymesOfRegulatedVerseShareAGroup)
{
    const struct { const char16_t *rhymes; const char16_t *group; } poems[] = {
        {u"深心金簪", u"侵"},         // 春望
        {u"哀回来台杯", u"灰"},       // 登高
        {u"楼悠洲愁", u"尤"},         // 黄鹤楼
        {u"间还山", u"删"},           // 早发白帝城
        {u"斜家花", u"麻"},           // 山行
        {u"光霜乡", u"阳"},           // 静夜思
        {u"长茫霜", u"阳"},
        {u"看难寒", u"寒"},
        {u"重逢峰", u"冬"},
        {u"秋流留休", u"尤"},         // 山居秋暝
        {u"生声明城", u"筐"},         // 春夜喜雨
        {u"前悬年边", u"先"},         // 次北固山下
        {u"弦年鹃烟然", u"先"},       // 锦瑟
        {u"何多过罗", u"歌"},         // 天末怀李白
        {u"时思之期", u"支"},         // 望月怀远
    };
    for (const auto &p : poems) {
        for (const QChar c : QString::fromUtf16(p.rhymes))
            EXPECT_EQ(Pingshui().GroupName(c), QString::fromUtf16(p.group)) << QString(c).toStdString();
    }
}

// Every row of both tables has the shape the program and the maintenance
// window rely on.
TEST_F(SeedDictionaries, RowsAreWellFormed)
{
    for (const RhymeDictionary *dict : {&Pingshui(), &NewRhyme()}) {
        const bool pingshui = dict == &Pingshui();
        const int maxGroup = pingshui ? 108 : 14;
        QHash<QString, QString> toneOf;
        int withoutGroup = 0;
        for (const DictionaryRow &row : dict->Rows()) {
            const std::string what = (dict->System() + QLatin1Char(' ') + row.hanzi).toStdString();
            ASSERT_EQ(row.hanzi.toUcs4().size(), 1) << what;   // one character, also beyond the BMP
            if (pingshui && row.group.toInt() >= 92) {
                EXPECT_NE(row.tone, QLatin1String("0")) << what;   // an entering reading is never level only
            }
            EXPECT_TRUE(row.tone == QLatin1String("0") || row.tone == QLatin1String("1")
                        || row.tone == QLatin1String("2")) << what;
            // the character's overall code is on every one of its rows
            const auto seen = toneOf.constFind(row.hanzi);
            if (seen != toneOf.constEnd()) {
                EXPECT_EQ(*seen, row.tone) << what;
            }
            toneOf.insert(row.hanzi, row.tone);
            if (row.group.isEmpty()) {
                ++withoutGroup;
                continue;
            }
            bool ok = false;
            const int group = row.group.toInt(&ok);
            EXPECT_TRUE(ok && group >= 1 && group <= maxGroup) << what << " " << row.group.toStdString();
            EXPECT_FALSE(RhymeGroupName(dict->System(), row.group).isEmpty()) << what;
            if (pingshui) {
                EXPECT_NE(group, 5) << what;    // 缁 and 邃 have no rhyme of their own
                EXPECT_NE(group, 65) << what;
            }
        }
        if (pingshui) {
            EXPECT_GT(toneOf.size(), 15000);
            EXPECT_LT(withoutGroup, 2000);   // characters later than 廣韻, toned from Mandarin
        } else {
            EXPECT_GT(toneOf.size(), 8105);
            EXPECT_EQ(withoutGroup, 0);
        }
    }
}

// The standard characters beyond the Basic Multilingual Plane (196 of the
// 8,105) resolve in both dictionaries.
TEST_F(SeedDictionaries, StandardCharactersBeyondTheBmpResolve)
{
    // The list is written by the generator from Unihan kTGH (other characters
    // beyond the BMP, variant forms, may have rows in one dictionary only).
    QFile file(QStringLiteral(VERSILO_SOURCE_DIR "/tests/data/standard-beyond-bmp.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QSet<char32_t> beyond;
    for (const char32_t c : CodePoints(QString::fromUtf8(file.readAll()).trimmed()))
        beyond.insert(c);
    EXPECT_GE(beyond.size(), 196);
    for (const char32_t c : beyond) {
        const std::string what = CharacterText(c).toStdString();
        for (const RhymeDictionary *dict : {&Pingshui(), &NewRhyme()}) {
            EXPECT_FALSE(dict->ToneMark(c).isNull()) << dict->System().toStdString() << " " << what;
            EXPECT_FALSE(dict->GroupName(c).isEmpty()) << dict->System().toStdString() << " " << what;
        }
    }
}

TEST_F(SeedDictionaries, ClassicalPoemsResolveCompletely)
{
    const QString poems = QStringLiteral(
        "床前明月光，疑是地上霜。举头望明月，低头思故乡。"
        "春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。"
        "白日依山尽，黄河入海流。欲穷千里目，更上一层楼。"
        "国破山河在，城春草木深。感时花溅泪，恨别鸟惊心。"
        "烽火连三月，家书抵万金。白头搔更短，浑欲不胜簪。"
        "千山鸟飞绝，万径人踪灭。孤舟蓑笠翁，独钓寒江雪。"
        "朝辞白帝彩云间，千里江陵一日还。两岸猿声啼不住，轻舟已过万重山。"
        "清明时节雨纷纷，路上行人欲断魂。借问酒家何处有，牧童遥指杏花村。"
        "慈母手中线，游子身上衣。临行密密缝，意恐迟迟归。谁言寸草心，报得三春晖。");
    const QString traditional = QStringLiteral(
        "國破山河在，城春草木深。感時花濺淚，恨別鳥驚心。"
        "烽火連三月，家書抵萬金。白頭搔更短，渾欲不勝簪。"
        "朝辭白帝彩雲間，千里江陵一日還。兩岸猿聲啼不住，輕舟已過萬重山。");
    const QString punctuation = QStringLiteral("，。");
    int characters = 0;
    for (const QString &text : {poems, traditional}) {
        for (const QChar c : text) {
            if (punctuation.contains(c))
                continue;
            ++characters;
            const std::string what = QString(c).toStdString();
            for (const RhymeDictionary *dict : {&Pingshui(), &NewRhyme()}) {
                EXPECT_FALSE(dict->ToneMark(c).isNull()) << dict->System().toStdString() << " " << what;
                EXPECT_FALSE(dict->GroupName(c).isEmpty()) << dict->System().toStdString() << " " << what;
            }
        }
    }
    EXPECT_EQ(characters, 274);  // every character of the texts above was looked at
}

// The tone column of the annotation for a quatrain: 一 and 白 are oblique in
// 平水韵 and level in 中华新韵.
TEST_F(SeedDictionaries, ToneMarksOfAQuatrain)
{
    const QString poem = QStringLiteral("白日依山尽，\r\n黄河入海流。\r\n欲穷千里目，\r\n更上一层楼。\r\n");
    const QString pingshui = MarkTones(Pingshui(), poem, StripSet::Full);
    EXPECT_TRUE(pingshui.startsWith(QStringLiteral("●●○○●\r\n○○●●○\r\n●○○●●\r\n※●●○○\r\n")))
        << pingshui.toStdString();
    const QString newRhyme = MarkTones(NewRhyme(), poem, StripSet::Full);
    EXPECT_TRUE(newRhyme.startsWith(QStringLiteral("○●○○●\r\n○○●●○\r\n●○○●●\r\n※●○○○\r\n")))
        << newRhyme.toStdString();
}

}  // namespace
}  // namespace versilo
