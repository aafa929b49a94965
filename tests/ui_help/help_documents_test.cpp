#include <gtest/gtest.h>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <algorithm>

#include "macro/command_table.h"
#include "macro/compiler.h"
#include "macro/templates.h"
#include "ui/help/unithelp.h"

using namespace qv;

namespace {

const HelpDocument kDocuments[] = {HelpDocument::UserGuide, HelpDocument::QvmlReference};

// The Markdown as the program carries it.
QString markdownOf(const QUrl& url) {
  QFile file(u':' + url.path());
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(file.readAll());
}

QString reference() {
  return markdownOf(HelpDocumentUrl(HelpDocument::QvmlReference));
}

TEST(QvmlReference, NamesEveryStatementWithItsCode) {
  const QStringList lines = reference().split(u'\n');
  for (const MacroCommand& command : MacroCommandTable) {
    const QString start = QStringLiteral("| `") + command.pattern + QStringLiteral("` |");
    const auto row = std::find_if(lines.begin(), lines.end(),
                                  [&](const QString& line) { return line.startsWith(start); });
    ASSERT_NE(row, lines.end()) << command.pattern.toStdString();
    const QString codes = QStringLiteral("| %1 | %2 |")
                              .arg(command.code)
                              .arg(QString::number(command.code, 16).toUpper(), 2, u'0');
    EXPECT_TRUE(row->contains(codes)) << row->toStdString() << " lacks " << codes.toStdString();
  }
}

TEST(QvmlReference, QuotesEveryCompilerMessageAsTheEditorShowsIt) {
  const QString text = reference();
  for (const QString& ending : MacroErrorEndings) {
    const QRegularExpression message(u'«' + QRegularExpression::escape(kMacroErrorStart) +
                                     QStringLiteral("\\d+") + QRegularExpression::escape(ending) +
                                     u'»');
    EXPECT_TRUE(message.match(text).hasMatch()) << ending.toStdString();
  }
}

TEST(QvmlReference, ShowsEveryTemplateAsTheEditorWritesIt) {
  const QString text = reference();
  for (const MacroTemplate& macroTemplate : MacroTemplates) {
    const QString block =
        QStringLiteral("```\n") + QString::fromLatin1(macroTemplate.text) + QStringLiteral("\n```");
    EXPECT_TRUE(text.contains(block)) << macroTemplate.text;
  }
}

TEST(QvmlReference, ListsEveryWordThatStandsForANumber) {
  const QString text = reference();
  for (const KeywordSubstitution& s : KeywordSubstitutions) {
    const QString row =
        QStringLiteral("| `%1` | %2 |").arg(QLatin1String(s.word), QLatin1String(s.replacement));
    EXPECT_TRUE(text.contains(row)) << row.toStdString();
  }
}

TEST(HeadingAnchor, AsTheDocumentsLinkToHeadings) {
  const struct {
    const char* heading;
    const char* anchor;
  } cases[] = {
      {"Сообщения компилятора", "сообщения-компилятора"},
      {"Файл настроек qv20.ini", "файл-настроек-qv20ini"},
      {"Суффиксы значений: C, S, A и INPUT", "суффиксы-значений-c-s-a-и-input"},
      {"Программы командной строки: qvctl и qvsim", "программы-командной-строки-qvctl-и-qvsim"},
      {"Байт-код и листинг", "байт-код-и-листинг"},
      {"  Шаблоны ", "шаблоны"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HeadingAnchor(QString::fromUtf8(c.heading)), QString::fromUtf8(c.anchor))
        << c.heading;
  }
}

// A link that leads nowhere shows an empty page or the top of a document.
TEST(HelpDocuments, EveryLinkReachesADocumentAndItsSection) {
  QMap<QString, QStringList> anchorsByPath;
  for (const HelpDocument document : kDocuments) {
    const QUrl url = HelpDocumentUrl(document);
    QTextDocument parsed;
    parsed.setMarkdown(markdownOf(url));
    ASSERT_FALSE(parsed.isEmpty()) << url.toString().toStdString();
    anchorsByPath.insert(url.path(), HeadingAnchors(parsed));
  }
  int links = 0;
  for (const HelpDocument document : kDocuments) {
    QTextBrowser browser;
    browser.setSource(HelpDocumentUrl(document));
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QString href = it.fragment().charFormat().anchorHref();
        if (href.isEmpty())
          continue;
        ++links;
        const QUrl target = browser.source().resolved(QUrl(href));
        ASSERT_TRUE(anchorsByPath.contains(target.path())) << href.toStdString();
        if (target.hasFragment()) {
          EXPECT_TRUE(anchorsByPath[target.path()].contains(target.fragment()))
              << href.toStdString();
        }
      }
    }
  }
  EXPECT_GT(links, 0);
}

TEST(HelpDocuments, HeadingsAreUniqueLinkTargets) {
  for (const HelpDocument document : kDocuments) {
    QTextDocument parsed;
    parsed.setMarkdown(markdownOf(HelpDocumentUrl(document)));
    QStringList anchors = HeadingAnchors(parsed);
    const qsizetype count = anchors.size();
    anchors.removeDuplicates();
    EXPECT_EQ(anchors.size(), count) << HelpDocumentUrl(document).toString().toStdString();
  }
}

}  // namespace
