#include "colourdialog.h"

#include "darkpalette.h"
#include "modaldialog.h"

#include <QColorDialog>

QColor pickColour(const QColor &initial, QWidget *over)
{
    QColorDialog dialog(initial);
    dialog.setObjectName("colourDialog");
    dialog.setPalette(darkPalette());
    if (execOver(dialog, over) != QDialog::Accepted)
        return QColor();
    return dialog.selectedColor();
}
