#pragma once

// What the browser shell asks of the web canvas beyond canvas.h. The page's files are fetched
// and decoded at their first use; the shell brings that forward, so that the first frame is
// whole and the first sounds are heard.

// Starts fetching and decoding a picture file, once.
void PreloadPicture(const char* fileName);

// Picture files still being fetched or decoded.
int PicturesLoading();

// Browsers allow sound only after a key press or a click in the page: from the first gesture on,
// the page's wave files (Module.soundFiles) are fetched and decoded, and PlayWave plays whenever
// the browser lets the audio context run.
void ListenForSoundGesture();

// While paused, the canvases draw and show nothing; while silenced, PlayWave plays nothing. A
// replay running many ticks at once does both for all but the last: no one sees or hears the
// ticks between, and drawing them costs far more than the game's own steps.
void PauseDrawing(bool paused);
void SilenceSound(bool silenced);
