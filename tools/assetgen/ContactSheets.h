#pragma once

#include "StampScript.h"

#include <QImage>

#include <vector>

// Pages of pictures for people to look at: every stamp enlarged with its
// number, page by page, and the scenes side by side.
namespace ContactSheets {

struct Page {
    QString title;
    std::vector<const StampSource*> stamps;
};

QImage stamps(const std::vector<Page>& pages);
QImage scenes(const std::vector<QImage>& scenes);

} // namespace ContactSheets
