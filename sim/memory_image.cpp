#include "sim/memory_image.h"

#include <QString>
#include <QStringList>

#include "common/cp1251.h"
#include "sim/random.h"

namespace qv::sim {

namespace {

void fillNoise(QByteArray& image, int from, int to, uint64_t start) {
  SimRandom random(start);
  for (int a = from; a < to; ++a)
    image[a] = static_cast<char>(random.next() & 0xFF);
}

void fillValue(QByteArray& image, int from, int to, char value) {
  for (int a = from; a < to; ++a)
    image[a] = value;
}

// Zero-terminated texts one after another, repeated until the area is full.
void fillTexts(QByteArray& image, int from, int to, const QStringList& texts) {
  int a = from;
  for (int i = 0; a < to; ++i) {
    const QByteArray text = ToCp1251(texts.at(i % texts.size())) + '\0';
    for (char c : text) {
      if (a >= to)
        break;
      image[a++] = c;
    }
  }
}

// Fixed-size name slots, zero padded, as a settings area keeps them.
void fillSlots(QByteArray& image, int from, int to, int slot, const QStringList& names) {
  for (int a = from, i = 0; a + slot <= to; a += slot, ++i) {
    const QByteArray name = ToCp1251(names.at(i % names.size())).left(slot - 1);
    fillValue(image, a, a + slot, '\0');
    for (int k = 0; k < name.size(); ++k)
      image[a + k] = name.at(k);
  }
}

void fillFlash(QByteArray& image) {
  // Jump table: 0C 94 followed by the word address of each handler.
  for (int v = 0; v < 21; ++v) {
    const int target = 0x0054 / 2 + v * 0x20;
    image[v * 4] = '\x0C';
    image[v * 4 + 1] = '\x94';
    image[v * 4 + 2] = static_cast<char>(target & 0xFF);
    image[v * 4 + 3] = static_cast<char>(target >> 8);
  }
  fillNoise(image, 0x0054, 0x2000, 0x51);
  for (int a = 0x2000; a < 0x2200; ++a)
    image[a] = static_cast<char>(a & 0xFF);
  fillTexts(image, 0x2200, 0x2600,
            {QStringLiteral("QV V2.3Z"), QStringLiteral("Главное меню"),
             QStringLiteral("Пуск канала 1"), QStringLiteral("Стоп канала 2"),
             QStringLiteral("Заряд окончен"), QStringLiteral("Battery charger firmware"),
             QStringLiteral("Напряжение питания мало!"), QStringLiteral("0123456789ABCDEF")});
  fillNoise(image, 0x2600, 0x3C00, 0x52);
  fillValue(image, 0x3C00, 0x4000, '\xFF');
}

void fillEeprom(QByteArray& image) {
  const char header[] = "QVEE";
  for (int k = 0; k < 4; ++k)
    image[0x4000 + k] = header[k];
  for (int a = 0x4004; a < 0x4010; ++a)
    image[a] = static_cast<char>(a - 0x4003);
  // Settings record: small numbers and flags.
  for (int a = 0x4010; a < 0x4100; ++a)
    image[a] = static_cast<char>(((a - 0x4010) * 7) % 32);
  fillSlots(
      image, 0x4100, 0x4200, 16,
      {QStringLiteral("macro.qvml"), QStringLiteral("Заряд NiMH"), QStringLiteral("Разряд 0.5А"),
       QStringLiteral("Тренировка"), QStringLiteral("LiIon 4.2V"), QStringLiteral("Формовка АКБ")});
  fillNoise(image, 0x4200, 0x4300, 0x53);
  fillValue(image, 0x4300, 0x4400, '\xFF');
}

void fillRam(QByteArray& image) {
  // Registers read back their own address.
  for (int a = 0x4400; a < 0x4460; ++a)
    image[a] = static_cast<char>(a & 0xFF);
  for (int a = 0x4460; a < 0x4800; ++a)
    image[a] = (a % 29 == 0) ? static_cast<char>(a >> 4) : '\0';
  fillNoise(image, 0x4800, 0x4B00, 0x54);
  // The stack grows down from the top.
  for (int a = 0x4B00; a < 0x4C00; ++a)
    image[a] = static_cast<char>(0x4BFF - a);
}

}  // namespace

QByteArray SyntheticMemoryImage() {
  QByteArray image(kMemorySize, '\0');
  fillFlash(image);
  fillEeprom(image);
  fillRam(image);
  return image;
}

}  // namespace qv::sim
