#pragma once

#include <QIcon>

// A 48 by 48 toolbar picture: the desktop theme's icon when it has one, otherwise one drawn here.
// Qt derives the disabled look from it.
QIcon ToolbarIcon(const QString &themeName, int image);

// The welcome panel's picture of the player, 132 by 239.
QPixmap WelcomePicture();
