// SPDX-License-Identifier: GPL-3.0-or-later
// The knowledge pages: the rows of 常识 read one page at a time like a book.
// In edit mode the shown page can be saved or deleted, and a blank page put
// in before or after it.
#pragma once

#include <vector>

#include "boxmap.h"
#include "datawindow.h"
#include "gateway.h"
#include "knowledge.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace versilo {

class Form4 : public DataWindow {
    Q_OBJECT
public:
    explicit Form4(QWidget *parent = nullptr);

    int CurrentPage() const { return current_; }
    int PageCount() const { return int(pages_.size()); }

    void Option1_Click();   // 编辑
    void Option2_Click();   // 阅览
    void Command1_Click();  // 在本页前插入页
    void Command7_Click();  // 在本页后插入页
    void Command3_Click();  // 删除页
    void Command2_Click();  // 保存页
    void Command5_Click();  // 上一页
    void Command4_Click();  // 下一页
    void Command6_Click();  // 返回

    // The shown title or text differs from what the page holds (or, with no
    // page shown, something was typed).
    bool PageChanged() const;
    // Before typed text would go: save it, let it go, or stay (false).
    bool MayClose() override;

protected:
    void Reload() override;   // reads every page

private:
    void ShowPage(int page);
    void GoToPage(int page);
    void SetEditing(bool editing);
    void Insert(InsertWhere where);
    // Writes the boxes into the shown page; false (with the message shown)
    // when the store refused.
    bool SavePage();
    // With no page shown: the boxes as a new last page.
    void SaveAsNewPage();

    std::vector<PageRow> pages_;
    int current_ = 1;
    PageRow shown_;            // the boxes as ShowPage filled them
    BoxMap<PageRow> boxes_;    // Label2 the id, Text2 标题, Text1 内容

    QLineEdit *text2_ = nullptr;
    QPlainTextEdit *text1_ = nullptr;
    QLabel *label5_ = nullptr;
    QLabel *label2_ = nullptr;
    QRadioButton *option1_ = nullptr;
    QRadioButton *option2_ = nullptr;
    std::vector<QPushButton *> changing_;   // Command1, Command7, Command3, Command2
};

}  // namespace versilo
