#include "chart/ChartReadout.h"

#include "app/RecordTableStore.h"
#include "psychro/ID_lib.h"

ChartReadout ReadOutAt(const ID_lib& lib, QPoint pixel)
{
    ID_lib silent = lib;
    silent.setMessageSink({});
    ChartReadout r;
    r.state = ChartGeometry::PixelToState(pixel.x(), pixel.y());
    silent.StateFromI_D(r.state.d / 1000, r.state.i);
    r.t = silent.CurrentState.t;
    r.RH = silent.CurrentState.RH;
    r.ts = silent.CurrentState.ts;
    return r;
}

bool PlacedPointAt(RecordTableStore& table, ChartState state)
{
    SuspendedUpdates suspended(table);
    const int dField = table.declaration().indexOf(QStringLiteral("D"));
    const int iField = table.declaration().indexOf(QStringLiteral("I"));
    for (table.first(); !table.eof(); table.next()) {
        if (table.numberAt(dField) == state.d && table.numberAt(iField) == state.i)
            return true;
    }
    return false;
}
