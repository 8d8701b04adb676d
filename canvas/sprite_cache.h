#pragma once

// The GDI canvas keeps decoded sprite bitmaps between draws, one per file name and size, and
// checks each file's size and last-write time at every draw, so that a file changed on disk
// still shows at the next draw. Only the benchmark and the tests switch it.

constexpr int SPRITE_CACHE_CAPACITY = 64;

// On by default. Switching it off releases every bitmap it holds; sprites are then loaded from
// their files at every draw.
void SetSpriteCacheEnabled(bool enabled);

// How many decoded bitmaps the cache holds now.
int SpriteCacheEntries();
