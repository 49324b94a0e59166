#pragma once
// The page model of a prepared report: what stands on each page, in report pixels
// (96 to the inch) from the paper's top-left corner: the bands as they were laid
// out, and the texts, lines and frames printed in them. Painting and the tests
// read it; nothing here knows of a printer.
#include <string>
#include <vector>

#include "platform/Graphics.h"

namespace zeko {

struct TReportFont {
    std::string Name = "Arial";
    int Size = 8;  // points
    bool Bold = false;
    bool operator==(const TReportFont&) const = default;
};

enum class TPageItemKind { Text, Line, Frame };

struct TPageItem {
    TPageItemKind Kind = TPageItemKind::Text;
    std::string Name;  // the component that printed it
    int Band = -1;     // index into the page's Bands; -1 on the page itself
    TRect Bounds;      // a line runs along its longer side
    std::string Text;
    TReportFont Font;
    TAlignment Alignment = taLeftJustify;
    int PenWidth = 1;
};

struct TPageBand {
    std::string Name;
    int Top = 0;
    int Height = 0;
};

struct TReportPage {
    std::vector<TPageBand> Bands;
    std::vector<TPageItem> Items;
    // The items a band printed; every text of a name, in order, on this page.
    std::vector<const TPageItem*> ItemsOfBand(int band) const;
    std::vector<const TPageItem*> Named(const std::string& name) const;
};

struct TReportDocument {
    // A4 portrait.
    int PageWidth = 794;
    int PageHeight = 1123;
    std::vector<TReportPage> Pages;
    // The bands of every page in print order, by name.
    std::vector<std::string> BandNames() const;
    // Every text item of a name on every page, in order.
    std::vector<const TPageItem*> Named(const std::string& name) const;
};

} // namespace zeko
