// The page around the game, put together from its parts; each takes its elements as it is set
// up. The loader imports this beside the game's files and connects the game module to it.
// The window's fit (vorkelm-fit.js) starts on its own, before the rest has arrived.
import { game, on } from './vorkelm-bridge.js';
import { showEnds } from './vorkelm-end.js';
import { setUpControls } from './vorkelm-fit.js';
import { hintHomeScreen } from './vorkelm-home-hint.js';
import { setUpMenus } from './vorkelm-menus.js';
import { setUpCommands } from './vorkelm-share.js';
import { keepGame } from './vorkelm-storage.js';
import { offerUpdates } from './vorkelm-update.js';

export { attach, fromGame, on } from './vorkelm-bridge.js';

setUpControls({ game, on });
setUpMenus();
showEnds();
hintHomeScreen();
keepGame();
setUpCommands();
offerUpdates();
