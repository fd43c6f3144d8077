#include "canvas/Tool.h"

#include "canvas/FreehandTool.h"
#include "canvas/ShapeTool.h"
#include "canvas/StampTool.h"

namespace {

// In the order of ToolKind.
constexpr Tool kTools[] = {
    {FreehandTool::press, FreehandTool::move, FreehandTool::release, false},
    {ShapeTool::press, ShapeTool::move, ShapeTool::release, false},
    {StampTool::press, StampTool::move, StampTool::release, true},
};

} // namespace

const Tool& toolOf(ToolKind kind) {
    return kTools[static_cast<int>(kind)];
}
