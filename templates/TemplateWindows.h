#pragma once

#include <functional>

class TfDocs;
class TfValue;
class TfEditValue;
class TfPrintRep;

// The template windows, each created once at start-up (in this order) and reused. A window that
// opens another finds it here, since the one it opens may be created after it.
struct TemplateWindows {
    TfDocs* fDocs{nullptr};
    TfValue* fValue{nullptr};
    TfEditValue* fEditValue{nullptr};
    // The print preview window, which lives in the print-out layer above the templates.
    TfPrintRep* fPrintRep{nullptr};
    // Opens the page layout window on the current template, which lives above the templates;
    // empty where there is none.
    std::function<void()> ShowPageLayout;
};
