#pragma once

#include "CNGdiplus.h"

#include <gtest/gtest.h>

#include <memory>

namespace pelidore {

// Keeps GDI+ started for the whole test program.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    std::unique_ptr<CNGdiplus> m_Gdiplus;
};

} // namespace pelidore
