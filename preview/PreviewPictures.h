#pragma once

#include <QIcon>
#include <QPixmap>

// Pictures of the preview panel, drawn by the program itself.
namespace PreviewPictures {

// The picture the empty video area shows (136 by 63).
QPixmap IdlePicture();

// Button pictures for Play, Pause / Resume and Stop, with grey versions for disabled buttons.
QIcon PlayIcon();
QIcon PauseIcon();
QIcon StopIcon();

} // namespace PreviewPictures
