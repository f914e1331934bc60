// The text layer of the PDF files the program writes: what a reader gets
// back when it searches or copies the text.
//
// Qt's PDF writer embeds a subset of each font and maps every glyph back to
// text through the subset's ToUnicode CMap, choosing for each glyph the
// lowest code point the font draws with it. The CJK faces draw a radical and
// its unified ideograph with one glyph, and the radicals lie below the
// ideographs, so 一 风 干 气 read back as ⼀ ⻛ ⼲ ⽓ and "风量" is never found.
// The program draws no radicals, so such a glyph was drawn for the ideograph.
#pragma once

#include <QByteArray>

// pdf with every ToUnicode CMap entry that names a CJK radical or stroke
// naming its equivalent unified ideograph instead (EquivalentIdeograph),
// the changed streams' lengths and the cross-reference table rewritten to
// match. Everything else keeps its bytes. A file not laid out as Qt writes
// it (one cross-reference table, uncompressed CMaps of direct length), or
// one with nothing to change, comes back unchanged.
QByteArray WithIdeographsInTextLayer(const QByteArray& pdf);
