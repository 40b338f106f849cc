// SPDX-License-Identifier: GPL-3.0-or-later
// A poem typed in another script or with variant glyphs reads like the same
// poem in standard simplified characters, through the shipped dictionaries.
#include "datastore.h"
#include "prosody.h"
#include "rhymedict.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iomanip>
#include <iostream>

namespace versilo {
namespace {

class SeedScripts : public ::testing::Test {
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

    void SetUp() override { ASSERT_NE(pingshui_, nullptr); }

    static QStringList Lines(const char *name)
    {
        QFile file(QStringLiteral(VERSILO_SOURCE_DIR "/tests/data/") + QString::fromUtf8(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    // The tone column of the annotation for a poem of one line.
    static QString Marks(const RhymeDictionary &dict, const QString &line)
    {
        const QString column = MarkTones(dict, line + QStringLiteral("\r\n"), StripSet::Full);
        return column.left(column.indexOf(QStringLiteral("\r\n")));
    }

    static QTemporaryDir *dir_;
    static RhymeDictionary *pingshui_;
    static RhymeDictionary *newRhyme_;
};

QTemporaryDir *SeedScripts::dir_ = nullptr;
RhymeDictionary *SeedScripts::pingshui_ = nullptr;
RhymeDictionary *SeedScripts::newRhyme_ = nullptr;

double Percent(qsizetype part, qsizetype whole) { return whole ? 100.0 * double(part) / double(whole) : 0.0; }

// Typed text -> marks: the same line in simplified characters, in traditional
// ones and with the variant glyphs of old editions, Hong Kong or Japan.
TEST_F(SeedScripts, TypedScriptsGiveTheSameMarks)
{
    const struct {
        const char16_t *standard;
        const char16_t *typed;
        bool pingshuiToo;   // false where the traditional text resolves a 两读
    } cases[] = {
        // 中华新韵 reads the word, whatever the script.
        {u"风与听闲间横迹", u"風與聽閒間橫跡", false},
        {u"们吗么", u"們嗎麼", false},
        {u"晚乡绝说邻回", u"晩郷絶説隣廻", true},
        {u"髮", u"髪", true},
        {u"晚乡绝说邻回", u"晚鄉絕説鄰迴", false},
        {u"卫户併奖", u"衞戸倂奨", true},
    };
    for (const auto &c : cases) {
        const QString standard = QString::fromUtf16(c.standard);
        const QString typed = QString::fromUtf16(c.typed);
        EXPECT_EQ(Marks(*newRhyme_, typed), Marks(*newRhyme_, standard)) << typed.toStdString();
        EXPECT_FALSE(Marks(*newRhyme_, typed).contains(QStringLiteral("空"))) << typed.toStdString();
        EXPECT_FALSE(Marks(*pingshui_, typed).contains(QStringLiteral("空"))) << typed.toStdString();
        if (c.pingshuiToo) {
            EXPECT_EQ(Marks(*pingshui_, typed), Marks(*pingshui_, standard)) << typed.toStdString();
        }
    }
    // Characters read only in the neutral tone, or only as a nasal, have a row.
    for (const QChar ch : QStringLiteral("嘛蓿嗯们"))
        EXPECT_FALSE(newRhyme_->GroupName(ch).isEmpty()) << QString(ch).toStdString();
}

// The variant forms (Unihan kZVariant and kSemanticVariant, OpenCC's Hong
// Kong and Taiwan forms) of the 3,500 common characters: nearly all of them
// get a mark in both dictionaries.
TEST_F(SeedScripts, VariantFormsOfCommonCharactersGetAMark)
{
    qsizetype forms = 0;
    qsizetype pingshuiMissing = 0;
    qsizetype newRhymeMissing = 0;
    for (const QString &line : Lines("variant-forms.txt")) {
        const QStringList fields = line.split(u'\t');
        ASSERT_EQ(fields.size(), 2) << line.toStdString();
        for (const uint v : fields.at(1).toUcs4()) {
            ++forms;
            pingshuiMissing += pingshui_->ToneMark(char32_t(v)).isNull();
            newRhymeMissing += newRhyme_->ToneMark(char32_t(v)).isNull();
        }
    }
    ASSERT_GT(forms, 500);
    std::cout << std::fixed << std::setprecision(1) << "[ variants ] of " << forms
              << " variant forms of the common characters without a mark: 平水韵 " << pingshuiMissing << " ("
              << Percent(pingshuiMissing, forms) << " %), 中华新韵 " << newRhymeMissing << " ("
              << Percent(newRhymeMissing, forms) << " %)" << std::endl;
    EXPECT_LE(Percent(pingshuiMissing, forms), 2.0);
    EXPECT_LE(Percent(newRhymeMissing, forms), 2.0);
}

// The library typed in traditional characters (OpenCC s2t): what changes
// is, nearly always, a traditional form that settles a 两读 of its
// simplified form (发 ※: 發 ○, 髮 ●), or the reverse.
TEST_F(SeedScripts, TraditionalTextChangesAlmostNoMark)
{
    const QStringList lines = Lines("library-traditional-pairs.txt");
    ASSERT_FALSE(lines.isEmpty());
    ASSERT_TRUE(lines.first().startsWith(QStringLiteral("# characters ")));
    const qsizetype characters = lines.first().mid(13).toLongLong();
    ASSERT_GT(characters, 10000);
    qsizetype newRhymeChanged = 0;
    qsizetype newRhymeNotTwoReadings = 0;
    qsizetype pingshuiChanged = 0;
    qsizetype pingshuiNotTwoReadings = 0;
    QString newRhymeWorst;
    QString pingshuiOther;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList f = lines.at(i).split(u'\t');
        ASSERT_EQ(f.size(), 3) << lines.at(i).toStdString();
        const char32_t s = f.at(0).toUcs4().value(0);
        const char32_t t = f.at(1).toUcs4().value(0);
        const qsizetype n = f.at(2).toLongLong();
        const QChar ns = newRhyme_->ToneMark(s);
        const QChar nt = newRhyme_->ToneMark(t);
        if (ns != nt) {
            newRhymeChanged += n;
            if (ns != QChar(u'※') && nt != QChar(u'※'))
                newRhymeNotTwoReadings += n;
            if (n >= 5)
                newRhymeWorst += f.at(0) + f.at(1) + QLatin1Char(' ');
        }
        const QChar ps = pingshui_->ToneMark(s);
        const QChar pt = pingshui_->ToneMark(t);
        if (ps != pt) {
            pingshuiChanged += n;
            if (ps != QChar(u'※') && pt != QChar(u'※')) {
                pingshuiNotTwoReadings += n;
                pingshuiOther += f.at(0) + f.at(1) + QLatin1Char(' ');
            }
        }
    }
    std::cout << std::fixed << std::setprecision(2) << "[ scripts ] of " << characters
              << " library characters typed in traditional characters, marks changed: 中华新韵 " << newRhymeChanged
              << " (" << Percent(newRhymeChanged, characters) << " %, " << newRhymeNotTwoReadings
              << " not between ※ and one tone), 平水韵 " << pingshuiChanged << " ("
              << Percent(pingshuiChanged, characters) << " %, " << pingshuiNotTwoReadings
              << " not between ※ and one tone)" << std::endl;
    if (!newRhymeWorst.isEmpty())
        std::cout << "[ scripts ] 中华新韵 pairs changing 5 times or more: " << newRhymeWorst.toStdString() << std::endl;
    if (!pingshuiOther.isEmpty())
        std::cout << "[ scripts ] 平水韵 pairs changing between ○ and ●: " << pingshuiOther.toStdString() << std::endl;
    EXPECT_LE(Percent(newRhymeNotTwoReadings, characters), 0.05);
    EXPECT_LE(Percent(newRhymeChanged, characters), 0.3);
    EXPECT_LE(Percent(pingshuiNotTwoReadings, characters), 0.2);
}

}  // namespace
}  // namespace versilo
