// qvart: draws the front panel's artwork. Writes the panel picture that the
// program loads, with --icon the program icon at a size and, with --previews,
// enlarged PNGs of the picture and the image lists and the icon for review.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

#include "ui/main/artwork.h"
#include "ui/main/fonts.h"

using namespace qv;

namespace {

constexpr int kZoom = 4;
constexpr int kGap = 4;

// The images of one list side by side, enlarged, on grey.
QImage sheet(const QList<QImage>& images) {
  const QSize size = images.first().size() * kZoom;
  QImage out(int(images.size()) * (size.width() + kGap) + kGap, size.height() + 2 * kGap,
             QImage::Format_RGB32);
  out.fill(QColor(128, 128, 128));
  QPainter p(&out);
  for (int i = 0; i < images.size(); ++i) {
    p.drawImage(QRect(QPoint(kGap + i * (size.width() + kGap), kGap), size), images[i]);
  }
  return out;
}

bool save(const QImage& image, const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  if (image.save(path))
    return true;
  std::fprintf(stderr, "qvart: cannot write %s\n", qPrintable(path));
  return false;
}

bool savePreviews(const QDir& folder) {
  bool ok = save(DrawPanelPicture(), folder.filePath("panel.png"));
  ok = save(DrawProgramIcon(256), folder.filePath("icon.png")) && ok;
  const QList<QImage>* lists[] = {&ImageList1(), &ImageList2(), &ImageList3(), &ImageList4()};
  for (int i = 0; i < 4; ++i) {
    ok =
        save(sheet(*lists[i]), folder.filePath(QStringLiteral("imagelist%1.png").arg(i + 1))) && ok;
  }
  return ok;
}

int usage() {
  std::fprintf(stderr, "usage: qvart PICTURE.bmp [--previews FOLDER] [--icon SIZE FILE.png]...\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty())
    return usage();
  InstallFontSubstitutions();
  bool ok = save(DrawPanelPicture(), args[0]);
  for (qsizetype i = 1; i < args.size();) {
    const qsizetype left = args.size() - i;
    if (args[i] == "--previews" && left >= 2) {
      ok = savePreviews(QDir(args[i + 1])) && ok;
      i += 2;
    } else if (args[i] == "--icon" && left >= 3 && args[i + 1].toInt() > 0) {
      ok = save(DrawProgramIcon(args[i + 1].toInt()), args[i + 2]) && ok;
      i += 3;
    } else {
      return usage();
    }
  }
  return ok ? 0 : 5;
}
