#include "CClickLatch.h"

#include <initializer_list>

namespace pelidore {

void CClickLatch::Press(MouseButton button)
{
    Button& state = Of(button);
    state.down.store(true);
    state.pressedSinceFrame.store(true);
}

void CClickLatch::Release(MouseButton button)
{
    Of(button).down.store(false);
}

void CClickLatch::Reset()
{
    for (Button* state : {&m_Left, &m_Right}) {
        state->down.store(false);
        state->pressedSinceFrame.store(false);
    }
}

ShownButtons CClickLatch::TakeForFrame()
{
    ShownButtons shown;
    shown.left = m_Left.Take();
    shown.right = m_Right.Take();
    return shown;
}

} // namespace pelidore
