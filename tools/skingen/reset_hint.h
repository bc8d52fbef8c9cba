// SPDX-License-Identifier: GPL-3.0-or-later
// The hint shown beside the pointer on the hidden reset spot ("reset.bmp").
#pragma once

#include <QImage>

namespace kestrelon::skingen {

QImage drawResetHint();

}  // namespace kestrelon::skingen
