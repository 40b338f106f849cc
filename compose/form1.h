// The composition window: title, poem, the chosen tune's pattern and
// explanation, the two result columns, the rhyme-system and pattern-book
// buttons. It is also the workspace the pattern and works windows write into.
#pragma once

#include <QHash>
#include <QString>

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

    // Box texts by control name ("Text2" ... "Text8", "Text4"), with CR LF
    // line breaks; an unknown name reads "" and writes nothing.
    QString Text(const QString &box) const;
    void SetText(const QString &box, const QString &text);
    // Captions of "Label1", "Label2", "Label3", "Label11", "Command2", "Command3".
    QString Caption(const QString &control) const;
    void SetCaption(const QString &control, const QString &text);

    // The controls the checks read and write, and back.
    ComposeTexts Texts() const;
    void SetTexts(const ComposeTexts &texts);
    // The controls saving reads.
    WorkOnScreen Work() const;

    // The composition window if it exists; or created, hidden, when asked.
    static Form1 *Find();
    static Form1 *FindOrCreate();

    // Title and poem as now, and whether they hold writing that the last
    // save or opening did not keep.
    Draft CurrentDraft() const;
    bool HasUnsavedWriting() const;
    // What the window shows now counts as kept.
    void KeepDraft();
    // Unsaved writing goes only when the writer agrees.
    bool MayClose() override;

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

    QPlainTextEdit *Box(const QString &name) const;

    QLineEdit *text4_ = nullptr;
    QHash<QString, QPlainTextEdit *> boxes_;      // Text2, Text3, Text5, Text6, Text8
    QHash<QString, QLabel *> labels_;            // Label1, Label2, Label3, Label11
    QHash<QString, QPushButton *> buttons_;      // Command1 ... Command9
    MarkExplainer *explainer_ = nullptr;         // tooltips and underlines on Text6, Text8
    DictionaryCache dictionaries_;               // read again only when the file changed
    Draft kept_;                                 // as last saved or opened
};

}  // namespace versilo
