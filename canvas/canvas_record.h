#pragma once

// The native stand-in for the platform: every canvas call and every sound is kept, in order,
// with its arguments and the settings in force, so that tests can assert what a frame draws and
// the replay runner can print it.
#include <cstddef>
#include <vector>

class Canvas;

enum class CallKind {
    Setup,
    Present,
    Repaint,
    ClearBlack,
    ClearWhite,
    Text,
    Line,
    Rect,
    Ellipse,
    Grid,
    Sprite,
    Sound,
};

struct RecordedCall {
    CallKind kind;
    const Canvas* canvas;    // null for a sound
    int args[6];             // the call's integer arguments, in the call's order
    int style[4];            // text height and colour for Text; pen width and colour for lines
    // File names are kept as the caller's pointers: the game passes literals, and copying them
    // would cost more than the rest of a recorded call. Texts are copied (cut to fit).
    const char* file;        // the image file of a sprite, or the wave file of a sound
    const char* mask;        // the mask file of a sprite
    char text[64];

    // The text of a Text call, the file of a Sprite or Sound call.
    const char* Name() const { return kind == CallKind::Text ? text : file; }
};

// The calls made since the last Clear; the log keeps its capacity, so steady play allocates nothing.
class CallLog {
public:
    const std::vector<RecordedCall>& Calls() const { return calls; }
    std::size_t Size() const { return calls.size(); }
    const RecordedCall& operator[](std::size_t i) const { return calls[i]; }
    void Clear() { calls.clear(); }
    RecordedCall& Add(CallKind kind, const Canvas* canvas);

private:
    std::vector<RecordedCall> calls;
};

CallLog& RecordedCalls();
