// SPDX-License-Identifier: GPL-3.0-or-later
// Little-endian fields appended to a byte array, for the cursor and sound file writers.
#pragma once

#include <QByteArray>
#include <QtEndian>

namespace kestrelon::skingen {

inline void u16(QByteArray& b, quint16 v) {
    const quint16 le = qToLittleEndian(v);
    b.append(reinterpret_cast<const char*>(&le), 2);
}
inline void u32(QByteArray& b, quint32 v) {
    const quint32 le = qToLittleEndian(v);
    b.append(reinterpret_cast<const char*>(&le), 4);
}

}  // namespace kestrelon::skingen
