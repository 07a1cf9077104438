#pragma once
// The help documents' pages: the guide's look, page layout and painting, with every heading
// kept on the page of the text it introduces.
#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;

namespace fw::helpdoc {

// A4 portrait with 20 mm side and 18 mm top and bottom margins.
QPageLayout GuidePageLayout();

// Fills `document` from `html` with the guide's fonts and style and lays it out in pages of
// `device`'s paintable area, in the device's own pixels.
void LoadGuide(QTextDocument& document, const QString& html, QPagedPaintDevice& device);

// Gives a page break before every heading that would otherwise be the last thing on its page
// (its text starting on the next page); of headings in a row, the first takes the break, so
// that all move together. Repeats until no heading is left alone, as each move lays the
// document out anew. Returns the number of page breaks given.
int KeepHeadingsWithText(QTextDocument& document);

// The pages up to the one where the text ends. Qt counts one more when the last line ends
// within the footer's room, whose margin then spills onto an empty page.
int UsedPageCount(QTextDocument& document);

// Paints every page of the laid-out document that holds text on `device`, numbered at the foot.
void PaintPages(QTextDocument& document, QPagedPaintDevice& device);

}  // namespace fw::helpdoc
