// GDI backend of the canvas and the wave player, for Windows.
#include "canvas/bitmap_headers.h"
#include "canvas/canvas.h"
#include "canvas/sprite_cache.h"
#include "canvas/wave_restarts.h"

#include <windows.h>
#include <mmsystem.h>

#include <chrono>
#include <cstring>

namespace {

HDC Dc(void* handle)
{
    return static_cast<HDC>(handle);
}

// Only the low 8 bits of each component count, as the platform's RGB packing does.
COLORREF Packed(int red, int green, int blue)
{
    return RGB(static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue));
}

} // namespace

void Canvas::Setup(WindowHandle window, int w, int h)
{
    width = w;
    height = h;
    const HWND hwnd = static_cast<HWND>(window);
    const HDC windowDC = GetDC(hwnd);
    // Compatible with the window, not with a memory context, which would make it monochrome.
    const HBITMAP newSurface = CreateCompatibleBitmap(windowDC, width, height);
    const HDC newMemoryDC = CreateCompatibleDC(nullptr);
    // A fresh memory context holds the stock one-pixel bitmap; it lets the old context give up
    // its surface so that the surface can be deleted.
    const HGDIOBJ stockBitmap = GetCurrentObject(newMemoryDC, OBJ_BITMAP);
    SelectObject(newMemoryDC, newSurface);
    ReleaseDC(hwnd, windowDC);

    if (memoryDC) {
        SelectObject(Dc(memoryDC), stockBitmap);
        DeleteObject(static_cast<HBITMAP>(surface));
        DeleteDC(Dc(memoryDC));
    }
    memoryDC = newMemoryDC;
    surface = newSurface;
}

void Canvas::Present(WindowHandle window)
{
    const HWND hwnd = static_cast<HWND>(window);
    PAINTSTRUCT paint;
    const HDC windowDC = BeginPaint(hwnd, &paint);
    BitBlt(windowDC, 0, 0, width, height, Dc(memoryDC), 0, 0, SRCCOPY);
    EndPaint(hwnd, &paint);
}

void Canvas::RequestRepaint(WindowHandle window)
{
    // No erase: the next paint replaces the whole picture, so the background would only flash.
    InvalidateRect(static_cast<HWND>(window), nullptr, FALSE);
}

void Canvas::ClearBlack()
{
    PatBlt(Dc(memoryDC), 0, 0, width, height, BLACKNESS);
}

void Canvas::ClearWhite()
{
    PatBlt(Dc(memoryDC), 0, 0, width, height, WHITENESS);
}

void Canvas::PutText(int x, int y, const char* text)
{
    const HDC dc = Dc(memoryDC);
    const HFONT font = CreateFontA(fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET,
                                   OUT_CHARACTER_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH, "ＭＳ ゴシック");
    const HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Packed(textRed, textGreen, textBlue));
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    SelectObject(dc, previousFont);
    DeleteObject(font);
}

void Canvas::DrawLine(int x1, int y1, int x2, int y2)
{
    const HDC dc = Dc(memoryDC);
    const HPEN pen = CreatePen(PS_SOLID, penWidth, Packed(penRed, penGreen, penBlue));
    const HGDIOBJ previousPen = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

namespace {

enum class Shape { Rectangle, Ellipse };

// The pen is made before the brush, each in a statement of its own: as call arguments the
// compiler would pick their order.
void DrawFilledShape(HDC dc, Shape shape, int left, int top, int right, int bottom, int penWidth,
                     COLORREF penColour, COLORREF brushColour)
{
    const HPEN pen = CreatePen(PS_SOLID, penWidth, penColour);
    const HBRUSH brush = CreateSolidBrush(brushColour);
    const HGDIOBJ previousPen = SelectObject(dc, pen);
    const HGDIOBJ previousBrush = SelectObject(dc, brush);
    if (shape == Shape::Rectangle)
        Rectangle(dc, left, top, right, bottom);
    else
        Ellipse(dc, left, top, right, bottom);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
    DeleteObject(brush);
}

} // namespace

void Canvas::DrawRect(int left, int top, int right, int bottom)
{
    DrawFilledShape(Dc(memoryDC), Shape::Rectangle, left, top, right, bottom, penWidth,
                    Packed(penRed, penGreen, penBlue), Packed(brushRed, brushGreen, brushBlue));
}

void Canvas::DrawEllipse(int left, int top, int right, int bottom)
{
    DrawFilledShape(Dc(memoryDC), Shape::Ellipse, left, top, right, bottom, penWidth,
                    Packed(penRed, penGreen, penBlue), Packed(brushRed, brushGreen, brushBlue));
}

void Canvas::DrawGrid(int x1, int y1, int x2, int y2, int rows, int columns)
{
    // Below one pixel of spacing a walk would never end; such an axis draws no lines.
    const int rowSpacing = rows >= 1 ? (y2 - y1) / rows : 0;
    const int columnSpacing = columns >= 1 ? (x2 - x1) / columns : 0;
    const HDC dc = Dc(memoryDC);
    const HPEN pen = CreatePen(PS_SOLID, penWidth, Packed(penRed, penGreen, penBlue));
    const HGDIOBJ previousPen = SelectObject(dc, pen);
    for (int y = y1; rowSpacing >= 1 && y <= y2; y += rowSpacing) {
        MoveToEx(dc, x1, y, nullptr);
        LineTo(dc, x2, y);
    }
    for (int x = x1; columnSpacing >= 1 && x <= x2; x += columnSpacing) {
        MoveToEx(dc, x, y1, nullptr);
        LineTo(dc, x, y2);
    }
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

namespace {

// Reads the file's headers, which LoadImageA would believe (see bitmap_headers.h).
bool HoldsItsPixels(const char* fileName)
{
    const HANDLE file = CreateFileA(fileName, GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char head[BITMAP_HEAD_BYTES];
    DWORD count = 0;
    LARGE_INTEGER size;
    const bool whole = ReadFile(file, head, sizeof head, &count, nullptr) &&
                       GetFileSizeEx(file, &size) && BitmapFileIsWhole(head, count, size.QuadPart);
    CloseHandle(file);
    return whole;
}

HBITMAP LoadSpriteFile(const char* fileName, int w, int h)
{
    if (!HoldsItsPixels(fileName))
        return nullptr;
    return static_cast<HBITMAP>(
        LoadImageA(nullptr, fileName, IMAGE_BITMAP, w, h, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

// What tells one version of a file from the next without reading it.
struct FileStamp {
    DWORD sizeHigh;
    DWORD sizeLow;
    FILETIME written;
};

bool ReadStamp(const char* fileName, FileStamp& stamp)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(fileName, GetFileExInfoStandard, &data))
        return false;
    stamp = {data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime};
    return true;
}

bool SameStamp(const FileStamp& a, const FileStamp& b)
{
    return a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow &&
           CompareFileTime(&a.written, &b.written) == 0;
}

// Decoded sprite files by name and size, each selected into a memory context of its own, least
// recently used evicted. Loading a 15 by 15 pair costs about a millisecond under Wine; a cached
// draw costs two stamp checks and two block transfers. A file rewritten with the same length
// within one tick of the file system's clock goes unseen. Names are kept as given, so the game's
// bare names stand for files in its fixed current directory. Fixed storage: nothing is
// allocated during play.
class SpriteCache {
public:
    ~SpriteCache() { Release(); }

    bool Enabled() const { return enabled; }

    void SetEnabled(bool on)
    {
        if (!on)
            Release();
        enabled = on;
    }

    int Entries() const
    {
        int n = 0;
        for (const Entry& entry : entries)
            n += entry.dc != nullptr;
        return n;
    }

    // A context holding the file as it is on disk now, or null when the file is missing or
    // not a bitmap.
    HDC Source(const char* fileName, int w, int h)
    {
        // Longer names do not fit an entry, nor an ANSI path.
        if (std::strlen(fileName) >= MAX_PATH)
            return nullptr;
        Entry* entry = Find(fileName, w, h);
        FileStamp stamp;
        const bool exists = ReadStamp(fileName, stamp);
        if (entry && exists && SameStamp(entry->stamp, stamp)) {
            entry->lastUse = ++useCount;
            return entry->dc;
        }
        if (entry)
            Drop(*entry);
        const HBITMAP bitmap = exists ? LoadSpriteFile(fileName, w, h) : nullptr;
        if (!bitmap)
            return nullptr;
        entry = Free();
        std::strcpy(entry->fileName, fileName);
        entry->width = w;
        entry->height = h;
        entry->stamp = stamp;
        entry->bitmap = bitmap;
        entry->dc = CreateCompatibleDC(nullptr);
        entry->previousBitmap = SelectObject(entry->dc, bitmap);
        entry->lastUse = ++useCount;
        return entry->dc;
    }

private:
    struct Entry {
        char fileName[MAX_PATH];
        int width;
        int height;
        FileStamp stamp;
        HDC dc; // null when the entry is free
        HBITMAP bitmap;
        HGDIOBJ previousBitmap;
        unsigned long long lastUse;
    };

    Entry* Find(const char* fileName, int w, int h)
    {
        for (Entry& entry : entries)
            if (entry.dc && entry.width == w && entry.height == h &&
                std::strcmp(entry.fileName, fileName) == 0)
                return &entry;
        return nullptr;
    }

    // A free entry, made by evicting the least recently used one when all are taken.
    Entry* Free()
    {
        Entry* oldest = &entries[0];
        for (Entry& entry : entries) {
            if (!entry.dc)
                return &entry;
            if (entry.lastUse < oldest->lastUse)
                oldest = &entry;
        }
        Drop(*oldest);
        return oldest;
    }

    static void Drop(Entry& entry)
    {
        SelectObject(entry.dc, entry.previousBitmap);
        DeleteObject(entry.bitmap);
        DeleteDC(entry.dc);
        entry.dc = nullptr;
    }

    void Release()
    {
        for (Entry& entry : entries)
            if (entry.dc)
                Drop(entry);
    }

    bool enabled = true;
    Entry entries[SPRITE_CACHE_CAPACITY] = {};
    unsigned long long useCount = 0;
};

SpriteCache g_spriteCache;

} // namespace

void SetSpriteCacheEnabled(bool enabled)
{
    g_spriteCache.SetEnabled(enabled);
}

int SpriteCacheEntries()
{
    return g_spriteCache.Entries();
}

// (surface OR mask) AND image: the mask goes first, or the image would be whitened by the mask.
// Half a sprite would leave a white or darkened box, so a failed load of either draws nothing.
void Canvas::DrawSprite(int x, int y, const char* imageFile, const char* maskFile, int w, int h)
{
    const HDC target = Dc(memoryDC);
    if (g_spriteCache.Enabled()) {
        const HDC image = g_spriteCache.Source(imageFile, w, h);
        const HDC mask = g_spriteCache.Source(maskFile, w, h);
        if (image && mask) {
            BitBlt(target, x, y, w, h, mask, 0, 0, SRCPAINT);
            BitBlt(target, x, y, w, h, image, 0, 0, SRCAND);
        }
        return;
    }

    const HBITMAP spriteImage = LoadSpriteFile(imageFile, w, h);
    const HBITMAP spriteMask = LoadSpriteFile(maskFile, w, h);
    if (spriteImage && spriteMask) {
        const HDC spriteDC = CreateCompatibleDC(target);
        const HGDIOBJ previousBitmap = SelectObject(spriteDC, spriteMask);
        BitBlt(target, x, y, w, h, spriteDC, 0, 0, SRCPAINT);
        SelectObject(spriteDC, spriteImage);
        BitBlt(target, x, y, w, h, spriteDC, 0, 0, SRCAND);
        SelectObject(spriteDC, previousBitmap);
        DeleteDC(spriteDC);
    }
    if (spriteImage)
        DeleteObject(spriteImage);
    if (spriteMask)
        DeleteObject(spriteMask);
}

void PlayWave(const char* fileName)
{
    // Restarts that would not be heard are skipped: a full table pays out hundreds of coins a
    // tick, and starting "coin.wav" for each would cost seconds.
    static WaveRestarts restarts;
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    // Without SND_NODEFAULT, Windows plays its default sound for a missing or broken file; a
    // sound that cannot be played is silent instead.
    if (restarts.ShouldStart(fileName, static_cast<std::uint64_t>(now.count())))
        sndPlaySoundA(fileName, SND_ASYNC | SND_NODEFAULT);
}
