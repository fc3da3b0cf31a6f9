#include "translucentwindows.h"

#ifdef QCT_X11
#include <QX11Info>
#endif

namespace {

std::function<bool()> &replacedCheck()
{
    static std::function<bool()> check;
    return check;
}

} // namespace

bool translucentWindows()
{
    if (replacedCheck())
        return replacedCheck()();
#ifdef QCT_X11
    if (QX11Info::isPlatformX11())
        return QX11Info::isCompositingManagerRunning();
#endif
    return true;
}

void setTranslucentWindowsCheck(std::function<bool()> check)
{
    replacedCheck() = std::move(check);
}
