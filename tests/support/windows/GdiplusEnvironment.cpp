#include "GdiplusEnvironment.h"

namespace pelidore {

void GdiplusEnvironment::SetUp()
{
    m_Gdiplus = std::make_unique<CNGdiplus>();
    ASSERT_TRUE(m_Gdiplus->IsStarted());
}

void GdiplusEnvironment::TearDown()
{
    m_Gdiplus.reset();
}

// Registered before main runs, in every test program that links this file.
static ::testing::Environment* const kGdiplusEnvironment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

} // namespace pelidore
