#include "Form3.h"

Form3::Form3(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Data"));
}

void Form3::RefreshList() {}

void Form3::ClearDisplay() {}
