#pragma once
// The save thread: turns frame stores into GIFs after a deferred recording,
// or at start-up for the stores a crash, a quit or a failed save left in the
// work folder. It reports to the frame window only by posted commands:
// progress (done frames in lParam) and, at the end, save finished.
#include "CNEvent.h"
#include "CStoreConverter.h"
#include "GifExporter.h"
#include "NWindows.h"
#include "SaveJob.h"

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

namespace pelidore {

class CSaveThread {
public:
    CSaveThread() = default;
    ~CSaveThread();
    CSaveThread(const CSaveThread&) = delete;
    CSaveThread& operator=(const CSaveThread&) = delete;

    // The exporter is the thread's until it has ended.
    bool Start(HWND frame, GifExporter& exporter, SaveJob job);
    // The user gave up saving: the GIF keeps the frames so far, the store goes.
    void Cancel();
    // The program is quitting: the store stays for the next start.
    void Quit();
    // Quit, but a save that ends within the time is let finish as a GIF.
    void QuitUnlessDoneWithin(unsigned milliseconds);
    // Waits for the thread to end (after save finished was posted).
    void Wait();
    bool IsRunning() const { return m_Thread.joinable(); }

    // Frames of the store being saved; written by the save thread before
    // each progress report, read by the UI thread when it arrives.
    int Total() const { return m_Total.load(); }
    // The last GIF saved whole; read once the thread has ended (Wait).
    const std::filesystem::path& LastSaved() const { return m_LastSaved; }
    // What a save that must fit a size gives up, written by the save thread
    // before it posts CMD_SAVE_FIT: frames a second (0: all kept) and scale.
    int FitFps() const { return m_FitFps.load(); }
    int FitScale() const { return m_FitScale.load(); }
    // Whether the last save ended with no GIF small enough; read after Wait.
    bool LastTooLarge() const { return m_LastTooLarge; }

private:
    void Run();
    void SaveOne(CStoreConverter& converter, const std::filesystem::path& store);
    SaveOutcome ConvertToFit(CStoreConverter& converter, const std::filesystem::path& store,
                             const std::filesystem::path& gif, const CStoreConverter::ProgressReport& report);
    void StopWith(SaveStop stop);
    void FinishReplacing(SaveOutcome outcome, const std::filesystem::path& store, const std::filesystem::path& part);

    std::thread m_Thread;
    std::atomic<int> m_Stop{0};
    std::atomic<int> m_Total{0};
    CNEvent m_Ended; // set by the save thread as its last step
    std::atomic<int> m_FitFps{0};
    std::atomic<int> m_FitScale{100};

    // The save thread's own while it runs.
    HWND m_Frame = nullptr;
    GifExporter* m_Exporter = nullptr;
    SaveJob m_Job;
    std::filesystem::path m_LastSaved;
    bool m_LastTooLarge = false;
};

} // namespace pelidore
