#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "macro/colours.h"

namespace qv {

// Macro files hold RTF when the editor saved them and plain text when a
// template wrote them. Texts here have lines separated by '\n'.

// An RTF document of the text in Courier New with its colour and bold runs:
// Windows-1251 code page, characters outside ASCII as \uN with a \'hh
// fallback, CR LF after every \par.
QByteArray MacroTextToRtf(const QString& text, const QList<MacroColourRun>& runs);

// True when the bytes start as an RTF document (after a UTF-8 byte-order mark).
bool IsRtf(const QByteArray& bytes);
// The plain text of an RTF document: groups, control words, \'hh in the
// document's or the font's code page, \uN with its fallback skipped, \par;
// font, colour and other non-text destinations are skipped.
QString RtfToText(const QByteArray& rtf);

// The text of a macro file: RTF, or else plain text in Windows-1251, UTF-8 or
// UTF-16 by its byte-order mark.
QString DecodeMacroFile(const QByteArray& bytes);

}  // namespace qv
