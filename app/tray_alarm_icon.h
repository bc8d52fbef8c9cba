// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon while a sensor is in alarm: the usual icon with a red mark in its lower right
// corner, drawn here at every size the icon has.
#pragma once

#include <QIcon>
#include <QImage>

namespace kestrelon {

// The picture with a red disc, ringed in white, over its lower right quarter.
QImage AlarmIconPicture(const QImage& picture);
// The icon with that mark at each of its sizes (at 32 × 32 when it has none).
QIcon AlarmIcon(const QIcon& icon);

}  // namespace kestrelon
