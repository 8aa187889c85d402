#pragma once

#include "CLockWnd.h"
#include "ToolWindowMetrics.h"
#include "CNEdit.h"

namespace pelidore {

// The time lock strip: minutes (0..99) and seconds (1..60), 0:05 at first.
class CTimeLockWnd : public CLockWnd {
public:
    static constexpr int kWidth = ToolWindowMetrics::kWidth;
    static constexpr const wchar_t* kTitle = L"Pelidore - TimeLock";
    enum FieldId : int { kMinutesEdit = 0, kSecondsEdit = 1 };

    CTimeLockWnd();
    ~CTimeLockWnd() override;

    // The limit the fields describe, in seconds.
    int LimitSeconds() const;
    CNEdit& MinutesEdit() { return m_Minutes; }
    CNEdit& SecondsEdit() { return m_Seconds; }

protected:
    HRESULT CreateFields() override;

private:
    CNEdit m_Minutes;
    CNEdit m_Seconds;
};

} // namespace pelidore
