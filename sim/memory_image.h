#pragma once

#include <QByteArray>

namespace qv::sim {

// Address space of the read command: program memory 0x0000..0x3FFF, EEPROM
// 0x4000..0x43FF, RAM 0x4400..0x4BFF.
constexpr int kMemorySize = 0x4C00;

// The simulated charger's memory at start: always the same bytes, with code-like
// noise, every byte value, printable ASCII, Windows-1251 Cyrillic text, control
// codes and erased (0xFF) areas, so that dumps and byte-for-byte checks see
// every kind of content.
QByteArray SyntheticMemoryImage();

}  // namespace qv::sim
