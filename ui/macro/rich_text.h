#pragma once

#include <QColor>
#include <QList>

#include "macro/colours.h"
#include "ui/main/colours.h"

class QTextDocument;

// The macro library hands colouring over as runs; these put them on a text
// document and read them back for saving.

// In order, a later run overriding an earlier one; runs past the end of the
// text are cut off there.
void ApplyColourRuns(QTextDocument& document, const QList<qv::MacroColourRun>& runs);

// The document's colouring as runs, neighbours of one style joined; text
// without a colour of its own counts as black on white.
QList<qv::MacroColourRun> ColourRunsOf(const QTextDocument& document);
