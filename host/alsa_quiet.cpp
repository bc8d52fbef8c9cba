// SPDX-License-Identifier: GPL-3.0-or-later
// A silent libasound error handler, installed once per process; the global configuration freed.
#include "host/alsa_quiet.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace kestrelon {
namespace {

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void SilenceAlsaMessages() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(IgnoreAlsaMessage); });
}

void ForgetAlsaConfiguration() {
    // Under libasound's own lock; a tree still in use elsewhere is freed when that use ends.
    snd_config_update_free_global();
}

}  // namespace kestrelon
