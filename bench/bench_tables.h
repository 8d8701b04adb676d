#pragma once

// The tables the whole-tick benchmarks of Windows and the browser start from, laid alike so that
// their figures compare.

// The 200 coins of a fresh game.
void LayInitialTable();

// Every free slot becomes a coin lying on the deck or on the field, spread over both.
void LayFullTable();

// Coins in play, of any state.
int CoinsInPlay();
