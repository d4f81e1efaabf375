#pragma once

#include <QString>
#include <type_traits>

#include "db/Recordset.h"
#include "ops/MainWindowInterface.h"

namespace korvex {

// Walks the rows of `rows` from the first, the one way every operation goes
// through its rows. For each row: `fn(rows)`, then the row is counted on the
// busy display (whose range is the row count) and the window may repaint.
// `fn` may return bool: false stops the walk at once, that row not counted.
// `detail`, when given, is shown after the counter; `fn` may change it. An
// empty set is not walked and leaves the busy display alone. Returns how
// many rows were counted.
template <typename Fn>
int forEachRow(Recordset& rows, MainWindowInterface& window, Fn&& fn,
               const QString* detail = nullptr) {
    if (rows.recordCount() < 1) return 0;
    window.setBusyRange(rows.recordCount());
    int counted = 0;
    for (Recordset& row : rows) {
        if constexpr (std::is_same_v<std::invoke_result_t<Fn&, Recordset&>, bool>) {
            if (!fn(row)) break;
        } else {
            fn(row);
        }
        ++counted;
        if (detail)
            window.stepBusyDetail(counted, *detail);
        else
            window.stepBusy(counted);
        window.yield();
    }
    return counted;
}

}  // namespace korvex
