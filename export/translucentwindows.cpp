#include "translucentwindows.h"

#include <QMenu>

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

void fitMenuCorners(QMenu *menu)
{
    if (translucentWindows())
        menu->setAttribute(Qt::WA_TranslucentBackground);
    else
        menu->setStyleSheet(menu->styleSheet() + " QMenu {border-radius: 0px; margin: 0px;}");
}

void setTranslucentWindowsCheck(std::function<bool()> check)
{
    replacedCheck() = std::move(check);
}
