// SPDX-License-Identifier: GPL-3.0-or-later
// Where the skin lives: share/kestrelon beside the bin/ folder holding the executable, in the
// build tree and once installed alike.
#pragma once

#include <string>

namespace kestrelon {

// The skin directory with a trailing '/', from the running executable's own path.
std::string SkinDirectory(const char* argv0);

}  // namespace kestrelon
