// SPDX-License-Identifier: GPL-3.0-or-later
// The printing window: the titles of the stored works, twenty at a time with
// a draggable thumb; a click shows the work's poem, which can be edited, then
// printed (打印) or written into "aa.doc" and opened on the desktop
// (打开WORD文档).
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

#include "datawindow.h"
#include "gateway.h"

class QPlainTextEdit;

namespace versilo {

class NameList;

inline const QString kExportDone = QStringLiteral("OK");
inline const QString kWordNote = QStringLiteral(" 如果运行出现错误，请重新安装WORD.");
// Asked before another work, a fresh window or the end of the program
// replaces a poem changed in the box and neither printed nor exported since.
inline const QString kAskDiscardPrintCopy = QStringLiteral("打印稿的修改尚未打印或导出，确定放弃吗？");

// What 打开WORD文档 asks of the desktop: the folder "aa.doc" goes into, the
// desktop programs that take a file's type, and opening a file (true when
// the request went out).
class DocumentDesktop {
public:
    virtual ~DocumentDesktop() = default;
    virtual QString ExportFolder() = 0;
    virtual QStringList Handlers(const QString &path) = 0;
    virtual bool Open(const QUrl &url) = 0;
};

// This machine's desktop: the program's write folder, the freedesktop.org
// registrations, QDesktopServices.
class SystemDesktop : public DocumentDesktop {
public:
    QString ExportFolder() override;
    QStringList Handlers(const QString &path) override;
    bool Open(const QUrl &url) override;
};

class Form8 : public DataWindow {
    Q_OBJECT
public:
    static constexpr int kLabels = 20;

    // The desktop every export goes through, installed as the message
    // boxes are: tests put their own here (not owned); nullptr restores
    // this machine's.
    static DocumentDesktop &Desktop();
    static void SetDesktop(DocumentDesktop *desktop);

    explicit Form8(QWidget *parent = nullptr);

    int WorkCount() const { return int(works_.size()); }
    const NameList &Titles() const { return *label4_; }
    // Lines laid out for the chosen work, one more for each export.
    int LineCount() const { return lineCount_; }
    // The file 打开WORD文档 writes.
    static QString ExportPath();

    void Label4_Click(int index);   // choose a work
    void Image2_Click();            // 返回
    void Image3_Click();            // 打开WORD文档
    void Image4_Click();            // 打印

    // The box holds changes made since the work was chosen that have not
    // gone to paper or to "aa.doc".
    bool HasUnusedEdits() const;
    bool MayClose() override;

protected:
    void Reload() override;

private:
    std::vector<WorkRow> works_;
    int lineCount_ = 0;
    QString used_;                     // the box's text as chosen, printed or exported last
    NameList *label4_ = nullptr;
    QLabel *label26_ = nullptr;        // title of the chosen work
    QPlainTextEdit *text1_ = nullptr;  // its poem
};

}  // namespace versilo
