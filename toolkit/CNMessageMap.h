#pragma once

#include "NWindows.h"

#include <functional>
#include <map>
#include <type_traits>

namespace pelidore {

// The table of message handlers of a window or a control. A handler is a
// member function of the derived class taking (wParam, lParam); a result of 0
// means "not handled" and lets dispatch continue.
//
//     AddMessageFunc(WM_LBUTTONDOWN, &CMyWnd::OnLButtonDown);
class CNMessageMap {
public:
    using Handler = std::function<LRESULT(WPARAM, LPARAM)>;

    CNMessageMap();
    virtual ~CNMessageMap();
    CNMessageMap(const CNMessageMap&) = delete;
    CNMessageMap& operator=(const CNMessageMap&) = delete;

    // Registers a member function of the derived class T for message id.
    // A second registration for the same id is refused (E_FAIL, one log line)
    // and the first stays in force; 0 on success.
    template <class T>
    HRESULT AddMessageFunc(UINT id, LRESULT (T::*handler)(WPARAM, LPARAM))
    {
        static_assert(std::is_base_of<CNMessageMap, T>::value, "handler must belong to a CNMessageMap class");
        T* self = static_cast<T*>(this);
        return AddHandler(id,
                          [self, handler](WPARAM wParam, LPARAM lParam) { return (self->*handler)(wParam, lParam); });
    }
    // The same for any callable.
    HRESULT AddHandler(UINT id, Handler handler);

    // The handler's result for id, or 0 when none is registered.
    LRESULT DispatchMap(UINT id, WPARAM wParam, LPARAM lParam);
    bool HasMessageFunc(UINT id) const;

protected:
    void ClearMessageFuncs();

private:
    std::map<UINT, Handler> m_Handlers;
};

} // namespace pelidore
