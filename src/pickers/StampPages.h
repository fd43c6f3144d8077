#pragma once

#include "pickers/ControlArrays.h"

// The twelve stamp pages Picture2(1..12) and their stamp buttons Picture3(0..182).
namespace StampPages {

inline constexpr int kStampPageCount = 12;

// Builds every stamp button on its page; pages[0] is the tool page and is not
// touched. The buttons are stored at their indexes in `buttons`.
void build(const Pages& pages, ToolButtons& buttons);

} // namespace StampPages
