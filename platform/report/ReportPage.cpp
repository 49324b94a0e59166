#include "platform/report/ReportPage.h"

namespace zeko {

std::vector<const TPageItem*> TReportPage::ItemsOfBand(int band) const {
    std::vector<const TPageItem*> items;
    for (const TPageItem& item : Items)
        if (item.Band == band)
            items.push_back(&item);
    return items;
}

std::vector<const TPageItem*> TReportPage::Named(const std::string& name) const {
    std::vector<const TPageItem*> items;
    for (const TPageItem& item : Items)
        if (item.Name == name)
            items.push_back(&item);
    return items;
}

std::vector<std::string> TReportDocument::BandNames() const {
    std::vector<std::string> names;
    for (const TReportPage& page : Pages)
        for (const TPageBand& band : page.Bands)
            names.push_back(band.Name);
    return names;
}

std::vector<const TPageItem*> TReportDocument::Named(const std::string& name) const {
    std::vector<const TPageItem*> items;
    for (const TReportPage& page : Pages)
        for (const TPageItem* item : page.Named(name))
            items.push_back(item);
    return items;
}

} // namespace zeko
