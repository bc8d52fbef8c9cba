// SPDX-License-Identifier: GPL-3.0-or-later
// A silent libasound error handler, installed once per process.
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

}  // namespace kestrelon
