#pragma once
// Where the frames of a recording lie along the Review window's timeline:
// frame i covers Edge(i) up to Edge(i + 1) of a track `width` units long, the
// start mark stands on the left edge of the first frame it keeps and the end
// mark on the right edge of the last one.
//
// Portable; plain arithmetic on the numbers it is given.
namespace pelidore {

class CTimelineGeometry {
public:
    enum Part : int { kNothing = 0, kStartMark, kEndMark, kFrames };

    CTimelineGeometry(int left, int width, int frames);

    int Frames() const { return m_Frames; }
    // The edge between frames boundary - 1 and boundary, 0..Frames().
    int Edge(int boundary) const;
    // The frame under x, clamped to the recording; -1 when it has none.
    int FrameAt(int x) const;
    // The edge nearest to x, 0..Frames().
    int BoundaryNear(int x) const;
    // What a press at x takes hold of: a mark when x is on it, reaching
    // kOuterGrip units outwards and kInnerGrip inwards (so that the first
    // and last kept frames can still be pressed; of two marks both in
    // reach, the nearer), otherwise the frames when x lies on the track.
    Part PartAt(int x, int first, int last) const;

    static constexpr int kOuterGrip = 6;
    static constexpr int kInnerGrip = 3;

private:
    int m_Left;
    int m_Width;
    int m_Frames;
};

} // namespace pelidore
