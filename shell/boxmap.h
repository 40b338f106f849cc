// SPDX-License-Identifier: GPL-3.0-or-later
// One window's boxes bound to the columns of its row type, in one table:
// the same binding fills the boxes from a row and reads them back into one,
// so no window copies fields by position.
#pragma once

#include <QLabel>
#include <QString>
#include <functional>
#include <vector>

#include "textbox.h"

namespace versilo {

template <class Row> class BoxMap {
public:
    // A text box (QLineEdit or QPlainTextEdit) showing a text column.
    template <class Box> BoxMap &Text(Box *box, QString Row::*column)
    {
        bindings_.push_back({[box, column](const Row &row) { SetBoxText(box, row.*column); },
                             [box, column](Row &row) { row.*column = BoxText(box); }});
        return *this;
    }
    // A label showing the row's id; a row without one (id 0) shows nothing.
    BoxMap &Id(QLabel *label, qint64 Row::*column)
    {
        bindings_.push_back({[label, column](const Row &row) {
                                 label->setText(row.*column ? QString::number(row.*column) : QString());
                             },
                             [label, column](Row &row) { row.*column = label->text().toLongLong(); }});
        return *this;
    }

    // Every bound box shows its column of `row`.
    void Fill(const Row &row) const
    {
        for (const Binding &b : bindings_)
            b.fill(row);
    }
    // `row` with every bound column as its box holds it; the columns no box
    // shows keep what `row` has.
    Row Read(Row row = Row()) const
    {
        for (const Binding &b : bindings_)
            b.read(row);
        return row;
    }

private:
    struct Binding {
        std::function<void(const Row &)> fill;
        std::function<void(Row &)> read;
    };
    std::vector<Binding> bindings_;
};

}  // namespace versilo
