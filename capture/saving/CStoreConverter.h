#pragma once
// Turns a frame store into a GIF: the save step of a deferred recording, and
// of a store found in the work folder at start-up. Each frame is handed over
// with waiting, between "add frame start" and "add frame end" lines on the
// log stream. Whether the store may be deleted afterwards follows from the
// outcome: only once its frames are safe in a GIF, or the user gave them up.
#include "CFrameStoreReader.h"
#include "FitStep.h"
#include "GifExporter.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace pelidore {

enum class SaveOutcome {
    Saved,           // every frame is in the GIF
    Cancelled,       // the user stopped saving: the GIF holds the frames so far
    Interrupted,     // the program is quitting: the store stays for the next start
    ExportFailed,    // the GIF could not be created or written
    StoreUnreadable, // no store, or one whose header or frames are damaged
    TooLarge,        // no GIF within the size limit could be made: the store stays
};

enum class SaveStop : int { None = 0, Cancel = 1, Quit = 2 };

struct SaveOptions {
    bool dithering = true;
    bool transparent = false;
    int quality = 1;
    bool smallerFiles = false;
    int fitToMb = 0; // 0: no limit; else the GIF may hold at most this many MiB
};

enum class KeptStoreAction { Save, DiscardEmpty, Leave };

class CStoreConverter {
public:
    static constexpr int kProgressStep = 4;

    // done: frames handed over so far (0 once the store is open, then every
    // 4th and the last); total: frames to save (the kept ones).
    using ProgressReport = std::function<void(int done, int total)>;

    explicit CStoreConverter(GifExporter& exporter);

    // Reads the store at storePath into a new GIF at gifPath until the end,
    // a damaged frame, or stop turning non-None. kept: one entry per frame of
    // the store, true for a frame to save; empty saves them all. A frame not
    // kept (also one past the end of kept) is never encoded and its time
    // leaves the GIF; reading stops after the last kept frame. When kept
    // keeps no frame of the store there is nothing to save: ExportFailed,
    // and no GIF is made.
    SaveOutcome Convert(const std::filesystem::path& storePath, const std::filesystem::path& gifPath,
                        const SaveOptions& options, const std::atomic<int>& stop, const ProgressReport& progress,
                        std::FILE* log, const FitStep& step = {}, const std::vector<bool>& kept = {});
    // After Convert: the kept frames read and their duration in seconds.
    int FramesRead() const { return m_FramesRead; }
    double SecondsRead() const { return m_SecondsRead; }

    // Deletes the store after a save or a cancel, and a GIF left unfinished
    // by quitting (the kept store still holds all of it). Returns whether
    // the store was deleted.
    static bool Finish(SaveOutcome outcome, const std::filesystem::path& storePath,
                       const std::filesystem::path& gifPath);

    // What to do with a store found in the work folder: mend a crashed one
    // and save it when it holds frames, drop one with none, leave alone one
    // that cannot be mended.
    static KeptStoreAction RecoverKept(const std::filesystem::path& storePath);

private:
    // The frames of the store a kept mask saves: how many, and where reading
    // may stop (one past the last of them).
    struct KeptSpan {
        int count = 0;
        int end = 0;
    };
    static KeptSpan SpanOf(const std::vector<bool>& kept, int frames);
    static bool IsKept(const std::vector<bool>& kept, int index);
    static std::optional<SaveOutcome> StopOutcome(const std::atomic<int>& stop);

    SaveOutcome HandOverFrames(const std::atomic<int>& stop, const ProgressReport& progress, std::FILE* log,
                               const FitStep& step, const std::vector<bool>& kept);
    static void WriteLine(std::FILE* log, const char* line);

    CFrameStoreReader m_Reader;
    GifExporter& m_Exporter;
    int m_FramesRead = 0;
    double m_SecondsRead = 0.0;
};

} // namespace pelidore
