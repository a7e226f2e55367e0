#pragma once

#include <QIcon>
#include <QPixmap>

namespace quisk {

// The application's icon, drawn rather than loaded so that it needs no image
// plugin: a sheet of text lines cut by a column marker, with an arrow.
QPixmap quiskIconPixmap(int size);
QIcon quiskIcon();

} // namespace quisk
