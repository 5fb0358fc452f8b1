#pragma once

class QWidget;
class TfrPreviewView;
struct CanvasRect;

// The search through the pages a view shows, from its search state: page by page from
// SearchPage, record by record from SearchRecord, for a text-out record that contains
// FindText. A match becomes the current page, is scrolled into view and shown inverted, and
// the next search starts after it. Without a match only the search state changes. True when
// the text was found.
bool frFindNext(TfrPreviewView& view);

// Before a search that goes on ("Продолжить", F3): when the current page is not the one the
// last match was on, the search starts at the top of the current page. A search that ran past
// the last page stays run out until the current page changes.
void frContinueFromCurrentPage(TfrPreviewView& view);

// Runs the search dialog over the view's pages; on OK the search starts as the dialog says.
void frFindBtnClick(TfrPreviewView& view, QWidget* owner);

// Shows a rectangle of shown page `index` (zero-based; the page's own units) as a match is
// shown: that page current, the rectangle scrolled into view and inverted.
void frMarkOnPage(TfrPreviewView& view, int index, const CanvasRect& rect);
