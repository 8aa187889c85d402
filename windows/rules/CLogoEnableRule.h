#pragma once

namespace pelidore {

// Which of the Logo window's controls take input for a logo kind. The two
// kind boxes and the close button always do; the path field never does (it
// only shows the chosen picture).
class CLogoEnableRule {
public:
    bool fontControls = false;  // font list, size list, fill and outline buttons
    bool textEditShown = false; // the native edit for the logo text
    bool browseButton = false;  // the picture chooser button
    bool placement = false;     // the four corner buttons and the two margin fields

    // kind: 1 text logo, 2 image logo, anything else no logo.
    static CLogoEnableRule ForKind(int kind);
};

} // namespace pelidore
