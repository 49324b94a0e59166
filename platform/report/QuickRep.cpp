#include "platform/report/QuickRep.h"

#include <QPrinter>

#include "platform/FormatPatterns.h"
#include "platform/report/ReportPrinting.h"

namespace zeko {

namespace {

// A line of text of a font, in report pixels.
int LineHeight(const TReportFont& font) { return font.Size * 96 / 72 + 3; }

// The state of one report's layout.
class TLayout {
public:
    TLayout(const TQuickRep& report, TReportDocument& document, TQRBand* columnHeader, TQRBand* footer)
        : report_(report), document_(document), columnHeader_(columnHeader), footer_(footer) {
        footerHeight_ = ChainHeight(footer);
    }

    void StartPage() {
        document_.Pages.emplace_back();
        ++pageNumber_;
        y_ = report_.TopMargin;
        for (const auto& item : report_.OnPage.Items)
            if (item->Enabled)
                Page().Items.push_back(item->Printed(0, 0, pageNumber_));
        if (pageNumber_ > 1)
            PrintChain(columnHeader_);
    }

    void FinishPage() {
        y_ = report_.PageHeight - report_.BottomMargin - footerHeight_;
        PrintChain(footer_, false);
    }

    void PrintChain(const TQRBand* band, bool breakPages = true) {
        for (; band; band = band->ChildBand)
            if (band->Enabled)
                PrintBand(*band, breakPages);
    }

private:
    static int ChainHeight(const TQRBand* band) {
        int height = 0;
        for (; band; band = band->ChildBand)
            if (band->Enabled)
                height += band->Height;
        return height;
    }

    TReportPage& Page() { return document_.Pages.back(); }

    void PrintBand(const TQRBand& band, bool breakPages) {
        const int limit = report_.PageHeight - report_.BottomMargin - footerHeight_;
        if (breakPages && y_ + band.Height > limit && !Page().Bands.empty() && !printingHeader_) {
            FinishPage();
            printingHeader_ = true;
            StartPage();
            printingHeader_ = false;
        }
        const int index = static_cast<int>(Page().Bands.size());
        Page().Bands.push_back({band.Name, y_, band.Height});
        const int x = report_.LeftMargin;
        for (const auto& item : band.Items) {
            if (!item->Enabled)
                continue;
            TPageItem printed = item->Printed(x, y_, pageNumber_);
            printed.Band = index;
            Page().Items.push_back(std::move(printed));
        }
        if (band.FrameBottom) {
            TPageItem line;
            line.Kind = TPageItemKind::Line;
            line.Name = band.Name;
            line.Band = index;
            line.Bounds = {x, y_ + band.Height - 1, x + report_.BandWidth(), y_ + band.Height};
            Page().Items.push_back(line);
        }
        y_ += band.Height;
    }

    const TQuickRep& report_;
    TReportDocument& document_;
    TQRBand* columnHeader_;
    TQRBand* footer_;
    int footerHeight_ = 0;
    int pageNumber_ = 0;
    int y_ = 0;
    bool printingHeader_ = false;
};

} // namespace

TPageItem TQRPrintable::Placed(TPageItemKind kind, int x, int y) const {
    TPageItem item;
    item.Kind = kind;
    item.Name = Name;
    item.Bounds = {x + Left, y + Top, x + Left + Width, y + Top + Height};
    return item;
}

TPageItem TQRLabel::Printed(int x, int y, int) const {
    TPageItem item = Placed(TPageItemKind::Text, x, y);
    item.Text = Caption;
    item.Font = Font;
    item.Alignment = Alignment;
    return item;
}

TPageItem TQRShape::Printed(int x, int y, int) const {
    TPageItem item = Placed(Shape == qrsRectangle ? TPageItemKind::Frame : TPageItemKind::Line, x, y);
    item.PenWidth = PenWidth;
    return item;
}

TPageItem TQRSysData::Printed(int x, int y, int pageNumber) const {
    TPageItem item = TQRLabel::Printed(x, y, pageNumber);
    const TDateTime now = Now();
    switch (Data) {
    case qrsDate: item.Text = Text + DateToStr(now); break;
    case qrsTime: item.Text = Text + TimeToStr(now); break;
    case qrsDateTime: item.Text = Text + DateToStr(now) + " " + TimeToStr(now); break;
    case qrsPageNumber: item.Text = Text + std::to_string(pageNumber); break;
    }
    return item;
}

template <typename T>
T& TQRBand::Add(const std::string& name, int left, int top, int width, int height) {
    auto item = std::make_unique<T>();
    item->Name = name;
    item->Left = left;
    item->Top = top;
    item->Width = width;
    item->Height = height;
    T& made = *item;
    Items.push_back(std::move(item));
    return made;
}

TQRLabel& TQRBand::AddLabel(const std::string& name, int left, int top, int width, const std::string& caption,
                            const TReportFont& font, TAlignment alignment) {
    TQRLabel& label = Add<TQRLabel>(name, left, top, width, LineHeight(font));
    label.Caption = caption;
    label.Font = font;
    label.Alignment = alignment;
    return label;
}

TQRShape& TQRBand::AddShape(const std::string& name, TQRShapeType shape, int left, int top, int width, int height) {
    TQRShape& made = Add<TQRShape>(name, left, top, width, height);
    made.Shape = shape;
    return made;
}

TQRSysData& TQRBand::AddSysData(const std::string& name, TQRSysDataType data, int left, int top, int width,
                                const TReportFont& font) {
    TQRSysData& field = Add<TQRSysData>(name, left, top, width, LineHeight(font));
    field.Data = data;
    field.Font = font;
    return field;
}

TQRBand& TQuickRep::AddBand(const std::string& name, TQRBandType type, int height) {
    Bands.push_back(std::make_unique<TQRBand>(name, type, height));
    return *Bands.back();
}

TQRBand& TQuickRep::AddChildBand(const std::string& name, TQRBand& parent, int height) {
    TQRBand& child = AddBand(name, rbChild, height);
    parent.ChildBand = &child;
    return child;
}

TQRBand* TQuickRep::FindBand(const std::string& name) const {
    for (const auto& band : Bands)
        if (band->Name == name)
            return band.get();
    return nullptr;
}

TQRPrintable* TQuickRep::Find(const std::string& name) const {
    auto inBand = [&](const TQRBand& band) -> TQRPrintable* {
        for (const auto& item : band.Items)
            if (item->Name == name)
                return item.get();
        return nullptr;
    };
    if (TQRPrintable* found = inBand(OnPage))
        return found;
    for (const auto& band : Bands)
        if (TQRPrintable* found = inBand(*band))
            return found;
    return nullptr;
}

TQRBand* TQuickRep::FirstOfType(TQRBandType type) const {
    for (const auto& band : Bands)
        if (band->BandType == type)
            return band.get();
    return nullptr;
}

void TQuickRep::Prepare(TReportDocument& document) {
    bool print = true;
    if (BeforePrint)
        BeforePrint(print);
    if (!print)
        return;
    document.PageWidth = PageWidth;
    document.PageHeight = PageHeight;
    TLayout layout(*this, document, FirstOfType(rbColumnHeader), FirstOfType(rbPageFooter));
    layout.StartPage();
    layout.PrintChain(FirstOfType(rbTitle));
    layout.PrintChain(FirstOfType(rbColumnHeader));
    if (OnNeedData) {
        const TQRBand* detail = FirstOfType(rbDetail);
        for (bool more = true;;) {
            more = false;
            OnNeedData(more);
            if (!more)
                break;
            layout.PrintChain(detail);
        }
    }
    layout.PrintChain(FirstOfType(rbSummary));
    layout.FinishPage();
}

TQRCompositeReport::TQRCompositeReport() = default;
TQRCompositeReport::~TQRCompositeReport() = default;

const TReportDocument& TQRCompositeReport::Prepare() {
    reports_.clear();
    document_ = TReportDocument{};
    if (OnAddReports)
        OnAddReports(*this);
    for (TQuickRep* report : reports_)
        report->Prepare(document_);
    return document_;
}

bool TQRCompositeReport::PrinterSetup() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return CurrentReportPrinting().PrinterSetup(*printer_);
}

void TQRCompositeReport::Preview() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    CurrentReportPrinting().Preview(document_, *printer_);
}

} // namespace zeko
