// SPDX-License-Identifier: GPL-3.0-or-later
// The composition window: title, poem, the chosen tune's pattern and
// explanation, the two result columns, the rhyme-system and pattern-book
// buttons. It is also the workspace the pattern and works windows write into.
#pragma once

#include <QString>
#include <optional>

#include "datawindow.h"
#include "gateway.h"
#include "prosody.h"
#include "rhymedict.h"
#include "saving.h"
#include "widgets.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace versilo {

class MarkExplainer;

class Form1 : public DataWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    // The boxes, with CR LF line breaks.
    QString Title() const;                       // Text4
    void SetTitle(const QString &text);
    QString Poem() const;                        // Text2
    void SetPoem(const QString &text);
    QString Explanation() const;                 // Text3, the tune's explanation
    void SetExplanation(const QString &text);
    QString Pattern() const;                     // Text5, the tune's pattern
    void SetPattern(const QString &text);
    QString Tones() const;                       // Text6, the tone column
    void SetTones(const QString &text);
    QString Results() const;                     // Text8, the result column
    void SetResults(const QString &text);
    // The captions.
    QString TuneName() const;                    // Label1, above the pattern
    void SetTuneName(const QString &text);
    QString ExplanationHeading() const;          // Label11, the tune name again
    void SetExplanationHeading(const QString &text);
    QString ToneLegend() const;                  // Label2, above Text6
    void SetToneLegend(const QString &text);
    QString ResultHeading() const;               // Label3, above Text8
    void SetResultHeading(const QString &text);
    QString RhymeSystem() const;                 // Command2
    QString PatternBook() const;                 // Command3

    // The controls the checks read and write, and back.
    ComposeTexts Texts() const;
    void SetTexts(const ComposeTexts &texts);
    // The controls saving reads.
    WorkOnScreen Work() const;

    // The composition window if it exists; or created, hidden, when asked.
    static Form1 *Find();
    static Form1 *FindOrCreate();

    // Title and poem as now, and whether the window holds writing that the
    // last save or opening did not keep (writing that 清空栏目 took away
    // counts while Ctrl+Z can still bring it back).
    Draft CurrentDraft() const;
    bool HasUnsavedWriting() const;
    // What the window shows now counts as kept.
    void KeepDraft();
    // Unsaved writing goes only when the writer agrees.
    bool MayClose() override;
    // Every window calls this before it writes a title and poem into the
    // composition window: true when nothing unsaved would go, else the
    // writer's answer to "作品尚未保存，确定放弃吗？". No keeps everything.
    bool MayReplace(const Draft &next);
    // The same for the composition window if there is one (true if none).
    static bool MayReplaceWriting(const Draft &next);

    // 清空栏目 can be taken back (Ctrl+Z) while title and poem are still
    // empty: everything it emptied comes back.
    bool CanUndoClear() const;
    bool UndoClear();

    // A tune arrives from a pattern book (stored forms of 格律 and 正文):
    // the explanation, pattern and result columns are emptied and refilled,
    // the tune name goes to Label1 and Label11. Title and poem stay.
    void ShowTune(const TuneRow &tune);
    void ShowTune(const QString &name, const QString &storedPattern, const QString &storedExplanation);
    // Title and poem as the boxes hold them (lines with CR LF): Text4, Text2.
    void SetWork(const QString &title, const QString &poem);
    // A stored work put back: the title, the poem laid out from its stored
    // form (the exact inverse of saving), and its tune looked up afresh in
    // the book of the first work of that title (TuneOfWork) and shown as
    // ShowTune does. The rhyme-system and book buttons stay. The work as put
    // back counts as kept (leaving it unchanged does not ask).
    void PutWorkBack(const QString &title, const QString &storedPoem, const QString &tuneName);

    // The handlers, public so other windows and tests can name them.
    void Command1_Click();   // 判断正误
    void Command2_Click();   // rhyme system
    void Command3_Click();   // pattern book
    void Command4_Click();   // 打开词谱
    void Command5_Click();   // 退出写作
    void Command6_Click();   // 清空栏目
    void Command7_Click();   // 保存作品
    void Command8_Click();   // 打开作品
    void Command9_Click();   // 判断平仄韵调
    void Label1_DblClick();

private:
    using Run = bool (*)(ComposeTexts &, const DictionaryLoader &);
    void RunCheck(Run run);

    // The title and poem the window holds: as shown, or as 清空栏目 took
    // them away while they can still come back.
    Draft HeldDraft() const;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // What 清空栏目 empties, and Ctrl+Z brings back.
    struct Cleared {
        QString title, poem, explanation, pattern, tones, results;
        QString tuneName, explanationHeading, toneLegend, resultHeading;
    };
    Cleared Clearable() const;
    void SetClearable(const Cleared &shown);

    QLineEdit *text4_ = nullptr;
    QPlainTextEdit *text2_ = nullptr;
    QPlainTextEdit *text3_ = nullptr;
    QPlainTextEdit *text5_ = nullptr;
    QPlainTextEdit *text6_ = nullptr;
    QPlainTextEdit *text8_ = nullptr;
    QLabel *label1_ = nullptr;
    QLabel *label2_ = nullptr;
    QLabel *label3_ = nullptr;
    QLabel *label11_ = nullptr;
    QPushButton *command2_ = nullptr;
    QPushButton *command3_ = nullptr;
    MarkExplainer *explainer_ = nullptr;         // tooltips and underlines on Text6, Text8
    DictionaryCache dictionaries_;               // read again only when the file changed
    Draft kept_;                                 // as last saved or opened
    std::optional<Cleared> cleared_;             // for Ctrl+Z
};

}  // namespace versilo
