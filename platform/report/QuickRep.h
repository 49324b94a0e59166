#pragma once
// A small banded-report engine. A report (TQuickRep) is a list of bands: a title,
// a column header (repeated on every page), a detail band printed once for every
// time the need-data event says there is more, a summary, and a page footer at
// the bottom of every page; each band may have a chain of child bands printed
// right after it. Bands hold labels, shapes and system-data fields at positions
// in report pixels (96 to the inch) within the band; a report also holds fields
// on the page itself, in the top margin. Any band or component can be switched
// off. Prepare lays the bands out into pages of the page model
// (platform/report/ReportPage.h), starting a new page when a band does not fit
// above the footer. A composite report prepares several reports into one
// document, shows the printer set-up and the preview, and prints.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/report/ReportPage.h"

class QPrinter;

namespace zeko {

class TQRPrintable {
public:
    virtual ~TQRPrintable() = default;
    std::string Name;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Enabled = true;
    // What it puts on page `pageNumber` with its band's top-left corner at (x, y).
    virtual TPageItem Printed(int x, int y, int pageNumber) const = 0;

protected:
    TPageItem Placed(TPageItemKind kind, int x, int y) const;
};

class TQRLabel : public TQRPrintable {
public:
    std::string Caption;
    TReportFont Font;
    TAlignment Alignment = taLeftJustify;
    TPageItem Printed(int x, int y, int pageNumber) const override;
};

enum TQRShapeType { qrsHorLine, qrsVertLine, qrsRectangle };

class TQRShape : public TQRPrintable {
public:
    TQRShapeType Shape = qrsVertLine;
    int PenWidth = 1;
    TPageItem Printed(int x, int y, int pageNumber) const override;
};

enum TQRSysDataType { qrsDate, qrsTime, qrsDateTime, qrsPageNumber };

// The print date, time or page number, after its Text.
class TQRSysData : public TQRLabel {
public:
    TQRSysDataType Data = qrsDateTime;
    std::string Text;
    TPageItem Printed(int x, int y, int pageNumber) const override;
};

enum TQRBandType { rbTitle, rbColumnHeader, rbDetail, rbSummary, rbPageFooter, rbChild };

class TQRBand {
public:
    TQRBand(std::string name, TQRBandType type, int height) : Name(std::move(name)), BandType(type), Height(height) {}
    std::string Name;
    TQRBandType BandType;
    int Height;
    bool Enabled = true;
    // A line along the band's bottom edge.
    bool FrameBottom = false;
    // Printed right after this band, whether this one is switched on or off.
    TQRBand* ChildBand = nullptr;
    std::vector<std::unique_ptr<TQRPrintable>> Items;

    // A label one line of its font high.
    TQRLabel& AddLabel(const std::string& name, int left, int top, int width, const std::string& caption,
                       const TReportFont& font, TAlignment alignment = taLeftJustify);
    TQRShape& AddShape(const std::string& name, TQRShapeType shape, int left, int top, int width, int height);
    TQRSysData& AddSysData(const std::string& name, TQRSysDataType data, int left, int top, int width,
                           const TReportFont& font);

private:
    template <typename T>
    T& Add(const std::string& name, int left, int top, int width, int height);
};

class TQuickRep {
public:
    explicit TQuickRep(std::string name) : Name(std::move(name)), OnPage("", rbChild, 0) {}
    std::string Name;
    int PageWidth = 794, PageHeight = 1123;  // A4 portrait
    int LeftMargin = 38, TopMargin = 38, RightMargin = 38, BottomMargin = 38;
    // Fields on the page itself, placed from the paper's corner, on every page.
    TQRBand OnPage;
    std::vector<std::unique_ptr<TQRBand>> Bands;
    // Before the first band; clearing the flag prints nothing.
    std::function<void(bool& printReport)> BeforePrint;
    // Before each detail band; the detail prints while it sets the flag.
    std::function<void(bool& moreData)> OnNeedData;

    TQRBand& AddBand(const std::string& name, TQRBandType type, int height);
    // A child band chained after `parent`.
    TQRBand& AddChildBand(const std::string& name, TQRBand& parent, int height);
    TQRBand* FindBand(const std::string& name) const;
    // A component of any band, or of the page, by its name.
    TQRPrintable* Find(const std::string& name) const;
    TQRLabel* FindLabel(const std::string& name) const { return dynamic_cast<TQRLabel*>(Find(name)); }
    int BandWidth() const { return PageWidth - LeftMargin - RightMargin; }

    // Lays the report out into new pages appended to `document`.
    void Prepare(TReportDocument& document);

private:
    TQRBand* FirstOfType(TQRBandType type) const;
};

class TQRCompositeReport {
public:
    TQRCompositeReport();
    ~TQRCompositeReport();
    TQRCompositeReport(const TQRCompositeReport&) = delete;
    TQRCompositeReport& operator=(const TQRCompositeReport&) = delete;

    int Tag = 0;
    // Asked for the reports at every Prepare.
    std::function<void(TQRCompositeReport&)> OnAddReports;
    void Add(TQuickRep& report) { reports_.push_back(&report); }

    // The reports one after another, each from a new page.
    const TReportDocument& Prepare();
    const TReportDocument& Document() const { return document_; }
    // The printer set-up dialog of the report printing service; true when confirmed.
    bool PrinterSetup();
    // The preview, from which the user prints; runs until it is closed.
    void Preview();

private:
    std::vector<TQuickRep*> reports_;
    TReportDocument document_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace zeko
