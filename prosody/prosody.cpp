// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody.h"

#include <algorithm>

namespace versilo {

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

// A poem line keeps its letters, digits and every other character (an
// unknown one is marked 空 and so shows the writer a slip); punctuation of any
// script (、 ； ： “ ” 《 》 — … · ? and the rest) and blanks of any width
// (space, U+3000, tab) are typing, not verse, and take no position. The sets
// once differed in what they removed; a poem is now read the same way by
// every pass, so the columns stay aligned.
bool IsDropped(char32_t c, StripSet)
{
    if (c == kCr || c == kLf || QChar::isSpace(c))
        return true;
    switch (QChar::category(c)) {
    case QChar::Punctuation_Connector:
    case QChar::Punctuation_Dash:
    case QChar::Punctuation_Open:
    case QChar::Punctuation_Close:
    case QChar::Punctuation_InitialQuote:
    case QChar::Punctuation_FinalQuote:
    case QChar::Punctuation_Other:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool IsOpeningBracket(QChar c) { return c == u'(' || c == u'（'; }
bool IsClosingBracket(QChar c) { return c == u')' || c == u'）'; }

// The length of the bracketed marker that starts at `from` ("(韵)" is 3,
// "（换平韵）" is 5), or 0 when no marker starts there.
qsizetype MarkerLength(QStringView line, qsizetype from)
{
    static constexpr const char16_t *kMarkerWords[] = {
        u"韵", u"换平韵", u"换仄韵", u"读", u"句", u"叠", u"逗"};
    if (!IsOpeningBracket(line[from]))
        return 0;
    for (const char16_t *word : kMarkerWords) {
        const QStringView w(word);
        const qsizetype close = from + 1 + w.size();
        if (close < line.size() && line.mid(from + 1, w.size()) == w && IsClosingBracket(line[close]))
            return close - from + 1;
    }
    return 0;
}

// One character of a line: a surrogate pair, or one code unit.
struct Character {
    char32_t code;
    qsizetype units;
};

Character CharacterAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

// Appends `text` without any CR or LF.
void AppendWithoutLineBreaks(QString &out, QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() != kCr && c.unicode() != kLf)
            out.append(c);
    }
}

// Removes every non-overlapping occurrence of `pair`, left to right.
QString RemovePairs(QString text, QStringView pair)
{
    if (text.contains(pair))
        text.remove(pair.toString());
    return text;
}

void AppendToneMarks(QString &out, const RhymeDictionary &dict, QStringView kept)
{
    for (qsizetype i = 0; i < kept.size();) {
        const Character c = CharacterAt(kept, i);
        i += c.units;
        const QChar mark = dict.ToneMark(c.code);
        if (mark.isNull())
            out.append(kUnknownMark);
        else
            out.append(mark);
    }
    out.append(kCrLf);
}

void AppendGroupNames(QString &out, const RhymeDictionary &dict, QStringView kept)
{
    for (qsizetype i = 0; i < kept.size();) {
        const Character c = CharacterAt(kept, i);
        i += c.units;
        const QString name = dict.GroupName(c.code);
        out.append(name.isEmpty() ? kUnknownMark : name);
    }
    out.append(kCrLf);
}

}  // namespace

// ---- notation -----------------------------------------------------------------

QString TrimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}

QStringList SplitLines(const QString &text)
{
    // Every piece that ends at a CR LF is a line; whatever follows the last
    // CR LF is dropped, and one empty line always closes the list.
    QStringList lines;
    qsizetype from = 0;
    while (true) {
        const qsizetype p = text.indexOf(kCrLf, from);
        if (p < 0)
            break;
        QString line;
        line.reserve(p - from);
        AppendWithoutLineBreaks(line, QStringView(text).mid(from, p - from));
        lines.append(line);
        from = p + 2;
    }
    lines.append(QString());
    return lines;
}

QString NormaliseLine(const QString &line, StripSet set)
{
    QString kept;
    kept.reserve(line.size());
    const QStringView view(line);
    for (qsizetype i = 0; i < view.size();) {
        if (const qsizetype marker = MarkerLength(view, i)) {
            i += marker;
            continue;
        }
        const Character c = CharacterAt(view, i);
        if (!IsDropped(c.code, set))
            kept.append(view.mid(i, c.units));
        i += c.units;
    }
    return kept;
}

QChar ClassifyPosition(QChar symbol, QChar mark)
{
    return ClassifyPosition(char32_t(symbol.unicode()), char32_t(mark.unicode()));
}

QChar ClassifyPosition(char32_t s, char32_t m)
{
    static constexpr QChar kRight(u'★');
    static constexpr QChar kWrong(u'¤');
    static constexpr QChar kBoth(u'※');
    if (s != 0 && s == m)
        return kRight;
    if (s == u'◎' || s == u'⊙')
        return kRight;
    if (s == u'△' && m == u'○')
        return kRight;
    if (s == u'▲' && m == u'●')
        return kRight;
    if (m == u'※') {
        switch (s) {
        case u'◎': case u'○': case u'⊙': case u'△': case u'▲': case u'●': case u'※':
            return kBoth;
        default:
            break;
        }
    }
    return kWrong;
}

// ---- stored and display forms -------------------------------------------------

QString PatternDisplayForm(const QString &stored)
{
    QString out;
    out.reserve(stored.size() * 2 + 2);
    QString s = stored;
    while (true) {
        const qsizetype p = s.indexOf(u'-') + 1;   // 1-based, 0 when none
        if (p > 0) {
            // The piece runs up to and including its "-", which is dropped.
            for (QChar c : QStringView(s).left(p)) {
                if (c != u'-')
                    out.append(c);
            }
            s = s.mid(p);
        }
        out.append(kCrLf);
        s = TrimBlanks(s);
        if (p == 0)
            break;
    }
    return out;
}

QString ExplanationDisplayForm(const QString &stored)
{
    QString out;
    if (stored.isEmpty())
        return out;
    out.reserve(stored.size() * 2);
    QString t = stored;
    while (true) {
        const qsizetype p = t.indexOf(u'-') + 1;
        if (p == 0)
            break;
        QString piece = t.left(p - 1);
        piece = RemovePairs(std::move(piece), u"\n\r");
        piece = RemovePairs(std::move(piece), u"\r\n");
        out.append(piece);
        out.append(kCrLf);
        t = TrimBlanks(t.mid(p));
    }
    return out;
}

QString PoemDisplayForm(const QString &stored)
{
    QString out;
    out.reserve(stored.size() * 2 + 2);
    QString s = stored;
    while (true) {
        const qsizetype p = s.indexOf(u'|') + 1;
        if (p > 0) {
            out.append(QStringView(s).left(p - 1));
            s = s.mid(p);
        } else {
            out.append(s);
            s.clear();
        }
        out.append(kCrLf);
        s = TrimBlanks(s);
        if (p == 0)
            break;
    }
    return out;
}

QString StoredPoem(const QString &text2)
{
    QString s = text2;
    s.replace(kCrLf, QStringLiteral("|"));
    return TrimBlanks(s);
}

QString PoemFromStored(const QString &stored)
{
    QString s = stored;
    return s.replace(u'|', kCrLf);
}

QString StoredPattern(const QString &text5)
{
    QString s = text5;
    s.replace(kCrLf, QStringLiteral("-"));
    s = TrimBlanks(s);
    // A box of nothing but empty lines holds no pattern: the display form of
    // an empty pattern is one empty line, which must store as empty again,
    // not as "-".
    if (std::all_of(s.cbegin(), s.cend(), [](QChar c) { return c == u'-' || c == u' '; }))
        s.clear();
    return s;
}

// ---- the checks -----------------------------------------------------------------

QString MarkTones(const RhymeDictionary &dict, const QString &poem, StripSet set,
                  bool trimFirstLineStart)
{
    const QStringList lines = SplitLines(poem);
    QString out;
    out.reserve(poem.size() + 2 * lines.size() + 2);
    bool first = true;
    for (const QString &line : lines) {
        QStringView view(line);
        if (first && trimFirstLineStart) {
            while (!view.isEmpty() && view.front() == u' ')
                view = view.mid(1);
        }
        first = false;
        AppendToneMarks(out, dict, NormaliseLine(view.toString(), set));
    }
    out.append(kCrLf);   // the one more empty line
    return out;
}

QString ComparePattern(const QString &text6, const QString &text5)
{
    const QStringList patternLines = SplitLines(text5);
    const QStringList markLines = SplitLines(text6);
    QString out;
    out.reserve(text6.size() + 2);
    for (qsizetype i = 0; i < markLines.size(); ++i) {
        const QStringView marks(markLines.at(i));
        const QStringView pattern = i < patternLines.size() ? QStringView(patternLines.at(i)) : QStringView();
        // Position by position, one character each on both sides.
        qsizetype p = 0;
        for (qsizetype m = 0; m < marks.size();) {
            const Character mark = CharacterAt(marks, m);
            m += mark.units;
            char32_t symbol = 0;
            if (p < pattern.size()) {
                const Character c = CharacterAt(pattern, p);
                p += c.units;
                symbol = c.code;
            }
            out.append(ClassifyPosition(symbol, mark.code));
        }
        out.append(kCrLf);
    }
    return out;
}

QString NameRhymes(const RhymeDictionary &dict, const QString &poem)
{
    const QStringList lines = SplitLines(poem);
    QString out;
    out.reserve(poem.size() + 2 * lines.size() + 2);
    for (const QString &line : lines)
        AppendGroupNames(out, dict, NormaliseLine(line, StripSet::Rhyme));
    out.append(kCrLf);
    return out;
}

bool RunConformanceCheck(ComposeTexts &form, const DictionaryLoader &load)
{
    const QString system = form.command2;
    form.text2 = TrimBlanks(form.text2);
    form.text5 = TrimBlanks(form.text5);
    form.text6 = TrimBlanks(form.text6);
    form.text8 = TrimBlanks(form.text8);

    RhymeDictionary dict(system);
    if (!load || !load(system, dict))
        return false;
    RunConformanceCheckWith(form, dict);
    return true;
}

void RunConformanceCheckWith(ComposeTexts &form, const RhymeDictionary &dict)
{
    // The rhyme system chooses the table and what is stripped from a line.
    const bool pingshui = form.command2 == kPingshui;
    const StripSet set = pingshui ? StripSet::Full : StripSet::Punctuation;

    form.text2 = TrimBlanks(form.text2);
    form.text5 = TrimBlanks(form.text5);
    form.text6 = TrimBlanks(form.text6);
    form.text8 = TrimBlanks(form.text8);

    // The legend names the marks it stands over: Text6 holds ○ ● ※ under
    // both systems (the ★ ¤ legend belongs to the result column, Label3).
    form.label2 = kToneLegend;
    form.text6.clear();
    form.text8.clear();

    form.text6 = MarkTones(dict, form.text2 + kCrLf, set);
    form.label3 = kRhymeHeading;

    if (!form.text4.isEmpty() && !form.label1.isEmpty()) {
        form.label3 = kCompareHeading;
        form.text8 = ComparePattern(form.text6, form.text5);
    }

    if (form.label2.isEmpty() || form.label1.isEmpty())
        form.label3.clear();
}

bool RunAnnotation(ComposeTexts &form, const DictionaryLoader &load)
{
    const QString system = form.command2;
    RhymeDictionary dict(system);
    if (!load || !load(system, dict))
        return false;
    RunAnnotationWith(form, dict);
    return true;
}

void RunAnnotationWith(ComposeTexts &form, const RhymeDictionary &dict)
{
    form.label2 = kToneLegend;
    form.text6.clear();
    form.text8.clear();

    // A last line typed without Return is a line of the poem all the same;
    // an empty poem stays empty.
    QString poem = form.text2;
    if (!poem.isEmpty() && !poem.endsWith(kCrLf))
        poem += kCrLf;

    // The tone pass drops the blanks before the poem's first character; the
    // rhyme pass keeps them, and keeps "?" as well.
    form.text6 = MarkTones(dict, poem, StripSet::Full, true);
    form.label3 = kRhymeHeading;
    form.text8 = NameRhymes(dict, poem);
}

}  // namespace versilo
