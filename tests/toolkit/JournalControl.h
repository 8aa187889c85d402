#pragma once

#include "CNControlBase.h"

#include <string>
#include <vector>

namespace pelidore {

// A control that writes what its owner window asks of it into a journal.
class JournalControl : public CNControlBase {
public:
    static constexpr UINT kProbe = WM_APP + 7;

    explicit JournalControl(std::vector<std::string>& journal) : m_Journal(journal) {}

    void Draw(int mode) override;
    void Release() override;

protected:
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<std::string>& m_Journal;
};

} // namespace pelidore
