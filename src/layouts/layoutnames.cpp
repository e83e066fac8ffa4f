#include "layouts/layoutnames.h"

#include "core/corestate.h"
#include "platform/message.h"

#include <algorithm>

namespace vellara {

bool roomForLayout(const CoreState &state)
{
    if (state.settings.layouts.layoutCount < kMaxLayoutSlot)
        return true;
    platform::showMessage(QStringLiteral("No more layouts can be installed: %1 layouts are installed already. "
                                         "Remove a layout first.")
                              .arg(kMaxLayoutSlot));
    return false;
}

bool installLayoutName(CoreState &state, const QString &name)
{
    if (!roomForLayout(state))
        return false;
    LayoutRegistry &layouts = state.settings.layouts;
    ++layouts.layoutCount;
    layouts.names[layouts.layoutCount] = name;
    return true;
}

void removeLayoutSlot(CoreState &state, int slot)
{
    LayoutRegistry &layouts = state.settings.layouts;
    const int count = std::min<int>(layouts.layoutCount, kMaxLayoutSlot);
    if (slot < 1 || slot > count)
        return;
    // The last slot keeps its name beyond the count, as the registry always did.
    for (int j = slot; j < count; ++j)
        layouts.names[j] = layouts.names[j + 1];
    layouts.layoutCount = qint16(count - 1);
}

QString layoutNameOfFile(const QString &fileName)
{
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

} // namespace vellara
