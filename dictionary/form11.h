// SPDX-License-Identifier: GPL-3.0-or-later
// Rhyme dictionary maintenance: the entries of one rhyme dictionary as a
// grid of characters, 294 to a page; search by character or by pinyin
// letters typed on the keypad; show, change, add and delete an entry.
#pragma once

#include <vector>

#include "boxmap.h"
#include "datawindow.h"
#include "entryfields.h"
#include "rhymedict.h"

class QLineEdit;
class QPushButton;

namespace versilo {

class PagedGrid;

class Form11 : public DataWindow {
    Q_OBJECT
public:
    static constexpr int kCells = 294;       // 14 rows of 21
    static constexpr int kPageStep = 293;    // consecutive pages share one entry

    explicit Form11(QWidget *parent = nullptr);

    // The table listed: the caption of Command2.
    QString System() const;
    int EntryCount() const { return int(entries_.size()); }
    const PagedGrid *Grid() const { return grid_; }

    // The search the keypad hands back: entries whose 拼音 holds KeypadLetters.
    void PinyinSearch();
    void Command1_Click();   // 拼音查找
    void Command2_Click();   // the other system
    void Command3_Click();   // 修改
    void Command4_Click();   // 加入
    void Command5_Click();   // 删除
    void Command6_Click();   // 上一页
    void Command7_Click();   // 下一页
    void Command8_Click();   // 返回
    void Command9_Click();   // 查找汉字
    void Label3_Click(int index);   // show the entry of a cell

    // Typed changes to the entry boxes go only after a question answered 是.
    bool MayClose() override;

protected:
    void Reload() override;

private:
    // Reads the entries of `sql`, from the first page or (keepPage) on the
    // page shown now.
    void List(const QString &sql, const QVariantList &params, bool keepPage);
    void ShowPageNumber();
    QString Box(int n) const;   // Text1 ... Text6
    // After a write: the whole table again, on the same page.
    void ListTableAgain();
    // The entry boxes filled; what they show now counts as unchanged.
    void ShowEntry(const EntryBoxes &boxes);
    // Whether Text1 ... Text5 hold something typed since they were filled
    // or written.
    bool EntryTyped() const;

    std::vector<DictionaryRow> entries_;
    PagedGrid *grid_ = nullptr;
    QLineEdit *text_[7] = {};   // Text1 ... Text6 at their numbers
    BoxMap<EntryBoxes> boxes_;  // the entry shown: Text1 ... Text5
    EntryBoxes shown_;          // what they held when filled or written
    QPushButton *command2_ = nullptr;
    QLabel *label1_ = nullptr;
};

}  // namespace versilo
