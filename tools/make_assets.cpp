// Draws the game's pictures and sounds and the application's icons, and writes them as files.
//
//   vorkelm-assets ASSETS_DIR ICONS_DIR WEB_DIR
//
// From the top of the checkout, after a build: build/native/vorkelm-assets assets app web
// The outputs are committed, so a build of the game never needs this program. Every run writes
// the same bytes: the pictures are drawn from shapes, the sounds from formulas. The top board
// shows the game's own payout grid.
#include "game/assets.h"
#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <zlib.h>

namespace {

// The files are little-endian.
void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// ---------------------------------------------------------------------------------------------
// Pictures

struct Rgb {
    int r, g, b;
};

constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb BLACK{0, 0, 0};

Rgb Mix(Rgb a, Rgb b, double t)
{
    return {int(std::lround(a.r + (b.r - a.r) * t)), int(std::lround(a.g + (b.g - a.g) * t)),
            int(std::lround(a.b + (b.b - a.b) * t))};
}

// A picture under construction: colours, and which pixels belong to the sprite.
class Picture {
public:
    Picture(int w, int h) : width(w), height(h), colour(w * h, WHITE), opaque(w * h, false) {}

    void Set(int x, int y, Rgb c)
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        colour[y * width + x] = c;
        opaque[y * width + x] = true;
    }
    void Clear(int x, int y)
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        colour[y * width + x] = WHITE;
        opaque[y * width + x] = false;
    }
    Rgb At(int x, int y) const { return colour[y * width + x]; }
    bool IsOpaque(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height && opaque[y * width + x];
    }

    // Right and bottom are exclusive.
    void Fill(int left, int top, int right, int bottom, Rgb c)
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                Set(x, y, c);
    }
    void FillVertical(int left, int top, int right, int bottom, Rgb upper, Rgb lower)
    {
        for (int y = top; y < bottom; ++y) {
            double t = bottom - top > 1 ? double(y - top) / (bottom - top - 1) : 0.0;
            Fill(left, y, right, y + 1, Mix(upper, lower, t));
        }
    }
    // Pixels whose centre lies inside the ellipse.
    template <typename Paint>
    void ForEllipse(double cx, double cy, double rx, double ry, Paint paint)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                double dx = (x + 0.5 - cx) / rx;
                double dy = (y + 0.5 - cy) / ry;
                double d = dx * dx + dy * dy;
                if (d <= 1.0)
                    paint(x, y, d);
            }
    }
    void FillEllipse(double cx, double cy, double rx, double ry, Rgb c)
    {
        ForEllipse(cx, cy, rx, ry, [&](int x, int y, double) { Set(x, y, c); });
    }
    // Recolours the sprite's rim: every opaque pixel next to a transparent one or the border.
    void Outline(Rgb c)
    {
        std::vector<int> rim;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (IsOpaque(x, y) && (!IsOpaque(x - 1, y) || !IsOpaque(x + 1, y) ||
                                       !IsOpaque(x, y - 1) || !IsOpaque(x, y + 1)))
                    rim.push_back(y * width + x);
        for (int i : rim)
            colour[i] = c;
    }

    const int width;
    const int height;

private:
    std::vector<Rgb> colour;
    std::vector<bool> opaque;
};

// A 24-bit bottom-up BMP. As the image of a sprite it is white wherever the sprite is
// transparent; as the mask it is white where the sprite is opaque and black elsewhere.
enum class BmpRole { Image, Mask };

std::vector<uint8_t> EncodeBmp(const Picture& picture, BmpRole role)
{
    const int stride = (picture.width * 3 + 3) & ~3;
    const uint32_t pixelBytes = uint32_t(stride) * picture.height;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + pixelBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, uint32_t(picture.width));
    Put32(out, uint32_t(picture.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // BI_RGB
    Put32(out, pixelBytes);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            Rgb c = picture.At(x, y);
            if (role == BmpRole::Mask)
                c = picture.IsOpaque(x, y) ? WHITE : BLACK;
            else if (!picture.IsOpaque(x, y))
                c = WHITE;
            out.push_back(uint8_t(std::clamp(c.b, 0, 255)));
            out.push_back(uint8_t(std::clamp(c.g, 0, 255)));
            out.push_back(uint8_t(std::clamp(c.r, 0, 255)));
        }
        out.resize(out.size() + (stride - picture.width * 3), 0);
    }
    return out;
}

// Cabinet colours shared by the back wall's side posts and the base's pillars, so the machine's
// sides run from the top to the front edge as one post.
constexpr Rgb CHROME_LIGHT{236, 238, 244};
constexpr Rgb CHROME_DARK{120, 126, 140};
constexpr Rgb LACQUER{176, 28, 40};
constexpr Rgb LACQUER_LIGHT{214, 60, 68};
constexpr Rgb LACQUER_SHADOW{92, 12, 24};
constexpr Rgb OUTLINE{16, 12, 20};

// A vertical cabinet post: chrome on the outer side, red lacquer, a shadow on the inner side.
// `outerIsLeft` tells which side faces away from the playfield.
void DrawPost(Picture& p, int left, int top, int right, int bottom, bool outerIsLeft)
{
    const int w = right - left;
    for (int i = 0; i < w; ++i) {
        int fromOuter = outerIsLeft ? i : w - 1 - i;
        Rgb c;
        if (fromOuter == 0)
            c = OUTLINE;
        else if (fromOuter <= 3)
            c = Mix(CHROME_LIGHT, CHROME_DARK, (fromOuter - 1) / 2.0);
        else if (fromOuter >= w - 3)
            c = Mix(LACQUER, LACQUER_SHADOW, (fromOuter - (w - 3)) / 2.0);
        else
            c = fromOuter == 4 ? LACQUER_LIGHT : LACQUER;
        p.Fill(left + i, top, left + i + 1, bottom, c);
    }
}

// Back wall, drawn opaque at canvas (101, 20), 215 by 368. Only its upper sides show beside the
// top board; the rest lies behind the base, the pusher and the board.
Picture DrawBackWall()
{
    Picture p(215, 368);
    p.FillVertical(0, 0, 215, 368, Rgb{34, 22, 64}, Rgb{10, 8, 26});
    // The cabinet's side posts (canvas x 101..112 and 304..315), which the base's pillars
    // continue downwards, with a column of bulbs each.
    constexpr int POST = 12;
    DrawPost(p, 0, 0, POST, 368, true);
    DrawPost(p, 215 - POST, 0, 215, 368, false);
    const Rgb bulbs[] = {{255, 214, 64}, {255, 96, 72}, {120, 220, 255}};
    for (int i = 0; 10 + 12 * i < 136; ++i) {
        Rgb c = bulbs[i % 3];
        for (double cx : {6.5, 215 - 5.5}) {
            double cy = 10.5 + 12 * i;
            p.FillEllipse(cx, cy, 3.2, 3.2, Mix(c, BLACK, 0.45));
            p.FillEllipse(cx, cy, 2.2, 2.2, c);
            p.Set(int(cx) - 1, int(cy) - 1, Mix(c, WHITE, 0.7));
        }
    }
    // Cabinet interior between the posts and the board: dark glass with a faint glint.
    for (int x : {POST + 3, 215 - POST - 4})
        p.FillVertical(x, 4, x + 1, 150, Rgb{70, 60, 120}, Rgb{24, 18, 50});
    // A chrome top edge over the whole width.
    p.FillVertical(0, 0, 215, 4, CHROME_LIGHT, CHROME_DARK);
    return p;
}

// Base, drawn through its mask at canvas (100, 150), 217 by 240: the side pillars, the field
// from behind the pusher to the front edge, the front edge over which coins are paid out
// (canvas y 343), and the tray below it where paid coins are shown (canvas y 343..397).
Picture DrawBase()
{
    Picture p(217, 240);
    constexpr int PILLAR = 13;
    constexpr int FIELD_TOP = 20;   // canvas y 170, always under the pusher
    constexpr int LIP_TOP = 198;    // canvas y 348
    constexpr int TRAY_TOP = 207;   // canvas y 357
    constexpr int RIM_TOP = 228;    // canvas y 378

    // The field: acrylic, darker towards the back, with cross lines spaced wider nearer the
    // player to give it depth.
    p.FillVertical(PILLAR, FIELD_TOP, 217 - PILLAR, LIP_TOP, Rgb{14, 44, 78}, Rgb{40, 100, 142});
    for (int y = FIELD_TOP + 6, gap = 8; y < LIP_TOP - 4; gap += 3, y += gap)
        for (int x = PILLAR; x < 217 - PILLAR; ++x)
            p.Set(x, y, Mix(p.At(x, y), Rgb{150, 200, 230}, 0.22));
    // Shadows cast by the pillars on the field.
    for (int i = 0; i < 3; ++i)
        for (int y = FIELD_TOP; y < LIP_TOP; ++y) {
            p.Set(PILLAR + i, y, Mix(p.At(PILLAR + i, y), BLACK, 0.5 - 0.15 * i));
            int x = 217 - PILLAR - 1 - i;
            p.Set(x, y, Mix(p.At(x, y), BLACK, 0.5 - 0.15 * i));
        }

    // The pillars continue the back wall's posts, which lie one pixel further in (canvas x
    // 101..112 and 304..315); the base's outermost columns stay open beside them.
    DrawPost(p, 1, 0, PILLAR, LIP_TOP, true);
    DrawPost(p, 217 - PILLAR, 0, 216, LIP_TOP, false);

    // The front edge: a chrome lip seen from above, then its front face.
    p.FillVertical(0, LIP_TOP, 217, LIP_TOP + 3, WHITE, CHROME_LIGHT);
    p.FillVertical(0, LIP_TOP + 3, 217, TRAY_TOP, CHROME_DARK, Rgb{50, 54, 66});
    p.Fill(0, TRAY_TOP - 1, 217, TRAY_TOP, OUTLINE);

    // The tray: a dark trough with a lacquered front rim.
    p.FillVertical(0, TRAY_TOP, 217, RIM_TOP, Rgb{8, 8, 14}, Rgb{36, 34, 48});
    p.FillVertical(0, RIM_TOP, 217, RIM_TOP + 2, CHROME_LIGHT, CHROME_DARK);
    p.FillVertical(0, RIM_TOP + 2, 217, 240, LACQUER, LACQUER_SHADOW);
    p.Fill(0, 239, 217, 240, OUTLINE);
    p.Fill(0, TRAY_TOP, 1, 240, OUTLINE);
    p.Fill(216, TRAY_TOP, 217, 240, OUTLINE);

    // The tray's lower corners are rounded off.
    constexpr int R = 6;
    for (int y = 240 - R; y < 240; ++y)
        for (int x = 0; x < R; ++x) {
            double dx = R - (x + 0.5), dy = (y + 0.5) - (240 - R);
            if (dx * dx + dy * dy > R * R) {
                p.Clear(x, y);
                p.Clear(216 - x, y);
            } else if (dx * dx + dy * dy > (R - 1.2) * (R - 1.2)) {
                p.Set(x, y, OUTLINE);
                p.Set(216 - x, y, OUTLINE);
            }
        }
    return p;
}

// True when every bit set in `inner` is set in `outer`, channel by channel: the bitwise AND of
// the two is then `inner`, the darker colour.
constexpr bool BitsWithin(Rgb inner, Rgb outer)
{
    return (inner.r & ~outer.r) == 0 && (inner.g & ~outer.g) == 0 && (inner.b & ~outer.b) == 0;
}

// Pusher bar colours. The platform scales the bar at every draw; a platform that shrinks a
// bitmap by ANDing the pixels it merges then gives the darker of two touching colours, never a
// stray one, because the bits of each colour lie within those of its lighter neighbour.
constexpr Rgb BAR_GROOVE{0x80, 0x88, 0x98};
constexpr Rgb BAR_DECK{0xA0, 0xA8, 0xB8};
constexpr Rgb BAR_RAIL{0xE0, 0xE8, 0xF8};
constexpr Rgb BAR_LIP{0xF8, 0xFC, 0xFE};
constexpr Rgb BAR_FACE_CHROME{0xB8, 0xBC, 0xCC};
constexpr Rgb BAR_FACE{0xB8, 0x18, 0x0C};
constexpr Rgb BAR_FACE_SHADOW{0x88, 0x08, 0x04};
static_assert(BitsWithin(BAR_GROOVE, BAR_DECK) && BitsWithin(BAR_DECK, BAR_RAIL) &&
              BitsWithin(BAR_RAIL, BAR_LIP) && BitsWithin(BAR_FACE_CHROME, BAR_LIP) &&
              BitsWithin(BAR_FACE, BAR_FACE_CHROME) && BitsWithin(BAR_FACE_SHADOW, BAR_FACE));

// Pusher bar, stored at its largest size, 191 by 107 (canvas bottom edge 281). The game loads it
// scaled to anything down to 181 by 87, and the platform may blend or merge neighbouring pixels
// while scaling. So the sprite fills its whole rectangle (its mask is all white: a blended mask
// edge would mix mask and image bits on the surface), it is made of flat bands, and the thin
// bright lip is 3 rows tall so that at least one row of it survives a merge of row pairs.
// The bottom 20 rows of the drawn bar lie below the deck front edge, and coins on the deck are
// drawn down to 14 rows below their top: the visible front face is kept to the last 8 rows so
// that deck coins appear on the deck and field coins against the face.
Picture DrawBar()
{
    constexpr int W = 191;
    constexpr int H = 107;
    constexpr int FACE_TOP = H - 8;
    constexpr int LIP_TOP = FACE_TOP - 3;
    constexpr int RAIL = 6;
    Picture p(W, H);
    p.Fill(0, 0, W, LIP_TOP, BAR_DECK);
    for (int y = 5; y < LIP_TOP - 2; y += 6)
        p.Fill(0, y, W, y + 1, BAR_GROOVE);
    // Raised rails along the sides, each with a shadow line on the deck.
    p.Fill(0, 0, RAIL, LIP_TOP, BAR_RAIL);
    p.Fill(W - RAIL, 0, W, LIP_TOP, BAR_RAIL);
    p.Fill(RAIL, 0, RAIL + 1, LIP_TOP, BAR_GROOVE);
    p.Fill(W - RAIL - 1, 0, W - RAIL, LIP_TOP, BAR_GROOVE);
    // The deck's front edge and the face that shoves the field coins.
    p.Fill(0, LIP_TOP, W, FACE_TOP, BAR_LIP);
    p.Fill(0, FACE_TOP, W, FACE_TOP + 2, BAR_FACE_CHROME);
    p.Fill(0, FACE_TOP + 2, W, H - 2, BAR_FACE);
    p.Fill(0, H - 2, W, H - 1, BAR_FACE_SHADOW);
    p.Fill(0, H - 1, W, H, BLACK);
    p.Fill(0, 0, 1, H, BLACK);
    p.Fill(W - 1, 0, W, H, BLACK);
    return p;
}

// Digits 3 pixels wide and 5 tall, one string per row, '#' set.
constexpr const char* DIGITS[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", "###", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
};

// Writes `value` centred on (cx, cy) with one pixel between digits.
void DrawNumber(Picture& p, int value, double cx, double cy, Rgb c)
{
    std::string text = std::to_string(value);
    const int w = int(text.size()) * 4 - 1;
    const int left = int(std::floor(cx - w / 2.0 + 0.5));
    const int top = int(std::floor(cy - 2.5 + 0.5));
    for (size_t i = 0; i < text.size(); ++i)
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (DIGITS[text[i] - '0'][row][col] == '#')
                    p.Set(left + int(i) * 4 + col, top + row, c);
}

using game::LAMP_COLUMNS;
using game::LAMP_ROWS;

// Lamp colour of a prize: the bigger the prize, the warmer the lamp.
Rgb LampColour(int prize)
{
    if (prize >= 500)
        return {255, 216, 40};
    if (prize >= 100)
        return {255, 80, 64};
    if (prize >= 50)
        return {255, 150, 40};
    if (prize >= 20)
        return {90, 220, 110};
    return {80, 190, 255};
}

// Top board, drawn opaque at canvas (126, 20), 165 by 162: the pin zone where dropped coins are
// jostled (canvas y <= 84), the 8 by 3 lamp grid, and the track of the catcher (canvas y 140..160).
Picture DrawTopBoard()
{
    constexpr int W = 165;
    constexpr int H = 162;
    // The lamp square the game draws frames cell (c, r) at canvas (140 + 17c, 84 + 17r), which
    // is (14 + 17c, 64 + 17r) on this board.
    constexpr int GRID_LEFT = 14;
    constexpr int GRID_TOP = 64;
    constexpr int CELL = 17;
    constexpr int GRID_RIGHT = GRID_LEFT + LAMP_COLUMNS * CELL;
    constexpr int GRID_BOTTOM = GRID_TOP + LAMP_ROWS * CELL;
    // The lanes' coins (15 wide) start at canvas x 160 and 238.
    constexpr int LANES[] = {160 - 126, 238 - 126};
    constexpr int RAIL_TOP = 141; // just under the catcher, canvas y 161

    Picture p(W, H);
    // Pin zone: dark blue glass behind rows of pins.
    p.FillVertical(0, 0, W, GRID_TOP - 4, Rgb{18, 26, 76}, Rgb{8, 12, 40});
    for (int row = 0; row < 4; ++row) {
        const int y = 14 + 11 * row;
        for (int x = row % 2 ? 13 : 6; x < W - 4; x += 14) {
            // A nail head lit from the top left, with its shadow on the glass.
            p.Fill(x, y + 1, x + 3, y + 3, Rgb{4, 6, 20});
            p.Fill(x - 1, y - 1, x + 2, y + 2, Rgb{150, 156, 178});
            p.Set(x - 1, y - 1, WHITE);
            p.Set(x, y - 1, Rgb{224, 228, 240});
            p.Set(x - 1, y, Rgb{224, 228, 240});
            p.Set(x + 1, y + 1, Rgb{84, 88, 112});
        }
    }
    // The two chutes the coins come down, at the top edge.
    for (int lane : LANES) {
        p.Fill(lane - 1, 0, lane + 16, 8, CHROME_DARK);
        p.FillVertical(lane, 0, lane + 15, 7, BLACK, Rgb{20, 24, 60});
        p.Fill(lane - 1, 7, lane + 16, 8, CHROME_LIGHT);
    }

    // Lamp panel: a black plate round the grid, the cells separated by dark lines that lie under
    // the edges of the lamp square.
    p.Fill(0, GRID_TOP - 4, W, GRID_BOTTOM + 4, Rgb{10, 10, 14});
    p.Fill(GRID_LEFT - 2, GRID_TOP - 2, GRID_RIGHT + 3, GRID_BOTTOM + 3, CHROME_DARK);
    for (int r = 0; r < LAMP_ROWS; ++r)
        for (int c = 0; c < LAMP_COLUMNS; ++c) {
            const int left = GRID_LEFT + CELL * c;
            const int top = GRID_TOP + CELL * r;
            const int prize = game::PAYOUT_GRID[r][c];
            p.Fill(left, top, left + CELL + 1, top + CELL + 1, Rgb{6, 6, 8});
            const double cx = left + 1 + (CELL - 1) / 2.0;
            const double cy = top + 1 + (CELL - 1) / 2.0;
            if (prize == 0) {
                // An unlit lamp.
                p.Fill(left + 1, top + 1, left + CELL, top + CELL, Rgb{40, 40, 52});
                p.Fill(left + 2, top + 2, left + CELL - 1, top + CELL - 1, Rgb{28, 28, 38});
                DrawNumber(p, 0, cx, cy, Rgb{84, 84, 104});
                continue;
            }
            // A lit lamp: bright centre, its rim a shade darker.
            const Rgb lamp = LampColour(prize);
            p.Fill(left + 1, top + 1, left + CELL, top + CELL, Mix(lamp, BLACK, 0.3));
            p.ForEllipse(cx, cy, 8.6, 8.6, [&](int x, int y, double d) {
                if (x > left && x < left + CELL && y > top && y < top + CELL)
                    p.Set(x, y, Mix(Mix(lamp, WHITE, 0.45), lamp, std::sqrt(d)));
            });
            DrawNumber(p, prize, cx, cy, Rgb{24, 8, 8});
        }

    // Catcher track: a dark slot with a chrome rail under the catcher.
    p.FillVertical(0, GRID_BOTTOM + 4, W, H, Rgb{30, 20, 58}, Rgb{12, 8, 28});
    p.FillVertical(0, RAIL_TOP, W, RAIL_TOP + 3, CHROME_LIGHT, CHROME_DARK);
    p.Fill(0, RAIL_TOP + 3, W, RAIL_TOP + 4, OUTLINE);
    // The board's lower edge, under which the pusher's deck disappears.
    p.FillVertical(0, H - 5, W, H - 1, CHROME_LIGHT, CHROME_DARK);
    p.Fill(0, H - 1, W, H, OUTLINE);

    // Chrome frame down the sides.
    for (int i = 0; i < 3; ++i) {
        Rgb c = i == 0 ? OUTLINE : Mix(CHROME_LIGHT, CHROME_DARK, (i - 1) / 1.0);
        p.Fill(i, 0, i + 1, H, c);
        p.Fill(W - 1 - i, 0, W - i, H, c);
    }
    return p;
}

// Catcher, 25 by 20: a cup on the rail, open at the top.
Picture DrawCatcher()
{
    Picture p(25, 20);
    const Rgb cupLight{255, 120, 128};
    const Rgb cup{216, 36, 52};
    const Rgb cupDark{120, 14, 28};
    // The body narrows from the full width under the rim to 13 pixels at the bottom.
    for (int y = 4; y < 20; ++y) {
        double inset = (y - 4) * 6.0 / 15.0;
        int left = int(std::lround(inset));
        int right = 25 - left;
        for (int x = left; x < right; ++x) {
            double t = double(x - left) / (right - left - 1);
            Rgb c = t < 0.3 ? Mix(cupLight, cup, t / 0.3) : Mix(cup, cupDark, (t - 0.3) / 0.7);
            p.Set(x, y, c);
        }
    }
    // A white band round the body.
    for (int y = 11; y < 13; ++y)
        for (int x = 0; x < 25; ++x)
            if (p.IsOpaque(x, y))
                p.Set(x, y, Mix(WHITE, p.At(x, y), x < 8 ? 0.0 : 0.25));
    // Chrome rim and the dark opening inside it.
    p.FillEllipse(12.5, 4.5, 12.5, 4.5, CHROME_LIGHT);
    p.FillEllipse(12.5, 4.8, 10.0, 2.8, Rgb{26, 16, 22});
    p.Outline(OUTLINE);
    return p;
}

const Rgb GOLD_LIGHT{255, 244, 170};
const Rgb GOLD{240, 196, 60};
const Rgb GOLD_DARK{184, 128, 24};
const Rgb GOLD_EDGE{96, 60, 8};

// Falling coin and coin in the tray, 15 by 15: a medal seen face on.
Picture DrawCoin()
{
    Picture p(15, 15);
    p.ForEllipse(7.5, 7.5, 7.5, 7.5, [&](int x, int y, double d) {
        const double r = std::sqrt(d) * 7.5;
        // Light from the top left: the raised rim is lit there, the sunken ring inside it on
        // the opposite side.
        const double light = ((7.5 - (x + 0.5)) + (7.5 - (y + 0.5))) / 15.0;
        Rgb c = Mix(GOLD, GOLD_LIGHT, std::clamp(0.3 + light * 1.4, 0.0, 1.0));
        if (r > 5.4)
            c = Mix(GOLD, light > 0 ? GOLD_LIGHT : GOLD_DARK, std::fabs(light) * 1.6);
        else if (r > 4.3)
            c = Mix(GOLD, light > 0 ? GOLD_DARK : GOLD_LIGHT, std::fabs(light) * 1.6);
        p.Set(x, y, c);
    });
    p.Outline(GOLD_EDGE);
    p.Set(4, 4, WHITE);
    p.Set(5, 4, GOLD_LIGHT);
    p.Set(4, 5, GOLD_LIGHT);
    return p;
}

// Coin lying on the deck or the field, 15 by 15: the same medal seen from above, flattened, with
// its edge showing below. It fills rows 2..13, so a deck coin just behind the deck front edge
// still lies on the deck's picture.
Picture DrawLyingCoin()
{
    Picture p(15, 15);
    p.FillEllipse(7.5, 9.4, 7.5, 4.4, GOLD_DARK);
    p.ForEllipse(7.5, 7.0, 7.5, 4.6, [&](int x, int y, double d) {
        double light = (7.5 - (x + 0.5)) / 7.5 * 0.5 + (7.0 - (y + 0.5)) / 4.6 * 0.5;
        Rgb c = d > 0.55 ? Mix(GOLD, GOLD_DARK, 0.35 - light * 0.5)
                         : Mix(GOLD, GOLD_LIGHT, 0.2 + light * 0.8);
        p.Set(x, y, c);
    });
    p.Outline(GOLD_EDGE);
    p.Set(4, 4, WHITE);
    p.Set(5, 4, GOLD_LIGHT);
    return p;
}

// ---------------------------------------------------------------------------------------------
// Sounds: 16-bit mono PCM at 22050 Hz, each well under half a second.

constexpr int RATE = 22050;
constexpr double PI = 3.14159265358979323846;

using Samples = std::vector<double>; // -1..1

Samples Silence(double seconds) { return Samples(size_t(seconds * RATE), 0.0); }

// Adds a decaying sine from `start` seconds on.
void AddTone(Samples& s, double start, double frequency, double amplitude, double decay)
{
    for (size_t i = size_t(start * RATE); i < s.size(); ++i) {
        double t = double(i) / RATE - start;
        s[i] += amplitude * std::exp(-t / decay) * std::sin(2 * PI * frequency * t);
    }
}

// Short fades at both ends, so the sound starts and stops without a click.
void FadeEnds(Samples& s, double in, double out)
{
    const size_t nIn = size_t(in * RATE), nOut = size_t(out * RATE);
    for (size_t i = 0; i < nIn && i < s.size(); ++i)
        s[i] *= double(i) / nIn;
    for (size_t i = 0; i < nOut && i < s.size(); ++i)
        s[s.size() - 1 - i] *= double(i) / nOut;
}

// Lamp step: a short square-ish blip.
Samples LampStepSound()
{
    Samples s = Silence(0.06);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / RATE;
        double wave = std::sin(2 * PI * 1568 * t) + std::sin(2 * PI * 3 * 1568 * t) / 3;
        s[i] = 0.35 * wave * (1.0 - t / 0.06);
    }
    FadeEnds(s, 0.002, 0.005);
    return s;
}

// Lamp stops: a two-note bell chime.
Samples LampStopSound()
{
    Samples s = Silence(0.45);
    AddTone(s, 0.0, 1046.5, 0.30, 0.10);
    AddTone(s, 0.0, 2093.0, 0.10, 0.06);
    AddTone(s, 0.12, 1568.0, 0.32, 0.14);
    AddTone(s, 0.12, 3136.0, 0.10, 0.07);
    FadeEnds(s, 0.002, 0.03);
    return s;
}

// Coin into the catcher: a rising sweep.
Samples CatchSound()
{
    Samples s = Silence(0.25);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / RATE;
        double frequency = 500 + 1300 * t / 0.25;
        phase += 2 * PI * frequency / RATE;
        s[i] = 0.4 * (std::sin(phase) + 0.3 * std::sin(2 * phase)) * (1.0 - 0.6 * t / 0.25);
    }
    FadeEnds(s, 0.003, 0.02);
    return s;
}

// Coin paid out: a metallic clink and a softer bounce.
Samples PayoutSound()
{
    Samples s = Silence(0.16);
    for (double start : {0.0, 0.07}) {
        double level = start == 0.0 ? 1.0 : 0.45;
        AddTone(s, start, 3150, 0.25 * level, 0.030);
        AddTone(s, start, 4730, 0.18 * level, 0.022);
        AddTone(s, start, 6290, 0.12 * level, 0.015);
    }
    FadeEnds(s, 0.001, 0.01);
    return s;
}

std::vector<uint8_t> EncodeWav(const Samples& s)
{
    const uint32_t dataBytes = uint32_t(s.size() * 2);
    std::vector<uint8_t> out;
    auto put = [&](const char* tag) { out.insert(out.end(), tag, tag + 4); };
    put("RIFF");
    Put32(out, 36 + dataBytes);
    put("WAVE");
    put("fmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, RATE);
    Put32(out, RATE * 2);
    Put16(out, 2);
    Put16(out, 16);
    put("data");
    Put32(out, dataBytes);
    for (double v : s)
        Put16(out, uint16_t(int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767))));
    return out;
}

// ---------------------------------------------------------------------------------------------
// Icons. The design: a gold medal with a red "V" on it. The window and the About box show it as
// 16-colour images in the standard palette; Explorer, shortcuts and the installer in true colour.

enum Vga : uint8_t {
    VgaBlack = 0,
    VgaMaroon = 1,
    VgaOlive = 3,
    VgaSilver = 7,
    VgaRed = 9,
    VgaYellow = 11,
    VgaWhite = 15,
};
constexpr uint8_t VGA_PALETTE[16][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

struct IconImage {
    int size;
    std::vector<uint8_t> index; // palette index per pixel, rows from the top
    std::vector<bool> opaque;
};

// A gold medal with a red "V" on it, drawn at `size` pixels.
IconImage DrawIcon(int size)
{
    IconImage icon{size, std::vector<uint8_t>(size * size, VgaBlack), std::vector<bool>(size * size)};
    const double c = size / 2.0;
    const double r = size / 2.0;
    const double unit = size / 32.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double dx = x + 0.5 - c, dy = y + 0.5 - c;
            double d = std::sqrt(dx * dx + dy * dy);
            if (d > r)
                continue;
            uint8_t i = VgaYellow;
            if (d > r - 1.2)
                i = VgaBlack;
            else if (d > r - 1.2 - 2 * unit)
                i = (dx + dy < 0) ? VgaYellow : VgaOlive;
            else if (d > r - 2.2 - 2 * unit)
                i = VgaOlive;
            // The letter: two strokes meeting at the bottom centre.
            double top = c - 7 * unit, bottom = c + 7 * unit;
            double py = y + 0.5;
            if (py >= top && py <= bottom && d < r - 2.2 - 2 * unit) {
                double half = (bottom - py) / (bottom - top) * 7 * unit;
                double stroke = std::max(1.0, 2.2 * unit);
                double fromArm = std::fabs(std::fabs(x + 0.5 - c) - half);
                if (fromArm <= stroke / 2 + 0.3)
                    i = VgaRed;
                else if (fromArm <= stroke / 2 + 0.3 + unit && x + 0.5 > c + half)
                    i = VgaMaroon;
            }
            icon.index[y * size + x] = i;
            icon.opaque[y * size + x] = true;
        }
    // A glint on the upper left of the rim.
    int g = int(c - r * 0.55);
    icon.index[g * size + g] = VgaWhite;
    if (size >= 32) {
        icon.index[g * size + g + 1] = VgaWhite;
        icon.index[(g + 1) * size + g] = VgaSilver;
    }
    return icon;
}

// The start of an icon's bitmap image: one info header for the colour image and the
// transparency mask, which lie one above the other.
void PutIconBitmapHeader(std::vector<uint8_t>& b, int n, int bits, int colourStride, uint32_t colours)
{
    const int maskStride = ((n + 31) / 32) * 4;
    Put32(b, 40);
    Put32(b, n);
    Put32(b, 2 * n);
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, 0);
    Put32(b, uint32_t((colourStride + maskStride) * n));
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, colours);
    Put32(b, 0);
}

// The transparency mask of an icon's bitmap image, rows from the bottom: a set bit where
// transparent(x, y).
template <class Transparent>
void PutIconMask(std::vector<uint8_t>& b, int n, Transparent transparent)
{
    const int maskStride = ((n + 31) / 32) * 4;
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < n; ++x)
            if (transparent(x, y))
                row[x / 8] |= uint8_t(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
}

// One image of an icon file: its size in pixels, its colour count (0 for more than 256), its
// depth and its bytes.
struct IconEntry {
    int size;
    uint8_t colours;
    int bits;
    std::vector<uint8_t> body;
};

std::vector<uint8_t> EncodeIconFile(const std::vector<IconEntry>& entries)
{
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1); // icon
    Put16(out, uint32_t(entries.size()));
    uint32_t offset = 6 + 16 * uint32_t(entries.size());
    for (const IconEntry& entry : entries) {
        out.push_back(uint8_t(entry.size & 0xFF)); // 0 stands for 256
        out.push_back(uint8_t(entry.size & 0xFF));
        out.push_back(entry.colours);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, entry.bits);
        Put32(out, uint32_t(entry.body.size()));
        Put32(out, offset);
        offset += uint32_t(entry.body.size());
    }
    for (const IconEntry& entry : entries)
        out.insert(out.end(), entry.body.begin(), entry.body.end());
    return out;
}

std::vector<uint8_t> EncodeIcon(const std::vector<IconImage>& images)
{
    std::vector<IconEntry> entries;
    for (const IconImage& icon : images) {
        const int n = icon.size;
        const int colourStride = (n / 2 + 3) & ~3;
        std::vector<uint8_t> b;
        PutIconBitmapHeader(b, n, 4, colourStride, 16);
        for (const auto& rgb : VGA_PALETTE) {
            b.push_back(rgb[2]);
            b.push_back(rgb[1]);
            b.push_back(rgb[0]);
            b.push_back(0);
        }
        for (int y = n - 1; y >= 0; --y) {
            std::vector<uint8_t> row(colourStride, 0);
            for (int x = 0; x < n; ++x)
                row[x / 2] |= uint8_t(icon.index[y * n + x] << (x % 2 ? 0 : 4));
            b.insert(b.end(), row.begin(), row.end());
        }
        PutIconMask(b, n, [&icon, n](int x, int y) { return !icon.opaque[y * n + x]; });
        entries.push_back({n, 16, 4, std::move(b)});
    }
    return EncodeIconFile(entries);
}

// The design in true colour with soft edges, at any size: rows from the top, four bytes a pixel
// (red, green, blue, alpha), alpha not premultiplied.
struct RgbaImage {
    int size;
    std::vector<uint8_t> rgba;
};

// The colour of the design at (x, y), in units of a 32-pixel icon; false where it is transparent.
// `pixel` is one pixel of the image in those units: thin lines stay at least that wide.
bool IconColour(double x, double y, double pixel, Rgb& colour)
{
    const double c = 16, r = 16;
    const double dx = x - c, dy = y - c;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d > r)
        return false;
    const double outline = std::max(1.0, pixel);
    const double bevel = r - outline - 2;
    const double face = bevel - std::max(0.8, pixel);
    const Rgb gold{255, 210, 40}, light{255, 240, 150}, dark{160, 115, 10};
    // Flat colours, lit from the upper left: the large image stays a small PNG.
    if (d > r - outline)
        colour = {40, 25, 0};
    else if (d > bevel)
        colour = dx + dy < 0 ? light : dark;
    else if (d > face)
        colour = dark;
    else
        colour = gold;
    // The letter: two strokes meeting at the bottom centre, with a shadow on their right.
    const double top = c - 7, bottom = c + 7;
    if (y >= top && y <= bottom && d < face) {
        const double half = (bottom - y) / (bottom - top) * 7;
        const double stroke = std::max(2.2, 2 * pixel);
        const double fromArm = std::fabs(std::fabs(x - c) - half);
        if (fromArm <= stroke / 2 + 0.3)
            colour = {225, 25, 20};
        else if (fromArm <= stroke / 2 + 0.3 + std::max(1.0, pixel) && x > c + half)
            colour = {120, 0, 0};
    }
    // A glint on the upper left of the rim.
    const double gx = x - (c - r * 0.55 + 0.5), gy = y - (c - r * 0.55 + 0.5);
    const double glint = std::max(1.3, pixel);
    if (gx * gx + gy * gy < glint * glint)
        colour = WHITE;
    return true;
}

RgbaImage DrawIconRgba(int size)
{
    RgbaImage image{size, std::vector<uint8_t>(size_t(size) * size * 4)};
    const int samples = size <= 64 ? 8 : 4; // per axis, for the soft edges
    const double unit = 32.0 / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0;
            int covered = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    Rgb c;
                    if (IconColour((x + (sx + 0.5) / samples) * unit, (y + (sy + 0.5) / samples) * unit,
                                   unit, c)) {
                        r += c.r, g += c.g, b += c.b;
                        ++covered;
                    }
                }
            uint8_t* p = &image.rgba[(size_t(y) * size + x) * 4];
            if (covered) {
                p[0] = uint8_t(std::lround(r / covered));
                p[1] = uint8_t(std::lround(g / covered));
                p[2] = uint8_t(std::lround(b / covered));
                p[3] = uint8_t(std::lround(255.0 * covered / (samples * samples)));
            }
        }
    return image;
}

// The design on an opaque square of the page's title-bar blue, the medal `share` of its width: a
// phone fills the transparent corners of a home-screen icon with black, and a maskable icon may be
// cut to a circle of 80% of its width, which the medal must lie inside.
RgbaImage DrawIconOnBackdrop(int size, double share)
{
    const Rgb backdrop{10, 36, 106};
    const int medalSize = int(std::lround(size * share));
    const int at = (size - medalSize) / 2;
    const RgbaImage medal = DrawIconRgba(medalSize);
    RgbaImage image{size, std::vector<uint8_t>(size_t(size) * size * 4)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool inMedal = x >= at && y >= at && x < at + medalSize && y < at + medalSize;
            const uint8_t* m =
                inMedal ? &medal.rgba[(size_t(y - at) * medalSize + x - at) * 4] : nullptr;
            const double a = m ? m[3] / 255.0 : 0;
            uint8_t* p = &image.rgba[(size_t(y) * size + x) * 4];
            const int over[3] = {backdrop.r, backdrop.g, backdrop.b};
            for (int c = 0; c < 3; ++c)
                p[c] = uint8_t(std::lround((m ? m[c] : 0) * a + over[c] * (1 - a)));
            p[3] = 255;
        }
    return image;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

// A PNG of the image: each row filtered the way that leaves the smallest sum of bytes (as signed
// values), then deflated at the highest level.
std::vector<uint8_t> EncodePng(const RgbaImage& image)
{
    const size_t stride = size_t(image.size) * 4;
    std::vector<uint8_t> filtered;
    std::vector<uint8_t> previous(stride, 0), best, candidate(stride);
    for (int y = 0; y < image.size; ++y) {
        const uint8_t* row = &image.rgba[y * stride];
        long bestCost = -1;
        int bestFilter = 0;
        for (int filter = 0; filter < 5; ++filter) {
            long cost = 0;
            for (size_t i = 0; i < stride; ++i) {
                const int a = i >= 4 ? row[i - 4] : 0, b = previous[i], c = i >= 4 ? previous[i - 4] : 0;
                int predictor = 0;
                if (filter == 1)
                    predictor = a;
                else if (filter == 2)
                    predictor = b;
                else if (filter == 3)
                    predictor = (a + b) / 2;
                else if (filter == 4) {
                    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                    predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
                }
                candidate[i] = uint8_t(row[i] - predictor);
                cost += std::abs(int(int8_t(candidate[i])));
            }
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                bestFilter = filter;
                best = candidate;
            }
        }
        filtered.push_back(uint8_t(bestFilter));
        filtered.insert(filtered.end(), best.begin(), best.end());
        previous.assign(row, row + stride);
    }
    uLongf deflatedSize = compressBound(uLong(filtered.size()));
    std::vector<uint8_t> deflated(deflatedSize);
    compress2(deflated.data(), &deflatedSize, filtered.data(), uLong(filtered.size()), 9);
    deflated.resize(deflatedSize);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&out](const char* type, const std::vector<uint8_t>& data) {
        PutBig32(out, uint32_t(data.size()));
        const size_t start = out.size();
        out.insert(out.end(), type, type + 4);
        out.insert(out.end(), data.begin(), data.end());
        PutBig32(out, uint32_t(crc32(0, &out[start], uInt(out.size() - start))));
    };
    std::vector<uint8_t> header;
    PutBig32(header, uint32_t(image.size));
    PutBig32(header, uint32_t(image.size));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, adaptive filters, no interlace
    chunk("IHDR", header);
    chunk("IDAT", deflated);
    chunk("IEND", {});
    return out;
}

// An icon file of 32-bit images: bitmaps up to 48 pixels, PNG above, as Windows Vista and later
// read them.
std::vector<uint8_t> EncodeTrueColourIcon(const std::vector<int>& sizes)
{
    std::vector<IconEntry> entries;
    for (int n : sizes) {
        const RgbaImage image = DrawIconRgba(n);
        if (n > 48) {
            entries.push_back({n, 0, 32, EncodePng(image)});
            continue;
        }
        std::vector<uint8_t> b;
        PutIconBitmapHeader(b, n, 32, n * 4, 0);
        for (int y = n - 1; y >= 0; --y)
            for (int x = 0; x < n; ++x) {
                const uint8_t* p = &image.rgba[(size_t(y) * n + x) * 4];
                b.insert(b.end(), {p[2], p[1], p[0], p[3]});
            }
        PutIconMask(b, n, [&image, n](int x, int y) {
            return image.rgba[(size_t(y) * n + x) * 4 + 3] == 0;
        });
        entries.push_back({n, 0, 32, std::move(b)});
    }
    return EncodeIconFile(entries);
}

// ---------------------------------------------------------------------------------------------

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "vorkelm-assets: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

struct OutputFile {
    std::filesystem::path path;
    std::vector<uint8_t> bytes;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: vorkelm-assets ASSETS_DIR ICONS_DIR WEB_DIR\n"
                             "Writes the game's bitmap and wave files into ASSETS_DIR,\n"
                             "vorkelm.ico, small.ico and vorkelm-shell.ico into ICONS_DIR, and the\n"
                             "web page's icon-180.png, icon-192.png, icon-512.png and\n"
                             "icon-maskable-512.png into WEB_DIR.\n");
        return 2;
    }
    const std::filesystem::path assets = argv[1];
    const std::filesystem::path icons = argv[2];
    const std::filesystem::path web = argv[3];

    const Picture base = DrawBase();
    const Picture bar = DrawBar();
    const Picture catcher = DrawCatcher();
    const Picture coin = DrawCoin();
    const Picture lyingCoin = DrawLyingCoin();
    const std::vector<OutputFile> files = {
        {assets / game::BACK_WALL.image, EncodeBmp(DrawBackWall(), BmpRole::Image)},
        {assets / game::MACHINE_BASE.image, EncodeBmp(base, BmpRole::Image)},
        {assets / game::MACHINE_BASE.mask, EncodeBmp(base, BmpRole::Mask)},
        {assets / game::PUSHER_BAR.image, EncodeBmp(bar, BmpRole::Image)},
        {assets / game::PUSHER_BAR.mask, EncodeBmp(bar, BmpRole::Mask)},
        {assets / game::TOP_BOARD.image, EncodeBmp(DrawTopBoard(), BmpRole::Image)},
        {assets / game::CATCHER.image, EncodeBmp(catcher, BmpRole::Image)},
        {assets / game::CATCHER.mask, EncodeBmp(catcher, BmpRole::Mask)},
        {assets / game::FALLING_COIN.image, EncodeBmp(coin, BmpRole::Image)},
        {assets / game::FALLING_COIN.mask, EncodeBmp(coin, BmpRole::Mask)},
        {assets / game::LYING_COIN.image, EncodeBmp(lyingCoin, BmpRole::Image)},
        {assets / game::LYING_COIN.mask, EncodeBmp(lyingCoin, BmpRole::Mask)},
        {assets / game::LAMP_STEP_SOUND, EncodeWav(LampStepSound())},
        {assets / game::LAMP_STOP_SOUND, EncodeWav(LampStopSound())},
        {assets / game::CATCH_SOUND, EncodeWav(CatchSound())},
        {assets / game::PAYOUT_SOUND, EncodeWav(PayoutSound())},
        {icons / "vorkelm.ico", EncodeIcon({DrawIcon(32), DrawIcon(16)})},
        {icons / "small.ico", EncodeIcon({DrawIcon(16)})},
        {icons / "vorkelm-shell.ico", EncodeTrueColourIcon({16, 24, 32, 48, 256})},
        // An installed web app's icons, the one a system may cut to its own shape, and the one a
        // phone puts on its home screen.
        {web / "icon-180.png", EncodePng(DrawIconOnBackdrop(180, 0.84))},
        {web / "icon-192.png", EncodePng(DrawIconRgba(192))},
        {web / "icon-512.png", EncodePng(DrawIconRgba(512))},
        {web / "icon-maskable-512.png", EncodePng(DrawIconOnBackdrop(512, 0.76))},
    };
    for (const OutputFile& f : files)
        if (!WriteFile(f.path, f.bytes))
            return 1;
    return 0;
}
