#pragma once

#include <QByteArray>
#include <cstdint>

#include "common/commands.h"
#include "tests/support/fake_port.h"

// One measurement reply, built from values in the units the charger counts
// (hundredths).
struct Measurement {
  int current1 = 0, voltage1 = 0, temp1 = 0;
  int current2 = 0, voltage2 = 0, temp2 = 0;
  int supply = 0, heatsink = 0, capacity1 = 0, capacity2 = 0;
  uint8_t status = 0;

  QByteArray frame() const {
    QByteArray payload;
    for (int word : {current1, voltage1, temp1, current2, voltage2, temp2, supply, heatsink,
                     capacity1, capacity2}) {
      payload.append(static_cast<char>(word & 0xFF));
      payload.append(static_cast<char>((word >> 8) & 0xFF));
    }
    payload.append('\0');  // code bytes of the two channels
    payload.append('\0');
    payload.append(static_cast<char>(status));
    return Frame(qv::U_GiveMeADC, payload);
  }
};
