#pragma once
// Where the logo goes in a recorded frame, by the corner chosen in the logo
// settings (0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left).

namespace pelidore {

enum class LogoAlignment { Near, Far };

struct LogoTextBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    LogoAlignment horizontal = LogoAlignment::Near;
    LogoAlignment vertical = LogoAlignment::Near;

    bool operator==(const LogoTextBox& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height &&
               horizontal == other.horizontal && vertical == other.vertical;
    }
};

struct LogoSpot {
    int x = 0;
    int y = 0;

    bool operator==(const LogoSpot& other) const { return x == other.x && y == other.y; }
};

class CLogoLayout {
public:
    static constexpr int kTopLeft = 0;
    static constexpr int kTopRight = 1;
    static constexpr int kBottomRight = 2;
    static constexpr int kBottomLeft = 3;
    static constexpr int kUnknownCornerOffset = 5;

    // Layout box of a text logo: one line of fontSize + 2 pixels, spanning
    // the frame less the horizontal margin, aligned towards the corner.
    static LogoTextBox TextBox(int corner, int marginX, int marginY, int fontSize, int frameWidth, int frameHeight);

    // Top-left of an image logo drawn at its natural size.
    static LogoSpot ImageSpot(int corner, int marginX, int marginY, int imageWidth, int imageHeight, int frameWidth,
                              int frameHeight);
};

} // namespace pelidore
