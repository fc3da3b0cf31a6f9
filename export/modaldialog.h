#pragma once

class QDialog;
class QWidget;

// Runs a dialog made without a parent (so that it takes none of the style sheets of the
// program's window) modally over that window: kept above it and centred on it. The dialog's
// result.
int execOver(QDialog &dialog, QWidget *over);
