#include "CSaveThread.h"

#include "CFitToSizeSave.h"
#include "COutputPaths.h"
#include "PelidoreCommands.h"

#include <cstdio>
#include <system_error>
#include <utility>

namespace pelidore {

CSaveThread::~CSaveThread()
{
    Quit();
}

bool CSaveThread::Start(HWND frame, GifExporter& exporter, SaveJob job)
{
    if (IsRunning() || !frame)
        return false;
    m_Frame = frame;
    m_Exporter = &exporter;
    m_Job = std::move(job);
    m_Stop.store(static_cast<int>(SaveStop::None));
    m_Total.store(0);
    m_LastSaved.clear();
    m_Ended.Wait(0); // the end of an earlier run
    m_LastTooLarge = false;
    m_FitFps.store(0);
    m_FitScale.store(100);
    try {
        m_Thread = std::thread(&CSaveThread::Run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CSaveThread::Cancel()
{
    StopWith(SaveStop::Cancel);
}

void CSaveThread::Quit()
{
    StopWith(SaveStop::Quit);
}

void CSaveThread::QuitUnlessDoneWithin(unsigned milliseconds)
{
    if (IsRunning())
        m_Ended.Wait(milliseconds);
    Quit();
}

void CSaveThread::Wait()
{
    if (m_Thread.joinable())
        m_Thread.join();
}

void CSaveThread::StopWith(SaveStop stop)
{
    if (!IsRunning())
        return;
    m_Stop.store(static_cast<int>(stop));
    Wait();
}

void CSaveThread::Run()
{
    CStoreConverter converter(*m_Exporter);
    for (const std::filesystem::path& store : m_Job.stores) {
        if (m_Stop.load() != static_cast<int>(SaveStop::None))
            break;
        SaveOne(converter, store);
    }
    PostMessageW(m_Frame, PWM_COMMAND, CMD_SAVE_FINISHED, 0);
    m_Ended.Set();
}

void CSaveThread::SaveOne(CStoreConverter& converter, const std::filesystem::path& store)
{
    if (m_Job.mendFirst && CStoreConverter::RecoverKept(store) != KeptStoreAction::Save)
        return;
    // Named now, so the GIF carries the time the save began.
    const bool replacing = !m_Job.replaceGif.empty();
    const std::filesystem::path gif =
        replacing ? std::filesystem::path(m_Job.replaceGif.native() + L".part") : COutputPaths(m_Job.workFolder).Gif();
    const auto report = [this](int done, int total) {
        m_Total.store(total);
        PostMessageW(m_Frame, PWM_COMMAND, CMD_SAVE_PROGRESS, done);
    };
    const SaveOutcome outcome = m_Job.options.fitToMb > 0
                                    ? ConvertToFit(converter, store, gif, report)
                                    : converter.Convert(store, gif, m_Job.options, m_Stop, report, stdout, {},
                                                        m_Job.kept);
    if (replacing) {
        FinishReplacing(outcome, store, gif);
        return;
    }
    CStoreConverter::Finish(outcome, store, gif);
    if (outcome == SaveOutcome::Saved)
        m_LastSaved = gif;
    if (outcome == SaveOutcome::TooLarge)
        m_LastTooLarge = true;
}

// The live GIF holds every frame until the cut one is whole; whatever the
// outcome, the partial file goes. The store stays only when writing failed,
// to be saved whole at the next start.
void CSaveThread::FinishReplacing(SaveOutcome outcome, const std::filesystem::path& store,
                                  const std::filesystem::path& part)
{
    std::error_code ignored;
    const bool replaced = outcome == SaveOutcome::Saved &&
                          MoveFileExW(part.c_str(), m_Job.replaceGif.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    std::filesystem::remove(part, ignored);
    if (replaced)
        m_LastSaved = m_Job.replaceGif;
    if (replaced || (outcome != SaveOutcome::Saved && outcome != SaveOutcome::ExportFailed))
        std::filesystem::remove(store, ignored);
}

SaveOutcome CSaveThread::ConvertToFit(CStoreConverter& converter, const std::filesystem::path& store,
                                      const std::filesystem::path& gif, const CStoreConverter::ProgressReport& report)
{
    CFitToSizeSave fit(converter, [this](int fps, int scalePercent) {
        m_FitFps.store(fps);
        m_FitScale.store(scalePercent);
        PostMessageW(m_Frame, PWM_COMMAND, CMD_SAVE_FIT, 0);
    });
    return fit.Convert(store, gif, m_Job.options, CFitToSizeSave::LimitBytes(m_Job.options), m_Stop, report, stdout,
                       m_Job.kept);
}

} // namespace pelidore
