#include "MDIForm1.h"

#include <QMdiArea>

MDIForm1::MDIForm1(QWidget *parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Velmora"));
    m_mdiArea->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(m_mdiArea);
}
