// The windows of recorded runs as the main window's items open them.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest/QTest>
#include <cmath>

#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/folders.h"
#include "common/settings_record.h"
#include "tests/support/screenshot.h"
#include "tests/ui_main/main_window_fixture.h"
#include "ui/graphs/unitgra.h"
#include "ui/main/child_window.h"
#include "ui/main/run_windows.h"
#include "ui/runs/runs.h"
#include "ui/runs/unitdiag.h"

using namespace qv;

namespace {

// One sample: time, I, V, T, Tc, E, P, R, dI/dt, dV/dt, dT/dt.
using Sample = std::array<double, kLogFields>;

QByteArray runFileText(const QList<Sample>& samples) {
  QByteArray text;
  for (const Sample& sample : samples) {
    QStringList fields;
    for (double value : sample)
      fields << QStringLiteral("%1").arg(value, 11, 'f', 2);
    text += fields.join(QLatin1Char(';')).toLatin1() + "\r\n";
  }
  return text;
}

// A charge at 1 A and 10 V for an hour (1 Ah, 10 Wh), ten minutes at rest,
// a discharge at 2 A and 9 V for half an hour (1 Ah, 9 Wh): samples a minute
// apart.
QList<Sample> handMadeRun() {
  QList<Sample> samples;
  for (int k = 0; k <= 60; ++k)
    samples << Sample{double(k), 1, 10, 25 + k * 0.05, 30, k / 60.0, 10, 10, 0, 0, 0};
  for (int k = 61; k <= 70; ++k)
    samples << Sample{double(k), 0, 9.5, 28, 30, 1, 0, 0, 0, 0, 0};
  for (int k = 71; k <= 101; ++k)
    samples << Sample{double(k), 2, 9, 27, 35, 1 - (k - 70) / 30.0, 18, 4.5, 0, 0, 0};
  return samples;
}

// A charge whose current tapers and voltage rises, every quantity moving.
QList<Sample> chargeRun(int count, double scale) {
  QList<Sample> samples;
  for (int k = 0; k < count; ++k) {
    const double t = k * 0.5;
    const double i = scale * (2 * std::exp(-t / 60) + 0.2);
    const double v = 7 + 1.4 * (1 - std::exp(-t / 40));
    samples << Sample{t,     i,     v,         24 + t / 20, 30 + t / 10,    t * i / 60,
                      i * v, v / i, -i / 3600, 1.0 / 3600,  std::sin(t / 9)};
  }
  return samples;
}

// The samples as a channel holds them once recorded.
void recordInto(int channel, const QList<Sample>& samples) {
  ChannelRecord& c = ChannelData[channel];
  for (int k = 0; k < samples.size(); ++k) {
    for (int field = 0; field < kLogFields; ++field)
      (c.*kLogSeries[field])[k] = samples[k][field];
  }
  c.Count = static_cast<int>(samples.size());
}

const QString kHandMade = QStringLiteral("20261211_083124_1.gra");
const QString kCharge = QStringLiteral("20261212_190005_2.gra");

class RunWindowsTest : public MainWindowTest {
 protected:
  RunWindowsTest() {
    RegisterRunWindows();
    WriteAll(GraFolder() + kHandMade, runFileText(handMadeRun()));
    WriteAll(GraFolder() + kCharge, runFileText(chargeRun(240, 1)));
  }
  ~RunWindowsTest() override {
    QLocale::setDefault(QLocale::c());
    for (ChildWindow* window : FreeChildWindows())
      delete window;
    SetRunWindowOpeners({});
  }

  // Answers the next file dialog with these files of GRA/, and notes how it
  // was asked.
  void chooseFiles(const QStringList& names) {
    answerDialog = [this, names](QDialog& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      if (!files)
        return static_cast<int>(QDialog::Rejected);
      asked = true;
      askedFolder = files->directory().absolutePath() + QLatin1Char('/');
      askedFilters = files->nameFilters();
      askedMode = files->fileMode();
      QStringList quoted;
      for (const QString& name : names)
        quoted << QLatin1Char('"') + name + QLatin1Char('"');
      files->selectFile(quoted.join(QLatin1Char(' ')));
      return static_cast<int>(QDialog::Accepted);
    };
  }

  // Answers the next print dialog with a PDF file.
  QString printToPdf(const QString& name) {
    const QString pdf = folder.file(name);
    answerDialog = [this, pdf](QDialog& dialog) {
      auto* print = qobject_cast<QPrintDialog*>(&dialog);
      if (!print)
        return static_cast<int>(QDialog::Rejected);
      printedName = print->printer()->docName();
      print->printer()->setOutputFormat(QPrinter::PdfFormat);
      print->printer()->setOutputFileName(pdf);
      return static_cast<int>(QDialog::Accepted);
    };
    return pdf;
  }

  static QList<TFormGra*> graphWindows() {
    QList<TFormGra*> found;
    for (ChildWindow* window : FreeChildWindows()) {
      if (auto* graphs = qobject_cast<TFormGra*>(window))
        found << graphs;
    }
    return found;
  }

  static QList<TFormDiag*> reportWindows() {
    QList<TFormDiag*> found;
    for (ChildWindow* window : FreeChildWindows()) {
      if (auto* report = qobject_cast<TFormDiag*>(window))
        found << report;
    }
    return found;
  }

  static QStringList column(const QTableWidget& table, int c) {
    QStringList cells;
    for (int r = 0; r < table.rowCount(); ++r)
      cells << (table.item(r, c) ? table.item(r, c)->text() : QString());
    return cells;
  }

  static QStringList row(const QTableWidget& table, int r) {
    QStringList cells;
    for (int c = 0; c < table.columnCount(); ++c)
      cells << (table.item(r, c) ? table.item(r, c)->text() : QString());
    return cells;
  }

  static QString figure(const TFormDiag& report, const QString& caption) {
    const int r = static_cast<int>(column(*report.StringGrid1, 0).indexOf(caption));
    return r < 0 ? QStringLiteral("(no row)") : report.StringGrid1->item(r, 1)->text();
  }

  bool activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
  }

  bool asked = false;
  QString askedFolder;
  QStringList askedFilters;
  QFileDialog::FileMode askedMode = QFileDialog::AnyFile;
  QString printedName;
};

// The page as pdftoppm draws it, and its text as pdftotext reads it
// (poppler-utils, which tools/setup.sh installs).
QImage pdfPage(const QString& pdf) {
  const QString prefix = pdf + QStringLiteral(".page");
  QProcess::execute(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"),
                     QStringLiteral("-singlefile"), pdf, prefix});
  return QImage(prefix + QStringLiteral(".png"));
}

QString pdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  process.waitForFinished();
  return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdfinfo"), {pdf});
  process.waitForFinished();
  const QString info = QString::fromUtf8(process.readAllStandardOutput());
  const qsizetype at = info.indexOf(QStringLiteral("Pages:"));
  return at < 0 ? 0 : info.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

bool popplerInstalled() {
  return QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-v")}) == 0;
}

// Where the pixels of a colour lie on the page: their count and centre.
struct ColourSpot {
  int pixels = 0;
  QPointF centre;
};

ColourSpot spotOf(const QImage& page, QColor colour) {
  constexpr int kTolerance = 12;
  ColourSpot spot;
  double x = 0;
  double y = 0;
  for (int row = 0; row < page.height(); ++row) {
    for (int col = 0; col < page.width(); ++col) {
      const QColor pixel = page.pixelColor(col, row);
      if (std::abs(pixel.red() - colour.red()) <= kTolerance &&
          std::abs(pixel.green() - colour.green()) <= kTolerance &&
          std::abs(pixel.blue() - colour.blue()) <= kTolerance) {
        ++spot.pixels;
        x += col;
        y += row;
      }
    }
  }
  if (spot.pixels > 0)
    spot.centre = QPointF(x / spot.pixels, y / spot.pixels);
  return spot;
}

TEST_F(RunWindowsTest, CtrlOOpensTheGoodFileAndSaysWhyTheDamagedOneDidNotOpen) {
  WriteAll(GraFolder() + QStringLiteral("20261210_120000_1.gra"), "\x01\x02 junk\r\nmore;junk\r\n");
  startMainWindow();
  chooseFiles({QStringLiteral("20261210_120000_1.gra"), kCharge});
  ASSERT_TRUE(activate(form.get()));
  QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
  ASSERT_TRUE(asked);
  EXPECT_EQ(askedFolder, GraFolder());
  EXPECT_EQ(askedMode, QFileDialog::ExistingFiles);
  ASSERT_EQ(askedFilters.size(), 1);
  EXPECT_TRUE(askedFilters[0].endsWith("(*.gra)")) << askedFilters[0].toStdString();
  EXPECT_EQ(messages, QStringList{"В файле " + GraFolder() +
                                  "20261210_120000_1.gra нет ни одной строки измерений"});
  const QList<TFormGra*> windows = graphWindows();
  ASSERT_EQ(windows.size(), 1);
  EXPECT_EQ(windows[0]->windowTitle(), "Графики: " + kCharge);
  EXPECT_EQ(windows[0]->source().runCount(), 1);
  EXPECT_EQ(windows[0]->series(1)->count(), 240);
}

TEST_F(RunWindowsTest, SeveralFilesOverlayInOneWindowPlacedOnTheScreen) {
  startMainWindow();
  chooseFiles({kHandMade, kCharge});
  form->item("GRA1")->trigger();
  ASSERT_EQ(graphWindows().size(), 1);
  TFormGra* window = graphWindows()[0];
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->source().runCount(), 2);
  EXPECT_TRUE(window->legend()->isVisible());
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window->frameGeometry()))
      << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
      << window->frameGeometry().width() << "x" << window->frameGeometry().height() << " in "
      << screen.width() << "x" << screen.height();
  EXPECT_GE(window->width(), 800);

  // A second window does not hide the first.
  chooseFiles({kCharge});
  form->item("GRA1")->trigger();
  ASSERT_EQ(graphWindows().size(), 2);
  EXPECT_NE(graphWindows()[1]->pos(), window->pos());
  EXPECT_TRUE(screen.contains(graphWindows()[1]->frameGeometry()));

  // A cancelled dialog opens nothing.
  answerDialog = [](QDialog& dialog) {
    dialog.reject();
    return static_cast<int>(QDialog::Rejected);
  };
  form->item("GRA1")->trigger();
  EXPECT_EQ(graphWindows().size(), 2);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RunWindowsTest, RunWindowsCloseWithTheMainWindow) {
  startMainWindow();
  OpenRunGraphs({GraFolder() + kCharge});
  OpenFileReport(GraFolder() + kHandMade);
  ASSERT_EQ(FreeChildWindows().size(), 2);
  closeMainWindow();
  EXPECT_TRUE(FreeChildWindows().isEmpty());
}

TEST_F(RunWindowsTest, FilesOnTheCommandLineAreTheArgumentsEndingInGra) {
  const struct {
    QStringList arguments;
    QStringList files;
  } cases[] = {
      {{"qv20"}, {}},
      {{"qv20", "a.gra"}, {"a.gra"}},
      {{"qv20", "--demo", "/x/A.GRA", "b.gra"}, {"/x/A.GRA", "b.gra"}},
      {{"qv20", "--home", "odd.gra", "c.gra"}, {"c.gra"}},
      {{"qv20", "notes.txt", "--gra", "gra"}, {}},
      {{"run.gra"}, {}},  // the program itself
  };
  for (const auto& c : cases)
    EXPECT_EQ(RunFileArguments(c.arguments), c.files) << c.arguments.join(' ').toStdString();

  startMainWindow();
  TFormGra* window = OpenRunGraphs(RunFileArguments(
      {"qv20", "--home", folder.path(), GraFolder() + kHandMade, GraFolder() + kCharge}));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Графики: " + kHandMade + ", " + kCharge);
  EXPECT_EQ(OpenRunGraphs({folder.file("missing.gra")}), nullptr);
  EXPECT_EQ(messages, QStringList{"Не удалось открыть файл " + folder.file("missing.gra")});
  EXPECT_EQ(graphWindows().size(), 1);
}

TEST_F(RunWindowsTest, CtrlEReportsTheFiguresAndPhasesOfTheChosenRun) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  startMainWindow();
  chooseFiles({kHandMade});
  ASSERT_TRUE(activate(form.get()));
  QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(askedMode, QFileDialog::ExistingFile);
  ASSERT_EQ(reportWindows().size(), 1);
  const TFormDiag& report = *reportWindows()[0];
  EXPECT_EQ(report.windowTitle(), "Диагноз: " + kHandMade);
  EXPECT_EQ(report.Label1->text(), kHandMade + ", начало 11.12.2026 08:31:24");
  const struct {
    const char* caption;
    const char* value;
  } figures[] = {
      {"Измерений", "102"},
      {"Длительность (мин)", "101,0"},
      {"Заряжено (Ач)", "1,000"},
      {"Заряжено (Вт·ч)", "10,00"},
      {"Разряжено (Ач)", "1,000"},
      {"Разряжено (Вт·ч)", "9,00"},
      {"КПД по энергии (%)", "90,0"},
      {"Напряжение наименьшее (В)", "9,000"},
      {"Напряжение наибольшее (В)", "10,000"},
      {"Напряжение в конце (В)", "9,000"},
      {"Температура аккумулятора наибольшая (оС)", "28,0"},
      {"Температура радиатора наибольшая (оС)", "35,0"},
  };
  for (const auto& f : figures)
    EXPECT_EQ(figure(report, f.caption), f.value) << f.caption;
  const QTableWidget& phases = *report.StringGrid2;
  ASSERT_EQ(phases.rowCount(), 3);
  EXPECT_EQ(row(phases, 0),
            (QStringList{"Заряд", "0,0", "60,0", "1,000", "10,00", "10,000", "10,000", "28,0"}));
  EXPECT_EQ(row(phases, 1),
            (QStringList{"Пауза", "61,0", "70,0", "0,000", "0,00", "9,500", "9,500", "28,0"}));
  EXPECT_EQ(row(phases, 2),
            (QStringList{"Разряд", "71,0", "101,0", "1,000", "9,00", "9,000", "9,000", "27,0"}));
  EXPECT_EQ(phases.horizontalHeaderItem(0)->text(), "Фаза");
  SaveScreenshot(*reportWindows()[0], QStringLiteral("run_report"));
}

TEST_F(RunWindowsTest, CtrlCCopiesTheWholeReportTabSeparated) {
  startMainWindow();
  TFormDiag* report = OpenFileReport(GraFolder() + kHandMade);
  ASSERT_NE(report, nullptr);
  QApplication::clipboard()->clear();
  ASSERT_TRUE(activate(report));
  QTest::keyClick(report, Qt::Key_C, Qt::ControlModifier);
  const QStringList lines = QApplication::clipboard()->text().split('\n');
  ASSERT_GE(lines.size(), 19);
  EXPECT_EQ(lines[0], kHandMade + ", начало 11.12.2026 08:31:24");
  EXPECT_EQ(lines[1], "Измерений\t102");
  EXPECT_EQ(lines[3], "Заряжено (Ач)\t1.000");
  EXPECT_EQ(lines[13], "");
  EXPECT_TRUE(lines[14].startsWith("Фаза\tНачало (мин)\tКонец (мин)\t")) << lines[14].toStdString();
  EXPECT_EQ(lines[17], "Разряд\t71.0\t101.0\t1.000\t9.00\t9.000\t9.000\t27.0");
  EXPECT_EQ(lines[18], "");  // the last line ends too

  // The button does the same.
  QApplication::clipboard()->clear();
  report->Button1->click();
  EXPECT_EQ(QApplication::clipboard()->text().split('\n'), lines);
}

TEST_F(RunWindowsTest, CtrlDFollowsEachRecordingChannelLive) {
  startMainWindow();
  form->item("N22")->trigger();
  EXPECT_EQ(messages, QStringList{"Ни один канал ещё не записал измерений."});
  EXPECT_TRUE(reportWindows().isEmpty());

  const QList<Sample> samples = handMadeRun();
  recordInto(1, samples.first(61));  // the charge so far
  messages.clear();
  form->item("N22")->trigger();
  ASSERT_EQ(reportWindows().size(), 1);
  TFormDiag* report = reportWindows()[0];
  EXPECT_EQ(report->windowTitle(), "Диагноз: Канал 2");
  EXPECT_EQ(figure(*report, "Измерений"), "61");
  EXPECT_EQ(report->StringGrid2->rowCount(), 1);

  recordInto(1, samples);
  ASSERT_TRUE(QTest::qWaitFor([&] { return figure(*report, "Измерений") == "102"; }, 3000));
  EXPECT_EQ(figure(*report, "КПД по энергии (%)"), "90.0");
  EXPECT_EQ(report->StringGrid2->rowCount(), 3);

  // Asked again: the same window, no second one.
  form->item("N22")->trigger();
  EXPECT_EQ(reportWindows(), QList<TFormDiag*>{report});
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RunWindowsTest, ExportsTheReportedRunToCsv) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  startMainWindow();
  TFormDiag* report = OpenFileReport(GraFolder() + kHandMade);
  ASSERT_NE(report, nullptr);
  const QString csv = folder.file("hand.csv");
  answerDialog = [&](QDialog& dialog) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    if (!files)
      return static_cast<int>(QDialog::Rejected);
    EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
    files->selectFile(csv);
    return static_cast<int>(QDialog::Accepted);
  };
  report->Button2->click();
  const QByteArray bytes = ReadAll(csv);
  ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << bytes.left(40).toStdString();
  const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 103);
  EXPECT_TRUE(lines[0].startsWith("Дата и время;Время (мин);I (А);V (В)"))
      << lines[0].toStdString();
  EXPECT_EQ(lines[1],
            "2026-12-11 08:31:24;0,00;1,0000;10,0000;25,0000;30,0000;0,0000;10,0000;"
            "10,0000;0,0000;0,0000;0,0000");
  EXPECT_TRUE(lines[102].startsWith("2026-12-11 10:12:24;101,00;2,0000;9,0000;"))
      << lines[102].toStdString();
  EXPECT_TRUE(messages.isEmpty());
}

// The page holds the nine charts where the window shows them, each in its
// quantity's colour, under the file's name and start.
TEST_F(RunWindowsTest, CtrlPPrintsTheGraphsOnOneLandscapePage) {
  ASSERT_TRUE(popplerInstalled()) << "pdftoppm is missing: tools/setup.sh installs poppler-utils";
  startMainWindow();
  TFormGra* window = OpenRunGraphs({GraFolder() + kCharge});
  ASSERT_NE(window, nullptr);
  window->resize(900, 540);
  QApplication::processEvents();
  const QString pdf = printToPdf("graphs.pdf");
  ASSERT_TRUE(activate(window));
  QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(printedName, "Графики: " + kCharge);
  EXPECT_EQ(pdfPages(pdf), 1);
  const QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains(kCharge + ", начало 12.12.2026 19:00:05")) << text.toStdString();
  for (const char* title : {"Ток (А)", "V (В)", "Темп-ра (оС)", "Емкость (Ач)", "Мощность (Вт)",
                            "R (Ом)", "dI/dt (А/сек)", "dV/dt (В/сек)", "dT/dt (град/сек)"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(title))) << title << "\n" << text.toStdString();

  const QImage page = pdfPage(pdf);
  ASSERT_FALSE(page.isNull());
  EXPECT_GT(page.width(), page.height());
  // In the order of the grid, column by column: Chart1 .. Chart9.
  const QColor colours[9] = {{255, 0, 0},     {0, 0, 255},     {0, 128, 0},
                             {255, 0, 255},   {255, 128, 0},   {128, 0, 255},
                             {255, 128, 128}, {128, 255, 255}, {0, 255, 0}};
  ColourSpot spots[9];
  for (int k = 0; k < 9; ++k) {
    spots[k] = spotOf(page, colours[k]);
    EXPECT_GT(spots[k].pixels, 100) << "chart " << k + 1;
  }
  for (int k = 0; k < 9; ++k) {
    const int col = k / 3;
    const int row = k % 3;
    if (col > 0) {
      EXPECT_GT(spots[k].centre.x(), spots[k - 3].centre.x() + page.width() / 6) << k + 1;
    }
    if (row > 0) {
      EXPECT_GT(spots[k].centre.y(), spots[k - 1].centre.y() + page.height() / 8) << k + 1;
    }
  }
  // The charts fill the page's width.
  EXPECT_LT(spots[0].centre.x(), page.width() / 3);
  EXPECT_GT(spots[8].centre.x(), page.width() * 2 / 3);
}

// "Печать" prints the printable window shown or activated last.
TEST_F(RunWindowsTest, PrintItemPrintsTheWindowInFront) {
  ASSERT_TRUE(popplerInstalled()) << "pdftotext is missing: tools/setup.sh installs poppler-utils";
  startMainWindow();
  form->item("N5")->trigger();
  EXPECT_EQ(messages, QStringList{"Печатать нечего: откройте окно графиков или диагноза."});

  TFormGra* graphs = OpenRunGraphs({GraFolder() + kCharge});
  TFormDiag* report = OpenFileReport(GraFolder() + kHandMade);
  ASSERT_TRUE(graphs && report);
  QString pdf = printToPdf("report.pdf");
  ASSERT_TRUE(activate(form.get()));
  form->item("N5")->trigger();
  EXPECT_EQ(printedName, "Диагноз: " + kHandMade);
  QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains("Заряжено (Ач)")) << text.toStdString();
  EXPECT_TRUE(text.contains("Разряд")) << text.toStdString();

  pdf = printToPdf("graphs.pdf");
  ASSERT_TRUE(activate(graphs));
  ASSERT_TRUE(activate(form.get()));
  form->item("N5")->trigger();
  EXPECT_EQ(printedName, "Графики: " + kCharge);
  EXPECT_TRUE(pdfText(pdf).contains("Емкость (Ач)"));
  EXPECT_EQ(messages.size(), 1);
}

// A channel's window names the channel and its run's start.
TEST_F(RunWindowsTest, AChannelsGraphsPrintUnderTheChannelsName) {
  ASSERT_TRUE(popplerInstalled()) << "pdftotext is missing: tools/setup.sh installs poppler-utils";
  startMainWindow();  // it clears the channels
  recordInto(1, chargeRun(100, 1));
  ChannelData[1].StartTime = DateTimeToDays(QDateTime(QDate(2026, 12, 13), QTime(7, 5, 9)));
  Settings.Gra2Pos = QStringLiteral("40,40,900,540");
  auto* window = new TFormGra(1);
  window->show();
  ASSERT_TRUE(activate(window));
  const QString pdf = printToPdf("channel.pdf");
  QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(printedName, "Графики 2 канала");
  const QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains("Канал 2, начало 13.12.2026 07:05:09")) << text.toStdString();
  EXPECT_TRUE(text.contains("dT/dt (град/сек)")) << text.toStdString();
  window->close();
}

}  // namespace
