// The page's one link with the game module (web/main.cpp). The page's parts call the game's
// functions through `game` and hear what the game tells them through `on`; the C++ calls the
// functions of `fromGame`, which the loader hands the module as Module.page, and nothing else of
// the page. window.vorkelm, which tells tests what the page played, is made here too.

let module = null;
let running = false;
const listeners = new Map();

// The loader attaches the module before it runs, so that its first calls find it.
export function attach(instance) {
  module = instance;
}

function tell(event, ...details) {
  for (const listener of listeners.get(event) || [])
    listener(...details);
}

// What the game tells the page, by name; `on` takes these names alone.
export const fromGame = {
  // Before the first tick: the page continues a saved game or starts a shared replay.
  starting: () => tell('starting'),
  // The game runs: from now on the page's commands reach it.
  started: () => {
    running = true;
    window.vorkelm = {
      ticks: () => game.ticks(),
      keys: () => game.keys(),
      dump: () => game.dump(),
    };
    tell('started');
  },
  // The first frame, or the message of a game ended before it; told again, it changes nothing.
  shown: () => tell('shown'),
  // A frame was shown: the credit or a replay's place may have changed.
  ticked: () => tell('ticked'),
  about: (open) => tell('about', open !== 0),
  ended: () => tell('ended'),
  // The game plays again after its end: continued, or a new one.
  playing: () => tell('playing'),
};

export function on(event, listener) {
  if (!(event in fromGame))
    throw new Error(`the game tells no ${event}`);
  if (!listeners.has(event))
    listeners.set(event, []);
  listeners.get(event).push(listener);
}

const text = (pointer) => module.UTF8ToString(pointer);

// Hands a save or a code to the module. Both are ASCII; any other character takes more than one
// byte, none of them in either alphabet, so the module refuses it rather than reading another.
function hand(value) {
  const at = module._vorkelm_text_buffer(value.length);
  new TextEncoder().encodeInto(value, module.HEAPU8.subarray(at, at + value.length));
}

// Until the game runs, the window's controls do nothing.
export const game = {
  running: () => running,
  command: (id) => running && module._vorkelm_command(id),
  press: (right) => running && module._vorkelm_press(right ? 1 : 0),
  credit: () => module._vorkelm_credit(),
  ticks: () => module._vorkelm_ticks(),
  // Every press of the whole game since its first tick, in the replay runner's --keys syntax.
  keys: () => text(module._vorkelm_keys()),
  dump: () => text(module._vorkelm_dump()),
  newGame: () => module._vorkelm_new_game(),
  // After the end, the game that ended goes on exactly where it stood.
  continueGame: () => module._vorkelm_continue(),
  // The game as it stands, as text to keep.
  save: () => text(module._vorkelm_save()),
  // Continues a saved game; gives "" or what is wrong with it, and then the game stands as it was.
  load: (saved) => {
    hand(saved);
    return text(module._vorkelm_load());
  },
  // The kind of the last refused save or code (game/refusal.h), for the page to word.
  refusalKind: () => module._vorkelm_refusal_kind(),
  // Held, the game neither ticks nor takes presses: another tab plays it.
  hold: (held) => module._vorkelm_hold(held ? 1 : 0),
  replayCode: () => text(module._vorkelm_replay_code()),
  // Plays a replay code back from tick 1; gives "" or what is wrong with the code, and then the
  // game is left as it was.
  startReplay: (code) => {
    hand(code);
    return text(module._vorkelm_start_replay());
  },
  replaying: () => module._vorkelm_replay_length() >= 0,
  replayLength: () => module._vorkelm_replay_length(),
  replaySpeed: (ticksPerTick) => module._vorkelm_replay_speed(ticksPerTick),
  replayJump: () => module._vorkelm_replay_jump(),
  // The jump stops where it stands, and the replay plays on from there at its speed.
  replayStopJump: () => module._vorkelm_replay_stop_jump(),
  replayJumping: () => module._vorkelm_replay_jumping() !== 0,
  // Longer fragments are refused before they reach the module.
  replayCodeMaxLength: () => module._vorkelm_replay_code_max_length(),
  // At a replay's end the viewer takes the game over as their own; gives whether it did.
  playFromHere: () => module._vorkelm_play_from_here() !== 0,
};
