#include "ui/memory/unitmem.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/messages.h"
#include "link/device_link.h"
#include "link/port.h"
#include "memory/memory_image.h"
#include "ui/memory/memory_window.h"

using namespace qv;

namespace {

constexpr int kGroupWidth = 164;
constexpr int kDumpLineChars = 65;  // the "M"s a line may take
constexpr int kLargestFont = 30;
constexpr int kSmallestFittedFont = 6;
const char* const kDumpFont = "Courier New";

}  // namespace

int FitDumpFontSize(int memoWidth, const std::function<int(int)>& widthOfM) {
  const int limit = memoWidth / kDumpLineChars;
  for (int size = kLargestFont; size >= kSmallestFittedFont; --size) {
    if (widthOfM(size) < limit)
      return size;
  }
  return kSmallestFittedFont - 1;
}

TFormMem::TFormMem()
    : ChildWindow(ChildKind::Mem),
      GroupBox1(new QGroupBox(QStringLiteral("Что смотрим"))),
      Button1(new QPushButton(QStringLiteral("Прочитать из ЗУ"))),
      Button2(new QPushButton(QStringLiteral("Прочитать ВСЁ из файла"))),
      Button3(new QPushButton(QStringLiteral("Записать ВСЁ в файл"))),
      Memo1(new QPlainTextEdit) {
  setWindowTitle(QStringLiteral("Просмотр памяти"));
  resize(652, 294);

  auto* group = new QVBoxLayout(GroupBox1);
  group->setContentsMargins(2, 4, 2, 2);  // the longest caption just fits 164 pixels
  for (int i = 0; i < 4; ++i) {
    RadioButton[i] = new QRadioButton(QString::fromUtf8(kMemoryAreas[i].caption));
    group->addWidget(RadioButton[i]);
    connect(RadioButton[i], &QRadioButton::toggled, this, [this](bool on) {
      if (on)
        ShowDump();
    });
  }
  RadioButton[0]->setChecked(true);
  group->addWidget(Button1);
  group->addStretch();
  group->addWidget(Button2);
  group->addWidget(Button3);
  GroupBox1->setFixedWidth(kGroupWidth);

  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont font(QString::fromLatin1(kDumpFont));
  font.setStyleHint(QFont::Monospace);
  Memo1->setFont(font);
  Memo1->viewport()->installEventFilter(this);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(GroupBox1);
  layout->addWidget(Memo1, 1);

  connect(Button1, &QPushButton::clicked, this, &TFormMem::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFormMem::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TFormMem::Button3Click);
}

int TFormMem::selectedArea() const {
  for (int i = 0; i < 4; ++i) {
    if (RadioButton[i]->isChecked())
      return i;
  }
  return 0;
}

void TFormMem::ShowDump() {
  const MemoryArea& area = kMemoryAreas[selectedArea()];
  QStringList lines;
  for (int address = area.first; address < area.end; address += 16)
    lines << DumpLine(address);
  Memo1->setUpdatesEnabled(false);
  Memo1->setPlainText(lines.join(QLatin1Char('\n')));
  Memo1->setUpdatesEnabled(true);
}

void TFormMem::Button1Click() {
  if (!DeviceLink.PortOpen)
    Connect();
  if (!DeviceLink.PortOpen)
    return;
  const MemoryArea& area = kMemoryAreas[selectedArea()];
  const bool read = ReadMemory(area.first, uint16_t(area.size()), kMemoryBlock);
  ShowDump();
  // Failed blocks keep their earlier bytes: the user must know the dump is
  // not all fresh.
  if (read && MemoryImage.FailedBlocks > 0)
    ShowMessage(QStringLiteral("Не удалось прочитать блоков: ") +
                QString::number(MemoryImage.FailedBlocks));
}

void TFormMem::Button2Click() {
  LoadDump(DumpFilePath(), 0, kDumpLength);
  ShowDump();
}

void TFormMem::Button3Click() {
  SaveDump(DumpFilePath(), 0, kDumpLength);
}

void TFormMem::shown() {
  ShowDump();
}

void TFormMem::tick() {
  if (fontCountdown_-- == 1)
    fitFont();
}

void TFormMem::resizeEvent(QResizeEvent* event) {
  ChildWindow::resizeEvent(event);
  fontCountdown_ = 2;
}

bool TFormMem::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Memo1->viewport() && event->type() == QEvent::MouseButtonDblClick)
    ShowDump();
  return ChildWindow::eventFilter(watched, event);
}

void TFormMem::fitFont() {
  QFont font = Memo1->font();
  const int size = FitDumpFontSize(Memo1->width(), [&font](int pointSize) {
    QFont probe = font;
    probe.setPointSize(pointSize);
    return QFontMetrics(probe).horizontalAdvance(QLatin1Char('M'));
  });
  font.setPointSize(size);
  Memo1->setFont(font);
}

void RegisterMemoryWindow() {
  RegisterChildWindow(ChildKind::Mem, [] { return new TFormMem; });
}
