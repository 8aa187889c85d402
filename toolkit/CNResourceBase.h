#pragma once

namespace pelidore {

// Common base of the toolkit's drawable resources (CNColor, CNFont, CNBitmap).
class CNResourceBase {
public:
    CNResourceBase() = default;
    virtual ~CNResourceBase();

    CNResourceBase(const CNResourceBase&) = default;
    CNResourceBase& operator=(const CNResourceBase&) = default;
};

} // namespace pelidore
