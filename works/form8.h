// The printing window: the titles of the stored works, twenty at a time with
// a draggable thumb; a click shows the work's poem, which can be edited, then
// printed (打印) or written into "aa.doc" and opened on the desktop
// (打开WORD文档).
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <vector>

#include "datawindow.h"
#include "gateway.h"

class QPlainTextEdit;

namespace versilo {

class NameList;

inline const QString kExportDone = QStringLiteral("OK");
inline const QString kWordNote = QStringLiteral(" 如果运行出现错误，请重新安装WORD.");

class Form8 : public DataWindow {
    Q_OBJECT
public:
    static constexpr int kLabels = 20;

    // How the desktop is asked to open a file (true when the request went
    // out), and which desktop programs take a file's type. Tests put their
    // own here; nullptr restores the desktop's.
    using FileOpener = std::function<bool(const QUrl &)>;
    using HandlerCheck = std::function<QStringList(const QString &path)>;
    static void SetFileOpener(FileOpener open);
    static void SetHandlerCheck(HandlerCheck check);
    // Where "aa.doc" goes: the folder the program writes into, or the one
    // given here (tests); an empty folder restores the program's.
    static void SetExportFolder(const QString &folder);

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

protected:
    void Reload() override;

private:
    std::vector<WorkRow> works_;
    int lineCount_ = 0;
    NameList *label4_ = nullptr;
    QLabel *label26_ = nullptr;        // title of the chosen work
    QPlainTextEdit *text1_ = nullptr;  // its poem
};

}  // namespace versilo
