#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// A photograph named on the command line or found in a folder: the file name's bytes, which
// open it whatever the locale, and the name as shown (bytes the locale cannot spell shown as
// U+FFFD).
struct Photo
{
    QByteArray native;
    QString shown;
};

Photo photoNamed(const QByteArray &native);

// The photographs of the arguments: files as given, folders searched with their subfolders
// for ".jpg" files of any letter case, each folder in name order. Names are read as bytes, so
// none is left out for its spelling; hidden ones (a leading ".") are. problems receives one
// "folder: reason" per folder that could not be read.
QVector<Photo> collectPhotographs(const QList<QByteArray> &arguments, QStringList &problems);
