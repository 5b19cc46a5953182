#pragma once
#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in code so they need no theme or plugin.
namespace MainIcons {

QPixmap ExitIcon();       // 32 x 32, "Ukončit aplikaci"
QPixmap InfoIcon();       // 32 x 32, "Info autora"
QIcon PhotoFileIcon();    // 16 x 16, an entry of the file list
QIcon AppIcon();          // the window icon (the same picture as data/lumatrim.svg)

}  // namespace MainIcons
