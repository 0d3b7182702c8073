#pragma once

// Progress of a long operation (loading a BMP, averaging video frames,
// loading a Photo CD image), shown as a percentage with "ESC to abort".
class ProgressService {
public:
    virtual ~ProgressService() = default;
    // Shows percent (0..100) of the work done.
    virtual void Report(int percent) = 0;
    // Lets pending events run and tells whether Escape was pressed since the
    // last poll; other key presses are discarded.
    virtual bool EscapePressed() = 0;
    // Removes the progress display.
    virtual void Clear() = 0;
};
