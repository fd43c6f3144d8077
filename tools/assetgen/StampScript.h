#pragma once

#include "platform/Icon.h"

#include <QString>

#include <map>
#include <vector>

// Stamps are drawn from small text files, one per stamp page. Each stamp is a
// block: "stamp <number> <name>" followed by drawing commands on the 32 x 32
// grid (see tools/assetgen/stamps/README.md).
struct StampSource {
    int number = -1;
    QString name;
    QString page; // the file it came from
    Icon icon;
};

struct StampScriptResult {
    std::map<int, StampSource> stamps;
    std::vector<int> order; // the stamps' numbers in the file's order
    QString error;          // "file:line: what is wrong"
};

// Parses and draws every stamp of `text`, from the file named `fileName`.
StampScriptResult drawStampScript(const QString& text, const QString& fileName);
