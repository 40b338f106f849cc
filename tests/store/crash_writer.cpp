// SPDX-License-Identifier: GPL-3.0-or-later
// A writer for the crash tests: connects to the database in APP_DIR and then
// repeats one multi-row write until it is killed. Prints "ready" once
// connected and one line per finished write.
//
//   store_crash_writer pages|save|dictionary APP_DIR
//
// pages       puts a blank knowledge page in front of a page (every page
//             row moves one on), as the knowledge window's insert does;
// save        saves the work "长卷" over itself with a long poem whose every
//             line names the round, as the composition window's save does;
// dictionary  sets `平仄` of every row of 中华新韵 to the round's code, in
//             one transaction.
#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstdio>

#include "datastore.h"
#include "dialogs.h"
#include "gateway.h"
#include "knowledge.h"
#include "rhymedict.h"
#include "saving.h"

using namespace versilo;

namespace {

class AlwaysYes : public Dialogs {
public:
    bool Ask(const QString &, Preselect) override { return true; }
    void Tell(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

// The poem of round n: 400 lines that all name the round.
QString LongPoem(int round)
{
    QStringList lines;
    const QString line = QStringLiteral("第%1遍春风又绿江南岸明月何时照我还").arg(round);
    for (int i = 0; i < 400; ++i)
        lines << line;
    return lines.join(QStringLiteral("\r\n"));
}

bool Round(const QString &mode, DataStore &store, int round, QString *error)
{
    if (mode == QLatin1String("pages"))
        return InsertBlankPage(store, 1 + int(QRandomGenerator::global()->bounded(5)), error);
    if (mode == QLatin1String("save")) {
        AlwaysYes yes;
        const WorkOnScreen work{QStringLiteral("长卷"), LongPoem(round), {}, {}, QStringLiteral("常用词谱")};
        const SaveResult r = SaveWork(work, store, yes);
        return r == SaveResult::Added || r == SaveResult::Overwritten;
    }
    if (mode == QLatin1String("dictionary")) {
        StoreTransaction tx(store);
        std::vector<DictionaryRow> rows;
        if (!tx.Active() || !ReadAll(store.Rs(), QStringLiteral("select *from 中华新韵"), {}, rows, error))
            return false;
        for (DictionaryRow &row : rows) {
            row.tone = QString::number(round % 3);
            if (!UpdateRow(store.Rs(), kNewRhyme, row, {column::kTone}, error))
                return false;
        }
        return tx.Commit();
    }
    *error = QStringLiteral("unknown mode ") + mode;
    return false;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage: store_crash_writer pages|save|dictionary APP_DIR\n", stderr);
        return 2;
    }
    DataStore store(StoreLocation{args.at(2), {}});
    if (!store.Connect()) {
        std::fprintf(stderr, "%s\n", qPrintable(store.LastError()));
        return 2;
    }
    store.NewRecordset();
    std::puts("ready");
    std::fflush(stdout);
    for (int round = 1;; ++round) {
        QString error;
        if (!Round(args.at(1), store, round, &error)) {
            std::fprintf(stderr, "round %d failed: %s\n", round, qPrintable(error));
            return 1;
        }
        std::printf("%d\n", round);
        std::fflush(stdout);
    }
}
