#pragma once
// The linked size fields of the Scale dialog: new width and height in pixels
// and as percentages of the original. Editing one field rewrites the others;
// the guard flag makes the edits written by an update itself do nothing.

#include <functional>

class CScaleFields {
public:
    enum EField { Width, Height, WidthPercent, HeightPercent, FieldCount };

    static constexpr int kMinSize = 1, kMaxSize = 9999;
    static constexpr int kMinPercent = 1, kMaxPercent = 6000;

    CScaleFields(int nWidth, int nHeight);

    // Writes a field's new value into the window: the dialog sets the
    // control's text, which notifies an edit again (ignored by the guard).
    std::function<void(EField, int)> m_write;

    // The text of a field changed (typed, or written by an update).
    void OnEdited(EField field, int nValue);
    int Value(EField field) const { return m_values[field]; }
    void SetFixed(bool bFixed) { m_bFixed = bFixed; }
    bool IsFixed() const { return m_bFixed; }

    // truncate(x + 0.5), in floating point.
    static int Round(double x);

private:
    void Write(EField field, int nValue);

    int m_nWidth, m_nHeight;
    int m_values[FieldCount];
    bool m_bFixed = true;
    bool m_bGuard = true; // cleared while an update runs
};
