#pragma once

#include <QString>

namespace vellara {

struct CoreState;

// Whether another layout can be installed; with every slot taken the user is
// told so.
bool roomForLayout(const CoreState &state);

// Adds a name to the installed layouts in the next slot, even when it is
// installed already. With every slot taken the user is told and nothing
// changes; returns whether the name went in.
bool installLayoutName(CoreState &state, const QString &name);

// Takes slot s (1..layoutCount) out of the installed layouts: those behind it
// move one slot forward. The layout's file stays on disk.
void removeLayoutSlot(CoreState &state, int slot);

// The layout name of a layout file's name: what comes before its first ".",
// or the whole name when it has none.
QString layoutNameOfFile(const QString &fileName);

} // namespace vellara
