// SPDX-License-Identifier: GPL-3.0-or-later
#include "rhymelist.h"

#include <map>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <cstdio>

#include "applocation.h"
#include "datastore.h"
#include "rhymedict.h"

namespace versilo {

namespace {

constexpr int kExitError = 2;
constexpr int kListed = 100;      // words of each list printed by --rhymes

void Print(std::FILE *to, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

QString ToneWordOf(Tone t)
{
    return t == Tone::Level ? QStringLiteral("平") : QStringLiteral("仄");
}

QJsonArray WordsJson(const QList<RhymeWord> &words)
{
    QJsonArray out;
    for (const RhymeWord &w : words)
        out.append(QJsonObject{{"char", w.hanzi}, {"count", w.count}, {"group", w.group}});
    return out;
}

QString Line(const QString &head, const QList<RhymeWord> &words, bool withGroup)
{
    QStringList parts;
    for (const RhymeWord &w : words)
        parts.append(withGroup ? w.hanzi + u'(' + w.group + u')' : w.hanzi);
    return head + (parts.isEmpty() ? QStringLiteral("无") : parts.join(u' ')) + u'\n';
}

}  // namespace

const QString &OtherSystem(const QString &system)
{
    return system == kPingshui ? kNewRhyme : kPingshui;
}

QJsonObject RhymeWordsJson(const RhymeWords &words)
{
    return QJsonObject{{"system", words.system},
                       {"group", words.groupName},
                       {"tone", ToneWordOf(words.tone)},
                       {"words", WordsJson(words.words)},
                       {"neighbours", WordsJson(words.neighbours)},
                       {"outOfRhyme", WordsJson(words.outOfRhyme)}};
}

QString RhymeWordsText(const RhymeWords &words)
{
    const QString head = words.system + u' ' + words.groupName + QStringLiteral("韵 ")
                         + ToneWordOf(words.tone) + QStringLiteral("声");
    QString out = Line(head + QStringLiteral("（常用在前）："), words.words, false);
    if (words.system == kPingshui)
        out += Line(QStringLiteral("邻韵（首句可借）："), words.neighbours, true);
    out += Line(QStringLiteral("音近而出韵："), words.outOfRhyme, true);
    return out;
}

std::optional<RhymeWords> PoemRhymeWords(const RhymeDictionary &dict, const RhymeDictionary &other,
                                         const ReadingLookup &lookup, const QList<Verse> &verses,
                                         int limit, RhymeListsMade &made)
{
    const std::optional<PoemRhyme> rhyme = FindPoemRhyme(verses, lookup);
    if (!rhyme)
        return std::nullopt;
    const std::pair<int, int> key{rhyme->group, int(rhyme->tone)};
    auto found = made.lists.find(key);
    if (found == made.lists.end()) {
        if (!made.lister)
            made.lister = std::make_unique<RhymeWordLister>(dict, &other, RhymeUsage::Builtin());
        found = made.lists.emplace(key, made.lister->List(rhyme->group, rhyme->tone, limit)).first;
    }
    return found->second;
}

int PrintRhymeList(const RhymeListRequest &r)
{
    const auto fail = [](const QString &message) {
        Print(stderr, "versilo-check: " + message + "\n");
        return kExitError;
    };
    if (r.tone != "" && r.tone != "平" && r.tone != "仄")
        return fail("--tone must be 平 or 仄, not \"" + r.tone + "\"");
    const int group = RhymeGroupNumber(r.system, r.group);
    if (group == 0)
        return fail("no rhyme group \"" + r.group + "\" in " + r.system);

    const QString appDir = r.appDir.isEmpty() ? AppWriteDir() : r.appDir;
    if (!QFileInfo(appDir).isDir())
        return fail("no such folder: " + appDir);
    DataStore store(StoreLocation{QDir(appDir).absolutePath(), r.seedDir});
    if (!store.Connect())
        return fail(store.LastError());
    store.NewRecordset();
    RhymeDictionary dict;
    RhymeDictionary other;
    QString error;
    if (!LoadRhymeDictionary(store, r.system, dict, &error)
        || !LoadRhymeDictionary(store, OtherSystem(r.system), other, &error))
        return fail("无法读取韵书：" + error);

    const Tone tone = r.tone == "平" ? Tone::Level
                      : r.tone == "仄" ? Tone::Oblique
                      : r.system == kPingshui ? GroupTone(dict, group) : Tone::Level;
    const RhymeWords words = ListRhymeWords(dict, &other, RhymeUsage::Builtin(), group, tone, kListed);
    if (r.json)
        Print(stdout, QString::fromUtf8(QJsonDocument(QJsonObject{{"rhymeWords", RhymeWordsJson(words)}})
                                            .toJson(QJsonDocument::Indented)));
    else
        Print(stdout, RhymeWordsText(words));
    return 0;
}

}  // namespace versilo
