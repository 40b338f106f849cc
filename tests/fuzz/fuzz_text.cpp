// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the text path: any poem and pattern text through both
// checks, the diagnostics (form, findings, tunes) and the JSON that
// versilo-check prints. Input layout: one byte of switches, then the poem,
// then (after the first NUL) the pattern, then (after the next NUL) the title.
// Switch bits: 0 平水韵, 1 text as raw UTF-16 code units (lone surrogates),
// 2 LF becomes CR LF, 3 a tune name.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

#include "diagnostics.h"
#include "patternbooks.h"
#include "prosody.h"
#include "rhymedict.h"

using namespace versilo;

namespace {

// A small dictionary of both systems: plain rows, several readings of one
// character, unknown codes, an empty character, one beyond the BMP.
RhymeDictionary MakeDictionary(const QString &system)
{
    RhymeDictionary d(system);
    const struct {
        const char16_t *hanzi;
        const char *tone;
        const char *group;
    } rows[] = {
        {u"东", "0", "1"},   {u"风", "0", "11"},  {u"春", "0", "12"},  {u"月", "1", "97"},
        {u"明", "0", "8"},   {u"白", "1", "102"}, {u"日", "1", "95"},  {u"山", "0", "15"},
        {u"看", "2", "14"},  {u"看", "0", "15"},  {u"重", "2", "2"},   {u"花", "0", "22"},
        {u"落", "1", "92"},  {u"水", "1", "35"},  {u"长", "9", "23"},  {u"长", "1", "x"},
        {u"", "0", "1"},     {u"𠀀", "1", "3"},  {u"江", "0", "3"},   {u"人", "0", "12"},
        {u"不", "1", "27"},  {u"一", "1", "95"},  {u"天", "0", "17"},  {u"来", "0", "10"},
    };
    qint64 id = 0;
    for (const auto &r : rows) {
        DictionaryRow row;
        row.id = ++id;
        row.hanzi = QString::fromUtf16(r.hanzi);
        row.tone = QString::fromLatin1(r.tone);
        row.group = QString::fromLatin1(r.group);
        d.Append(std::move(row));
    }
    return d;
}

QString Decode(const uint8_t *data, size_t size, bool utf16, bool crlf)
{
    QString s = utf16 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2))
                      : QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (crlf)
        s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return s;
}

// Splits at the next NUL byte (for UTF-16, the next NUL code unit).
QString Take(const uint8_t *&data, size_t &size, bool utf16, bool crlf)
{
    const size_t step = utf16 ? 2 : 1;
    size_t end = 0;
    while (end + step <= size && !(data[end] == 0 && (!utf16 || data[end + 1] == 0)))
        end += step;
    const QString s = Decode(data, end, utf16, crlf);
    const size_t used = std::min(size, end + step);
    data += used;
    size -= used;
    return s;
}

QJsonObject Json(const ComposeTexts &form, const Diagnosis &d, const QList<TuneMatch> &tunes)
{
    QJsonArray findings;
    for (const Finding &f : d.findings)
        findings.append(QJsonObject{{"line", f.line + 1}, {"position", f.position + 1},
                                    {"verse", f.verse + 1}, {"kind", KindName(f.kind)},
                                    {"fault", f.fault}, {"message", f.message}});
    QJsonArray ranked;
    for (const TuneMatch &t : tunes)
        ranked.append(QJsonObject{{"name", t.name}, {"book", t.book}, {"fit", t.fit}});
    return QJsonObject{{"Text2", form.text2}, {"Text5", form.text5}, {"Label1", form.label1},
                       {"Label2", form.label2}, {"Label3", form.label3}, {"Text6", form.text6},
                       {"Text8", form.text8}, {"findings", findings}, {"tunes", ranked},
                       {"form", d.regulated ? d.regulated->Describe() : QString()}};
}

void Check(const QString &system, const QString &poem, const QString &pattern, const QString &title,
           const QString &tune, bool annotate)
{
    static const RhymeDictionary newRhyme = MakeDictionary(kNewRhyme);
    static const RhymeDictionary pingshui = MakeDictionary(kPingshui);
    const RhymeDictionary &dict = system == kPingshui ? pingshui : newRhyme;
    const DictionaryLoader load = [&](const QString &, RhymeDictionary &out) {
        out = dict;
        return true;
    };
    ComposeTexts form;
    form.text2 = poem;
    form.text4 = title;
    form.text5 = pattern;
    form.label1 = tune;
    form.command2 = system;
    if (!(annotate ? RunAnnotation(form, load) : RunConformanceCheck(form, load)))
        std::abort();

    const ReadingIndex index(dict);
    DiagnosisInput in;
    in.poem = form.text2;
    in.marks = form.text6;
    in.pattern = form.text5;
    in.tuneName = form.label1;
    in.system = system;
    in.strip = RunStripSet(annotate, system);
    const Diagnosis d = Diagnose(in, index.Lookup());
    const QList<TuneCandidate> tunes{{kCommonBook, QStringLiteral("调"), pattern},
                                     {kCommonBook, QStringLiteral("忆江南"),
                                      QStringLiteral("⊙●○○●\r\n⊙○●●○\r\n")}};
    const QList<TuneMatch> ranked = RankTunes(d.verses, tunes, 3);
    for (const Finding &f : d.findings)
        if (f.line < 0 || f.verse < 0 || f.message.isEmpty())
            std::abort();

    // The JSON reads back as it was written, where the texts are valid UTF-16.
    const QJsonObject obj = Json(form, d, ranked);
    const QByteArray bytes = QJsonDocument(obj).toJson(QJsonDocument::Indented);
    const QJsonDocument back = QJsonDocument::fromJson(bytes);
    if (back.isNull())
        std::abort();
    if (poem.isValidUtf16() && pattern.isValidUtf16() && title.isValidUtf16() && tune.isValidUtf16()
        && back.object() != obj)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    ++data;
    --size;
    const bool utf16 = flags & 2;
    const bool crlf = flags & 4;
    const QString system = flags & 1 ? kPingshui : kNewRhyme;
    const QString poem = Take(data, size, utf16, crlf);
    const QString pattern = Take(data, size, utf16, crlf);
    const QString title = Take(data, size, utf16, crlf);
    const QString tune = flags & 8 ? QStringLiteral("忆江南") : QString();
    Check(system, poem, pattern, title, tune, false);
    Check(system, poem, pattern, title, tune, true);
    return 0;
}
