// SPDX-License-Identifier: GPL-3.0-or-later
// Look-ups in the register table.
#include "device/register_map.h"

#include <stdexcept>

namespace kestrelon {

const RegisterRow& registerRow(RegisterFamily family, ChannelPair pair) {
    for (const RegisterRow& row : kRegisterMap)
        if (row.family == family && row.pair == pair) return row;
    throw std::invalid_argument("register family has no member for this channel pair");
}

const RegisterRow* findRegister(uint8_t reg) {
    for (const RegisterRow& row : kRegisterMap)
        if (row.reg == reg) return &row;
    return nullptr;
}

}  // namespace kestrelon
