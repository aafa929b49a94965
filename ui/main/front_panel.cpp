#include "ui/main/front_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <cmath>

#include "acquisition/shared_state.h"
#include "common/commands.h"
#include "common/cp1251.h"
#include "common/folders.h"
#include "common/text.h"
#include "ui/main/artwork.h"
#include "ui/main/colours.h"

using namespace qv;

QImage PanelBitmap(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
QPoint ButtonCentre[kPanelButtons];

namespace {

constexpr int kButtonRadiusSquared = 169;
constexpr int kButtonImageHalf = 13;
constexpr int kBatteriesPerSide = 7;
constexpr int kBatteryLength = 80;
constexpr int kBatteryHeight = 38;
constexpr int kCapWidth = 12;
constexpr int kTipWidth = 8;

// Cell geometry derived from the picture size as the panel was laid out.
constexpr int kCellPitchX = kPictureWidth / 65;
constexpr int kCellPitchY = kPictureHeight / 24;
constexpr int kFirstCellX = int(kPictureWidth * 28 * 0.01);
constexpr int kFirstCellY = int(kPictureHeight * 45 * 0.01);

// The canvas state that carries from one drawing step to the next, as the
// labels rely on the bold style the display drawing leaves behind.
struct Canvas {
  bool bold = false;
  QColor fontColour = Qt::black;
  QRgb transparent = 0;
};
Canvas canvas;

// The picture as loaded: the display window is restored from it before the
// cells are drawn again, or characters drawn earlier would stay and the
// blinking run would never disappear.
QImage loadedPicture;
const QRect kDisplayWindow(kFirstCellX - 4, kFirstCellY - 4, kScreenColumns* kCellPitchX + 8,
                           kScreenCells / kScreenColumns * kCellPitchY + 8);

void restoreDisplayWindow(QPainter& p) {
  if (loadedPicture.size() == PanelBitmap.size())
    p.drawImage(kDisplayWindow.topLeft(), loadedPicture, kDisplayWindow);
}

QFont canvasFont(const char* family, int pointSize) {
  QFont font(QString::fromLatin1(family));
  font.setPointSize(pointSize);
  font.setBold(canvas.bold);
  return font;
}

// Text placed by its top-left corner.
void textOut(QPainter& p, int x, int y, const QString& text) {
  p.drawText(x, y + p.fontMetrics().ascent(), text);
}

// Pixels of the key colour become transparent.
QImage keyed(const QImage& image, QRgb key) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
        line[x] = 0;
    }
  }
  return out;
}

QRgb keyAt(const QImage& image, int column) {
  return image.pixel(column, 1);
}

void computeButtonCentres() {
  const int y = int(kPictureHeight * 143 * 0.005);
  const int x1 = int(kPictureWidth * 68.8 * 0.005);
  const int x4 = int(kPictureWidth * 102.5 * 0.005);
  ButtonCentre[0] = {x1, y};
  ButtonCentre[1] = {x1 + (x4 - x1) / 3, y};
  ButtonCentre[2] = {x4 - (x4 - x1) / 3, y};
  ButtonCentre[3] = {x4, y};
}

void drawButton(QPainter& p, int button, bool pressed) {
  const QPoint c = ButtonCentre[button - 1];
  for (int n = 30; n >= 1; --n) {
    const int g = 5 * n + 70;
    p.setPen(QColor(g, g, g));
    p.setBrush(QColor(g, g, g));
    const int h = n / 2;
    p.drawEllipse(QRect(c.x() - h, c.y() - h, 2 * h, 2 * h));
  }
  const QImage& image = ImageList1()[pressed ? button - 1 : 3 + button];
  p.drawImage(c.x() - kButtonImageHalf, c.y() - kButtonImageHalf, keyed(image, keyAt(image, 1)));
}

double latest(const double* series, int count) {
  return series[count > 0 ? count - 1 : 0];
}

QString valueText(double value) {
  return FormatNumber(QStringLiteral("0.0"), value);
}

void drawLabels(QPainter& p) {
  p.setFont(canvasFont("Arial", 10));
  const ChannelRecord& c1 = ChannelData[0];
  const ChannelRecord& c2 = ChannelData[1];
  const struct {
    QString text;
    int x, y;
  } labels[] = {
      {"БП=" + valueText(ChargerState.SupplyVoltage) + "v", 289, 194},
      {"Tc=" + valueText(latest(c1.HeatsinkTemp, c1.Count)), 354, 194},
      {"V1=" + valueText(latest(c1.Voltage, c1.Count)) + "v", 50, 46},
      {"T1=" + valueText(latest(c1.Temp, c1.Count)), 50, 64},
      {"V2=" + valueText(latest(c2.Voltage, c2.Count)) + "v", 699, 46},
      {"T2=" + valueText(latest(c2.Temp, c2.Count)), 699, 64},
  };
  for (const auto& label : labels) {
    p.setPen(ToQColor(kBlue));
    textOut(p, label.x, label.y, label.text);
    p.setPen(ToQColor(kDarkRed));
    textOut(p, label.x + 1, label.y + 1, label.text);
  }
}

void drawKeyed(QPainter& p, int x, int y, const QImage& image) {
  p.drawImage(x, y, keyed(image, canvas.transparent));
}

void drawCap(QPainter& p, int x, int y, const QImage& image, bool formsLeftEnd) {
  canvas.transparent = keyAt(image, formsLeftEnd ? 1 : 10);
  drawKeyed(p, x, y, image);
}

void drawBattery(QPainter& p, int channel, int i, double value, int percent, int fontSize) {
  const bool left = channel == 0;
  const int x0 =
      left ? int(kPictureWidth * 2 / 45.0) : int(kPictureWidth - kPictureWidth * 2 / 45.0);
  const int y0 = 397 - 50 * i;
  auto at = [&](int j) { return left ? x0 + j : x0 - j; };
  const QList<QImage>& caps = ImageList4();
  const QList<QImage>& columns = ImageList2();
  if (left) {
    drawCap(p, x0, y0, caps[0], true);
    drawCap(p, x0 + kBatteryLength - kCapWidth, y0, caps[2], false);
  } else {
    drawCap(p, x0 - kCapWidth, y0, caps[5], false);
    drawCap(p, x0 - kBatteryLength, y0, caps[3], true);
  }
  const BatteryLayout layout = BatteryFill(percent);
  for (int j = layout.start; j < layout.bodyEnd; ++j)
    drawKeyed(p, at(j), y0, columns[2]);
  for (int j = layout.start; j < layout.fillEnd; ++j)
    drawKeyed(p, at(j), y0, columns[left ? 0 : 1]);
  if (layout.tip >= 0) {
    const QImage& tip = ImageList3()[left ? 0 : 3];
    drawKeyed(p, left ? x0 + layout.tip : x0 - layout.tip - (kTipWidth - 1), y0, tip);
  }
  QFont font = canvasFont("Arial", fontSize);
  p.setFont(font);
  p.setPen(canvas.fontColour);
  const QString text = QStringLiteral("B%1=").arg(i + 1) + valueText(value) + "v";
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(text);
  const int x = left ? x0 + (kBatteryLength - width) / 2 : x0 + (-kBatteryLength - width) / 2;
  textOut(p, x, y0 + (kBatteryHeight - metrics.height()) / 2, text);
}

void drawBatteries(QPainter& p) {
  canvas.fontColour = ToQColor(kYellow);
  for (int i = 0; i < kBatteriesPerSide; ++i) {
    for (int channel = 0; channel < 2; ++channel) {
      drawBattery(p, channel, i, ChannelData[channel].Voltage[i + 1], 10 * i, 10);
    }
  }
}

// A picture of another size is fitted so that every coordinate still holds.
bool loadPicture() {
  const QString path = FindPanelPicture();
  if (path.isEmpty())
    return false;
  QImage picture(path);
  if (picture.isNull())
    return false;
  if (picture.size() != QSize(kPictureWidth, kPictureHeight)) {
    picture = picture.scaled(kPictureWidth, kPictureHeight, Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
  }
  PanelBitmap = picture.convertToFormat(QImage::Format_RGB32);
  return true;
}

}  // namespace

QStringList PanelPictureFolders() {
  QStringList folders;
  for (const QString& folder :
       {QDir::currentPath(), ProgramFolder(), ExecutableFolder(), InstalledDataFolder()}) {
    folders << QDir::cleanPath(folder);
  }
  folders.removeDuplicates();
  return folders;
}

QString FindPanelPicture() {
  for (const QString& folder : PanelPictureFolders()) {
    const QFileInfo file(QDir(folder), kPanelPictureFile);
    if (file.isFile())
      return file.absoluteFilePath();
  }
  return {};
}

bool DrawWholePanel() {
  PanelBitmap = QImage(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  PanelBitmap.fill(Qt::white);
  const bool loaded = loadPicture();
  loadedPicture = PanelBitmap;
  if (!loaded)
    return false;
  computeButtonCentres();
  DrawButtons(0);
  DrawDisplay();
  QPainter p(&PanelBitmap);
  drawLabels(p);
  drawBatteries(p);
  return true;
}

void DrawButtons(int pressed) {
  if (ButtonCentre[0].isNull())
    computeButtonCentres();
  QPainter p(&PanelBitmap);
  p.setRenderHint(QPainter::Antialiasing, false);
  if (pressed == 0) {
    for (int b = 1; b <= kPanelButtons; ++b)
      drawButton(p, b, false);
  } else if (pressed <= kPanelButtons) {
    drawButton(p, pressed, true);
  }
}

std::array<bool, kScreenCells> BlankCells() {
  std::array<bool, kScreenCells> blank{};
  bool flag = false;
  for (int i = 0; i < kScreenCells; ++i) {
    if (i == ScreenImage.CursorPos && ScreenImage.Blink && ScreenImage.CursorPos < kScreenCells)
      flag = true;
    if (ScreenImage.Chars[i] == ' ')
      flag = false;
    blank[i] = flag;
  }
  return blank;
}

void DrawDisplay() {
  canvas.bold = true;
  QPainter p(&PanelBitmap);
  restoreDisplayWindow(p);
  QFont font = canvasFont("Terminal", 13);
  p.setFont(font);
  const std::array<bool, kScreenCells> blank = BlankCells();
  for (int i = 0; i < kScreenCells; ++i) {
    const int x = kFirstCellX + kCellPitchX * (i % kScreenColumns);
    const int y = kFirstCellY + kCellPitchY * (i / kScreenColumns);
    const QString text =
        blank[i] ? QStringLiteral(" ") : QString(Cp1251ToChar(ScreenImage.Chars[i]));
    p.setPen(ToQColor(kBlue));
    textOut(p, x - 1, y - 1, text);
    p.setPen(ToQColor(kYellow));
    textOut(p, x, y, text);
  }
}

int HitTest(int x, int y) {
  if (ButtonCentre[0].isNull())
    computeButtonCentres();
  for (int b = 0; b < kPanelButtons; ++b) {
    const int dx = x - ButtonCentre[b].x();
    const int dy = y - ButtonCentre[b].y();
    if (dx * dx + dy * dy < kButtonRadiusSquared)
      return b + 1;
  }
  return 0;
}

QPoint MapToPicture(QPoint mouse, QSize controlSize) {
  if (controlSize.width() <= 0 || controlSize.height() <= 0)
    return {-1, -1};
  return {int(double(mouse.x() * kPictureWidth) / controlSize.width()),
          int(double(mouse.y() * kPictureHeight) / controlSize.height())};
}

uint8_t ButtonCommand(int button) {
  static constexpr uint8_t commands[] = {U_GiveMeScr, U_CANCEL, U_DOWN, U_UP, U_OK};
  return button >= 1 && button <= kPanelButtons ? commands[button] : uint8_t(U_GiveMeScr);
}

BatteryLayout BatteryFill(int percent) {
  BatteryLayout layout{};
  layout.start = percent > 5 ? 10 : 6;
  layout.bodyEnd = percent >= 80 ? 73 : 69;
  layout.fillEnd = layout.start;
  layout.tip = -1;
  if (percent <= 0)
    return layout;
  int j = layout.start;
  while (0.73 * percent > j) {
    layout.fillEnd = j + 1;
    if (j > 71)
      break;
    ++j;
  }
  if (j < 68)
    layout.tip = j;
  return layout;
}
