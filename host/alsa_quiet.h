// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps libasound's own error messages off stderr: without a sound card or server it prints
// several lines per call, and the program reports what matters itself.
#pragma once

namespace kestrelon {

// Installs a silent libasound error handler (once per process; later calls do nothing).
void SilenceAlsaMessages();

}  // namespace kestrelon
