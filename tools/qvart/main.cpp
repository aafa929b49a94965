// qvart: draws the front panel's artwork. Writes the panel picture that the
// program loads and, with --previews, enlarged PNGs of the picture and the
// image lists for review.
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

#include "ui/main/artwork.h"
#include "ui/main/fonts.h"

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
  if (image.save(path))
    return true;
  std::fprintf(stderr, "qvart: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty() || args.size() == 2 || args.size() > 3 ||
      (args.size() == 3 && args[1] != "--previews")) {
    std::fprintf(stderr, "usage: qvart PICTURE.bmp [--previews FOLDER]\n");
    return 1;
  }
  InstallFontSubstitutions();
  bool ok = save(DrawPanelPicture(), args[0]);
  if (args.size() == 3) {
    const QDir folder(args[2]);
    QDir().mkpath(folder.path());
    ok = save(DrawPanelPicture(), folder.filePath("panel.png")) && ok;
    const QList<QImage>* lists[] = {&ImageList1(), &ImageList2(), &ImageList3(), &ImageList4()};
    for (int i = 0; i < 4; ++i) {
      ok = save(sheet(*lists[i]), folder.filePath(QStringLiteral("imagelist%1.png").arg(i + 1))) &&
           ok;
    }
  }
  return ok ? 0 : 5;
}
