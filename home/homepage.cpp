#include "homepage.h"

HomePage::HomePage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName("HomePage");
    setStyleSheet("QWidget{background-color: rgb(51, 51, 51);}");
}

void HomePage::retranslate()
{
}
