#pragma once
// 文字替换: turning a style's template and the entries of its editor into the finished page.
//
// One routine serves the eight styles (FGTH1 … FGTH8), driven by the style tables: the page
// starts as the style's template (for styles 2 and 3 with the snippet PF in front when the
// floating picture is ticked), then each step of the style, in table order, replaces every
// occurrence of its token with the text of its box. Replacement is plain text: the whole text,
// left to right, case-sensitive, occurrences not overlapping, the inserted text not searched
// again by the same step but searched by every later one, nothing trimmed or escaped.

#include "client/pages/StyleTables.h"
#include "client/pages/TemplateStore.h"

#include <QString>

#include <functional>

namespace pages {

// The current text of box i of the style's editor.
using BoxReader = std::function<QString(int box)>;

// What the page starts as, before the first step.
QString StartText(const Style& style, bool floatingPicture, const TemplateStore& store);

// One step: every occurrence of `token` in `text` replaced with `entry`.
void ReplaceEvery(QString& text, const QString& token, const QString& entry);

// FGTHn for style n: FGN ← the start text, then every step in order. Reads the boxes at the
// moment of each step and nothing else.
void FGTH(const Style& style, const BoxReader& box, bool floatingPicture,
          const TemplateStore& store, QString& FGN);

// The same, returning the page.
QString GeneratePage(const Style& style, const BoxReader& box, bool floatingPicture,
                     const TemplateStore& store);

// The sample page of a style: every box holding its sample entry (or, with `empty`, nothing).
QString SamplePage(const Style& style, bool floatingPicture, bool empty,
                   const TemplateStore& store);

}  // namespace pages
