#pragma once

#include "mygraphicsscene.h"
#include "photogenerator.h"
#include "openedphotos.h"
#include "photostore.h"
#include "qgraphicspaint.h"
#include "regionstatistics.h"

#include <QApplication>
#include <QGraphicsSceneMouseEvent>
#include <QMouseEvent>
#include <QtTest>

// t = x / 10 + 10 y: every pixel tells its own place, and t grows to the right and down.
inline PhotoSpec placeSpec(int width, int height, float shift = 0)
{
    PhotoSpec shot;
    shot.width = width;
    shot.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            shot.temperatures.push_back(shift + 0.1f * float(x) + 10.0f * float(y));
    return shot;
}

// A copy of a generated photograph whose JPEG frame header (SOF0) declares another size; the
// scan data stays the small one.
inline QString declaringSize(const QString &source, const QString &target, int width, int height)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = in.readAll();
    const int sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return QString();
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width);
    QFile out(target);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() ? target : QString();
}

inline float matrixAt(const QString &path, int x, int y)
{
    return PhotoStore::program().snapshot(path).matrix->at(x, y);
}

// Makes the photograph the one on show (its turned matrices are made when first read).
inline void openPhoto(const QString &path)
{
    currentPhotoPath() = path;
    currentPhotoRecord() = PhotoStore::program().snapshot(path);
}

inline void sceneEvent(QGraphicsScene *scene, QEvent::Type type, const QPointF &at, Qt::MouseButton button,
                       Qt::MouseButtons buttons)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(at);
    event.setButton(button);
    event.setButtons(buttons);
    QCoreApplication::sendEvent(scene, &event);
}

// A 640 x 480 view without frame: scene coordinates are viewport pixels.
struct ViewFixture
{
    QGraphicsPaint *view = nullptr;

    MyGraphicsScene *scene() const { return view->measurementScene(); }

    bool create()
    {
        view = new QGraphicsPaint;
        view->setFrameStyle(QFrame::NoFrame);
        view->createScene(640, 480);
        view->resize(640, 480);
        view->show();
        return QTest::qWaitForWindowExposed(view);
    }

    void destroy()
    {
        delete view;
        view = nullptr;
    }

    void show(const QString &path)
    {
        openPhoto(path);
        view->showPhoto(path);
        view->viewport()->repaint();
    }

    void press(const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(view->viewport(), button, Qt::NoModifier, at);
    }

    void dragTo(const QPoint &at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
    }

    void release(const QPoint &at)
    {
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    void click(const QPoint &at)
    {
        press(at);
        release(at);
    }

    void drag(const QPoint &from, const QPoint &to)
    {
        press(from);
        dragTo(to);
        release(to);
    }
};
