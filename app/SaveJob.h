#pragma once
// What the save thread is given: the stores to turn into GIFs and how.
#include "CStoreConverter.h"
#include "Options.h"
#include "RecordingSettings.h"

#include <filesystem>
#include <utility>
#include <vector>

namespace pelidore {

struct SaveJob {
    std::vector<std::filesystem::path> stores;
    std::filesystem::path workFolder;
    SaveOptions options;
    // Stores found at start-up may be torn; they are mended before saving.
    bool mendFirst = false;
    // After a review: one entry per frame of the (single) store, true for a
    // frame that goes into the GIF; empty for all.
    std::vector<bool> kept;
    // A live recording's GIF that the saved frames replace, once whole; empty
    // for a new GIF in the work folder.
    std::filesystem::path replaceGif;

    // Stores saved as new GIFs with the settings and options of the moment.
    static SaveJob NewGifs(std::vector<std::filesystem::path> stores, const RecordingSettings& settings,
                           const Options& options)
    {
        SaveJob job;
        job.stores = std::move(stores);
        job.workFolder = settings.workFolder;
        job.options = {settings.dithering, settings.transparent, settings.quality, options.smallerFiles,
                       options.fitToMb};
        return job;
    }

    // A cut live recording, written again from its store with the settings
    // it was recorded with (a live GIF has no size to fit), over its GIF.
    static SaveJob LiveGifAgain(std::filesystem::path store, std::filesystem::path gif,
                                const RecordingSettings& recorded, const Options& recordedOptions)
    {
        SaveJob job = NewGifs({std::move(store)}, recorded, recordedOptions);
        job.options.fitToMb = 0;
        job.replaceGif = std::move(gif);
        return job;
    }
};

} // namespace pelidore
