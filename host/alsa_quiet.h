// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps libasound's own error messages off stderr: without a sound card or server it prints
// several lines per call, and the program reports what matters itself. And gives back the memory
// of its configuration between opens.
#pragma once

namespace kestrelon {

// Installs a silent libasound error handler (once per process; later calls do nothing).
void SilenceAlsaMessages();

// Lets libasound free the configuration it read to open a device (some 140 KiB of heap), which
// an open device no longer needs; the next open reads it again. Safe from any thread.
void ForgetAlsaConfiguration();

}  // namespace kestrelon
