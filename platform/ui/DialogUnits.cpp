#include "platform/ui/DialogUnits.h"

namespace platform::ui {

DialogBaseUnits BaseUnitsFromMetrics(int sampleWidth, int charHeight)
{
    return {(sampleWidth / 26 + 1) / 2, charHeight};
}

CRect DialogUnitsToPixels(const DluRect& rect, DialogBaseUnits units)
{
    const int x = MulDiv(rect.x, units.cx, 4);
    const int y = MulDiv(rect.y, units.cy, 8);
    return {x, y, x + MulDiv(rect.cx, units.cx, 4), y + MulDiv(rect.cy, units.cy, 8)};
}

CRect MapDialogRect(const CRect& rect, DialogBaseUnits units)
{
    return {MulDiv(rect.left, units.cx, 4), MulDiv(rect.top, units.cy, 8), MulDiv(rect.right, units.cx, 4),
            MulDiv(rect.bottom, units.cy, 8)};
}

} // namespace platform::ui
