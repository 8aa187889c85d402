#include "CReviewSession.h"

#include <system_error>
#include <utility>

namespace pelidore {

bool CReviewSession::Open(Files files)
{
    Close();
    if (!m_Seeker.Open(files.store) || m_Seeker.FrameCount() <= 0) {
        m_Seeker.Close();
        return false;
    }
    m_Files = std::move(files);
    m_Kept = CKeptFrames(m_Seeker.Delays());
    m_Open = true;
    return true;
}

void CReviewSession::Close()
{
    m_Seeker.Close();
    m_Kept = CKeptFrames();
    m_Files = Files{};
    m_Open = false;
}

bool CReviewSession::KeepRange(int first, int last)
{
    return m_Open && m_Kept.SetRange(first - 1, last - 1);
}

bool CReviewSession::DeleteRange(int first, int last)
{
    return m_Open && first >= 1 && last <= m_Kept.FrameCount() && m_Kept.Delete(first - 1, last - 1);
}

void CReviewSession::DeleteFiles()
{
    // The store must be closed before Windows lets it go.
    m_Seeker.Close();
    std::error_code ignored;
    std::filesystem::remove(m_Files.store, ignored);
    if (!m_Files.liveGif.empty())
        std::filesystem::remove(m_Files.liveGif, ignored);
}

} // namespace pelidore
