#pragma once

#include <memory>

namespace zentrix {

class CBitmap;
class CCompoundOverlay;

/// The editor panel's gauge of the track's length against the longest track the grid allows. It fills
/// from the bottom, keeps the last length within the limit and shows full while the track is over it. A
/// limit that is missing or not above 0 means no limit: the gauge stays empty and is never over.
class CTrackLengthMeter {
public:
    /// The gauge at panel point (x, y), drawn with the full and the empty picture (either may be null).
    CTrackLengthMeter(int x, int y, std::unique_ptr<CBitmap> full, std::unique_ptr<CBitmap> empty);
    ~CTrackLengthMeter();

    /// The longest track; false (no limit) for a value that is not finite and above 0.
    bool SetLimit(float limit);
    /// The track's length now: stored when within the limit, else the gauge goes over.
    void TakeLength(float length);
    /// How full the gauge shows, 0..1 (1 while over the limit, 0 without a limit).
    float GetFill() const;
    /// The rows of the full picture's height left empty at the top, 0..height.
    static int CutRows(float fill, int height);
    /// Draws the gauge onto the panel's picture.
    void Draw(CCompoundOverlay& overlay);

    float GetValue() const { return m_value; }
    float GetLimit() const { return m_limit; }
    bool HasLimit() const { return m_limit > 0.0f; }
    bool IsOverLimit() const { return m_overLimit; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }

private:
    float m_value = 0.0f;
    float m_limit = 0.0f;
    int m_x;
    int m_y;
    bool m_overLimit = false;
    std::unique_ptr<CBitmap> m_full;
    std::unique_ptr<CBitmap> m_empty;
};

} // namespace zentrix
