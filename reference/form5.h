// SPDX-License-Identifier: GPL-3.0-or-later
// The poetry library: the poems of 诗词库 and the authors of 作者 side by
// side, each on a scrolling list of 21 names. A title shows its poem, an
// author lists his poems, and both lists can be searched by the pinyin
// initials typed on the letter keypad.
#pragma once

#include <vector>

#include "datawindow.h"
#include "gateway.h"
#include "library.h"

class QPlainTextEdit;

namespace versilo {

class NameList;

class Form5 : public DataWindow {
    Q_OBJECT
public:
    static constexpr int kLabels = kListLabels;

    explicit Form5(QWidget *parent = nullptr);

    int PoemCount() const { return int(poems_.size()); }
    int AuthorCount() const { return int(authors_.size()); }
    NameList *PoemList() const { return poemList_; }
    NameList *AuthorList() const { return authorList_; }

    void Image7_Click();            // 查找作品
    void Image8_Click();            // 查找作者
    void Image6_Click();            // 刷新
    void Image9_Click();            // 返回
    void Label4_Click(int index);   // a title
    void Label5_Click(int index);   // an author
    void Text4_DblClick();
    // Runs the searches asked for before the keypad opened, with the letters
    // typed on it: authors first, then poems.
    void Form_Activate();

protected:
    void Reload() override;   // every poem and every author
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // Reads `sql` into `rows`; when the store fails (another program holds
    // the file, say) the rows stay as they were and the reason is shown.
    template <class Row>
    bool Read(const QString &sql, const QVariantList &params, std::vector<Row> &rows);
    void ReadAllRows();
    void OpenKeypadFor(bool authors);

    std::vector<LibraryPoemRow> poems_;
    std::vector<AuthorRow> authors_;
    NameList *poemList_ = nullptr;
    NameList *authorList_ = nullptr;
    QPlainTextEdit *text4_ = nullptr;
    QLabel *label1_ = nullptr;
    QLabel *label17_ = nullptr;
    QLabel *label2_ = nullptr;
};

}  // namespace versilo
