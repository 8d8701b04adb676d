// Browser backend of the canvas and the wave player, for the WebAssembly build. A surface is a
// block of RGBA pixels in the module's memory, so the sprite rule (surface OR mask) AND image
// works on bits as GDI's raster operations do. Bitmap files are decoded here too, so no pixel of
// a sprite passes through the browser's canvas read-back, which some browsers blur on purpose;
// the browser only fetches the files, shapes the text and shows the pixels. A window is the id
// of a <canvas> element of the page.
#include "canvas/bitmap_pixels.h"
#include "canvas/canvas.h"
#include "canvas/canvas_web.h"
#include "canvas/wave_restarts.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Bytes red, green, blue, alpha in memory, as an ImageData holds them; alpha is always opaque.
using Pixel = std::uint32_t;
constexpr Pixel OPAQUE = 0xFF000000u;

// Only the low 8 bits of each component count, as the platform's RGB packing does.
Pixel Packed(int red, int green, int blue)
{
    return OPAQUE | std::uint32_t(blue & 0xFF) << 16 | std::uint32_t(green & 0xFF) << 8 |
           std::uint32_t(red & 0xFF);
}

// What a primitive draws on: a surface's pixels and their size.
struct Target {
    Pixel* pixels;
    int width;
    int height;
};

bool g_drawingPaused = false;
bool g_soundSilenced = false;

// Every primitive, the clears and Present reach a surface's pixels through here alone, so a pause
// covers them all: while paused there are none to draw on, as for a surface that could not be
// made.
Target Drawable(void* surface, int width, int height)
{
    if (g_drawingPaused || !surface)
        return Target{nullptr, 0, 0};
    return Target{static_cast<Pixel*>(surface), width, height};
}

// A picture file, fetched once and decoded here at its first use.
struct Picture {
    enum State { Loading, Ready, Missing };
    char name[64];
    State state;
    BitmapPixels bitmap;
};

constexpr int PICTURE_CAPACITY = 32;
Picture g_pictures[PICTURE_CAPACITY];
int g_pictureCount = 0;

// Starts fetching a picture file, or takes the fetch the page began before the module ran
// (Module.fetchFile); the bytes come back through vorkelm_picture_loaded.
EM_JS(void, WebLoadPicture, (int index, const char* fileName), {
    var name = UTF8ToString(fileName);
    var fetched = Module.fetchFile ? Module.fetchFile(name) : fetch(name).then(function(response) {
        if (!response.ok) throw new Error(name + ': ' + response.status);
        return response.arrayBuffer();
    });
    // Each picture is decoded in a task of its own: pictures that arrive together never block
    // the page for long.
    fetched.then(function(bytes) {
        return new Promise(function(resolve) { setTimeout(resolve, 0, bytes); });
    }).then(function(bytes) {
        var file = Module._malloc(Math.max(bytes.byteLength, 1));
        if (!file) throw new Error(name + ': no memory');
        HEAPU8.set(new Uint8Array(bytes), file);
        Module._vorkelm_picture_loaded(index, file, bytes.byteLength);
    }).catch(function() { Module._vorkelm_picture_loaded(index, 0, 0); });
});

// The ready picture of that name, or null while it loads or when it is missing or broken.
const Picture* FindPicture(const char* fileName)
{
    for (int i = 0; i < g_pictureCount; ++i) {
        if (std::strcmp(g_pictures[i].name, fileName) == 0)
            return g_pictures[i].state == Picture::Ready ? &g_pictures[i] : nullptr;
    }
    // Names that do not fit are never drawn.
    if (g_pictureCount == PICTURE_CAPACITY || std::strlen(fileName) >= sizeof g_pictures[0].name)
        return nullptr;
    Picture& picture = g_pictures[g_pictureCount];
    std::strcpy(picture.name, fileName);
    picture.state = Picture::Loading;
    WebLoadPicture(g_pictureCount++, fileName);
    return nullptr;
}

// Draws text into the pixels at (x, y), the top left corner of its cell of cellHeight pixels.
EM_JS(void, WebPutText, (Pixel* pixels, int surfaceWidth, int surfaceHeight, int x, int y,
                         const char* utf8, int cellHeight, int red, int green, int blue), {
    var text = UTF8ToString(utf8);
    if (!text || cellHeight < 1) return;
    var fonts = Module.vorkelmTextFonts;
    var context = Module.vorkelmTextContext;
    var scratch = context.canvas;
    // GDI's positive height is the cell, ascent and descent together; CSS sizes the em.
    context.font = cellHeight + 'px ' + fonts;
    var probe = context.measureText(text);
    var cell = probe.fontBoundingBoxAscent + probe.fontBoundingBoxDescent;
    var size = cell > 0 ? cellHeight * cellHeight / cell : cellHeight;
    context.font = size + 'px ' + fonts;
    var metrics = context.measureText(text);
    // Browsers without font metrics get a gothic face's usual ascent.
    var ascent = metrics.fontBoundingBoxAscent || size * 0.86;
    var width = Math.ceil(metrics.width) + 1;
    if (scratch.width < width || scratch.height < cellHeight) {
        scratch.width = Math.max(scratch.width, width);
        scratch.height = Math.max(scratch.height, cellHeight);
        context.font = size + 'px ' + fonts;
    }
    var fill = 'rgb(' + (red & 255) + ',' + (green & 255) + ',' + (blue & 255) + ')';
    // Where the browser blurs read-back on purpose, the glyphs are drawn over the shown picture
    // instead (see WebPresent), and nothing drawn later in the frame covers them.
    if (!Module.vorkelmExactReadBack(context)) {
        var texts = Module.vorkelmTexts[pixels] = Module.vorkelmTexts[pixels] || [];
        texts.push({font: context.font, fill: fill, text: text, x: x, y: y + ascent});
        return;
    }
    context.clearRect(0, 0, width, cellHeight);
    context.fillStyle = fill;
    context.fillText(text, 0, ascent);
    var glyphs = context.getImageData(0, 0, width, cellHeight).data;
    // Glyph edges blend over what lies beneath; there is no background box.
    var colour = [red & 255, green & 255, blue & 255];
    for (var row = 0; row < cellHeight; ++row) {
        var ty = y + row;
        if (ty < 0 || ty >= surfaceHeight) continue;
        for (var column = 0; column < width; ++column) {
            var tx = x + column;
            var alpha = glyphs[(row * width + column) * 4 + 3];
            if (alpha === 0 || tx < 0 || tx >= surfaceWidth) continue;
            var at = pixels + (ty * surfaceWidth + tx) * 4;
            for (var c = 0; c < 3; ++c)
                HEAPU8[at + c] += Math.round((colour[c] - HEAPU8[at + c]) * alpha / 255);
        }
    }
});

EM_JS(void, WebPresent, (const Pixel* pixels, int width, int height, const char* elementId), {
    var element = document.getElementById(UTF8ToString(elementId));
    if (!element || !pixels) return;
    var image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4),
                              width, height);
    // Whatever of the surface lies beyond the element is not shown.
    var context = element.getContext('2d');
    context.putImageData(image, 0, 0, 0, 0, Math.min(width, element.width),
                         Math.min(height, element.height));
    (Module.vorkelmTexts[pixels] || []).forEach(function(text) {
        context.font = text.font;
        context.fillStyle = text.fill;
        context.fillText(text.text, text.x, text.y);
    });
});

// The texts a surface shows over its pixels, kept until the surface is cleared, and whether
// this browser reads a canvas back exactly as drawn: Firefox's resistFingerprinting, Brave and
// Safari may add noise to what a page reads back, which would turn glyphs into speckles.
EM_JS(void, WebSetUpText, (), {
    if (Module.vorkelmTexts) return;
    Module.vorkelmTexts = {};
    Module.vorkelmTextFonts = '"MS Gothic", "ＭＳ ゴシック", IPAGothic, "Noto Sans CJK JP", monospace';
    // Texts are drawn on a scratch canvas and read back, so it is kept in memory.
    Module.vorkelmTextContext =
        document.createElement('canvas').getContext('2d', {willReadFrequently: true});
    // The first text costs the page its font and the read-back check: they are paid in a task
    // of their own, while the pictures load, rather than in the first frame.
    setTimeout(function() {
        var context = Module.vorkelmTextContext;
        Module.vorkelmExactReadBack(context);
        context.font = '12px ' + Module.vorkelmTextFonts;
        context.fillText('０枚', 0, 12);
    }, 0);
    Module.vorkelmExactReadBack = function(context) {
        if (Module.vorkelmReadBackExact === undefined) {
            context.clearRect(0, 0, 16, 16);
            for (var i = 0; i < 16; ++i) {
                context.fillStyle = 'rgb(' + i * 16 + ',' + (255 - i * 8) + ',' + i * 5 + ')';
                context.fillRect(i, 0, 1, 16);
            }
            var data = context.getImageData(0, 0, 16, 16).data;
            Module.vorkelmReadBackExact = true;
            for (var at = 0; at < data.length; at += 4) {
                var column = (at / 4) % 16;
                if (data[at] !== column * 16 || data[at + 1] !== 255 - column * 8 ||
                    data[at + 2] !== column * 5 || data[at + 3] !== 255)
                    Module.vorkelmReadBackExact = false;
            }
        }
        return Module.vorkelmReadBackExact;
    };
});

EM_JS(void, WebForgetText, (const Pixel* pixels), {
    delete Module.vorkelmTexts[pixels];
});

// Browsers let an audio context run only after a gesture that grants user activation, and may
// suspend or interrupt it later (a phone call, a hidden tab). So every key press, pointer release,
// touch end and click asks it to resume until it runs, and again once it stops: a first event
// that grants nothing (Escape, an untrusted event) cannot leave the session silent. The first
// gesture makes the context and has the page's wave files (Module.soundFiles) fetched and
// decoded, once each; a file first asked for later is loaded at that request. A missing or
// broken file stays silent.
EM_JS(void, WebListenForGesture, (), {
    if (typeof AudioContext === 'undefined') return;
    var GESTURES = ['keydown', 'pointerup', 'touchend', 'click'];
    var load = function(audio, name) {
        var sound = audio.sounds[name] = {buffer: null};
        fetch(name).then(function(response) {
            if (!response.ok) throw new Error(name + ': ' + response.status);
            return response.arrayBuffer();
        }).then(function(bytes) {
            return audio.context.decodeAudioData(bytes);
        }).then(function(buffer) { sound.buffer = buffer; }, function() {});
        return sound;
    };
    var listen = function(on) {
        GESTURES.forEach(function(type) {
            (on ? addEventListener : removeEventListener)(type, wake, true);
        });
    };
    var wake = function() {
        var audio = Module.vorkelmAudio;
        if (!audio) {
            audio = Module.vorkelmAudio = {context: new AudioContext(), sounds: {}, playing: null,
                                           load: load};
            (Module.soundFiles || []).forEach(function(name) { load(audio, name); });
            audio.context.onstatechange = function() {
                listen(audio.context.state !== 'running');
            };
        }
        if (audio.context.state !== 'running')
            audio.context.resume().catch(function() {});
    };
    listen(true);
});

// One sound plays at a time; a new one cuts off the old. A context that does not run plays
// nothing, rather than a burst of old sounds when it resumes.
EM_JS(void, WebPlayWave, (const char* fileName), {
    var audio = Module.vorkelmAudio;
    if (!audio || audio.context.state !== 'running') return;
    var name = UTF8ToString(fileName);
    var sound = audio.sounds[name] || audio.load(audio, name);
    if (!sound.buffer) return;
    if (audio.playing) audio.playing.stop();
    var source = audio.context.createBufferSource();
    source.buffer = sound.buffer;
    source.connect(audio.context.destination);
    source.start();
    audio.playing = source;
});

} // namespace

extern "C" {

// The bytes of a picture file from malloc, which this takes over, or none when the file could not
// be fetched. The headers are checked before a pixel is read, as on Windows.
EMSCRIPTEN_KEEPALIVE void vorkelm_picture_loaded(int index, unsigned char* file, int fileBytes)
{
    if (index >= 0 && index < g_pictureCount) {
        Picture& picture = g_pictures[index];
        const bool decoded = file && DecodeBitmap(file, std::size_t(fileBytes), picture.bitmap);
        picture.state = decoded ? Picture::Ready : Picture::Missing;
    }
    std::free(file);
}

} // extern "C"

void PreloadPicture(const char* fileName)
{
    FindPicture(fileName);
}

int PicturesLoading()
{
    int loading = 0;
    for (int i = 0; i < g_pictureCount; ++i)
        loading += g_pictures[i].state == Picture::Loading;
    return loading;
}

void ListenForSoundGesture()
{
    WebListenForGesture();
}

void PauseDrawing(bool paused)
{
    g_drawingPaused = paused;
}

void SilenceSound(bool silenced)
{
    g_soundSilenced = silenced;
}

void Canvas::Setup(WindowHandle, int w, int h)
{
    if (!surface || w != width || h != height) {
        std::free(surface);
        surface = std::malloc(sizeof(Pixel) * w * h);
    }
    // A surface that could not be made has no pixels to draw on or show.
    width = surface ? w : 0;
    height = surface ? h : 0;
    // The pixels are what a test reads back.
    memoryDC = surface;
    WebSetUpText();
    WebForgetText(static_cast<Pixel*>(surface));
}

// A browser shows the page only between tasks, so presenting at once shows the frame as soon as
// a later paint would, and keeps the element in step with the game.
void Canvas::RequestRepaint(WindowHandle window)
{
    Present(window);
}

void Canvas::Present(WindowHandle window)
{
    const Target target = Drawable(surface, width, height);
    if (target.pixels)
        WebPresent(target.pixels, target.width, target.height, static_cast<const char*>(window));
}

namespace {

// A cleared surface shows no texts either.
void Clear(const Target& target, Pixel colour)
{
    if (!target.pixels)
        return;
    WebForgetText(target.pixels);
    std::fill_n(target.pixels, target.width * target.height, colour);
}

} // namespace

void Canvas::ClearBlack()
{
    Clear(Drawable(surface, width, height), Packed(0, 0, 0));
}

void Canvas::ClearWhite()
{
    Clear(Drawable(surface, width, height), Packed(255, 255, 255));
}

void Canvas::PutText(int x, int y, const char* text)
{
    const Target target = Drawable(surface, width, height);
    if (target.pixels)
        WebPutText(target.pixels, target.width, target.height, x, y, text, fontHeight, textRed,
                   textGreen, textBlue);
}

namespace {

// A pen's dot at (x, y): one pixel for width 1, else the filled ellipse of the pen's width
// around it, as GDI draws a geometric pen's round ends and joins.
void Dot(const Target& target, int x, int y, int pen, Pixel colour);

// The outline and fill of a rectangle or an ellipse, by GDI's rules: the shape lies within
// (left, top) to (right, bottom), right and bottom excluded, corners given in any order. The
// outline is a closed one-pixel path along the shape's edge; the brush fills each row between
// the path's outermost pixels, and the pen is drawn over the path, a wider pen as dots centred
// on it.
class Shape {
public:
    Shape(const Target& target, int left, int top, int right, int bottom)
        : target(target), left(std::min(left, right)), top(std::min(top, bottom)),
          boxWidth(std::abs(right - left)), boxHeight(std::abs(bottom - top))
    {
    }

    // A box of one pixel is a path of no length, which a one-pixel pen does not draw.
    void Rectangle(int pen, Pixel penColour, Pixel brushColour)
    {
        if (boxWidth == 0 || boxHeight == 0 || (pen == 1 && boxWidth == 1 && boxHeight == 1))
            return;
        for (int y = 1; y + 1 < boxHeight; ++y)
            Span(y, 1, boxWidth - 2, brushColour);
        for (int x = 0; x < boxWidth; ++x) {
            PenDot(x, 0, pen, penColour);
            PenDot(x, boxHeight - 1, pen, penColour);
        }
        for (int y = 0; y < boxHeight; ++y) {
            PenDot(0, y, pen, penColour);
            PenDot(boxWidth - 1, y, pen, penColour);
        }
    }

    // A box two pixels thin or less is all outline, and GDI draws it as a rectangle.
    void Ellipse(int pen, Pixel penColour, Pixel brushColour)
    {
        if (boxWidth <= 2 || boxHeight <= 2) {
            Rectangle(pen, penColour, brushColour);
            return;
        }
        // The fill first, so that a wide pen's dots cover its edge.
        WalkQuarter([&](int x, int y, bool firstInRow) {
            if (firstInRow) {
                Span(y, boxWidth - x, x - 1, brushColour);
                Span(boxHeight - 1 - y, boxWidth - x, x - 1, brushColour);
            }
        });
        WalkQuarter([&](int x, int y, bool) {
            PenDot(x, y, pen, penColour);
            PenDot(boxWidth - 1 - x, y, pen, penColour);
            PenDot(x, boxHeight - 1 - y, pen, penColour);
            PenDot(boxWidth - 1 - x, boxHeight - 1 - y, pen, penColour);
        });
    }

private:
    // The lower right quarter of the outline, box-relative, from the middle of the right edge
    // towards the middle of the bottom edge: Zingl's error walk over the ellipse through the
    // centres of the box's outer pixels. Each point neighbours the one before, so the four
    // mirrored quarters make a closed path. x never grows and y never shrinks, so the first
    // point of a row is its outermost. Like GDI's, the walk ends at the middle column, so a
    // tall ellipse a few pixels wide stops short of its box's top and bottom.
    template <typename Visit>
    void WalkQuarter(Visit visit) const
    {
        const std::int64_t a = boxWidth - 1;
        const std::int64_t b = boxHeight - 1;
        const std::int64_t oddHeight = b % 2;
        const std::int64_t stepXGrowth = 8 * b * b;
        const std::int64_t stepYGrowth = 8 * a * a;
        std::int64_t stepX = 4 * b * b * (1 - a);
        std::int64_t stepY = 4 * a * a * (1 + oddHeight);
        std::int64_t error = stepX + stepY + a * a * oddHeight;
        int x = boxWidth - 1;
        int y = boxHeight / 2;
        bool newRow = true;
        while (x >= boxWidth / 2) {
            visit(x, y, newRow);
            newRow = false;
            const std::int64_t doubled = 2 * error;
            if (doubled >= stepX) {
                --x;
                stepX += stepXGrowth;
                error += stepX;
            }
            if (doubled <= stepY) {
                ++y;
                newRow = true;
                stepY += stepYGrowth;
                error += stepY;
            }
        }
    }

    // Box-relative pixels from x1 to x2 of row y, clipped to the surface.
    void Span(int y, int x1, int x2, Pixel colour)
    {
        const int row = top + y;
        if (row < 0 || row >= target.height)
            return;
        const int first = std::max(left + x1, 0);
        const int last = std::min(left + x2, target.width - 1);
        for (int x = first; x <= last; ++x)
            target.pixels[row * target.width + x] = colour;
    }

    void PenDot(int x, int y, int pen, Pixel colour)
    {
        Dot(target, left + x, top + y, pen, colour);
    }

    Target target;
    int left;
    int top;
    int boxWidth;
    int boxHeight;
};

void Dot(const Target& target, int x, int y, int pen, Pixel colour)
{
    if (pen > 1) {
        const int left = x - pen / 2;
        const int top = y - pen / 2;
        Shape(target, left, top, left + pen, top + pen).Ellipse(1, colour, colour);
    } else if (x >= 0 && x < target.width && y >= 0 && y < target.height) {
        target.pixels[y * target.width + x] = colour;
    }
}

} // namespace

// Bresenham's walk. A one-pixel line leaves out its end point, as GDI's lines do; a wider pen
// covers both ends.
void Canvas::DrawLine(int x1, int y1, int x2, int y2)
{
    const Target target = Drawable(surface, width, height);
    if (!target.pixels)
        return;
    const Pixel colour = Packed(penRed, penGreen, penBlue);
    const int pen = std::max(penWidth, 1);
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int stepX = x1 < x2 ? 1 : -1;
    const int stepY = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    for (;;) {
        const bool atEnd = x == x2 && y == y2;
        if (atEnd && pen == 1)
            return;
        Dot(target, x, y, pen, colour);
        if (atEnd)
            return;
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

void Canvas::DrawRect(int left, int top, int right, int bottom)
{
    const Target target = Drawable(surface, width, height);
    if (!target.pixels)
        return;
    Shape(target, left, top, right, bottom)
        .Rectangle(std::max(penWidth, 1), Packed(penRed, penGreen, penBlue),
                   Packed(brushRed, brushGreen, brushBlue));
}

void Canvas::DrawEllipse(int left, int top, int right, int bottom)
{
    const Target target = Drawable(surface, width, height);
    if (!target.pixels)
        return;
    Shape(target, left, top, right, bottom)
        .Ellipse(std::max(penWidth, 1), Packed(penRed, penGreen, penBlue),
                 Packed(brushRed, brushGreen, brushBlue));
}

// The lines of GDI's grid at the same places, each drawn as DrawLine draws.
void Canvas::DrawGrid(int x1, int y1, int x2, int y2, int rows, int columns)
{
    // Below one pixel of spacing a walk would never end; such an axis draws no lines.
    const int rowSpacing = rows >= 1 ? (y2 - y1) / rows : 0;
    const int columnSpacing = columns >= 1 ? (x2 - x1) / columns : 0;
    for (int y = y1; rowSpacing >= 1 && y <= y2; y += rowSpacing)
        DrawLine(x1, y, x2, y);
    for (int x = x1; columnSpacing >= 1 && x <= x2; x += columnSpacing)
        DrawLine(x, y1, x, y2);
}

// Both files are stretched to w by h by the nearest pixel. Half a sprite would leave a white or
// darkened box, so a picture still loading or failed draws nothing.
void Canvas::DrawSprite(int x, int y, const char* imageFile, const char* maskFile, int w, int h)
{
    const Target target = Drawable(surface, width, height);
    if (!target.pixels)
        return;
    const Picture* image = FindPicture(imageFile);
    const Picture* mask = FindPicture(maskFile);
    if (!image || !mask || w < 1 || h < 1)
        return;
    const BitmapPixels& imagePixels = image->bitmap;
    const BitmapPixels& maskPixels = mask->bitmap;
    const int firstRow = std::max(0, -y);
    const int endRow = std::min(h, target.height - y);
    const int firstColumn = std::max(0, -x);
    const int endColumn = std::min(w, target.width - x);
    for (int row = firstRow; row < endRow; ++row) {
        const Pixel* imageRow =
            imagePixels.pixels.data() + row * imagePixels.height / h * imagePixels.width;
        const Pixel* maskRow =
            maskPixels.pixels.data() + row * maskPixels.height / h * maskPixels.width;
        Pixel* out = target.pixels + (y + row) * target.width + x;
        for (int column = firstColumn; column < endColumn; ++column) {
            out[column] = (out[column] | maskRow[column * maskPixels.width / w]) &
                          imageRow[column * imagePixels.width / w];
        }
    }
}

void PlayWave(const char* fileName)
{
    if (g_soundSilenced)
        return;
    // The same restart rule as on Windows: a restart of the sound that began a moment ago is not
    // heard, and a full table asks for "coin.wav" hundreds of times a tick.
    static WaveRestarts restarts;
    if (restarts.ShouldStart(fileName, static_cast<std::uint64_t>(emscripten_get_now())))
        WebPlayWave(fileName);
}
