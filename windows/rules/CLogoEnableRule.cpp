#include "CLogoEnableRule.h"

#include "CLogoFile.h"

namespace pelidore {

CLogoEnableRule CLogoEnableRule::ForKind(int kind)
{
    CLogoEnableRule rule;
    rule.fontControls = kind == CLogoFile::kTextLogo;
    rule.textEditShown = kind == CLogoFile::kTextLogo;
    rule.browseButton = kind == CLogoFile::kImageLogo;
    rule.placement = kind == CLogoFile::kTextLogo || kind == CLogoFile::kImageLogo;
    return rule;
}

} // namespace pelidore
