#pragma once

#include <QAction>
#include <QString>
#include <QWidget>

// An item of the main frame's menus by its name (mnuSave, mnuTest, ...), or
// a menu on the menu bar by its own (mnuFile, ...); nullptr when there is
// none of that name.
inline QAction *MenuItem(const QWidget *frame, const QString &name)
{
    return frame->findChild<QAction *>(name);
}
