#include "frmGraph.h"

frmGraph::frmGraph(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(QStringLiteral("Results"));
}
