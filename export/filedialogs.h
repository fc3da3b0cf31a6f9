#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// Runs Qt's file dialog in its own light look over a window of the program. Made without a
// parent, it takes none of the dark style sheets of the window (under them its texts were
// grey on grey and its buttons blank); it is modal all the same, kept above that window and
// centred on it. The chosen path, or nothing when cancelled.
QString execFileDialog(QFileDialog &dialog, QWidget *over);

// A folder chosen in that dialog, which opens on startFolder.
QString chooseFolder(QWidget *over, const QString &title, const QString &startFolder);

// The first of the folders that exists, else the home folder: a folder dialog opened on a
// folder that does not exist lists nothing and cannot choose.
QString firstExistingFolder(const QStringList &candidates);
