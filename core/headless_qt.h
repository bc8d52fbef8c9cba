// SPDX-License-Identifier: GPL-3.0-or-later
// Set-up for programs that use Qt's painting without a display (the skin generator, the tests).
#pragma once

namespace kestrelon {

// Before the Q(Gui)Application exists: the offscreen platform unless one is chosen, and a
// private runtime directory when XDG_RUNTIME_DIR is unset.
void PrepareHeadlessQt();

}  // namespace kestrelon
