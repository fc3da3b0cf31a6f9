#pragma once

#include "screenlayout.h"
#include "settingpage.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

// A new analysis page on screen with photos opened at index, their records loaded.
inline void openSettingPage(std::unique_ptr<SettingPage> &page, const QStringList &photos, int index)
{
    page = std::make_unique<SettingPage>();
    const ScreenLayout &layout = shellValues().layout;
    page->setupView(layout.minSide, layout.maxWidth);
    page->resize(1900, 1000);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QSignalSpy shown(page.get(), &SettingPage::sig_showSettingPage);
    page->slot_selectImg(photos, index);
    QVERIFY(shown.wait(10000));
    page->waitForLoad();
    QCoreApplication::processEvents();
}
