#pragma once
// Everything a recording takes from the settings windows, read at the moment
// it is needed: the Setup window's recording settings and work folder, and
// the Logo window's logo. UI thread only, as the windows are.
#include "CLogoWnd.h"
#include "CSetupWnd.h"
#include "RecordingSettings.h"

#include <filesystem>

namespace pelidore {

class CSettingsReader {
public:
    CSettingsReader(const CSetupWnd& setup, const CLogoWnd& logo) : m_Setup(setup), m_Logo(logo) {}

    RecordingSettings Read() const;
    // The Setup window's folder, or the settings folder when it holds none
    // or anything but a full path.
    std::filesystem::path WorkFolder() const;

private:
    LogoSettings ReadLogo() const;

    const CSetupWnd& m_Setup;
    const CLogoWnd& m_Logo;
};

} // namespace pelidore
