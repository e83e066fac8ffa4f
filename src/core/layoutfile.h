#pragma once

#include "core/corestate.h"
#include "core/layouttable.h"

#include <QString>

namespace vellara {

// The title every layout gives the main window, before its name.
inline constexpr char kTitlePrefix[] = "Vellara 2.5 ";

// What saving a layout without a name tells the user.
inline constexpr char kLayoutNeedsName[] =
    "The layout has no name, so it cannot be saved. Choose \"Edit Layout\" and give it a name first.";

// The layout file of a layout name: trimmed name + ".lat" in the working directory.
QString layoutFilePath(const QString &name);

// Whether a name can be a layout file's name: it must not reach outside the
// working directory.
bool isSafeLayoutName(const QString &name);

// Makes the layout in trim(name) + ".lat" current and rebuilds the table's card
// pictures to match. Steps that fail are skipped; if any failed, the user is
// told and the title is left as it was. Returns whether every step succeeded.
bool LoadLayout(CoreState &state, LayoutTable &table, const QString &name);

// Writes the current layout, with the window's place and size and the card
// pictures' places as the table shows them, to layoutName + ".lat". On success
// the cards stop being draggable and "Pick Cards" is enabled again; on failure
// (a name that is empty or all blanks, a file that cannot be written) the user
// is told why, nothing is written and the table stays as it is.
bool SaveLayout(const CoreState &state, LayoutTable &table);

} // namespace vellara
