#include <gtest/gtest.h>
#include <QTextDocument>

#include "macro/colours.h"
#include "ui/macro/rich_text.h"

using namespace qv;

namespace {

// What the editor saves must be the colouring it shows.
TEST(ColourRuns, ReadBackAsApplied) {
  QTextDocument document;
  document.setPlainText(QStringLiteral("MACRO(A);\nFAZE;\n"));
  ApplyColourRuns(document, {{0, 16, kBlack, kWhite, false},
                             {0, 10, kBlack, kLightRed, true},
                             {6, 1, kBlue, kLightRed, true},
                             {10, 500, kBlack, kSkyBlue, true}});
  const QList<MacroColourRun> expected = {{0, 6, kBlack, kLightRed, true},
                                          {6, 1, kBlue, kLightRed, true},
                                          {7, 2, kBlack, kLightRed, true},
                                          {10, 5, kBlack, kSkyBlue, true}};
  EXPECT_EQ(ColourRunsOf(document), expected);
}

TEST(ColourRuns, UncolouredTextIsBlackOnWhite) {
  QTextDocument document;
  document.setPlainText(QStringLiteral("FAZE;"));
  EXPECT_EQ(ColourRunsOf(document), (QList<MacroColourRun>{{0, 5, kBlack, kWhite, false}}));
}

}  // namespace
